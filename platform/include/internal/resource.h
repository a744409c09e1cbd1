// The resource index of one module: the records of a compiled .res image.
//
// A .res image is a sequence of records, each starting on a DWORD boundary:
//   DWORD DataSize, DWORD HeaderSize,
//   type and name: each 0xFFFF + 16-bit ordinal, or a 0-terminated UTF-16 string,
//   padding to a DWORD boundary,
//   DWORD DataVersion, WORD MemoryFlags, WORD LanguageId, DWORD Version, DWORD Characteristics,
//   then DataSize bytes of data (starting HeaderSize bytes after the record).
// windres writes an empty record (type 0, name 0) first; it is skipped.
// All numbers are little-endian. The index points into the image, so the
// image must outlive it (it lives inside the module it was embedded into).
#pragma once

#include <windef.h>

#include <cstddef>
#include <string>
#include <vector>

namespace win32 {

// A resource type or name: an ordinal (1..65535) or a UTF-16 string.
struct ResourceId {
  WORD ordinal = 0;     // non-zero for an ordinal id
  std::u16string name;  // the string id as stored, when ordinal is 0

  // The id an ANSI argument names: MAKEINTRESOURCE(n), "#n" (decimal) or a
  // string (code page 1252). An ordinal 0 or an empty name names nothing.
  static ResourceId fromArgument(LPCSTR argument);
  bool isValid() const { return ordinal != 0 || !name.empty(); }
  // Ordinals equal, or names equal ignoring case (ASCII and Latin-1 letters).
  bool matches(const ResourceId& other) const;
};

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  const BYTE* data = nullptr;  // inside the image
  DWORD size = 0;              // bytes at data
};

class ResourceIndex {
 public:
  // Indexes the records of `image`. Reading stops at the first record that
  // does not fit (truncated or garbled); the records before it are kept.
  // Nothing is ever read outside [image, image + size).
  static ResourceIndex parse(const void* image, size_t size);

  const std::vector<ResourceEntry>& entries() const { return entries_; }

  // The entry of `type` and `name` in `language`; when there is none in that
  // language, one in LANG_NEUTRAL (any sublanguage), else the first of any
  // language. Answers nullptr with the Windows error in *error:
  // ERROR_RESOURCE_DATA_NOT_FOUND (no resources at all),
  // ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
  const ResourceEntry* find(const ResourceId& type, const ResourceId& name, WORD language, DWORD* error) const;

  // Whether `entry` is one of this index's entries (an HRSRC check).
  bool contains(const ResourceEntry* entry) const;

 private:
  std::vector<ResourceEntry> entries_;
};

// Entry `index` (0..15) of a string table block: its UTF-16 units, little-
// endian and possibly unaligned. Answers false when the block ends before it.
// An entry of length 0 (an id not defined) answers true with count 0.
bool stringTableEntry(const ResourceEntry& block, unsigned index, const BYTE** units, size_t* count);

}  // namespace win32
