// The block file manager under name index files: one binary file of a
// 16-byte header (free-list head, end of the used area, size of the header
// area, signature "FMGR"), the caller's header, then blocks handed out first
// fit from a free list. All numbers in the file are 32-bit little-endian.
//
// Every failure is answered as an ExceptionCode to the caller (0 is
// success); nothing here ends the process. Everything read from the file is
// checked before it is followed, so a damaged or foreign file gives
// FileCorrupted (or WrongFileType) rather than a read out of bounds.
#pragma once

#include <cstdint>
#include <cstdio>

enum ExceptionCode {
  NoException = 0,
  FailedOrClosedFile = 1,
  FailedClosedOrReadOnlyFile = 2,
  WriteToReadOnlyFile = 3,
  ClosedFile = 4,
  ErrorCreatingFile = 5,
  ErrorOpeningFile = 6,
  ErrorClosingFile = 7,
  ErrorSeeking = 8,
  ErrorReadingWriting = 9,
  UnexpectedEndOfFile = 10,
  WrongFileType = 11,
  FileCorrupted = 12,
  InvalidPath = 13,
  DanglingSmartPointer = 14,
  NullSmartPointer = 15,
  CacheFull = 16,
  StackFull = 17,
  StackEmpty = 18,
  AssertionFailed = 19,
};

// The system's text for a code ("File corrupted" ...); "" beyond the table.
const char* ExceptionMessage(ExceptionCode code);

// Prints a failure report on standard output: "\nEXCEPTION ON line %d of
// '%s':\n" and the message when a source position is given, else
// "\nEXCEPTION: %s\n"; the extra text on its own line; "Error occurred on:
// %s\n" with the file name when given. The caller decides what follows.
void ExceptionHandler(ExceptionCode code, const char* sourceFile = nullptr, int line = 0,
                      const char* extra = nullptr, const char* fileName = nullptr);

// An object with a reference count that starts at 1.
class CountedObj {
 public:
  virtual ~CountedObj() = default;
  int AddRef() { return ++m_references; }
  int Release() { return --m_references; }
  int References() const { return m_references; }

 private:
  int m_references = 1;
};

class Fmgr : public CountedObj {
 public:
  static constexpr uint32_t kHeaderSize = 16;
  static constexpr uint32_t kFreeMarker = 0xFEFE;
  static constexpr uint32_t kFreeRecordSize = 12;
  static constexpr long kCurrent = -1;  // an offset that continues where the last transfer ended

  Fmgr() = default;
  Fmgr(const Fmgr&) = delete;
  Fmgr& operator=(const Fmgr&) = delete;
  ~Fmgr() override;

  // Replaces any file at the path with a new one whose header area holds
  // `headerSize` bytes of the caller's header (zero) behind the 16 bytes.
  virtual ExceptionCode Create(const char* path, uint32_t headerSize);
  // Mode 1 opens read-only, any other read-write. The header is checked
  // against the file: another signature is WrongFileType, inconsistent
  // sizes are FileCorrupted; either way the file is closed again.
  virtual ExceptionCode Open(const char* path, int mode);
  // Refused (DanglingSmartPointer) while another holder references the
  // manager. With writeHeader the header is written first when writable.
  virtual ExceptionCode Close(bool writeHeader);
  virtual ExceptionCode Flush();

  // A block of at least 12 bytes: from the free list (exact fit, or split
  // off a block at least 12 bytes longer) or at the end of the used area.
  ExceptionCode Allocate(uint32_t size, uint32_t* offset);
  ExceptionCode Free(uint32_t size, uint32_t offset);
  ExceptionCode Read(void* buffer, uint32_t length, long offset);
  ExceptionCode Write(const void* buffer, uint32_t length, long offset);

  bool IsOpen() const { return (m_flags & kFileOpen) != 0; }
  bool IsWritable() const { return (m_flags & kWritable) != 0; }
  const char* Path() const { return m_path; }
  uint32_t FreeListHead() const { return m_freeHead; }
  uint32_t UsedEnd() const { return m_usedEnd; }
  uint32_t HeaderAreaSize() const { return m_headerArea; }
  // True when [offset, offset + size) lies in the block area.
  bool IsBlock(uint32_t offset, uint32_t size) const;

 private:
  enum Flags : unsigned { kReadable = 1, kFileOpen = 2, kWritable = 4 };
  enum class Transfer { None, Read, Write, Positioned };

  ExceptionCode writeHeader();
  ExceptionCode position(long offset, Transfer next);
  ExceptionCode checkHeader(uint64_t fileSize) const;
  ExceptionCode readFreeRecord(uint32_t offset, uint32_t* size, uint32_t* next);
  bool closeFile();

  FILE* m_file = nullptr;
  char m_path[256] = "closed-file";
  unsigned m_flags = 0;
  Transfer m_last = Transfer::None;
  uint32_t m_freeHead = 0;
  uint32_t m_usedEnd = 0;
  uint32_t m_headerArea = 0;
};
