// Profile (INI) functions of kernel32: GetPrivateProfileStringA and its
// family, the WIN.INI forms and the Windows directory that holds WIN.INI.
//
// Files are parsed and cached by profilecache.cpp; this file keeps the
// Windows contract at the boundary: file name lookup, defaults, buffer
// truncation and return values, last errors.
#include <winbase.h>

#include <internal/answerbuffer.h>
#include <internal/hostpath.h>
#include <internal/profilebatch.h>

#include "profilecache.h"
#include "profilefile.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

using win32::profile::ProfileFile;
using win32::profile::ProfileLine;
using win32::profile::ProfileSection;

// --- where the files are ---------------------------------------------------

std::string homeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd entry{};
  struct passwd* found = nullptr;
  char scratch[4096];
  if (::getpwuid_r(::geteuid(), &entry, scratch, sizeof scratch, &found) == 0 && found && found->pw_dir) {
    return found->pw_dir;
  }
  return "/";
}

// The layer's WIN.INI. Read from the environment on each call, because a
// test (or a process that starts another) may point it elsewhere.
std::string winIniPath() {
  if (const char* path = std::getenv("KY_WIN_INI"); path && *path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? std::string(path) : absolute.lexically_normal().string();
  }
  std::string config;
  // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    config = xdg;
  } else {
    config = homeDirectory() + "/.config";
  }
  while (config.size() > 1 && config.back() == '/') config.pop_back();
  return config + "/ky/WIN.INI";
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string windowsDirectory() { return directoryOf(winIniPath()); }

// A name with no directory and no drive lies in the Windows directory, as
// Windows looks it up; "win.ini" there is the layer's WIN.INI, whatever the
// latter's own file name. NULL stands for WIN.INI. The answer is the host
// spelling; the cache resolves letter case only when that is missing.
std::string profileHostPath(LPCSTR fileName) {
  if (!fileName) return winIniPath();
  const std::string_view name(fileName);
  const bool hasDrive = name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
  if (hasDrive || name.find_first_of("\\/") != std::string_view::npos) return win32::toHostPath(name);
  if (win32::equalsIgnoringCase(name, "win.ini")) return winIniPath();
  return windowsDirectory() + "/" + std::string(name);
}

// --- copying into the caller's buffer ---------------------------------------

// A single string: cut to nSize-1 characters, which is then the result.
DWORD copyString(LPSTR buffer, DWORD size, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const size_t count = std::min<size_t>(text.size(), size - 1);
  text.copy(buffer, count);  // copy(): no memcpy from the null data of an empty view
  buffer[count] = '\0';
  return static_cast<DWORD>(count);
}

// A list of NUL-terminated strings ending with an empty one. When it does not
// fit, the last string that does not is cut so that two NULs end the buffer,
// and the result is nSize-2; otherwise it counts every string with its NUL
// but not the final one. Windows wants one byte to spare: a list that fills
// the buffer exactly, final NUL included, also answers nSize-2.
class ListWriter {
 public:
  ListWriter(LPSTR buffer, DWORD size) : buffer_(buffer), size_(size) {}

  void add(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (full_ || text.empty()) return;  // an empty string would end the list
    if (used_ + text.size() + 1 <= size_ - 1) {
      text.copy(buffer_ + used_, text.size());
      used_ += text.size();
      buffer_[used_++] = '\0';
      return;
    }
    full_ = true;
    if (size_ < 2) return;
    // When the strings so far fill all but the last byte, none is cut.
    const size_t room = used_ + 2 <= size_ ? size_ - 2 - used_ : 0;
    text.copy(buffer_ + used_, room);
    buffer_[size_ - 2] = '\0';
    buffer_[size_ - 1] = '\0';
  }

  bool empty() const { return used_ == 0 && !full_; }

  DWORD finish() {
    if (size_ < 2) {
      buffer_[0] = '\0';
      return 0;
    }
    if (full_) return size_ - 2;
    buffer_[used_] = '\0';
    if (used_ + 1 == size_) return size_ - 2;
    if (used_ == 0) buffer_[1] = '\0';
    return static_cast<DWORD>(used_);
  }

 private:
  LPSTR buffer_;
  size_t size_;
  size_t used_ = 0;
  bool full_ = false;
};

// --- reading -------------------------------------------------------------------

// One pair of matching quotes around a value is no part of it.
std::string_view withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Windows drops trailing blanks of the default, but never its first character.
std::string_view defaultText(LPCSTR lpDefault) {
  if (!lpDefault) return {};
  std::string_view text(lpDefault);
  while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
  return text;
}

