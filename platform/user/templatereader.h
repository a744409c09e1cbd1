// Bounded reading of the binary templates of resources (dialogs, menus,
// accelerator tables): little-endian numbers, UTF-16 strings and
// "string or ordinal" fields, never past the end the template was given.
// A read past the end marks the reader failed and answers zeros, so a parser
// checks ok() once after a record instead of after every field.
#pragma once

#include <internal/codepage.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace win32::user {

class TemplateReader {
 public:
  // `size` is SIZE_MAX for an in-memory template of unknown length.
  TemplateReader(const void* data, size_t size) : base_((const BYTE*)data), size_(data ? size : 0) {}

  bool ok() const { return ok_; }
  size_t offset() const { return pos_; }
  const BYTE* here() const { return base_ + pos_; }
  bool atEnd() const { return pos_ >= size_; }

  WORD word() {
    if (!need(2)) return 0;
    WORD v = (WORD)(base_[pos_] | base_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
  }
  DWORD dword() {
    WORD low = word();
    return (DWORD)low | (DWORD)word() << 16;
  }
  short signedWord() { return (short)word(); }
  BYTE byte() {
    if (!need(1)) return 0;
    return base_[pos_++];
  }
  void skip(size_t n) {
    if (need(n)) pos_ += n;
  }
  // Moves to the next multiple of `n` bytes from the template's start.
  void align(size_t n) {
    size_t pad = (n - pos_ % n) % n;
    if (pad && pos_ + pad <= size_) pos_ += pad;
    else if (pad) pos_ = size_;  // alignment padding may be missing at the very end
  }
  // A 0-terminated UTF-16 string, in the ANSI code page.
  std::string string() {
    std::u16string wide;
    for (;;) {
      WORD c = word();
      if (!ok_ || c == 0) break;
      wide.push_back((char16_t)c);
    }
    return wideToAnsi(wide);
  }
  // A "string or ordinal" field: 0 (nothing), 0xFFFF + ordinal, or a string.
  void stringOrOrdinal(std::string& text, WORD& ordinal) {
    text.clear();
    ordinal = 0;
    if (!need(2)) return;
    WORD first = (WORD)(base_[pos_] | base_[pos_ + 1] << 8);
    if (first == 0xFFFF) {
      pos_ += 2;
      ordinal = word();
    } else {
      text = string();
    }
  }

 private:
  bool need(size_t n) {
    if (!ok_ || n > size_ || pos_ > size_ - n) {
      ok_ = false;
      return false;
    }
    return true;
  }
  const BYTE* base_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace win32::user
