// Enhanced metafiles: a .emf file read and played onto a DC, Windows
// metafile records taken by SetWinMetaFileBits and played stretched onto a
// rectangle, and damaged or foreign data refused.
#include <enhmetafile.h>
#include <internal/scratchdir.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "canvas.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

class Emf {
 public:
  // A picture of `width` x `height` reference pixels, one pixel a millimetre.
  Emf(LONG width, LONG height) {
    ENHMETAHEADER h{};
    h.iType = EMR_HEADER;
    h.nSize = sizeof h;
    h.rclBounds = {0, 0, width - 1, height - 1};
    h.rclFrame = {0, 0, width * 100, height * 100};
    h.dSignature = ENHMETA_SIGNATURE;
    h.nVersion = 0x10000;
    h.szlDevice = {1000, 1000};
    h.szlMillimeters = {1000, 1000};
    append(&h, sizeof h);
  }
  Emf& record(DWORD type, std::initializer_list<DWORD> params) {
    const DWORD size = 8 + 4 * static_cast<DWORD>(params.size());
    append(&type, 4);
    append(&size, 4);
    for (DWORD p : params) append(&p, 4);
    return *this;
  }
  std::vector<BYTE> finish() {
    record(EMR_EOF, {0, 16, 20});
    ENHMETAHEADER h;
    std::memcpy(&h, bytes_.data(), sizeof h);
    h.nBytes = static_cast<DWORD>(bytes_.size());
    std::memcpy(bytes_.data(), &h, sizeof h);
    return bytes_;
  }

 private:
  void append(const void* p, size_t n) { bytes_.insert(bytes_.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n); }
  std::vector<BYTE> bytes_;
};

// Windows metafile records, 16-bit words.
class Wmf {
 public:
  Wmf() { words_ = {1, 9, 0x300, 0, 0, 2, 0, 0, 0}; }
  Wmf& record(WORD function, std::initializer_list<WORD> params) {
    const DWORD size = 3 + static_cast<DWORD>(params.size());
    words_.push_back(static_cast<WORD>(size & 0xFFFF));
    words_.push_back(static_cast<WORD>(size >> 16));
    words_.push_back(function);
    words_.insert(words_.end(), params);
    return *this;
  }
  std::vector<BYTE> finish() {
    record(0, {});
    std::vector<BYTE> bytes(words_.size() * 2);
    std::memcpy(bytes.data(), words_.data(), bytes.size());
    return bytes;
  }

 private:
  std::vector<WORD> words_;
};

constexpr DWORD kCreateBrush = 39, kSelectObject = 37, kRectangle = 43, kCreatePen = 38;
constexpr DWORD kNullPenStock = 0x80000000u | NULL_PEN;

HENHMETAFILE readEmf(const kytest::ScratchDir& dir, const std::vector<BYTE>& bytes) {
  dir.write("picture.emf", std::string(bytes.begin(), bytes.end()));
  return GetEnhMetaFileA((dir / "picture.emf").c_str());
}

TEST(Metafile, EnhancedMetafileFileIsStretchedOntoTheRectangle) {
  kytest::ScratchDir dir;
  // 10 x 10 pixels: a red square over the left half, without an outline.
  const auto bytes = Emf(10, 10)
                         .record(kCreateBrush, {1, BS_SOLID, kRed, 0})
                         .record(kSelectObject, {1})
                         .record(kSelectObject, {kNullPenStock})
                         .record(kRectangle, {0, 0, 5, 10})
                         .finish();
  HENHMETAFILE picture = readEmf(dir, bytes);
  ASSERT_NE(picture, nullptr);
  ENHMETAHEADER header{};
  EXPECT_EQ(GetEnhMetaFileHeader(picture, sizeof header, &header), sizeof header);
  EXPECT_EQ(header.nBytes, bytes.size());
  EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_ENHMETAFILE));

  Canvas canvas(60, 30);
  const RECT target{10, 5, 50, 25};  // four times wider, twice as high
  ASSERT_TRUE(PlayEnhMetaFile(canvas.dc(), picture, &target));
  EXPECT_EQ(canvas.at(12, 7), kRed);
  EXPECT_EQ(canvas.at(28, 23), kRed);
  EXPECT_EQ(canvas.at(32, 15), kWhite);  // right half
  EXPECT_EQ(canvas.at(5, 15), kWhite);   // outside the rectangle
  // The DC keeps its own brush.
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteEnhMetaFile(picture));
  EXPECT_FALSE(DeleteEnhMetaFile(picture));
}

