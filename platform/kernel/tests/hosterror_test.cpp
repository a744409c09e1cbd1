#include <internal/hosterror.h>
#include <winbase.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "scratchdir.h"

TEST(HostError, ErrnoTable) {
  struct Case {
    int err;
    DWORD code;
  } cases[] = {
      {ENOENT, ERROR_FILE_NOT_FOUND},    {ENOTDIR, ERROR_PATH_NOT_FOUND},     {EACCES, ERROR_ACCESS_DENIED},
      {EPERM, ERROR_ACCESS_DENIED},      {EEXIST, ERROR_FILE_EXISTS},         {ENOSPC, ERROR_DISK_FULL},
      {EDQUOT, ERROR_DISK_FULL},         {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
      {EBADF, ERROR_INVALID_HANDLE},     {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
      {EXDEV, ERROR_NOT_SAME_DEVICE},    {EROFS, ERROR_WRITE_PROTECT},        {EAGAIN, ERROR_LOCK_VIOLATION},
      {EINVAL, ERROR_INVALID_PARAMETER}, {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},   {EIO, ERROR_IO_DEVICE},
      {EOWNERDEAD, ERROR_GEN_FAILURE},  // anything unlisted
  };
  for (const auto& c : cases) EXPECT_EQ(win32::errorFromErrno(c.err), c.code) << c.err;
}

TEST(HostError, MissingEntryTellsFileFromPath) {
  ScratchDir dir;
  dir.write("file", "");
  struct Case {
    std::string path;
    int err;
    DWORD code;
  } cases[] = {
      {dir / "absent", ENOENT, ERROR_FILE_NOT_FOUND},
      {dir / "no/absent", ENOENT, ERROR_PATH_NOT_FOUND},
      {dir / "file/absent", ENOTDIR, ERROR_PATH_NOT_FOUND},
      {dir / "absent/", ENOENT, ERROR_FILE_NOT_FOUND},
      {"relative-absent", ENOENT, ERROR_FILE_NOT_FOUND},
      {dir / "absent", EACCES, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(win32::errorFromErrno(c.err, c.path), c.code) << c.path;
    win32::setLastErrorFromErrno(c.err, c.path);
    EXPECT_EQ(GetLastError(), c.code) << c.path;
  }
}
