// Checks an ELF shared object against its file size before it is mapped.
#include <elf.h>
#include <fcntl.h>
#include <internal/elfimage.h>
#include <internal/hosterror.h>
#include <sys/stat.h>
#include <unistd.h>
#include <winerror.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace win32 {
namespace {

// Closes the descriptor on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool readAt(int fd, void* buffer, size_t size, uint64_t offset) {
  auto* out = static_cast<char*>(buffer);
  while (size) {
    const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Whether [offset, offset + count * entry) lies inside a file of `size` bytes,
// without overflowing.
bool fits(uint64_t offset, uint64_t count, uint64_t entry, uint64_t size) {
  if (offset > size) return false;
  if (entry && count > (size - offset) / entry) return false;
  return true;
}

#if defined(__x86_64__)
constexpr Elf64_Half kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr Elf64_Half kMachine = EM_AARCH64;
#else
#error "the machine of this build has no ELF machine number here"
#endif

bool headerIsOurs(const Elf64_Ehdr& header) {
  return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_ident[EI_CLASS] == ELFCLASS64 &&
         header.e_ident[EI_DATA] == ELFDATA2LSB && header.e_ident[EI_VERSION] == EV_CURRENT &&
         header.e_machine == kMachine && header.e_type == ET_DYN && header.e_ehsize == sizeof(Elf64_Ehdr);
}

}  // namespace

DWORD checkElfImage(const std::string& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return errorFromErrno(errno);
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return errorFromErrno(errno);
  const auto size = static_cast<uint64_t>(status.st_size);

  Elf64_Ehdr header{};
  if (!readAt(file.get(), &header, sizeof header, 0) || !headerIsOurs(header)) return ERROR_BAD_EXE_FORMAT;
  if (header.e_phnum == 0 || header.e_phentsize != sizeof(Elf64_Phdr) ||
      !fits(header.e_phoff, header.e_phnum, sizeof(Elf64_Phdr), size))
    return ERROR_BAD_EXE_FORMAT;
  if (header.e_shnum != 0 &&
      (header.e_shentsize != sizeof(Elf64_Shdr) || !fits(header.e_shoff, header.e_shnum, sizeof(Elf64_Shdr), size)))
    return ERROR_BAD_EXE_FORMAT;

  std::vector<Elf64_Phdr> segments(header.e_phnum);
  if (!readAt(file.get(), segments.data(), segments.size() * sizeof(Elf64_Phdr), header.e_phoff))
    return ERROR_BAD_EXE_FORMAT;
  bool loadable = false;
  for (const Elf64_Phdr& segment : segments) {
    if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC && segment.p_type != PT_INTERP) continue;
    if (!fits(segment.p_offset, 1, segment.p_filesz, size)) return ERROR_BAD_EXE_FORMAT;
    if (segment.p_type == PT_LOAD) {
      if (segment.p_filesz > segment.p_memsz) return ERROR_BAD_EXE_FORMAT;
      loadable = true;
    }
  }
  return loadable ? ERROR_SUCCESS : ERROR_BAD_EXE_FORMAT;
}

}  // namespace win32