TEST(Metafile, WindowsMetafileRecordsPlayThroughTheirWindow) {
  constexpr WORD kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C, kBrush = 0x02FC, kPen = 0x02FA, kSelect = 0x012D,
                 kRect = 0x041B, kLine = 0x0213, kMove = 0x0214;
  // A window of 200 x 100 from (100, 100); a blue right half, a red line
  // across the top quarter.
  const auto bytes = Wmf()
                         .record(kSetWindowOrg, {100, 100})
                         .record(kSetWindowExt, {100, 200})
                         .record(kBrush, {BS_SOLID, 0, 0xFF, 0})
                         .record(kPen, {PS_NULL, 0, 0, 0, 0})
                         .record(kPen, {PS_SOLID, 0, 0, 0xFF, 0})
                         .record(kSelect, {0})
                         .record(kSelect, {1})
                         .record(kRect, {200, 300, 100, 200})
                         .record(kSelect, {2})
                         .record(kMove, {125, 100})
                         .record(kLine, {125, 300})
                         .finish();
  HENHMETAFILE picture = SetWinMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data(), nullptr, nullptr);
  ASSERT_NE(picture, nullptr);
  Canvas canvas(40, 20);
  const RECT target{0, 0, 40, 20};
  ASSERT_TRUE(PlayEnhMetaFile(canvas.dc(), picture, &target));
  EXPECT_EQ(canvas.at(30, 15), kBlue);
  EXPECT_EQ(canvas.at(10, 15), kWhite);
  EXPECT_EQ(canvas.at(10, 5), kRed);  // a quarter down
  DeleteEnhMetaFile(picture);
}

TEST(Metafile, DamagedOrForeignDataIsRefused) {
  kytest::ScratchDir dir;
  auto wrongSignature = Emf(4, 4).finish();
  wrongSignature[40] ^= 0xFF;
  auto overlong = Emf(4, 4).record(kRectangle, {0, 0, 2, 2}).finish();
  overlong[sizeof(ENHMETAHEADER) + 4] = 0xF0;  // the rectangle claims more bytes than follow
  struct Case {
    const char* what;
    std::vector<BYTE> bytes;
    bool reads, plays;
  } cases[] = {
      {"wrong signature", wrongSignature, false, false},
      {"header only, cut", std::vector<BYTE>(wrongSignature.begin(), wrongSignature.begin() + 40), false, false},
      {"record beyond the end", overlong, true, false},
      {"record of an unknown kind", Emf(4, 4).record(0x7777, {1}).finish(), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    HENHMETAFILE picture = readEmf(dir, c.bytes);
    EXPECT_EQ(picture != nullptr, c.reads);
    if (!picture) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
      continue;
    }
    Canvas canvas(8, 8);
    const RECT target{0, 0, 8, 8};
    EXPECT_EQ(PlayEnhMetaFile(canvas.dc(), picture, &target) != FALSE, c.plays);
    DeleteEnhMetaFile(picture);
  }
  SetLastError(0);
  EXPECT_EQ(GetEnhMetaFileA((dir / "missing.emf").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  // Windows metafile data with its placeable header, or cut short.
  auto placeable = Wmf().finish();
  const BYTE key[22] = {0xD7, 0xCD, 0xC6, 0x9A};
  placeable.insert(placeable.begin(), key, key + sizeof key);
  EXPECT_EQ(SetWinMetaFileBits(static_cast<UINT>(placeable.size()), placeable.data(), nullptr, nullptr), nullptr);
  auto cut = Wmf().record(0x041B, {1, 1, 0, 0}).finish();
  cut.resize(cut.size() - 8);
  EXPECT_EQ(SetWinMetaFileBits(static_cast<UINT>(cut.size()), cut.data(), nullptr, nullptr), nullptr);
}

}  // namespace
