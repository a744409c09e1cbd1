// KyMAPI: the library binding, the window made modal around each call, and
// the structures generated code builds. All state is process-wide, as the
// mail calls run on the user-interface thread one at a time.
#include "KyMAPI.h"

#include "KyApp.h"

#include <internal/pointerid.h>
#include <mapi.h>
#include <windows.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr UINT kMissingEntryTextId = 57486;
constexpr UINT kMissingEntryCaptionId = 57487;
constexpr const char* kStayDisabled = "StayDisabled";

enum Entry {
  kAddress, kDeleteMail, kDetails, kFindNext, kFreeBuffer, kLogoff,
  kLogon, kReadMail, kResolveName, kSaveMail, kSendDocuments, kSendMail, kEntryCount
};
constexpr const char* kEntryNames[kEntryCount] = {
    "MAPIAddress", "MAPIDeleteMail", "MAPIDetails",     "MAPIFindNext",  "MAPIFreeBuffer",    "MAPILogoff",
    "MAPILogon",   "MAPIReadMail",   "MAPIResolveName", "MAPISaveMail",  "MAPISendDocuments", "MAPISendMail"};

struct OwnedRecipient {
  MapiRecipDesc desc{};  // first: its address is the structure's
  std::string name, address;
};

struct OwnedFile {
  MapiFileDesc desc{};
  std::string path, name;
};

struct OwnedMessage {
  MapiMessage message{};
  std::string subject, note;
  std::vector<std::unique_ptr<OwnedFile>> files;
  std::vector<MapiFileDesc> fileArray;  // the contiguous copies a count of 2 or more needs
};

struct MapiState {
  HMODULE module = nullptr;
  FARPROC entries[kEntryCount] = {};
  ULONG lastCode = 0;
  std::set<void*> libraryBuffers;  // answered by the library, not yet freed
  std::set<LHANDLE> sessions;      // logged on and not yet off
  std::vector<std::unique_ptr<OwnedFile>> fileList;
  std::map<void*, std::unique_ptr<OwnedRecipient>> recipients;
  std::map<void*, std::unique_ptr<OwnedMessage>> messages;
};

MapiState& state() {
  static MapiState mapi;
  return mapi;
}

template <class F>
F entry(Entry which) {
  return reinterpret_cast<F>(state().entries[which]);
}

KyIntFld result(bool ok) {
  KyIntFld field;
  field.SetValue(ok ? 1 : 0);
  return field;
}

bool isSet(const KyIntFld& field) { return field.GetValue() != 0; }

// A pointer field's address; null for 0 or an id never given out.
template <class T>
T* pointerOf(const KyLongFld& field) {
  return static_cast<T*>(win32::pointerFromId(static_cast<DWORD>(field.GetValue())));
}

void putPointer(KyLongFld& field, const void* pointer) {
  field.SetValue(static_cast<LONG>(win32::pointerToId(pointer)));
}

LHANDLE sessionOf(const KyLongFld& field) {
  return reinterpret_cast<LHANDLE>(win32::pointerFromId(static_cast<DWORD>(field.GetValue())));
}

// A text field as the library takes it: null when empty.
struct Text {
  explicit Text(const KyCharFld& field) : value(static_cast<const char*>(field.strGetText())) {}
  LPSTR get() { return value.empty() ? nullptr : value.data(); }
  std::string value;
};

const char* resourceString(UINT id) {
  KyApp* app = KyApp::GetApp();
  return app ? app->pszGetResourceString(id) : "";
}

void unload() {
  MapiState& mapi = state();
  if (mapi.module) FreeLibrary(mapi.module);
  mapi.module = nullptr;
  mapi.sessions.clear();
  mapi.libraryBuffers.clear();
  for (FARPROC& proc : mapi.entries) proc = nullptr;
}

bool bind() {
  MapiState& mapi = state();
  if (!mapi.module) mapi.module = LoadLibraryA("MAPI32.DLL");
  if (!mapi.module) return false;
  bool complete = true;
  for (int i = 0; i < kEntryCount; ++i) {
    mapi.entries[i] = GetProcAddress(mapi.module, kEntryNames[i]);
    complete = complete && mapi.entries[i];
  }
  if (complete) return true;
  MessageBoxA(nullptr, resourceString(kMissingEntryTextId), resourceString(kMissingEntryCaptionId), MB_ICONEXCLAMATION);
  unload();
  return false;
}

// The calling window: the given one, else the active window, which is the
// current panel's while a panel is in front.
HWND windowOf(const KyLongFld& uiParam) {
  const DWORD value = static_cast<DWORD>(uiParam.GetValue());
  return value ? reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value)) : GetActiveWindow();
}

