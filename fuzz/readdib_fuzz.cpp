// ReadDIB on arbitrary bytes: a corrupt bitmap file must give null or a
// block whose header, colour table and bits agree with its size.
//
// The reader is compiled into the target so that the fuzzer sees its
// branches (the run-time library itself is built without coverage).
#include "../src/lc/app/KyDIB.cpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ky::dib::MemorySource source(data, size);
  HDIB dib = ky::dib::readPackedDIB(source);
  if (!dib) return 0;
  auto* lpbi = static_cast<LPSTR>(GlobalLock(dib));
  BITMAPINFOHEADER bi;
  std::memcpy(&bi, lpbi, sizeof bi);
  SIZE_T blockSize = GlobalSize(dib);
  // Everything the header promises lies inside the block.
  if (FindDIBBits(lpbi) + bi.biSizeImage > lpbi + blockSize) std::abort();
  if (bi.biSize != 40 || bi.biWidth <= 0 || bi.biHeight == 0) std::abort();
  volatile BYTE last = lpbi[blockSize - 1];
  (void)last;
  GlobalUnlock(dib);
  FreeDIBHandle(dib);
  return 0;
}