const ProfileSection* findSection(const ProfileFile* file, LPCSTR section) {
  return file && section ? file->findSection(section) : nullptr;
}

void listSectionNames(const ProfileFile* file, ListWriter& out) {
  if (!file) return;
  for (const ProfileSection& section : file->sections()) out.add(section.name);
}

void listKeys(const ProfileFile& file, const ProfileSection& section, ListWriter& out) {
  for (size_t i = section.firstLine; i < section.endLine; ++i) {
    const ProfileLine& line = file.lines()[i];
    if (line.kind == ProfileLine::Kind::Key) out.add(line.name);
  }
}

// What GetPrivateProfileSectionA lists: "key=value" for keys (a line with no
// name before '=' comes back as "=value", as written), the text of a line
// without '=', nothing for comments and blank lines.
void listSectionLines(const ProfileFile& file, const ProfileSection& section, ListWriter& out) {
  std::string entry;
  for (size_t i = section.firstLine; i < section.endLine; ++i) {
    const ProfileLine& line = file.lines()[i];
    if (line.kind == ProfileLine::Kind::Key) {
      entry.assign(line.name);
      entry += '=';
      entry += line.value;
      out.add(entry);
    } else if (line.kind == ProfileLine::Kind::Other) {
      out.add(line.content);
    }
  }
}

struct Opened {
  std::shared_ptr<const ProfileFile> file;
  DWORD error = ERROR_SUCCESS;  // why `file` is missing
};

// The key writes a thread's open batch keeps, per file in order of first write.
struct PendingWrites {
  int depth = 0;
  std::vector<std::pair<std::string, std::vector<win32::profile::KeyChange>>> files;
};
thread_local PendingWrites pending;

bool flushPending(const std::string& path, DWORD& error);

Opened openProfile(LPCSTR fileName) {
  Opened opened;
  const std::string path = profileHostPath(fileName);
  // A read sees the writes the thread's batch still keeps.
  if (!pending.files.empty() && !flushPending(path, opened.error)) return opened;
  opened.file = win32::profile::loadProfile(path, opened.error);
  return opened;
}

// Windows answers ERROR_FILE_NOT_FOUND for a missing section or key as well
// as for a missing file, and clears the error when it finds the value.
void setReadError(const Opened& opened, bool found) {
  if (found) {
    SetLastError(ERROR_SUCCESS);
  } else {
    SetLastError(opened.file ? static_cast<DWORD>(ERROR_FILE_NOT_FOUND) : opened.error);
  }
}

// The value of `key` as GetPrivateProfileStringA returns it, if present.
std::optional<std::string_view> findValue(const ProfileFile* file, LPCSTR section, LPCSTR key) {
  const ProfileSection* s = findSection(file, section);
  const ProfileLine* line = s ? file->findKey(*s, key) : nullptr;
  if (!line) return std::nullopt;
  return withoutQuotes(line->value);
}

// RtlCharToInteger with base 0, which GetPrivateProfileIntA uses: blanks,
// a sign, then "0x", "0o" or "0b" for hex, octal or binary, digits up to
// the first one that does not belong; 32 bits, wrapping.
UINT parseProfileInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    constexpr struct { char letter; unsigned base; } prefixes[] = {{'x', 16}, {'o', 8}, {'b', 2}};
    for (const auto& prefix : prefixes) {
      if (text[i + 1] == prefix.letter) {
        base = prefix.base;
        i += 2;
        break;
      }
    }
  }
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned digit = 99;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

// --- writing ---------------------------------------------------------------------

// Windows always has its directory; ours is made on the first write into it.
void ensureWindowsDirectory(const std::string& hostPath) {
  const std::string dir = windowsDirectory();
  if (directoryOf(hostPath) != dir) return;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);  // a failure shows in the write itself
}

bool writeHostProfile(const std::string& path, const win32::profile::ProfileEdit& edit, DWORD& error) {
  ensureWindowsDirectory(path);
  error = ERROR_SUCCESS;
  return win32::profile::updateProfile(path, edit, error);
}

// --- batches -----------------------------------------------------------------------

bool writeChanges(const std::string& path, const std::vector<win32::profile::KeyChange>& changes, DWORD& error) {
  return writeHostProfile(path, [&](const ProfileFile& file) { return file.withChanges(changes); }, error);
}

// Writes what the thread's batch keeps for `path` before another call uses it.
bool flushPending(const std::string& path, DWORD& error) {
  auto it = std::find_if(pending.files.begin(), pending.files.end(), [&](const auto& f) { return f.first == path; });
  if (it == pending.files.end()) return true;
  const std::vector<win32::profile::KeyChange> changes = std::move(it->second);
  pending.files.erase(it);
  return writeChanges(path, changes, error);
}

