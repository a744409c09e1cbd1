// The message store behind MAPI32.DLL: a maildir. The inbox is the maildir
// itself (new/, cur/, tmp/); sent messages go into its ".Outbox" folder in
// the Maildir++ way. Messages are delivered through tmp/ and a rename, so a
// reader never sees half a file. A message's id is its maildir unique name
// (the file name before ":2,").
//
// The store's place: KY_MAILDIR, else $XDG_CONFIG_HOME/ky721/Mail, else
// ~/.config/ky721/Mail.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace mapi32 {

struct StoredMessage {
  std::string id;
  std::string path;
  bool seen = false;
  std::time_t delivered = 0;  // the file's modification time
};

class MailStore {
 public:
  enum class Folder { Inbox, Outbox };

  explicit MailStore(std::string root) : root_(std::move(root)) {}
  static std::string defaultRoot();

  const std::string& root() const { return root_; }
  // Creates the folders that are missing; false when the store cannot be
  // made or written.
  bool open() const;

  // Delivers `text` into `folder`; answers the new id, or nullopt when the
  // file could not be written (disk full, no permission).
  std::optional<std::string> deliver(Folder folder, const std::string& text, bool seen) const;
  // The messages of `folder`, oldest first (delivery time, then id).
  std::vector<StoredMessage> list(Folder folder) const;
  std::optional<StoredMessage> find(Folder folder, const std::string& id) const;
  bool markSeen(const StoredMessage& message) const;
  // Writes `text` in place of the message, keeping its id and read state.
  bool replace(const StoredMessage& message, const std::string& text) const;
  bool remove(const StoredMessage& message) const;

 private:
  std::string folderPath(Folder folder) const;
  std::string root_;
};

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> readFile(const std::string& path);

}  // namespace mapi32
