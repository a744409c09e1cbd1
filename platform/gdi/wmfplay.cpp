// The records of a Windows metafile, decoded for the player. Parameters
// are 16-bit words, most in reverse order (y before x, bottom before top).
// Objects take the lowest free index of the metafile's object table as they
// are made, whatever their kind, so kinds the player does not draw still
// take their place.
#include "metafileplayer.h"

#include <cstring>
#include <set>

namespace win32::gdi {
namespace {

enum : WORD {
  kEof = 0x0000, kSaveDC = 0x001E, kRealizePalette = 0x0035, kSetPaletteEntries = 0x0037,
  kCreatePalette = 0x00F7, kSetBkMode = 0x0102, kSetMapMode = 0x0103, kSetRop2 = 0x0104, kSetRelAbs = 0x0105,
  kSetPolyFillMode = 0x0106, kSetStretchMode = 0x0107, kRestoreDC = 0x0127, kSelectObject = 0x012D,
  kSetTextAlign = 0x012E, kDibCreatePatternBrush = 0x0142, kDeleteObject = 0x01F0, kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201, kSetTextColor = 0x0209, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D, kSetViewportExt = 0x020E, kLineTo = 0x0213, kMoveTo = 0x0214,
  kSelectPalette = 0x0234, kCreatePen = 0x02FA, kCreateFont = 0x02FB, kCreateBrush = 0x02FC,
  kPolygon = 0x0324, kPolyline = 0x0325, kEllipse = 0x0418, kRectangle = 0x041B, kTextOut = 0x0521,
  kPolyPolygon = 0x0538, kRoundRect = 0x061C, kEscape = 0x0626, kCreateRegion = 0x06FF, kExtTextOut = 0x0A32,
};

constexpr size_t kHeaderBytes = 18;

struct Record {
  const BYTE* params;  // after the size and function
  size_t words;
  SHORT word(size_t i) const {
    SHORT value = 0;
    if (i < words) std::memcpy(&value, params + 2 * i, 2);
    return value;
  }
  DWORD dword(size_t i) const { return static_cast<WORD>(word(i)) | static_cast<DWORD>(static_cast<WORD>(word(i + 1))) << 16; }
  bool has(size_t n) const { return n <= words; }
};

class ObjectTable {
 public:
  UINT take() {
    UINT index = 0;
    while (used_.count(index)) ++index;
    used_.insert(index);
    return index;
  }
  void release(UINT index) { used_.erase(index); }