// Keeps a key write in the thread's open batch; false when none is open.
bool keepInBatch(LPCSTR fileName, LPCSTR section, LPCSTR key, LPCSTR value) {
  if (pending.depth == 0) return false;
  const std::string path = profileHostPath(fileName);
  auto it = std::find_if(pending.files.begin(), pending.files.end(), [&](const auto& f) { return f.first == path; });
  if (it == pending.files.end()) it = pending.files.insert(pending.files.end(), {path, {}});
  it->second.push_back({section, key, value ? std::optional<std::string>(value) : std::nullopt});
  return true;
}

BOOL writeProfile(LPCSTR fileName, const win32::profile::ProfileEdit& edit) {
  const std::string path = profileHostPath(fileName);
  DWORD error = ERROR_SUCCESS;
  if (!flushPending(path, error) || !writeHostProfile(path, edit, error)) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

// All-NULL arguments ask Windows 9x to flush its cache; documented to answer
// FALSE whatever happens. Ours is written through: the copy is dropped.
BOOL flushProfile(LPCSTR fileName) {
  win32::profile::forgetProfile(profileHostPath(fileName));
  return FALSE;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

extern "C" DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                                 LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  if (!lpReturnedString || nSize == 0) return 0;
  const Opened opened = openProfile(lpFileName);
  const ProfileFile* file = opened.file.get();

  if (!lpAppName) {
    ListWriter out(lpReturnedString, nSize);
    listSectionNames(file, out);
    setReadError(opened, !out.empty());
    return out.finish();
  }
  if (!lpKeyName) {
    const ProfileSection* section = findSection(file, lpAppName);
    ListWriter out(lpReturnedString, nSize);
    if (section) listKeys(*file, *section, out);
    setReadError(opened, !out.empty());
    if (!out.empty()) return out.finish();
    // A missing or empty section answers the default, as a single string.
    return copyString(lpReturnedString, nSize, defaultText(lpDefault));
  }
  const std::optional<std::string_view> value = findValue(file, lpAppName, lpKeyName);
  setReadError(opened, value.has_value());
  return copyString(lpReturnedString, nSize, value ? *value : defaultText(lpDefault));
}

extern "C" UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
  // Windows reads the value through a small buffer like this one; an empty
  // or missing value answers the default.
  char text[30];
  if (GetPrivateProfileStringA(lpAppName, lpKeyName, "", text, sizeof text, lpFileName) == 0) {
    return static_cast<UINT>(nDefault);
  }
  return parseProfileInt(text);
}

extern "C" DWORD WINAPI GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize,
                                                  LPCSTR lpFileName) {
  if (!lpAppName || !lpReturnedString) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (nSize == 0) return 0;
  const Opened opened = openProfile(lpFileName);
  const ProfileSection* section = findSection(opened.file.get(), lpAppName);
  ListWriter out(lpReturnedString, nSize);
  if (section) listSectionLines(*opened.file, *section, out);
  setReadError(opened, section != nullptr);
  return out.finish();
}

extern "C" DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName) {
  if (!lpszReturnBuffer || nSize == 0) return 0;
  const Opened opened = openProfile(lpFileName);
  ListWriter out(lpszReturnBuffer, nSize);
  listSectionNames(opened.file.get(), out);
  setReadError(opened, opened.file != nullptr);
  return out.finish();
}

extern "C" BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                                  LPCSTR lpFileName) {
  if (!lpAppName && !lpKeyName && !lpString) return flushProfile(lpFileName);
  if (!lpAppName) {
    SetLastError(ERROR_FILE_NOT_FOUND);  // Windows' answer for a key without a section
    return FALSE;
  }
  if (!lpKeyName) {
    return writeProfile(lpFileName, [&](const ProfileFile& file) { return file.withoutSection(lpAppName); });
  }
  if (keepInBatch(lpFileName, lpAppName, lpKeyName, lpString)) return TRUE;
  if (!lpString) {
    return writeProfile(lpFileName, [&](const ProfileFile& file) { return file.withoutKey(lpAppName, lpKeyName); });
  }
  return writeProfile(lpFileName,
                      [&](const ProfileFile& file) { return file.withValue(lpAppName, lpKeyName, lpString); });
}