// The window is modal for the length of a call: it holds the capture, has
// lost the focus and is marked to stay disabled; all undone afterwards.
class ModalWindow {
 public:
  explicit ModalWindow(HWND window) : window_(window) {
    if (!window_) return;
    SetCapture(window_);
    SetFocus(nullptr);
    SetPropA(window_, kStayDisabled, reinterpret_cast<HANDLE>(1));
  }
  ~ModalWindow() {
    if (!window_) return;
    ReleaseCapture();
    RemovePropA(window_, kStayDisabled);
    SetFocus(window_);
  }
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;
  ULONG_PTR param() const { return reinterpret_cast<ULONG_PTR>(window_); }

 private:
  HWND window_;
};

// One library call: binds, makes the window modal, keeps the code, and
// unloads the library when the call leaves no session, no other session is
// open and the caller holds none of its buffers (unloading then would lose
// sessions and buffers the caller still holds). `call` gets the UI parameter and answers the
// code and the session handle after the call.
template <class Call>
KyIntFld callMapi(const KyLongFld& uiParam, Call&& call) {
  MapiState& mapi = state();
  mapi.lastCode = 0;
  if (!bind()) return result(false);
  LHANDLE sessionAfter = 0;
  {
    ModalWindow modal(windowOf(uiParam));
    mapi.lastCode = call(modal.param(), sessionAfter);
  }
  if (sessionAfter == 0 && mapi.sessions.empty() && mapi.libraryBuffers.empty()) unload();
  return result(mapi.lastCode == SUCCESS_SUCCESS);
}

FLAGS flag(const KyIntFld& field, FLAGS value) { return isSet(field) ? value : 0; }

void keepLibraryBuffer(void* buffer, KyLongFld& field) {
  if (buffer) state().libraryBuffers.insert(buffer);
  putPointer(field, buffer);
}

template <class T>
KyIntFld entryOfList(const KyLongFld& list, const KyLongFld& count, const KyLongFld& index, KyLongFld& out) {
  out.SetValue(0);
  T* entries = pointerOf<T>(list);
  const LONG n = count.GetValue(), i = index.GetValue();
  if (entries && n > 0 && i >= 1 && i <= n) putPointer(out, &entries[i - 1]);
  return result(true);
}

void forget(const void* pointer) { win32::forgetPointerId(win32::pointerToId(pointer)); }

}  // namespace

KyIntFld KyMAPI::StartMAPI() { return result(bind()); }

KyIntFld KyMAPI::EndMAPI() {
  unload();
  return result(true);
}

KyLongFld KyMAPI::GetMapiReturnCode() {
  KyLongFld code;
  code.SetValue(static_cast<LONG>(state().lastCode));
  return code;
}

KyIntFld KyMAPI::Logon(const KyLongFld& uiParam, const KyCharFld& profile, const KyCharFld& password,
                       const KyIntFld& forceDownload, const KyIntFld& newSession, const KyIntFld& logonUI,
                       const KyIntFld& passwordUI, KyLongFld& session) {
  Text profileText(profile), passwordText(password);
  const FLAGS flags = flag(forceDownload, MAPI_FORCE_DOWNLOAD) | flag(newSession, MAPI_NEW_SESSION) |
                      flag(logonUI, MAPI_LOGON_UI) | flag(passwordUI, MAPI_PASSWORD_UI);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    LHANDLE handle = 0;
    const ULONG code = entry<LPMAPILOGON>(kLogon)(ui, profileText.get(), passwordText.get(), flags, 0, &handle);
    if (code == SUCCESS_SUCCESS) {
      after = handle;
      state().sessions.insert(handle);
      putPointer(session, reinterpret_cast<const void*>(handle));
    }
    return code;
  });
}

KyIntFld KyMAPI::Logoff(const KyLongFld& session, const KyLongFld& uiParam) {
  const LHANDLE handle = sessionOf(session);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    const ULONG code = entry<LPMAPILOGOFF>(kLogoff)(handle, ui, 0, 0);
    if (code == SUCCESS_SUCCESS) {
      state().sessions.erase(handle);
      forget(reinterpret_cast<const void*>(handle));
    }
    after = 0;  // the session is gone either way
    return code;
  });
}

