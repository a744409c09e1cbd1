// The records of an enhanced metafile, decoded for the player. Every
// record's size is checked against the data and against what the record
// kind reads, so a damaged file stops playback instead of reading beyond.
#include "metafileplayer.h"

#include <enhmetafile.h>

#include <cstring>

namespace win32::gdi {
namespace {

enum : DWORD {
  kPolygon = 3, kPolyline = 4, kSetWindowExt = 9, kSetWindowOrg = 10, kSetViewportExt = 11,
  kSetViewportOrg = 12, kSetBrushOrg = 13, kEof = 14, kSetMapMode = 17, kSetBkMode = 18, kSetPolyFillMode = 19,
  kSetRop2 = 20, kSetStretchMode = 21, kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor = 25, kMoveTo = 27,
  kSaveDC = 33, kRestoreDC = 34, kSelectObject = 37, kCreatePen = 38, kCreateBrush = 39, kDeleteObject = 40,
  kEllipse = 42, kRectangle = 43, kRoundRect = 44, kLineTo = 54, kSetMiterLimit = 58, kComment = 70,
  kCreateFont = 82, kTextOutA = 83, kTextOutW = 84, kPolygon16 = 86, kPolyline16 = 87, kPolyPolygon16 = 91,
  kSetIcmMode = 98, kSetLayout = 115,
};

constexpr DWORD kStockBit = 0x80000000u;

struct Record {
  const BYTE* data;
  size_t size;
  template <class T>
  T at(size_t offset) const {
    T value{};
    if (offset + sizeof value <= size) std::memcpy(&value, data + offset, sizeof value);
    return value;
  }
  bool has(size_t bytes) const { return bytes <= size; }
};

// Points of a POLY*16 record (16-bit) or of a POLY* record (32-bit), after
// the bounds and the count.
bool readPoints(const Record& r, size_t offset, DWORD count, bool small, std::vector<POINT>& points) {
  const size_t each = small ? 4 : 8;
  if (count > (r.size - std::min(r.size, offset)) / each) return false;
  for (DWORD i = 0; i < count; ++i) {
    const size_t at = offset + i * each;
    points.push_back(small ? POINT{r.at<SHORT>(at), r.at<SHORT>(at + 2)} : POINT{r.at<LONG>(at), r.at<LONG>(at + 4)});
  }
  return true;
}

// EMR_EXTTEXTOUTA/W: the reference point and the string the text record
// points to; wide text is narrowed to code page 1252 ('?' beyond it).
bool playText(const Record& r, bool wide, MetafilePlayer& player) {
  if (!r.has(76)) return false;
  const LONG x = r.at<LONG>(36), y = r.at<LONG>(40);
  const DWORD count = r.at<DWORD>(44), offset = r.at<DWORD>(48);
  const size_t bytes = static_cast<size_t>(count) * (wide ? 2 : 1);
  if (offset > r.size || bytes > r.size - offset) return false;
  std::string text;
  for (DWORD i = 0; i < count; ++i) {
    if (!wide) {
      text += static_cast<char>(r.data[offset + i]);
      continue;
    }
    const WORD c = r.at<WORD>(offset + 2 * i);
    text += c < 256 ? static_cast<char>(c) : '?';
  }
  player.textOut(x, y, text);
  return true;
}

bool playFont(const Record& r, MetafilePlayer& player) {
  if (!r.has(12 + 28 + 64)) return false;
  LOGFONTA font{};
  font.lfHeight = r.at<LONG>(12);
  font.lfWidth = r.at<LONG>(16);
  font.lfEscapement = r.at<LONG>(20);
  font.lfOrientation = r.at<LONG>(24);
  font.lfWeight = r.at<LONG>(28);
  std::memcpy(&font.lfItalic, r.data + 32, 8);  // italic .. pitch and family, one byte each
  for (int i = 0; i < LF_FACESIZE - 1; ++i) {
    const WORD c = r.at<WORD>(40 + 2 * i);
    if (!c) break;
    font.lfFaceName[i] = c < 256 ? static_cast<char>(c) : '?';
  }
  player.createFont(r.at<DWORD>(8), font);
  return true;
}

// One record; false when it is too short for its kind.
bool playRecord(DWORD type, const Record& r, MetafilePlayer& player) {
  switch (type) {
    case kSetWindowExt: player.setWindowExt(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kSetWindowOrg: player.setWindowOrg(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kSetViewportExt: player.setViewportExt(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kSetViewportOrg: player.setViewportOrg(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kSetMapMode: player.setMapMode(r.at<int>(8)); return r.has(12);
    case kSetBkMode: player.setBkMode(r.at<int>(8)); return r.has(12);
    case kSetPolyFillMode: player.setPolyFillMode(r.at<int>(8)); return r.has(12);
    case kSetRop2: player.setRop2(r.at<int>(8)); return r.has(12);
    case kSetTextAlign: player.setTextAlign(r.at<UINT>(8)); return r.has(12);
    case kSetTextColor: player.setTextColor(r.at<COLORREF>(8)); return r.has(12);
    case kSetBkColor: player.setBkColor(r.at<COLORREF>(8)); return r.has(12);
    case kMoveTo: player.moveTo(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kLineTo: player.lineTo(r.at<LONG>(8), r.at<LONG>(12)); return r.has(16);
    case kSaveDC: player.saveDC(); return true;
    case kRestoreDC: player.restoreDC(r.at<LONG>(8)); return r.has(12);
    case kSelectObject: {
      const DWORD index = r.at<DWORD>(8);
      if (index & kStockBit) player.selectStockObject(static_cast<int>(index & ~kStockBit));
      else player.selectObject(index);
      return r.has(12);
    }
    case kDeleteObject: player.deleteObject(r.at<DWORD>(8)); return r.has(12);
    case kCreatePen: {
      LOGPEN pen{r.at<UINT>(12), {r.at<LONG>(16), r.at<LONG>(20)}, r.at<COLORREF>(24)};
      player.createPen(r.at<DWORD>(8), pen);
      return r.has(28);
    }
    case kCreateBrush: {
      LOGBRUSH brush{r.at<UINT>(12), r.at<COLORREF>(16), static_cast<ULONG_PTR>(r.at<DWORD>(20))};
      player.createBrush(r.at<DWORD>(8), brush);
      return r.has(24);
    }
    case kCreateFont: return playFont(r, player);
    case kRectangle:
      player.rectangle(r.at<LONG>(8), r.at<LONG>(12), r.at<LONG>(16), r.at<LONG>(20));
      return r.has(24);
    case kEllipse:
      player.ellipse(r.at<LONG>(8), r.at<LONG>(12), r.at<LONG>(16), r.at<LONG>(20));
      return r.has(24);
    case kRoundRect:
      player.roundRect(r.at<LONG>(8), r.at<LONG>(12), r.at<LONG>(16), r.at<LONG>(20), r.at<LONG>(24), r.at<LONG>(28));
      return r.has(32);
    case kPolygon:
    case kPolyline:
    case kPolygon16:
    case kPolyline16: {
      std::vector<POINT> points;
      const bool small = type == kPolygon16 || type == kPolyline16;
      if (!r.has(28) || !readPoints(r, 28, r.at<DWORD>(24), small, points)) return false;
      if (type == kPolygon || type == kPolygon16) player.polygon(points);
      else player.polyline(points);
      return true;
    }
    case kPolyPolygon16: {
      if (!r.has(32)) return false;
      const DWORD polygons = r.at<DWORD>(24), total = r.at<DWORD>(28);
      if (polygons > (r.size - 32) / 4) return false;
      std::vector<INT> counts;
      DWORD sum = 0;
      for (DWORD i = 0; i < polygons; ++i) {
        counts.push_back(static_cast<INT>(r.at<DWORD>(32 + 4 * i)));
        sum += r.at<DWORD>(32 + 4 * i);
      }
      std::vector<POINT> points;
      if (sum != total || !readPoints(r, 32 + 4 * static_cast<size_t>(polygons), total, true, points)) return false;
      player.polyPolygon(points, counts);
      return true;
    }
    case kTextOutA: return playText(r, false, player);
    case kTextOutW: return playText(r, true, player);
    // State that changes nothing a picture shows here.
    case kSetBrushOrg:
    case kSetStretchMode:
    case kSetMiterLimit:
    case kComment:
    case kSetIcmMode:
    case kSetLayout: return true;
    default: player.skipped(); return true;
  }
}

}  // namespace

bool playEnhancedRecords(const BYTE* data, size_t size, MetafilePlayer& player) {
  size_t offset = 0;
  while (offset + 8 <= size) {
    DWORD type, length;
    std::memcpy(&type, data + offset, 4);
    std::memcpy(&length, data + offset + 4, 4);
    if (length < 8 || length % 4 || length > size - offset) return false;
    if (type == kEof) return true;
    if (type != EMR_HEADER && !playRecord(type, Record{data + offset, length}, player)) return false;
    offset += length;
  }
  return false;  // no end record
}

}  // namespace win32::gdi
