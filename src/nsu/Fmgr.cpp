#include "Fmgr.h"

#include <bit>
#include <climits>
#include <cstring>
#include <iterator>

static_assert(std::endian::native == std::endian::little, "the file's numbers are written as the host holds them");

namespace {

constexpr const char* kMessages[] = {
    "No exception intended, none taken",
    "Using a failed or closed file",
    "Using a failed, closed, or read-only file",
    "Trying to write to a read-only file",
    "Trying to use a closed file",
    "Error creating file",
    "Error opening file",
    "Error closing file",
    "Error seeking in file",
    "Error reading/writing to file",
    "Unexpected end of file",
    "Wrong file type",
    "File corrupted",
    "Invalid path",
    "Dangling 'smart pointer'",
    "Accessing a null 'smart pointer'",
    "Cache full",
    "Stack full",
    "Stack empty",
    "Assertion failed",
};

constexpr char kSignature[4] = {'F', 'M', 'G', 'R'};
constexpr uint32_t kLargestOffset = LONG_MAX < 0x7FFFFFFF ? LONG_MAX : 0x7FFFFFFF;  // offsets travel as long

struct Header {
  uint32_t freeHead;
  uint32_t usedEnd;
  uint32_t headerArea;
  char signature[4];
};
static_assert(sizeof(Header) == Fmgr::kHeaderSize);

}  // namespace

const char* ExceptionMessage(ExceptionCode code) {
  auto i = static_cast<size_t>(code);
  return i < std::size(kMessages) ? kMessages[i] : "";
}

void ExceptionHandler(ExceptionCode code, const char* sourceFile, int line, const char* extra,
                      const char* fileName) {
  if (sourceFile)
    std::printf("\nEXCEPTION ON line %d of '%s':\n%s\n", line, sourceFile, ExceptionMessage(code));
  else
    std::printf("\nEXCEPTION: %s\n", ExceptionMessage(code));
  if (extra) std::printf("%s\n", extra);
  if (fileName) std::printf("Error occurred on: %s\n", fileName);
  std::fflush(stdout);
}

Fmgr::~Fmgr() {
  if (IsOpen()) {
    if (IsWritable()) writeHeader();
    closeFile();
  }
}

bool Fmgr::closeFile() {
  bool closed = std::fclose(m_file) == 0;
  m_file = nullptr;
  m_flags = 0;
  m_last = Transfer::None;
  std::strcpy(m_path, "closed-file");
  return closed;
}

bool Fmgr::IsBlock(uint32_t offset, uint32_t size) const {
  return offset >= m_headerArea && offset <= m_usedEnd && size <= m_usedEnd - offset;
}

ExceptionCode Fmgr::Create(const char* path, uint32_t headerSize) {
  if (!path || std::strlen(path) >= sizeof m_path) return InvalidPath;
  if (headerSize > kLargestOffset - kHeaderSize) return ErrorCreatingFile;
  if (IsOpen()) closeFile();
  m_file = std::fopen(path, "w+b");
  if (!m_file) return ErrorCreatingFile;
  std::strcpy(m_path, path);
  m_flags = kReadable | kFileOpen | kWritable;
  m_last = Transfer::None;
  m_headerArea = kHeaderSize + headerSize;
  m_freeHead = 0;
  m_usedEnd = m_headerArea;
  if (ExceptionCode e = writeHeader()) return e;
  if (m_headerArea > kHeaderSize) {
    const char zero = 0;
    if (ExceptionCode e = Write(&zero, 1, m_headerArea - 1)) return e;
  }
  return NoException;
}

ExceptionCode Fmgr::checkHeader(uint64_t fileSize) const {
  bool sound = m_headerArea >= kHeaderSize && m_headerArea <= fileSize && m_usedEnd >= m_headerArea &&
               m_usedEnd <= fileSize && m_usedEnd <= kLargestOffset &&
               (m_freeHead == 0 || IsBlock(m_freeHead, kFreeRecordSize));
  return sound ? NoException : FileCorrupted;
}

ExceptionCode Fmgr::Open(const char* path, int mode) {
  if (!path || std::strlen(path) >= sizeof m_path) return InvalidPath;
  if (IsOpen()) closeFile();
  m_file = std::fopen(path, mode == 1 ? "rb" : "r+b");
  if (!m_file) return ErrorOpeningFile;
  std::strcpy(m_path, path);
  m_flags = kReadable | kFileOpen | (mode == 1 ? 0u : unsigned{kWritable});
  m_last = Transfer::None;
  Header h;
  ExceptionCode e = Read(&h, sizeof h, 0);
  if (!e && std::memcmp(h.signature, kSignature, sizeof kSignature) != 0) e = WrongFileType;
  if (!e) {
    m_freeHead = h.freeHead;
    m_usedEnd = h.usedEnd;
    m_headerArea = h.headerArea;
    long size = std::fseek(m_file, 0, SEEK_END) == 0 ? std::ftell(m_file) : -1;
    m_last = Transfer::Positioned;
    e = size < 0 ? ErrorSeeking : checkHeader(static_cast<uint64_t>(size));
  }
  if (e) closeFile();
  return e;
}

