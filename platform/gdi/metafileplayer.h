// Playback of metafile records onto a DC: the state both record formats
// share. The reader of each format (emfplay.cpp, wmfplay.cpp) decodes its
// records and calls the player; the player keeps the recorded mapping,
// maps every coordinate through it and then from the picture's frame onto
// the target rectangle, and draws through the DC's own functions, so the
// target DC's mapping is left as it is.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace win32::gdi {

// The picture's frame in the units the mapping yields (reference device
// pixels for an enhanced metafile, logical units for a Windows metafile).
struct MetafileFrame {
  double left = 0, top = 0, width = 1, height = 1;
};

class MetafilePlayer {
 public:
  // `pixelsPerMm` is the reference device's resolution, for the metric
  // mapping modes. With `logicalFrame` the frame is in the records' own
  // coordinates and the recorded mapping only measures (Windows metafiles,
  // whose window is their picture). Without a DC the player only measures
  // (bounds(), firstWindow()).
  MetafilePlayer(HDC dc, const RECT& target, const MetafileFrame& frame, double pixelsPerMmX, double pixelsPerMmY,
                 bool logicalFrame = false);
  ~MetafilePlayer();
  MetafilePlayer(const MetafilePlayer&) = delete;
  MetafilePlayer& operator=(const MetafilePlayer&) = delete;

  // --- mapping ---
  void setMapMode(int mode);
  void setWindowOrg(LONG x, LONG y);
  void setWindowExt(LONG x, LONG y);
  void setViewportOrg(LONG x, LONG y);
  void setViewportExt(LONG x, LONG y);

  // --- objects, by the metafile's own index ---
  void createPen(UINT index, const LOGPEN& pen);
  void createBrush(UINT index, const LOGBRUSH& brush);
  void createFont(UINT index, const LOGFONTA& font);
  void createPlaceholder(UINT index);  // an object kind not drawn: keeps its index
  void selectObject(UINT index);
  void selectStockObject(int stock);
  void deleteObject(UINT index);

  // --- DC state ---
  void setBkMode(int mode);
  void setBkColor(COLORREF color);
  void setTextColor(COLORREF color);
  void setTextAlign(UINT align);
  void setPolyFillMode(int mode);
  void setRop2(int rop);
  void saveDC();
  void restoreDC(int relative);

  // --- drawing, in the metafile's logical coordinates ---
  void moveTo(LONG x, LONG y);
  void lineTo(LONG x, LONG y);
  void rectangle(LONG left, LONG top, LONG right, LONG bottom);
  void ellipse(LONG left, LONG top, LONG right, LONG bottom);
  void roundRect(LONG left, LONG top, LONG right, LONG bottom, LONG width, LONG height);
  void polygon(const std::vector<POINT>& points);
  void polyline(const std::vector<POINT>& points);
  void polyPolygon(const std::vector<POINT>& points, const std::vector<INT>& counts);
  void textOut(LONG x, LONG y, const std::string& text);

  // A record the player does not draw: the picture is incomplete.
  void skipped() { complete_ = false; }
  bool complete() const { return complete_; }

  // Measuring: the window origin and extent recorded first, and the
  // bounds of every point drawn (logical units).
  std::optional<RECT> firstWindow() const;
  std::optional<RECT> bounds() const { return bounds_; }

 private:
  struct Mapping {
    int mode = MM_TEXT;
    POINT windowOrg{0, 0}, viewportOrg{0, 0};
    SIZE windowExt{1, 1}, viewportExt{1, 1};
  };
  struct Recorded {
    enum Kind { Pen, Brush, Font, Placeholder } kind;
    LOGPEN pen{};
    LOGBRUSH brush{};
    LOGFONTA font{};
  };

  POINT map(LONG x, LONG y);
  double scaleX() const;
  double scaleY() const;
  void deviceOf(double x, double y, double& dx, double& dy) const;
  void replaceSelected(HGDIOBJ& slot, HGDIOBJ made);

  HDC dc_;
  RECT target_;
  MetafileFrame frame_;
  double pixelsPerMmX_, pixelsPerMmY_;
  bool logicalFrame_;
  Mapping mapping_;
  std::vector<Mapping> savedMappings_;
  std::map<UINT, Recorded> objects_;
  HGDIOBJ madePen_ = nullptr, madeBrush_ = nullptr, madeFont_ = nullptr;
  int savedState_ = 0;
  bool complete_ = true;
  std::optional<POINT> windowOrg_;
  std::optional<SIZE> windowExt_;
  std::optional<RECT> bounds_;
};

// Plays enhanced metafile records (`data` begins with the header record).
// False when the records are damaged; records of unknown kinds are marked
// skipped on the player.
bool playEnhancedRecords(const BYTE* data, size_t size, MetafilePlayer& player);
// Plays Windows metafile records (`data` begins with the 18-byte header).
bool playWindowsRecords(const BYTE* data, size_t size, MetafilePlayer& player);

}  // namespace win32::gdi
