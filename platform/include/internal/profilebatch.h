// Groups the profile writes of a save into one replacement of each file.
//
// Every WritePrivateProfileStringA rewrites its file (atomically and durably),
// so a save of many keys costs a file replacement per key. While a batch is
// open on a thread, that thread's key writes (a value set or a key removed)
// are kept and written at the end as one replacement per file, still atomic
// and durable. Any other profile call of the thread on a file first writes
// what is kept for it, so reads and section writes see every earlier write.
// Batches nest: the outermost one writes.
#pragma once

#include <windef.h>

namespace win32 {

class ProfileBatch {
 public:
  ProfileBatch();
  // Writes what is kept, if Commit has not (errors are lost here: call Commit
  // to learn of them).
  ~ProfileBatch();
  ProfileBatch(const ProfileBatch&) = delete;
  ProfileBatch& operator=(const ProfileBatch&) = delete;

  // Writes what is kept (an inner batch: nothing yet). FALSE with the last
  // error of the first file that could not be written; the others are written.
  BOOL Commit();

 private:
  bool committed_ = false;
};

}  // namespace win32
