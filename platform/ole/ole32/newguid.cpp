// New GUIDs from the system's random source, as version-4 GUIDs.
#include <combaseapi.h>
#include <sys/random.h>

extern "C" HRESULT CoCreateGuid(GUID* pguid) {
  if (!pguid) return E_INVALIDARG;
  unsigned char bytes[16];
  size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n <= 0) return E_FAIL;
    got += static_cast<size_t>(n);
  }
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // variant 10
  pguid->Data1 = static_cast<DWORD>(bytes[0] << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3]);
  pguid->Data2 = static_cast<WORD>(bytes[4] << 8 | bytes[5]);
  pguid->Data3 = static_cast<WORD>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) pguid->Data4[i] = bytes[8 + i];
  return S_OK;
}