KyIntFld KyMAPI::SendMail(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& message,
                          const KyIntFld& logonUI, const KyIntFld& newSession, const KyIntFld& dialog) {
  const LHANDLE handle = sessionOf(session);
  const FLAGS flags = flag(logonUI, MAPI_LOGON_UI) | flag(newSession, MAPI_NEW_SESSION) | flag(dialog, MAPI_DIALOG);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    return entry<LPMAPISENDMAIL>(kSendMail)(handle, ui, pointerOf<MapiMessage>(message), flags, 0);
  });
}

KyIntFld KyMAPI::SendDocuments(const KyLongFld& uiParam, const KyCharFld& delimiter, const KyCharFld& filePaths,
                               const KyCharFld& fileNames) {
  Text delimiterText(delimiter), paths(filePaths), names(fileNames);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE&) {
    return entry<LPMAPISENDDOCUMENTS>(kSendDocuments)(ui, delimiterText.get(), paths.get(), names.get(), 0);
  });
}

KyIntFld KyMAPI::FindNext(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageType,
                          const KyCharFld& seedMessageId, const KyIntFld& guaranteeFifo,
                          const KyIntFld& longMessageId, const KyIntFld& unreadOnly, KyCharFld& messageId) {
  const LHANDLE handle = sessionOf(session);
  Text type(messageType), seed(seedMessageId);
  const FLAGS flags =
      flag(guaranteeFifo, MAPI_GUARANTEE_FIFO) | flag(longMessageId, MAPI_LONG_MSGID) | flag(unreadOnly, MAPI_UNREAD_ONLY);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    char found[512] = "";  // MAPI_LONG_MSGID ids fit 512 bytes, the others 64
    const ULONG code = entry<LPMAPIFINDNEXT>(kFindNext)(handle, ui, type.get(), seed.get(), flags, 0, found);
    if (code == SUCCESS_SUCCESS) messageId.SetText(found);
    return code;
  });
}

KyIntFld KyMAPI::ReadMail(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageId,
                          const KyIntFld& bodyAsFile, const KyIntFld& envelopeOnly, const KyIntFld& peek,
                          const KyIntFld& suppressAttachments, KyLongFld& message) {
  const LHANDLE handle = sessionOf(session);
  Text id(messageId);
  const FLAGS flags = flag(bodyAsFile, MAPI_BODY_AS_FILE) | flag(envelopeOnly, MAPI_ENVELOPE_ONLY) |
                      flag(peek, MAPI_PEEK) | flag(suppressAttachments, MAPI_SUPPRESS_ATTACH);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    lpMapiMessage read = nullptr;
    const ULONG code = entry<LPMAPIREADMAIL>(kReadMail)(handle, ui, id.get(), flags, 0, &read);
    if (code == SUCCESS_SUCCESS) keepLibraryBuffer(read, message);
    return code;
  });
}

KyIntFld KyMAPI::SaveMail(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& message,
                          const KyIntFld& logonUI, const KyIntFld& newSession, const KyIntFld& longMessageId,
                          KyCharFld& messageId) {
  const LHANDLE handle = sessionOf(session);
  const FLAGS flags =
      flag(logonUI, MAPI_LOGON_UI) | flag(newSession, MAPI_NEW_SESSION) | flag(longMessageId, MAPI_LONG_MSGID);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    char id[512] = "";
    std::snprintf(id, sizeof id, "%s", static_cast<const char*>(messageId.strGetText()));
    const ULONG code = entry<LPMAPISAVEMAIL>(kSaveMail)(handle, ui, pointerOf<MapiMessage>(message), flags, 0, id);
    if (code == SUCCESS_SUCCESS) messageId.SetText(id);
    return code;
  });
}

KyIntFld KyMAPI::DeleteMail(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& messageId) {
  const LHANDLE handle = sessionOf(session);
  Text id(messageId);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    return entry<LPMAPIDELETEMAIL>(kDeleteMail)(handle, ui, id.get(), 0, 0);
  });
}

KyIntFld KyMAPI::Address(const KyLongFld& session, const KyIntFld& logonUI, const KyIntFld& newSession,
                         const KyCharFld& caption, const KyLongFld& editFields, const KyCharFld& labels,
                         const KyLongFld& recipientCount, const KyLongFld& recipients, KyLongFld& newCount,
                         KyLongFld& newRecipients) {
  const LHANDLE handle = sessionOf(session);
  Text captionText(caption), labelText(labels);
  const FLAGS flags = flag(logonUI, MAPI_LOGON_UI) | flag(newSession, MAPI_NEW_SESSION);
  const LONG count = recipientCount.GetValue();
  KyLongFld noWindow;
  return callMapi(noWindow, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    ULONG chosenCount = 0;
    lpMapiRecipDesc chosen = nullptr;
    const ULONG code = entry<LPMAPIADDRESS>(kAddress)(
        handle, ui, captionText.get(), static_cast<ULONG>(editFields.GetValue()), labelText.get(),
        count > 0 ? static_cast<ULONG>(count) : 0, pointerOf<MapiRecipDesc>(recipients), flags, 0, &chosenCount,
        &chosen);
    if (code == SUCCESS_SUCCESS) {
      newCount.SetValue(static_cast<LONG>(chosenCount));
      keepLibraryBuffer(chosen, newRecipients);
    }
    return code;
  });
}

