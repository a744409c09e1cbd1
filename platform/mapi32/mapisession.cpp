// Sessions of MAPI32.DLL and MAPILogon/MAPILogoff. Every profile is the
// user's one store (the maildir of MailStore::defaultRoot); no password
// guards it beyond the files' own permissions. A logon without
// MAPI_NEW_SESSION shares the session already open, as Simple MAPI's
// shared session does.
#include "mapisession.h"

#include "addressbook.h"

#include <internal/hostpath.h>
#include <internal/userscript.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>

namespace mapi32 {
namespace {

struct Sessions {
  std::mutex lock;
  std::map<LHANDLE, std::string> roots;  // session -> store folder
  LHANDLE next = 1;
  LHANDLE shared = 0;
};

Sessions& sessions() {
  static Sessions table;
  return table;
}

}  // namespace

std::optional<MailStore> sessionStore(LHANDLE session, bool temporaryAllowed, ULONG& code) {
  if (session == 0) {
    if (!temporaryAllowed) {
      code = MAPI_E_INVALID_SESSION;
      return std::nullopt;
    }
    MailStore store(MailStore::defaultRoot());
    if (!store.open()) {
      code = MAPI_E_LOGIN_FAILURE;
      return std::nullopt;
    }
    code = SUCCESS_SUCCESS;
    return store;
  }
  Sessions& table = sessions();
  std::lock_guard guard(table.lock);
  auto found = table.roots.find(session);
  if (found == table.roots.end()) {
    code = MAPI_E_INVALID_SESSION;
    return std::nullopt;
  }
  code = SUCCESS_SUCCESS;
  return MailStore(found->second);
}

std::vector<std::string> splitList(const char* list, char delimiter) {
  std::vector<std::string> items;
  if (!list) return items;
  const std::string text(list);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(delimiter, start);
    if (end == std::string::npos) end = text.size();
    if (end > start) items.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

std::optional<std::vector<std::string>> answerDialog(const std::string& what) {
  const std::string answer = win32::script::nextMailDialogAnswer().value_or("ok");
  win32::script::announce("Mail: " + what + " -> " + answer);
  if (answer == "cancel") return std::nullopt;
  if (answer.rfind("ok:", 0) != 0) return std::vector<std::string>{};
  return splitList(answer.c_str() + 3, ';');
}

MailAddress userAddress() {
  if (const char* from = std::getenv("KY_MAIL_FROM"); from && *from) return {from, from};
  const passwd* user = getpwuid(getuid());
  char host[256] = "";
  if (gethostname(host, sizeof host - 1) != 0 || !*host) std::snprintf(host, sizeof host, "localhost");
  const std::string address = std::string(user && user->pw_name ? user->pw_name : "user") + "@" + host;
  return {address, address};
}

ULONG recipientAddress(const std::string& storeRoot, const MapiRecipDesc& recipient, MailAddress& address) {
  const std::string name = recipient.lpszName ? recipient.lpszName : "";
  const std::string given = recipient.lpszAddress ? plainAddress(recipient.lpszAddress) : "";
  if (!given.empty()) {
    address = {name.empty() ? given : name, given};
    return SUCCESS_SUCCESS;
  }
  const Resolution resolution = resolveName(storeRoot, name);
  if (resolution.code == SUCCESS_SUCCESS) address = resolution.address;
  return resolution.code;
}

ULONG messageContent(const std::string& storeRoot, const MapiMessage& message, bool strictRecipients,
                     MailContent& content) {
  content.subject = message.lpszSubject ? message.lpszSubject : "";
  content.body = message.lpszNoteText ? message.lpszNoteText : "";
  content.messageType = message.lpszMessageType ? message.lpszMessageType : "";
  content.conversationId = message.lpszConversationID ? message.lpszConversationID : "";
  content.receiptRequested = (message.flFlags & MAPI_RECEIPT_REQUESTED) != 0;
  content.from = userAddress();
  if (message.lpOriginator && message.lpOriginator->lpszAddress && *message.lpOriginator->lpszAddress) {
    recipientAddress(storeRoot, *message.lpOriginator, content.from);
  }
  if (message.nRecipCount && !message.lpRecips) return MAPI_E_INVALID_RECIPS;
  for (ULONG i = 0; i < message.nRecipCount; ++i) {
    const MapiRecipDesc& recipient = message.lpRecips[i];
    if (recipient.ulRecipClass < MAPI_TO || recipient.ulRecipClass > MAPI_BCC) return MAPI_E_BAD_RECIPTYPE;
    MailRecipient entry;
    entry.recipientClass = recipient.ulRecipClass;
    const ULONG code = recipientAddress(storeRoot, recipient, entry);
    if (code != SUCCESS_SUCCESS) {
      if (strictRecipients || !recipient.lpszName || !*recipient.lpszName) return code;
      entry.name = entry.address = recipient.lpszName;
    }
    content.recipients.push_back(entry);
  }
  if (message.nFileCount && !message.lpFiles) return MAPI_E_ATTACHMENT_NOT_FOUND;
  for (ULONG i = 0; i < message.nFileCount; ++i) {
    const MapiFileDesc& file = message.lpFiles[i];
    if (!file.lpszPathName || !*file.lpszPathName) return MAPI_E_ATTACHMENT_NOT_FOUND;
    const std::string path = win32::resolveHostPath(file.lpszPathName);
    if (::access(path.c_str(), F_OK) != 0) return MAPI_E_ATTACHMENT_NOT_FOUND;
    std::optional<std::string> data = readFile(path);
    if (!data) return MAPI_E_ATTACHMENT_OPEN_FAILURE;
    std::string name = file.lpszFileName && *file.lpszFileName ? file.lpszFileName : path;
    if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos) name = name.substr(slash + 1);
    content.attachments.push_back({name, std::move(*data)});
  }
  return SUCCESS_SUCCESS;
}

void fillRecipient(BufferBlock& block, MapiRecipDesc& out, const MailAddress& address, ULONG recipientClass) {
  out.ulRecipClass = recipientClass;
  out.lpszName = block.text(address.name);
  out.lpszAddress = block.text(address.address.empty() ? "" : "SMTP:" + address.address);
}

std::string mapiDate(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min);
  return text;
}

}  // namespace mapi32

using namespace mapi32;

extern "C" ULONG MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS flFlags, ULONG, LPLHANDLE lplhSession) {
  if (!lplhSession) return MAPI_E_FAILURE;
  *lplhSession = 0;
  Sessions& table = sessions();
  std::lock_guard guard(table.lock);
  if (!(flFlags & MAPI_NEW_SESSION) && table.shared) {
    *lplhSession = table.shared;
    return SUCCESS_SUCCESS;
  }
  MailStore store(MailStore::defaultRoot());
  if (!store.open()) return MAPI_E_LOGIN_FAILURE;
  const LHANDLE session = table.next++;
  table.roots.emplace(session, store.root());
  if (!(flFlags & MAPI_NEW_SESSION)) table.shared = session;
  *lplhSession = session;
  return SUCCESS_SUCCESS;
}

extern "C" ULONG MAPILogoff(LHANDLE lhSession, ULONG_PTR, FLAGS, ULONG) {
  Sessions& table = sessions();
  std::lock_guard guard(table.lock);
  if (!table.roots.erase(lhSession)) return MAPI_E_INVALID_SESSION;
  if (table.shared == lhSession) table.shared = 0;
  return SUCCESS_SUCCESS;
}
