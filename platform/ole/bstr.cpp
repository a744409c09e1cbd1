// BSTR: a block of a 32-bit byte length, the UTF-16 characters and a NUL
// character; the BSTR points at the characters. Peers read the length
// prefix directly, so the layout is fixed.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kPrefix = sizeof(DWORD);
// Byte lengths are stored in 32 bits; refuse what cannot be described.
constexpr size_t kMaxBytes = 0x7FFFFFF0u;

DWORD* blockOf(BSTR bstr) { return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(bstr) - kPrefix); }

// A block for `bytes` bytes of text, its length set, the two NUL bytes
// after the text written; text bytes untouched. Null when too large.
BSTR allocateBytes(size_t bytes) {
  if (bytes > kMaxBytes) return nullptr;
  auto* block = static_cast<BYTE*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR) + 1));
  if (!block) return nullptr;
  const DWORD length = static_cast<DWORD>(bytes);
  std::memcpy(block, &length, kPrefix);
  // Two NULs after the text even for an odd byte length: a reader of
  // characters always finds a terminator.
  std::memset(block + kPrefix + bytes, 0, sizeof(OLECHAR) + 1);
  return reinterpret_cast<BSTR>(block + kPrefix);
}

size_t textLength(const OLECHAR* psz) {
  size_t n = 0;
  while (psz[n]) ++n;
  return n;
}

}  // namespace

extern "C" BSTR SysAllocStringLen(const OLECHAR* pch, UINT ui) {
  BSTR bstr = allocateBytes(static_cast<size_t>(ui) * sizeof(OLECHAR));
  if (!bstr) return nullptr;
  if (pch)
    std::memcpy(bstr, pch, static_cast<size_t>(ui) * sizeof(OLECHAR));
  else
    std::memset(bstr, 0, static_cast<size_t>(ui) * sizeof(OLECHAR));
  return bstr;
}

extern "C" BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  const size_t n = textLength(psz);
  if (n > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(n));
}

extern "C" BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) {
  BSTR bstr = allocateBytes(len);
  if (!bstr) return nullptr;
  if (psz)
    std::memcpy(bstr, psz, len);
  else
    std::memset(bstr, 0, len);
  return bstr;
}

extern "C" void SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(blockOf(bstrString));
}

extern "C" UINT SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  DWORD length;
  std::memcpy(&length, blockOf(bstr), kPrefix);
  return length;
}

extern "C" UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

extern "C" INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
  if (!pbstr) return FALSE;
  // The new text may lie inside the old string: copy before freeing.
  BSTR fresh = SysAllocStringLen(psz, len);
  if (!fresh) return FALSE;
  SysFreeString(*pbstr);
  *pbstr = fresh;
  return TRUE;
}

extern "C" INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
  if (!pbstr) return FALSE;
  if (!psz) {
    SysFreeString(*pbstr);
    *pbstr = nullptr;
    return TRUE;
  }
  return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(textLength(psz)));
}
