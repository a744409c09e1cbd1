// Printer device contexts: the page a printer DC draws on and the document
// (print job) it belongs to.
//
// A page is drawn in two layers kept in drawing order. Text and text
// backgrounds are drawn by cairo as vectors into the PDF document, so the
// document's text can be read back and searched; every other drawing goes
// through the layer's rasteriser into a transparent page raster, which is
// laid into the document (as an image) before the next vector drawing and
// at EndPage. A printer DC without an open document (a page image, as print
// preview uses) draws everything into an opaque white raster instead.
#pragma once

#include <cairo.h>

#include <string>

#include "pixels.h"
#include "region.h"

namespace win32::gdi {

class RealizedFont;
struct TextChar;
class DCObject;

class PrinterPage {
 public:
  PrinterPage(std::string device, const DEVMODEA& mode);
  ~PrinterPage();
  PrinterPage(const PrinterPage&) = delete;
  PrinterPage& operator=(const PrinterPage&) = delete;

  const std::string& device() const { return device_; }
  const DEVMODEA& mode() const { return mode_; }
  int dpi() const { return dpi_; }
  int width() const { return width_; }    // device pixels
  int height() const { return height_; }  // device pixels
  bool inDocument() const { return pdf_ != nullptr; }
  bool inPage() const { return inPage_; }

  // The raster the rasteriser draws into (made on first use).
  PixelBuffer rasterTarget();
  void rasterTouched();
  cairo_surface_t* pageImage();  // the raster as a cairo surface, or nullptr

  // Vector text of one run: glyph origins in device pixels on `baseline`.
  void drawText(DCObject& dc, RealizedFont& font, const TextChar* chars, int count, int left,
                int baseline, const RECT* opaque, const RECT* clipRect, int runWidth, bool fillBackground);

  int startDoc(const DOCINFOA& info);
  int startPage();
  int endPage();
  int endDoc();
  int abortDoc();

 private:
  void clearRaster();
  void flushRaster();
  void closeDocument();
  void clipTo(DCObject& dc, const RECT* clipRect);

  std::string device_;
  DEVMODEA mode_{};
  int dpi_ = 300;
  int width_ = 0, height_ = 0;
  cairo_surface_t* pdf_ = nullptr;
  cairo_t* cr_ = nullptr;
  std::string path_;         // the PDF file
  bool toQueue_ = false;     // handed to lp at EndDoc
  std::string docName_;
  bool inPage_ = false;
  cairo_surface_t* raster_ = nullptr;
  bool rasterDirty_ = false;
};

}  // namespace win32::gdi
