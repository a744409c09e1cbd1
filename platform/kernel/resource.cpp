// Resources of a module: the .res image embedded in it (internal/resource.h),
// FindResourceA/ExA, LoadResource, LockResource, SizeofResource, FreeResource,
// LoadStringA and the enumerations.
#include <internal/codepage.h>
#include <internal/module.h>
#include <internal/resource.h>
#include <winbase.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace win32 {
namespace {

// Names compare as Windows compares them: in upper case.
char16_t foldCase(char16_t u) { return unicodeToUpper(u); }

WORD readWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD readDword(const BYTE* p) { return readWord(p) | (static_cast<DWORD>(readWord(p + 2)) << 16); }

// Reads a type or name field at *cursor, not past `end`.
bool readId(const BYTE* image, size_t end, size_t* cursor, ResourceId* id) {
  if (end - *cursor < 2) return false;
  if (readWord(image + *cursor) == 0xFFFF) {
    if (end - *cursor < 4) return false;
    id->ordinal = readWord(image + *cursor + 2);
    *cursor += 4;
    return true;
  }
  for (size_t at = *cursor; end - at >= 2; at += 2) {
    const WORD unit = readWord(image + at);
    if (unit == 0) {
      *cursor = at + 2;
      return true;
    }
    id->name += static_cast<char16_t>(unit);
  }
  return false;  // no terminator inside the header
}

size_t alignToDword(size_t offset) { return (offset + 3) & ~size_t{3}; }

// The smallest header: sizes (8), two ordinal ids (8) and the fixed tail (16).
constexpr size_t kMinimumHeader = 32;

}  // namespace

ResourceId ResourceId::fromArgument(LPCSTR argument) {
  ResourceId id;
  if (IS_INTRESOURCE(argument)) {
    id.ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(argument));
    return id;
  }
  std::string_view text(argument);
  if (text.size() > 1 && text[0] == '#' && text.size() <= 6 &&
      std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    unsigned value = 0;
    for (char c : text.substr(1)) value = value * 10 + static_cast<unsigned>(c - '0');
    if (value <= 0xFFFF) id.ordinal = static_cast<WORD>(value);
    return id;
  }
  id.name = ansiToWide(text);
  return id;
}

bool ResourceId::matches(const ResourceId& other) const {
  if (ordinal || other.ordinal) return ordinal == other.ordinal;
  if (name.size() != other.name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (foldCase(name[i]) != foldCase(other.name[i])) return false;
  }
  return true;
}

ResourceIndex ResourceIndex::parse(const void* image, size_t size) {
  ResourceIndex index;
  const auto* bytes = static_cast<const BYTE*>(image);
  if (!bytes) return index;
  size_t pos = 0;
  while (size - pos >= kMinimumHeader) {
    const DWORD dataSize = readDword(bytes + pos);
    const DWORD headerSize = readDword(bytes + pos + 4);
    if (headerSize < kMinimumHeader || headerSize > size - pos || dataSize > size - pos - headerSize) break;
    const size_t headerEnd = pos + headerSize;
    size_t cursor = pos + 8;
    ResourceEntry entry;
    if (!readId(bytes, headerEnd, &cursor, &entry.type) || !readId(bytes, headerEnd, &cursor, &entry.name)) break;
    cursor = alignToDword(cursor);
    if (cursor > headerEnd || headerEnd - cursor < 16) break;
    entry.language = readWord(bytes + cursor + 6);  // after DataVersion and MemoryFlags
    entry.data = bytes + headerEnd;
    entry.size = dataSize;
    // windres starts with an empty record (type and name ordinal 0).
    if (entry.type.isValid() && entry.name.isValid()) index.entries_.push_back(std::move(entry));
    const size_t next = alignToDword(headerEnd + dataSize);
    if (next >= size) break;
    pos = next;
  }
  return index;
}

