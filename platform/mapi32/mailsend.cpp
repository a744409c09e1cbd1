// MAPISendMail, MAPISendDocuments and MAPISaveMail. A sent message is
// kept, as written, in the store's outbox; when KY_SENDMAIL names a
// sendmail-compatible program it is handed to that program first (the
// recipients on its command line, the text without blind copies on its
// input), and a refusal there sends nothing.
#include "mapisession.h"

#include "addressbook.h"

#include <internal/hostpath.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace mapi32 {
namespace {

// Runs the configured program: `program -i -- recipients...`, the message
// on its standard input. False when it cannot start or does not exit 0.
bool handToSendmail(const std::string& program, const MailContent& content) {
  std::vector<std::string> arguments{program, "-i", "--"};
  for (const MailRecipient& recipient : content.recipients) arguments.push_back(recipient.address);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
  pid_t child = 0;
  const int started = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[0]);
  if (started != 0) {
    ::close(pipeFds[1]);
    return false;
  }
  // A program that stops reading must not kill us with SIGPIPE.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  const std::string text = composeMessage(content, false);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(pipeFds[1], text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(pipeFds[1]);
  sigaction(SIGPIPE, &previous, nullptr);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return done == text.size() && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The compose dialog: the names the person added become recipients.
ULONG composeDialog(const std::string& storeRoot, MailContent& content) {
  auto added = answerDialog("compose \"" + content.subject + "\"");
  if (!added) return MAPI_E_USER_ABORT;
  for (const std::string& name : *added) {
    const Resolution resolution = resolveName(storeRoot, name);
    if (resolution.code != SUCCESS_SUCCESS) return resolution.code;
    MailRecipient recipient;
    static_cast<MailAddress&>(recipient) = resolution.address;
    content.recipients.push_back(recipient);
  }
  return SUCCESS_SUCCESS;
}

ULONG send(const MailStore& store, MailContent& content) {
  if (content.recipients.empty()) return MAPI_E_INVALID_RECIPS;
  content.date = std::time(nullptr);
  if (const char* program = std::getenv("KY_SENDMAIL"); program && *program) {
    if (!handToSendmail(program, content)) return MAPI_E_NETWORK_FAILURE;
  }
  return store.deliver(MailStore::Folder::Outbox, composeMessage(content, true), true) ? SUCCESS_SUCCESS
                                                                                          : MAPI_E_DISK_FULL;
}

}  // namespace
}  // namespace mapi32

using namespace mapi32;

extern "C" ULONG MAPISendMail(LHANDLE lhSession, ULONG_PTR, lpMapiMessage lpMessage, FLAGS flFlags, ULONG) {
  if (!lpMessage) return MAPI_E_FAILURE;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, true, code);
  if (!store) return code;
  MailContent content;
  const bool dialog = (flFlags & MAPI_DIALOG) != 0;
  code = messageContent(store->root(), *lpMessage, !dialog, content);
  if (code != SUCCESS_SUCCESS) return code;
  if (dialog && (code = composeDialog(store->root(), content)) != SUCCESS_SUCCESS) return code;
  return send(*store, content);
}

extern "C" ULONG MAPISendDocuments(ULONG_PTR, LPSTR lpszDelimChar, LPSTR lpszFilePaths, LPSTR lpszFileNames, ULONG) {
  const char delimiter = lpszDelimChar && *lpszDelimChar ? *lpszDelimChar : ';';
  const std::vector<std::string> paths = splitList(lpszFilePaths, delimiter);
  const std::vector<std::string> names = splitList(lpszFileNames, delimiter);
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(0, true, code);
  if (!store) return code;
  std::vector<MapiFileDesc> files(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    files[i].lpszPathName = const_cast<char*>(paths[i].c_str());
    files[i].lpszFileName = i < names.size() ? const_cast<char*>(names[i].c_str()) : nullptr;
  }
  MapiMessage message{};
  message.nFileCount = static_cast<ULONG>(files.size());
  message.lpFiles = files.empty() ? nullptr : files.data();
  MailContent content;
  if ((code = messageContent(store->root(), message, true, content)) != SUCCESS_SUCCESS) return code;
  if ((code = composeDialog(store->root(), content)) != SUCCESS_SUCCESS) return code;
  return send(*store, content);
}

extern "C" ULONG MAPISaveMail(LHANDLE lhSession, ULONG_PTR, lpMapiMessage lpMessage, FLAGS, ULONG,
                              LPSTR lpszMessageID) {
  if (!lpMessage || !lpszMessageID) return MAPI_E_FAILURE;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, true, code);
  if (!store) return code;
  MailContent content;
  if ((code = messageContent(store->root(), *lpMessage, false, content)) != SUCCESS_SUCCESS) return code;
  content.date = std::time(nullptr);
  const std::string text = composeMessage(content, true);
  if (*lpszMessageID) {
    std::optional<StoredMessage> existing = store->find(MailStore::Folder::Inbox, lpszMessageID);
    if (!existing) return MAPI_E_INVALID_MESSAGE;
    return store->replace(*existing, text) ? SUCCESS_SUCCESS : MAPI_E_DISK_FULL;
  }
  std::optional<std::string> id =
      store->deliver(MailStore::Folder::Inbox, text, (lpMessage->flFlags & MAPI_UNREAD) == 0);
  if (!id) return MAPI_E_DISK_FULL;
  // Ids are shorter than the 64 bytes every caller's buffer holds.
  std::snprintf(lpszMessageID, 64, "%s", id->c_str());
  return SUCCESS_SUCCESS;
}