KyIntFld KyMAPI::Details(const KyLongFld& session, const KyLongFld& uiParam, const KyLongFld& recipient,
                         const KyIntFld& noModify, const KyIntFld& logonUI, const KyIntFld& newSession) {
  const LHANDLE handle = sessionOf(session);
  const FLAGS flags =
      flag(noModify, MAPI_AB_NOMODIFY) | flag(logonUI, MAPI_LOGON_UI) | flag(newSession, MAPI_NEW_SESSION);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    return entry<LPMAPIDETAILS>(kDetails)(handle, ui, pointerOf<MapiRecipDesc>(recipient), flags, 0);
  });
}

KyIntFld KyMAPI::ResolveName(const KyLongFld& session, const KyLongFld& uiParam, const KyCharFld& name,
                             const KyIntFld& noModify, const KyIntFld& dialog, const KyIntFld& logonUI,
                             const KyIntFld& newSession, KyLongFld& recipient) {
  const LHANDLE handle = sessionOf(session);
  Text nameText(name);
  const FLAGS flags = flag(noModify, MAPI_AB_NOMODIFY) | flag(dialog, MAPI_DIALOG) | flag(logonUI, MAPI_LOGON_UI) |
                      flag(newSession, MAPI_NEW_SESSION);
  recipient.SetValue(0);
  return callMapi(uiParam, [&](ULONG_PTR ui, LHANDLE& after) {
    after = handle;
    lpMapiRecipDesc resolved = nullptr;
    const ULONG code = entry<LPMAPIRESOLVENAME>(kResolveName)(handle, ui, nameText.get(), flags, 0, &resolved);
    // A pointer given with a failure is not a resolution.
    if (code == SUCCESS_SUCCESS) keepLibraryBuffer(resolved, recipient);
    return code;
  });
}

KyIntFld KyMAPI::FreeBuffer(const KyLongFld& pointer) {
  void* buffer = pointerOf<void>(pointer);
  KyLongFld noWindow;
  MapiState& mapi = state();
  return callMapi(noWindow, [&](ULONG_PTR, LHANDLE& after) {
    const ULONG code = entry<LPMAPIFREEBUFFER>(kFreeBuffer)(buffer);
    if (code == SUCCESS_SUCCESS && buffer) {
      mapi.libraryBuffers.erase(buffer);
      forget(buffer);
    }
    after = 0;  // the Part's rule: no session here, so the library may go
    return code;
  });
}

KyIntFld KyMAPI::BuildAddressStructure(const KyCharFld& recipientClass, const KyCharFld& name,
                                       const KyCharFld& address, KyLongFld& recipient) {
  static constexpr struct {
    const char* text;
    ULONG recipientClass;
  } kClasses[] = {{"FROM", MAPI_ORIG}, {"TO", MAPI_TO}, {"CC", MAPI_CC}, {"BCC", MAPI_BCC}};
  auto owned = std::make_unique<OwnedRecipient>();
  owned->desc.ulRecipClass = MAPI_TO;
  const std::string classText = static_cast<const char*>(recipientClass.strGetText());
  for (const auto& entry : kClasses) {
    if (classText == entry.text) owned->desc.ulRecipClass = entry.recipientClass;
  }
  owned->name = static_cast<const char*>(name.strGetText());
  owned->address = static_cast<const char*>(address.strGetText());
  owned->desc.lpszName = owned->name.empty() ? nullptr : owned->name.data();
  owned->desc.lpszAddress = owned->address.empty() ? nullptr : owned->address.data();
  void* key = &owned->desc;
  state().recipients.emplace(key, std::move(owned));
  putPointer(recipient, key);
  return result(true);
}