const ResourceEntry* ResourceIndex::find(const ResourceId& type, const ResourceId& name, WORD language,
                                         DWORD* error) const {
  if (entries_.empty()) {
    *error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return nullptr;
  }
  bool typeSeen = false;
  const ResourceEntry* samePrimary = nullptr;
  const ResourceEntry* neutral = nullptr;
  const ResourceEntry* any = nullptr;
  for (const ResourceEntry& entry : entries_) {
    if (!entry.type.matches(type)) continue;
    typeSeen = true;
    if (!entry.name.matches(name)) continue;
    if (entry.language == language) return &entry;
    if (!samePrimary && PRIMARYLANGID(entry.language) == PRIMARYLANGID(language)) samePrimary = &entry;
    if (!neutral && PRIMARYLANGID(entry.language) == LANG_NEUTRAL) neutral = &entry;
    if (!any) any = &entry;
  }
  if (const ResourceEntry* entry = samePrimary ? samePrimary : neutral ? neutral : any) return entry;
  *error = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
  return nullptr;
}

bool ResourceIndex::contains(const ResourceEntry* entry) const {
  if (entries_.empty()) return false;
  const auto first = reinterpret_cast<uintptr_t>(entries_.data());
  const auto at = reinterpret_cast<uintptr_t>(entry);
  return at >= first && at < first + entries_.size() * sizeof(ResourceEntry) &&
         (at - first) % sizeof(ResourceEntry) == 0;
}

bool stringTableEntry(const ResourceEntry& block, unsigned index, const BYTE** units, size_t* count) {
  size_t pos = 0;
  for (unsigned i = 0;; ++i) {
    if (block.size - pos < 2) return false;
    const size_t length = readWord(block.data + pos);
    if ((block.size - pos - 2) / 2 < length) return false;
    if (i == index) {
      *units = block.data + pos + 2;
      *count = length;
      return true;
    }
    pos += 2 + 2 * length;
  }
}

}  // namespace win32

using namespace win32;