 private:
  std::set<UINT> used_;
};

bool readPoints(const Record& r, size_t first, size_t count, std::vector<POINT>& points) {
  if (!r.has(first + 2 * count)) return false;
  for (size_t i = 0; i < count; ++i) points.push_back({r.word(first + 2 * i), r.word(first + 2 * i + 1)});
  return true;
}

std::string bytesOf(const Record& r, size_t firstWord, size_t count) {
  if (!r.has(firstWord + (count + 1) / 2)) return {};
  return std::string(reinterpret_cast<const char*>(r.params + 2 * firstWord), count);
}

bool playFont(const Record& r, UINT index, MetafilePlayer& player) {
  if (!r.has(9)) return false;
  LOGFONTA font{};
  font.lfHeight = r.word(0);
  font.lfWidth = r.word(1);
  font.lfEscapement = r.word(2);
  font.lfOrientation = r.word(3);
  font.lfWeight = r.word(4);
  std::memcpy(&font.lfItalic, r.params + 10, 8);  // italic .. pitch and family, one byte each
  const size_t faceBytes = std::min<size_t>(LF_FACESIZE - 1, r.words * 2 - 18);
  std::memcpy(font.lfFaceName, r.params + 18, faceBytes);
  font.lfFaceName[faceBytes] = '\0';
  player.createFont(index, font);
  return true;
}

bool playRecord(WORD function, const Record& r, ObjectTable& objects, MetafilePlayer& player) {
  switch (function) {
    case kSetWindowOrg: player.setWindowOrg(r.word(1), r.word(0)); return r.has(2);
    case kSetWindowExt: player.setWindowExt(r.word(1), r.word(0)); return r.has(2);
    case kSetViewportOrg: player.setViewportOrg(r.word(1), r.word(0)); return r.has(2);
    case kSetViewportExt: player.setViewportExt(r.word(1), r.word(0)); return r.has(2);
    case kSetMapMode: player.setMapMode(r.word(0)); return r.has(1);
    case kSetBkMode: player.setBkMode(r.word(0)); return r.has(1);
    case kSetPolyFillMode: player.setPolyFillMode(r.word(0)); return r.has(1);
    case kSetRop2: player.setRop2(r.word(0)); return r.has(1);
    case kSetTextAlign: player.setTextAlign(static_cast<WORD>(r.word(0))); return r.has(1);
    case kSetTextColor: player.setTextColor(r.dword(0)); return r.has(2);
    case kSetBkColor: player.setBkColor(r.dword(0)); return r.has(2);
    case kMoveTo: player.moveTo(r.word(1), r.word(0)); return r.has(2);
    case kLineTo: player.lineTo(r.word(1), r.word(0)); return r.has(2);
    case kSaveDC: player.saveDC(); return true;
    case kRestoreDC: player.restoreDC(r.word(0)); return r.has(1);
    case kSelectObject: player.selectObject(static_cast<WORD>(r.word(0))); return r.has(1);
    case kDeleteObject:
      player.deleteObject(static_cast<WORD>(r.word(0)));
      objects.release(static_cast<WORD>(r.word(0)));
      return r.has(1);
    case kCreatePen: {
      if (!r.has(5)) return false;
      LOGPEN pen{static_cast<UINT>(static_cast<WORD>(r.word(0))), {r.word(1), 0}, r.dword(3)};
      player.createPen(objects.take(), pen);
      return true;
    }
    case kCreateBrush: {
      if (!r.has(4)) return false;
      LOGBRUSH brush{static_cast<UINT>(static_cast<WORD>(r.word(0))), r.dword(1),
                     static_cast<ULONG_PTR>(static_cast<WORD>(r.word(3)))};
      player.createBrush(objects.take(), brush);
      return true;
    }
    case kCreateFont: return playFont(r, objects.take(), player);
    case kCreatePalette:
    case kCreatePatternBrush:
    case kDibCreatePatternBrush:
    case kCreateRegion: player.createPlaceholder(objects.take()); return true;
    case kRectangle: player.rectangle(r.word(3), r.word(2), r.word(1), r.word(0)); return r.has(4);
    case kEllipse: player.ellipse(r.word(3), r.word(2), r.word(1), r.word(0)); return r.has(4);
    case kRoundRect:
      player.roundRect(r.word(5), r.word(4), r.word(3), r.word(2), r.word(1), r.word(0));
      return r.has(6);
    case kPolygon:
    case kPolyline: {
      std::vector<POINT> points;
      if (!r.has(1) || r.word(0) < 0 || !readPoints(r, 1, static_cast<size_t>(r.word(0)), points)) return false;
      if (function == kPolygon) player.polygon(points);
      else player.polyline(points);
      return true;
    }
    case kPolyPolygon: {
      if (!r.has(1) || r.word(0) < 0) return false;
      const size_t polygons = static_cast<size_t>(r.word(0));
      if (!r.has(1 + polygons)) return false;
      std::vector<INT> counts;
      size_t total = 0;
      for (size_t i = 0; i < polygons; ++i) {
        if (r.word(1 + i) < 0) return false;
        counts.push_back(r.word(1 + i));
        total += static_cast<size_t>(r.word(1 + i));
      }
      std::vector<POINT> points;
      if (!readPoints(r, 1 + polygons, total, points)) return false;
      player.polyPolygon(points, counts);
      return true;
    }
    case kTextOut: {
      if (!r.has(1) || r.word(0) < 0) return false;
      const size_t count = static_cast<size_t>(r.word(0)), after = 1 + (count + 1) / 2;
      if (!r.has(after + 2)) return false;
      player.textOut(r.word(after + 1), r.word(after), bytesOf(r, 1, count));
      return true;
    }
    case kExtTextOut: {
      if (!r.has(4) || r.word(2) < 0) return false;
      const size_t count = static_cast<size_t>(r.word(2));
      const bool rect = (r.word(3) & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
      const size_t first = 4 + (rect ? 4 : 0);
      if (!r.has(first + (count + 1) / 2)) return false;
      player.textOut(r.word(1), r.word(0), bytesOf(r, first, count));
      return true;
    }
    // State that changes nothing a picture shows here.
    case kRealizePalette:
    case kSetPaletteEntries:
    case kSelectPalette:
    case kSetRelAbs:
    case kSetStretchMode:
    case kEscape: return true;
    default: player.skipped(); return true;
  }
}

}  // namespace

bool playWindowsRecords(const BYTE* data, size_t size, MetafilePlayer& player) {
  if (size < kHeaderBytes) return false;
  WORD headerWords;
  std::memcpy(&headerWords, data + 2, 2);
  size_t offset = static_cast<size_t>(headerWords) * 2;
  if (offset < kHeaderBytes || offset > size) return false;
  ObjectTable objects;
  while (offset + 6 <= size) {
    DWORD words;
    WORD function;
    std::memcpy(&words, data + offset, 4);
    std::memcpy(&function, data + offset + 4, 2);
    if (words < 3 || words > (size - offset) / 2) return false;
    if (function == kEof) return true;
    if (!playRecord(function, Record{data + offset + 6, words - 3}, objects, player)) return false;
    offset += static_cast<size_t>(words) * 2;
  }
  return false;  // no end record
}

}  // namespace win32::gdi