ExceptionCode Fmgr::Close(bool writeHeaderFirst) {
  if (References() > 1) return DanglingSmartPointer;
  if (!IsOpen()) return ClosedFile;
  ExceptionCode e = writeHeaderFirst && IsWritable() ? writeHeader() : NoException;
  bool closed = closeFile();
  if (e) return e;
  return closed ? NoException : ErrorClosingFile;
}

ExceptionCode Fmgr::Flush() {
  if (!IsWritable()) return FailedClosedOrReadOnlyFile;
  if (ExceptionCode e = writeHeader()) return e;
  if (std::fflush(m_file) != 0) return ErrorReadingWriting;
  return position(std::ftell(m_file), Transfer::Positioned);
}

ExceptionCode Fmgr::writeHeader() {
  Header h{m_freeHead, m_usedEnd, m_headerArea, {}};
  std::memcpy(h.signature, kSignature, sizeof kSignature);
  return Write(&h, sizeof h, 0);
}

// Positions the stream for the next transfer. A stream may not switch
// between reading and writing without a seek in between, so continuing
// transfers of the other kind reposition to where they are.
ExceptionCode Fmgr::position(long offset, Transfer next) {
  if (offset == kCurrent) {
    bool switching = (m_last == Transfer::Read && next == Transfer::Write) ||
                     (m_last == Transfer::Write && next == Transfer::Read);
    if (!switching) return NoException;
    offset = std::ftell(m_file);
    if (offset < 0) return ErrorSeeking;
  }
  if (offset < 0 || std::fseek(m_file, offset, SEEK_SET) != 0) return ErrorSeeking;
  m_last = Transfer::Positioned;
  return NoException;
}

ExceptionCode Fmgr::Read(void* buffer, uint32_t length, long offset) {
  if (!(m_flags & kReadable) || !IsOpen()) return FailedOrClosedFile;
  if (ExceptionCode e = position(offset, Transfer::Read)) return e;
  m_last = Transfer::Read;
  if (std::fread(buffer, 1, length, m_file) == length) return NoException;
  return std::feof(m_file) ? UnexpectedEndOfFile : ErrorReadingWriting;
}

ExceptionCode Fmgr::Write(const void* buffer, uint32_t length, long offset) {
  if (!IsWritable()) return FailedClosedOrReadOnlyFile;
  if (ExceptionCode e = position(offset, Transfer::Write)) return e;
  m_last = Transfer::Write;
  return std::fwrite(buffer, 1, length, m_file) == length ? NoException : ErrorReadingWriting;
}

ExceptionCode Fmgr::readFreeRecord(uint32_t offset, uint32_t* size, uint32_t* next) {
  if (!IsBlock(offset, kFreeRecordSize)) return FileCorrupted;
  uint32_t record[3];
  if (ExceptionCode e = Read(record, sizeof record, offset)) return e;
  if (record[0] != kFreeMarker || record[1] > m_usedEnd - offset - kFreeRecordSize) return FileCorrupted;
  if (record[2] != 0 && !IsBlock(record[2], kFreeRecordSize)) return FileCorrupted;
  *size = record[1] + kFreeRecordSize;
  *next = record[2];
  return NoException;
}

ExceptionCode Fmgr::Allocate(uint32_t size, uint32_t* offset) {
  if (!IsWritable()) return FailedClosedOrReadOnlyFile;
  if (size < kFreeRecordSize) size = kFreeRecordSize;
  // Walk the free list; a list longer than the blocks that fit in the file
  // can only be a cycle.
  uint32_t previous = 0, current = m_freeHead;
  uint64_t steps = (m_usedEnd - m_headerArea) / kFreeRecordSize + 1;
  while (current != 0) {
    if (steps-- == 0) return FileCorrupted;
    uint32_t blockSize, next;
    if (ExceptionCode e = readFreeRecord(current, &blockSize, &next)) return e;
    uint32_t replacement = 0;
    if (blockSize == size) {
      replacement = next;
    } else if (blockSize >= size + kFreeRecordSize) {
      replacement = current + size;
      uint32_t rest[3] = {kFreeMarker, blockSize - size - kFreeRecordSize, next};
      if (ExceptionCode e = Write(rest, sizeof rest, replacement)) return e;
    } else {
      previous = current;
      current = next;
      continue;
    }
    if (previous == 0)
      m_freeHead = replacement;
    else if (ExceptionCode e = Write(&replacement, sizeof replacement, previous + 8))
      return e;
    *offset = current;
    return NoException;
  }
  if (size > kLargestOffset - m_usedEnd) return ErrorReadingWriting;  // the file would outgrow its offsets
  const char zero = 0;
  if (ExceptionCode e = Write(&zero, 1, m_usedEnd + size - 1)) return e;
  *offset = m_usedEnd;
  m_usedEnd += size;
  return NoException;
}

ExceptionCode Fmgr::Free(uint32_t size, uint32_t offset) {
  if (!IsWritable()) return FailedClosedOrReadOnlyFile;
  if (!IsBlock(offset, size < kFreeRecordSize ? kFreeRecordSize : size)) return FileCorrupted;
  uint32_t record[3] = {kFreeMarker, size < kFreeRecordSize ? 0 : size - kFreeRecordSize, m_freeHead};
  if (ExceptionCode e = Write(record, sizeof record, offset)) return e;
  m_freeHead = offset;
  return NoException;
}