namespace win32 {

ProfileBatch::ProfileBatch() { ++pending.depth; }

ProfileBatch::~ProfileBatch() {
  if (!committed_) Commit();
}

BOOL ProfileBatch::Commit() {
  if (committed_) return TRUE;
  committed_ = true;
  if (--pending.depth > 0) return TRUE;
  auto files = std::move(pending.files);
  pending.files.clear();
  DWORD firstError = ERROR_SUCCESS;
  for (const auto& [path, changes] : files) {
    DWORD error = ERROR_SUCCESS;
    if (!writeChanges(path, changes, error) && firstError == ERROR_SUCCESS) firstError = error;
  }
  if (firstError != ERROR_SUCCESS) {
    SetLastError(firstError);
    return FALSE;
  }
  return TRUE;
}

}  // namespace win32

extern "C" BOOL WINAPI WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName) {
  if (!lpAppName && !lpString) return flushProfile(lpFileName);
  if (!lpAppName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!lpString) {
    return writeProfile(lpFileName, [&](const ProfileFile& file) { return file.withoutSection(lpAppName); });
  }
  std::vector<std::string_view> entries;
  for (const char* entry = lpString; *entry; entry += std::strlen(entry) + 1) entries.emplace_back(entry);
  return writeProfile(lpFileName,
                      [&](const ProfileFile& file) { return file.withSectionBody(lpAppName, entries); });
}

// A struct is stored as two upper-case hex digits per byte followed by the
// low byte of the sum of all bytes, also in hex.
extern "C" BOOL WINAPI GetPrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct,
                                                UINT uSizeStruct, LPCSTR szFile) {
  if (!lpszSection || !lpszKey || (!lpStruct && uSizeStruct != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Opened opened = openProfile(szFile);
  const std::optional<std::string_view> value = findValue(opened.file.get(), lpszSection, lpszKey);
  setReadError(opened, value.has_value());
  if (!value) return FALSE;
  if (value->size() != 2 * static_cast<size_t>(uSizeStruct) + 2) {
    SetLastError(ERROR_BAD_LENGTH);
    return FALSE;
  }
  std::vector<BYTE> bytes(uSizeStruct + 1);
  unsigned sum = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int high = hexDigit((*value)[2 * i]);
    const int low = hexDigit((*value)[2 * i + 1]);
    if (high < 0 || low < 0) {
      SetLastError(ERROR_INVALID_DATA);
      return FALSE;
    }
    bytes[i] = static_cast<BYTE>(high << 4 | low);
    if (i < uSizeStruct) sum += bytes[i];
  }
  if (static_cast<BYTE>(sum) != bytes[uSizeStruct]) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  if (uSizeStruct) std::memcpy(lpStruct, bytes.data(), uSizeStruct);
  return TRUE;
}

extern "C" BOOL WINAPI WritePrivateProfileStructA(LPCSTR lpszSection, LPCSTR lpszKey, LPVOID lpStruct,
                                                  UINT uSizeStruct, LPCSTR szFile) {
  if (!lpStruct) return WritePrivateProfileStringA(lpszSection, lpszKey, nullptr, szFile);
  static constexpr char digits[] = "0123456789ABCDEF";
  const BYTE* bytes = static_cast<const BYTE*>(lpStruct);
  std::string text;
  text.reserve(2 * static_cast<size_t>(uSizeStruct) + 2);
  unsigned sum = 0;
  for (UINT i = 0; i <= uSizeStruct; ++i) {
    const BYTE b = i < uSizeStruct ? bytes[i] : static_cast<BYTE>(sum);
    sum += b;
    text += digits[b >> 4];
    text += digits[b & 0xF];
  }
  return WritePrivateProfileStringA(lpszSection, lpszKey, text.c_str(), szFile);
}

extern "C" DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                                          LPSTR lpReturnedString, DWORD nSize) {
  return GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, nullptr);
}

extern "C" UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault) {
  return GetPrivateProfileIntA(lpAppName, lpKeyName, nDefault, nullptr);
}

extern "C" DWORD WINAPI GetProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize) {
  return GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, nullptr);
}

extern "C" BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString) {
  return WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, nullptr);
}

extern "C" BOOL WINAPI WriteProfileSectionA(LPCSTR lpAppName, LPCSTR lpString) {
  return WritePrivateProfileSectionA(lpAppName, lpString, nullptr);
}

extern "C" UINT WINAPI GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize) {
  return win32::answerString(windowsDirectory(), lpBuffer, uSize);
}

// The system directory is "system32" inside the Windows directory, as on
// Windows; the layer keeps no files there.
extern "C" UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) {
  const std::string windows = windowsDirectory();
  return win32::answerString(windows == "/" ? "/system32" : windows + "/system32", lpBuffer, uSize);
}
