// KyMAPI: Simple MAPI mail for generated code, over MAPI32.DLL loaded by
// name. Every operation takes and gives fields: long fields for handles,
// pointers and counts, character fields for texts, int fields for yes/no
// options and for the result (1 success, 0 failure). The library's return
// code of the last call stays readable through GetMapiReturnCode.
//
// Pointers and session handles are 64-bit here while a long field holds 32
// bits: the fields carry ids of the layer's pointer table, and every
// operation turns them back into the addresses the library gave or took.
//
// Ownership, sounder than the library's first design: a message made by
// BuildMapiMessage owns the file descriptions it uses (they leave the
// process-wide list, so a description is freed once and the next message
// starts from an empty list); the library stays loaded while a session is
// open or the caller holds buffers it answered, because unloading it would
// leave them invalid and unfreeable.
#pragma once

#include "KyCharFld.h"
#include "KyIntegerFld.h"

class KyMAPI {
 public:
  // --- library handling ---
  static KyIntFld StartMAPI();
  static KyIntFld EndMAPI();
  static KyLongFld GetMapiReturnCode();

  // --- calls (each binds the library first) ---
  static KyIntFld Logon(const KyLongFld& uiParam, const KyCharFld& profile, const KyCharFld& password,
                        const KyIntFld& forceDownload, const KyIntFld& newSession, const KyIntFld& logonUI,
                        const KyIntFld& passwordUI, KyLongFld& session);
  static KyIntFld Logoff(const KyLongFld& session, const KyLongFld& uiParam);
  static KyIntFld SendMail(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& message,
                           const KyIntFld& logonUI, const KyIntFld& newSession, const KyIntFld& dialog);
  static KyIntFld SendDocuments(const KyLongFld& uiParam, const KyCharFld& delimiter, const KyCharFld& filePaths,
                                const KyCharFld& fileNames);
  static KyIntFld FindNext(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageType,
                           const KyCharFld& seedMessageId, const KyIntFld& guaranteeFifo, const KyIntFld& longMessageId,
                           const KyIntFld& unreadOnly, KyCharFld& messageId);
  static KyIntFld ReadMail(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageId,
                           const KyIntFld& bodyAsFile, const KyIntFld& envelopeOnly, const KyIntFld& peek,
                           const KyIntFld& suppressAttachments, KyLongFld& message);
  static KyIntFld SaveMail(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& message,
                           const KyIntFld& logonUI, const KyIntFld& newSession, const KyIntFld& longMessageId,
                           KyCharFld& messageId);
  static KyIntFld DeleteMail(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageId);
  static KyIntFld Address(const KyLongFld& session, const KyIntFld& logonUI, const KyIntFld& newSession,
                          const KyCharFld& caption, const KyLongFld& editFields, const KyCharFld& labels,
                          const KyLongFld& recipientCount, const KyLongFld& recipients, KyLongFld& newCount,
                          KyLongFld& newRecipients);
  static KyIntFld Details(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& recipient,
                          const KyIntFld& noModify, const KyIntFld& logonUI, const KyIntFld& newSession);
  static KyIntFld ResolveName(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& name,
                              const KyIntFld& noModify, const KyIntFld& dialog, const KyIntFld& logonUI,
                              const KyIntFld& newSession, KyLongFld& recipient);
  static KyIntFld FreeBuffer(const KyLongFld& pointer);

  // --- builders and lists (no call of the library) ---
  // Class "FROM" 0, "TO" 1, "CC" 2, "BCC" 3, any other text 1.
  static KyIntFld BuildAddressStructure(const KyCharFld& recipientClass, const KyCharFld& name,
                                        const KyCharFld& address, KyLongFld& recipient);
  // Appended to the process-wide file list as well.
  static KyIntFld BuildFileStructure(const KyIntFld& ole, const KyIntFld& oleStatic, const KyLongFld& position,
                                     const KyCharFld& pathName, const KyCharFld& fileName, KyLongFld& file);
  // With a file count of 2 or more the files are the first that many of the
  // file list; result 0 (and no message) when the list holds fewer.
  static KyIntFld BuildMapiMessage(const KyCharFld& subject, const KyCharFld& noteText,
                                   const KyIntFld& receiptRequested, const KyLongFld& originator,
                                   const KyLongFld& recipientCount, const KyLongFld& recipients,
                                   const KyLongFld& fileCount, const KyLongFld& files, KyLongFld& message);
  static KyIntFld GetRecipientFromList(const KyLongFld& list, const KyLongFld& count, const KyLongFld& index,
                                       KyLongFld& entry);
  static KyIntFld GetFileFromList(const KyLongFld& list, const KyLongFld& count, const KyLongFld& index,
                                  KyLongFld& entry);
  static KyIntFld FreeMapiMessage(const KyLongFld& message);
};