namespace {

// The index of `module` (NULL = the program) and the entry behind `info`,
// when `info` is one of that module's entries.
const ResourceEntry* entryOf(HMODULE module, HRSRC info, std::shared_ptr<const ResourceIndex>* keep) {
  DWORD error = ERROR_SUCCESS;
  *keep = moduleResources(module, &error);
  if (!*keep) {
    SetLastError(error);
    return nullptr;
  }
  const auto* entry = reinterpret_cast<const ResourceEntry*>(info);
  if (!info || !(*keep)->contains(entry)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return entry;
}

HRSRC findResource(HMODULE module, const ResourceId& type, const ResourceId& name, WORD language) {
  if (!type.isValid() || !name.isValid()) {
    SetLastError(type.isValid() ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  DWORD error = ERROR_SUCCESS;
  std::shared_ptr<const ResourceIndex> index = moduleResources(module, &error);
  const ResourceEntry* entry = index ? index->find(type, name, language, &error) : nullptr;
  if (!entry) {
    SetLastError(error);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

// Distinct ids in the order Windows enumerates them: names (sorted ignoring
// case) before ordinals (ascending).
std::vector<ResourceId> enumerationOrder(std::vector<ResourceId> ids) {
  auto before = [](const ResourceId& a, const ResourceId& b) {
    if (!a.ordinal != !b.ordinal) return !a.ordinal;
    if (a.ordinal) return a.ordinal < b.ordinal;
    std::u16string x = a.name, y = b.name;
    std::transform(x.begin(), x.end(), x.begin(), foldCase);
    std::transform(y.begin(), y.end(), y.begin(), foldCase);
    return x < y;
  };
  std::stable_sort(ids.begin(), ids.end(), before);
  ids.erase(std::unique(ids.begin(), ids.end(), [](const ResourceId& a, const ResourceId& b) { return a.matches(b); }),
            ids.end());
  return ids;
}

}  // namespace

extern "C" HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage) {
  return findResource(hModule, ResourceId::fromArgument(lpType), ResourceId::fromArgument(lpName), wLanguage);
}

extern "C" HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
  return findResource(hModule, ResourceId::fromArgument(lpType), ResourceId::fromArgument(lpName),
                      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  std::shared_ptr<const ResourceIndex> index;
  const ResourceEntry* entry = entryOf(hModule, hResInfo, &index);
  return entry ? const_cast<BYTE*>(entry->data) : nullptr;
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

extern "C" BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

extern "C" DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  std::shared_ptr<const ResourceIndex> index;
  const ResourceEntry* entry = entryOf(hModule, hResInfo, &index);
  return entry ? entry->size : 0;
}

extern "C" int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  // The wide form's "buffer size 0 answers a pointer into the resource" has
  // no ANSI counterpart.
  if (!lpBuffer || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lpBuffer[0] = '\0';
  ResourceId type, block;
  type.ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(RT_STRING));
  block.ordinal = static_cast<WORD>((LOWORD(uID) >> 4) + 1);  // 16 strings per block, blocks from 1
  DWORD error = ERROR_SUCCESS;
  std::shared_ptr<const ResourceIndex> index = moduleResources(hInstance, &error);
  const ResourceEntry* entry = index ? index->find(type, block, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &error)
                                     : nullptr;
  if (!entry) {
    SetLastError(error);
    return 0;
  }
  const BYTE* units = nullptr;
  size_t count = 0;
  if (!stringTableEntry(*entry, uID & 15, &units, &count) || count == 0) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  std::u16string wide(count, u'\0');
  for (size_t i = 0; i < count; ++i) wide[i] = static_cast<char16_t>(readWord(units + 2 * i));
  const std::string text = wideToAnsi(wide);
  const size_t copied = std::min(text.size(), static_cast<size_t>(cchBufferMax) - 1);
  std::memcpy(lpBuffer, text.data(), copied);
  lpBuffer[copied] = '\0';
  return static_cast<int>(copied);
}

extern "C" BOOL WINAPI EnumResourceTypesA(HMODULE hModule, ENUMRESTYPEPROCA lpEnumFunc, LONG_PTR lParam) {
  DWORD error = ERROR_SUCCESS;
  std::shared_ptr<const ResourceIndex> index = moduleResources(hModule, &error);
  if (index && index->entries().empty()) error = ERROR_RESOURCE_DATA_NOT_FOUND;
  if (!lpEnumFunc) error = ERROR_INVALID_PARAMETER;
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  std::vector<ResourceId> types;
  for (const ResourceEntry& entry : index->entries()) types.push_back(entry.type);
  for (const ResourceId& type : enumerationOrder(std::move(types))) {
    std::string name = wideToAnsi(type.name);
    LPSTR argument = type.ordinal ? MAKEINTRESOURCEA(type.ordinal) : name.data();
    if (!lpEnumFunc(hModule, argument, lParam)) {
      SetLastError(ERROR_RESOURCE_ENUM_USER_STOP);
      return FALSE;
    }
  }
  return TRUE;
}

extern "C" BOOL WINAPI EnumResourceNamesA(HMODULE hModule, LPCSTR lpType, ENUMRESNAMEPROCA lpEnumFunc,
                                          LONG_PTR lParam) {
  DWORD error = ERROR_SUCCESS;
  std::shared_ptr<const ResourceIndex> index = moduleResources(hModule, &error);
  if (index && index->entries().empty()) error = ERROR_RESOURCE_DATA_NOT_FOUND;
  if (!lpEnumFunc) error = ERROR_INVALID_PARAMETER;
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  const ResourceId type = ResourceId::fromArgument(lpType);
  std::vector<ResourceId> names;
  for (const ResourceEntry& entry : index->entries()) {
    if (entry.type.matches(type)) names.push_back(entry.name);
  }
  if (names.empty()) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  for (const ResourceId& name : enumerationOrder(std::move(names))) {
    std::string text = wideToAnsi(name.name);
    LPSTR argument = name.ordinal ? MAKEINTRESOURCEA(name.ordinal) : text.data();
    if (!lpEnumFunc(hModule, lpType, argument, lParam)) {
      SetLastError(ERROR_RESOURCE_ENUM_USER_STOP);
      return FALSE;
    }
  }
  return TRUE;
}