KyIntFld KyMAPI::BuildFileStructure(const KyIntFld& ole, const KyIntFld& oleStatic, const KyLongFld& position,
                                    const KyCharFld& pathName, const KyCharFld& fileName, KyLongFld& file) {
  auto owned = std::make_unique<OwnedFile>();
  owned->desc.flFlags = isSet(ole) ? MAPI_OLE : isSet(oleStatic) ? MAPI_OLE_STATIC : 0;
  owned->desc.nPosition = static_cast<ULONG>(position.GetValue());
  owned->path = static_cast<const char*>(pathName.strGetText());
  owned->name = static_cast<const char*>(fileName.strGetText());
  owned->desc.lpszPathName = owned->path.empty() ? nullptr : owned->path.data();
  owned->desc.lpszFileName = owned->name.empty() ? nullptr : owned->name.data();
  putPointer(file, &owned->desc);
  state().fileList.push_back(std::move(owned));
  return result(true);
}

KyIntFld KyMAPI::BuildMapiMessage(const KyCharFld& subject, const KyCharFld& noteText,
                                  const KyIntFld& receiptRequested, const KyLongFld& originator,
                                  const KyLongFld& recipientCount, const KyLongFld& recipients,
                                  const KyLongFld& fileCount, const KyLongFld& files, KyLongFld& message) {
  MapiState& mapi = state();
  message.SetValue(0);
  const LONG nFiles = fileCount.GetValue(), nRecipients = recipientCount.GetValue();
  if (nFiles < 0 || nRecipients < 0) return result(false);
  if (nFiles >= 2 && static_cast<size_t>(nFiles) > mapi.fileList.size()) return result(false);
  auto owned = std::make_unique<OwnedMessage>();
  MapiMessage& built = owned->message;
  owned->subject = static_cast<const char*>(subject.strGetText());
  owned->note = static_cast<const char*>(noteText.strGetText());
  built.lpszSubject = owned->subject.empty() ? nullptr : owned->subject.data();
  built.lpszNoteText = owned->note.empty() ? nullptr : owned->note.data();
  built.flFlags = isSet(receiptRequested) ? MAPI_RECEIPT_REQUESTED : 0;
  built.lpOriginator = pointerOf<MapiRecipDesc>(originator);
  built.nRecipCount = static_cast<ULONG>(nRecipients);
  built.lpRecips = pointerOf<MapiRecipDesc>(recipients);
  built.nFileCount = static_cast<ULONG>(nFiles);
  if (nFiles < 2) {
    built.lpFiles = pointerOf<MapiFileDesc>(files);
    // A description of the list used on its own now belongs to the message.
    for (auto it = mapi.fileList.begin(); it != mapi.fileList.end(); ++it) {
      if (&(*it)->desc == built.lpFiles) {
        owned->files.push_back(std::move(*it));
        mapi.fileList.erase(it);
        break;
      }
    }
  } else {
    for (LONG i = 0; i < nFiles; ++i) {
      owned->fileArray.push_back(mapi.fileList.front()->desc);
      owned->files.push_back(std::move(mapi.fileList.front()));
      mapi.fileList.erase(mapi.fileList.begin());
    }
    built.lpFiles = owned->fileArray.data();
  }
  void* key = &owned->message;
  mapi.messages.emplace(key, std::move(owned));
  putPointer(message, key);
  return result(true);
}

KyIntFld KyMAPI::GetRecipientFromList(const KyLongFld& list, const KyLongFld& count, const KyLongFld& index,
                                      KyLongFld& entry) {
  return entryOfList<MapiRecipDesc>(list, count, index, entry);
}

KyIntFld KyMAPI::GetFileFromList(const KyLongFld& list, const KyLongFld& count, const KyLongFld& index,
                                 KyLongFld& entry) {
  return entryOfList<MapiFileDesc>(list, count, index, entry);
}

KyIntFld KyMAPI::FreeMapiMessage(const KyLongFld& message) {
  MapiState& mapi = state();
  auto found = mapi.messages.find(pointerOf<void>(message));
  if (found == mapi.messages.end()) return result(false);  // not one of ours: nothing to free
  const MapiMessage& built = found->second->message;
  // The recipients and originator are freed when this layer made them.
  for (const void* recipient : {static_cast<const void*>(built.lpOriginator), static_cast<const void*>(built.lpRecips)}) {
    auto own = mapi.recipients.find(const_cast<void*>(recipient));
    if (own == mapi.recipients.end()) continue;
    forget(recipient);
    mapi.recipients.erase(own);
  }
  for (const auto& file : found->second->files) forget(&file->desc);
  forget(found->first);
  mapi.messages.erase(found);
  for (const auto& file : mapi.fileList) forget(&file->desc);
  mapi.fileList.clear();
  return result(true);
}
