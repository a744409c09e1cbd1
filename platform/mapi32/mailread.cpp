// MAPIFindNext, MAPIReadMail and MAPIDeleteMail over the store's inbox.
// Messages come oldest first (MAPI_GUARANTEE_FIFO holds always). A read
// message's attachments are written into a new folder under the temporary
// directory, one file each under its own name; those files are the
// caller's, as MAPI documents.
#include "mapibuffer.h"
#include "mapisession.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace mapi32 {
namespace {

// Only interpersonal messages live in the store: no type, or one of the
// "IPM" class.
bool isStoredType(const char* type) { return !type || !*type || std::strncmp(type, "IPM", 3) == 0; }

std::string temporaryFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/kymail-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern : "";
}

bool writeAttachment(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out.flush());
}

// A file name the sender chose, made safe to create: no directories, no
// hidden or empty name.
std::string safeFileName(std::string name, size_t index) {
  for (char& c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) c = '_';
  }
  if (name.empty() || name == "." || name == ".." || name[0] == '.') name = "attachment" + std::to_string(index + 1) + name;
  return name;
}

ULONG buildMessage(const MailContent& content, const StoredMessage& stored, FLAGS flags, BufferBlock& block,
                   MapiMessage*& result) {
  MapiMessage* message = block.array<MapiMessage>(1);
  message->lpszSubject = block.text(content.subject);
  message->lpszMessageType = block.text(content.messageType);
  message->lpszConversationID = block.text(content.conversationId);
  message->lpszDateReceived = block.text(mapiDate(content.date ? content.date : stored.delivered));
  message->flFlags = (stored.seen ? 0 : MAPI_UNREAD) | (content.receiptRequested ? MAPI_RECEIPT_REQUESTED : 0);
  message->lpOriginator = block.array<MapiRecipDesc>(1);
  fillRecipient(block, *message->lpOriginator, content.from, MAPI_ORIG);
  message->nRecipCount = static_cast<ULONG>(content.recipients.size());
  message->lpRecips = content.recipients.empty() ? nullptr : block.array<MapiRecipDesc>(content.recipients.size());
  for (size_t i = 0; i < content.recipients.size(); ++i) {
    fillRecipient(block, message->lpRecips[i], content.recipients[i], content.recipients[i].recipientClass);
  }
  result = message;
  if (flags & MAPI_ENVELOPE_ONLY) return SUCCESS_SUCCESS;
  std::vector<MailAttachment> files;
  if (flags & MAPI_BODY_AS_FILE) {
    files.push_back({"body.txt", content.body});
  } else {
    message->lpszNoteText = block.text(content.body);
  }
  if (!(flags & MAPI_SUPPRESS_ATTACH)) files.insert(files.end(), content.attachments.begin(), content.attachments.end());
  if (files.empty()) return SUCCESS_SUCCESS;
  const std::string folder = temporaryFolder();
  if (folder.empty()) return MAPI_E_ATTACHMENT_WRITE_FAILURE;
  message->nFileCount = static_cast<ULONG>(files.size());
  message->lpFiles = block.array<MapiFileDesc>(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string name = safeFileName(files[i].fileName, i);
    const std::string path = folder + "/" + name;
    if (!writeAttachment(path, files[i].data)) return MAPI_E_ATTACHMENT_WRITE_FAILURE;
    message->lpFiles[i].nPosition = static_cast<ULONG>(-1);  // not placed in the text
    message->lpFiles[i].lpszPathName = block.text(path);
    message->lpFiles[i].lpszFileName = block.text(files[i].fileName);
  }
  return SUCCESS_SUCCESS;
}

// The inbox message `id` of the session's store; nullopt with `code` when
// there is no session or no such message.
std::optional<StoredMessage> inboxMessage(LHANDLE session, const char* id, std::optional<MailStore>& store,
                                          ULONG& code) {
  store = sessionStore(session, false, code);
  if (!store) return std::nullopt;
  std::optional<StoredMessage> stored = store->find(MailStore::Folder::Inbox, id ? id : "");
  if (!stored) code = MAPI_E_INVALID_MESSAGE;
  return stored;
}

}  // namespace
}  // namespace mapi32

using namespace mapi32;

extern "C" ULONG MAPIFindNext(LHANDLE lhSession, ULONG_PTR, LPSTR lpszMessageType, LPSTR lpszSeedMessageID,
                              FLAGS flFlags, ULONG, LPSTR lpszMessageID) {
  if (!lpszMessageID) return MAPI_E_FAILURE;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, false, code);
  if (!store) return code;
  if (!isStoredType(lpszMessageType)) return MAPI_E_NO_MESSAGES;
  const std::vector<StoredMessage> messages = store->list(MailStore::Folder::Inbox);
  size_t start = 0;
  if (lpszSeedMessageID && *lpszSeedMessageID) {
    while (start < messages.size() && messages[start].id != lpszSeedMessageID) ++start;
    if (start == messages.size()) return MAPI_E_INVALID_MESSAGE;
    ++start;
  }
  for (size_t i = start; i < messages.size(); ++i) {
    if ((flFlags & MAPI_UNREAD_ONLY) && messages[i].seen) continue;
    std::snprintf(lpszMessageID, 64, "%s", messages[i].id.c_str());
    return SUCCESS_SUCCESS;
  }
  return MAPI_E_NO_MESSAGES;
}

extern "C" ULONG MAPIReadMail(LHANDLE lhSession, ULONG_PTR, LPSTR lpszMessageID, FLAGS flFlags, ULONG,
                              lpMapiMessage FAR* lppMessage) {
  if (!lppMessage) return MAPI_E_FAILURE;
  *lppMessage = nullptr;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store;
  std::optional<StoredMessage> stored = inboxMessage(lhSession, lpszMessageID, store, code);
  if (!stored) return code;
  std::optional<std::string> text = readFile(stored->path);
  if (!text) return MAPI_E_INVALID_MESSAGE;
  auto block = std::make_unique<BufferBlock>();
  MapiMessage* message = nullptr;
  if ((code = buildMessage(parseMessage(*text), *stored, flFlags, *block, message)) != SUCCESS_SUCCESS) return code;
  if (!(flFlags & MAPI_PEEK)) store->markSeen(*stored);
  *lppMessage = static_cast<lpMapiMessage>(publishBuffer(message, std::move(block)));
  return SUCCESS_SUCCESS;
}

extern "C" ULONG MAPIDeleteMail(LHANDLE lhSession, ULONG_PTR, LPSTR lpszMessageID, FLAGS, ULONG) {
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store;
  std::optional<StoredMessage> stored = inboxMessage(lhSession, lpszMessageID, store, code);
  if (!stored) return code;
  return store->remove(*stored) ? SUCCESS_SUCCESS : MAPI_E_ACCESS_DENIED;
}
