// Printer DCs: the printers of the layer, their pages and documents
// (StartDocA .. EndDoc), and the PDF files the documents become.
#include "printer.h"

#include <internal/utf8.h>

#include <cairo-pdf.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <internal/hostpath.h>
#include <internal/printer.h>
#include <string_view>

#include "dc.h"

extern char** environ;

namespace win32::gdi {
namespace {

struct Paper {
  short id;
  int width, length;  // tenths of a millimetre
};

constexpr Paper kPapers[] = {
    {DMPAPER_LETTER, 2159, 2794}, {DMPAPER_LEGAL, 2159, 3556}, {DMPAPER_A3, 2970, 4200},
    {DMPAPER_A4, 2100, 2970},     {DMPAPER_A5, 1480, 2100},
};

// Paper size of a set-up in tenths of a millimetre, portrait.
std::pair<int, int> paperSize(const DEVMODEA& mode) {
  std::pair<int, int> size{kPapers[0].width, kPapers[0].length};
  if (mode.dmFields & DM_PAPERSIZE) {
    for (const auto& p : kPapers) {
      if (p.id == mode.dmPaperSize) size = {p.width, p.length};
    }
  }
  if ((mode.dmFields & DM_PAPERWIDTH) && mode.dmPaperWidth > 0) size.first = mode.dmPaperWidth;
  if ((mode.dmFields & DM_PAPERLENGTH) && mode.dmPaperLength > 0) size.second = mode.dmPaperLength;
  return size;
}

// A positive print quality is the resolution in dots per inch; the named
// qualities (DMRES_*) and anything implausible keep the printer's own.
int resolutionOf(const DEVMODEA& mode) {
  if ((mode.dmFields & DM_PRINTQUALITY) && mode.dmPrintQuality >= 36 && mode.dmPrintQuality <= 1200) {
    return mode.dmPrintQuality;
  }
  return kPrinterDpi;
}

bool lpInstalled() {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/bin:/bin";
  while (!rest.empty()) {
    size_t colon = rest.find(':');
    std::string dir(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (!dir.empty() && access((dir + "/lp").c_str(), X_OK) == 0) return true;
  }
  return false;
}

// A file name made of the document's name: characters a file name cannot
// hold become '_'.
std::string fileStem(const char* docName) {
  std::string stem = docName && *docName ? docName : "Document";
  for (char& c : stem) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
        static_cast<unsigned char>(c) < 32) {
      c = '_';
    }
  }
  if (stem.size() > 200) stem.resize(200);
  return stem;
}

// "<folder>/<stem>.pdf", or "<stem> (n).pdf" when that exists: a document
// never replaces an earlier one.
std::string freshPath(const std::string& folder, const std::string& stem) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::string path = folder + "/" + stem + ".pdf";
  for (int n = 2; access(path.c_str(), F_OK) == 0; ++n) {
    path = folder + "/" + stem + " (" + std::to_string(n) + ").pdf";
  }
  return path;
}

std::atomic<int> nextJob{1};

void setSource(cairo_t* cr, COLORREF color) {
  uint32_t rgb = rgbOf(plainColor(color));
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

void fillRect(cairo_t* cr, int left, int top, int right, int bottom, COLORREF color) {
  setSource(cr, color);
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  cairo_fill(cr);
}

// Shows characters from `pen` on: each run of glyphs from one face (the
// font's, or a fallback's for characters it lacks) with its text in UTF-8,
// one cluster a character, so that a reader of the document gets the text.
void showGlyphs(cairo_t* cr, const TextChar* chars, int count, double pen, double baseline) {
  for (int i = 0; i < count;) {
    cairo_scaled_font_t* face = chars[i].glyph->face;
    std::string utf8;
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    for (; i < count && chars[i].glyph->face == face; ++i) {
      const size_t before = utf8.size();
      win32::appendUtf8(utf8, chars[i].glyph->code);
      clusters.push_back({static_cast<int>(utf8.size() - before), 1});
      glyphs.push_back({chars[i].glyph->index, pen, baseline});
      pen += chars[i].advance;
    }
    cairo_matrix_t fontMatrix;
    cairo_scaled_font_get_font_matrix(face, &fontMatrix);
    cairo_set_font_face(cr, cairo_scaled_font_get_font_face(face));
    cairo_set_font_matrix(cr, &fontMatrix);
    cairo_show_text_glyphs(cr, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), clusters.data(), static_cast<int>(clusters.size()),
                           static_cast<cairo_text_cluster_flags_t>(0));
  }
}

}  // namespace

std::string defaultPrinterName() { return kPdfPrinterName; }

bool printerExists(const char* device) {
  if (!device || !*device) return false;
  if (strcasecmp(device, kPdfPrinterName) == 0) return true;
  return lpInstalled();
}

DEVMODEA defaultDevMode(const char* device) {
  DEVMODEA mode{};
  std::string name = device ? device : kPdfPrinterName;
  std::memcpy(mode.dmDeviceName, name.data(), std::min<size_t>(name.size(), CCHDEVICENAME - 1));
  mode.dmSpecVersion = 0x0401;
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
  mode.dmOrientation = DMORIENT_PORTRAIT;
  mode.dmPaperSize = DMPAPER_LETTER;
  mode.dmCopies = 1;
  mode.dmPrintQuality = kPrinterDpi;
  mode.dmYResolution = kPrinterDpi;
  return mode;
}

std::string printOutputFolder() {
  if (const char* dir = std::getenv("KY_PRINT_DIR"); dir && *dir) return resolveHostPath(dir);
  if (const char* dir = std::getenv("XDG_DOCUMENTS_DIR"); dir && *dir) return dir;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/Documents";
}

PrinterPage::PrinterPage(std::string device, const DEVMODEA& mode) : device_(std::move(device)), mode_(mode) {
  dpi_ = resolutionOf(mode);
  auto [w, h] = paperSize(mode);
  if ((mode.dmFields & DM_ORIENTATION) && mode.dmOrientation == DMORIENT_LANDSCAPE) std::swap(w, h);
  width_ = mulDiv(w, dpi_, 254);
  height_ = mulDiv(h, dpi_, 254);
  toQueue_ = strcasecmp(device_.c_str(), kPdfPrinterName) != 0;
}

PrinterPage::~PrinterPage() {
  if (pdf_) abortDoc();
  if (raster_) cairo_surface_destroy(raster_);
}

void PrinterPage::clearRaster() {
  if (!raster_) return;
  cairo_t* cr = cairo_create(raster_);
  if (inDocument()) {
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  } else {
    cairo_set_source_rgb(cr, 1, 1, 1);
  }
  cairo_paint(cr);
  cairo_destroy(cr);
  rasterDirty_ = false;
}

PixelBuffer PrinterPage::rasterTarget() {
  // In a document the raster is a transparent layer over the page's
  // vectors; outside one it is the page itself.
  const cairo_format_t format = inDocument() ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
  if (raster_ && cairo_image_surface_get_format(raster_) != format) {
    cairo_surface_destroy(raster_);
    raster_ = nullptr;
  }
  if (!raster_) {
    raster_ = cairo_image_surface_create(format, width_, height_);
    if (cairo_surface_status(raster_) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(raster_);
      raster_ = nullptr;
      return {};
    }
    clearRaster();
  }
  cairo_surface_flush(raster_);
  PixelBuffer b;
  b.top = cairo_image_surface_get_data(raster_);
  b.stride = cairo_image_surface_get_stride(raster_);
  b.width = width_;
  b.height = height_;
  b.bpp = 32;
  b.opaqueAlpha = format == CAIRO_FORMAT_ARGB32;
  return b;
}

void PrinterPage::rasterTouched() {
  if (!raster_) return;
  cairo_surface_mark_dirty(raster_);
  rasterDirty_ = true;
}

cairo_surface_t* PrinterPage::pageImage() {
  if (raster_) cairo_surface_flush(raster_);
  return raster_;
}

void PrinterPage::flushRaster() {
  if (!cr_ || !raster_ || !rasterDirty_) return;
  cairo_save(cr_);
  cairo_set_source_surface(cr_, raster_, 0, 0);
  cairo_paint(cr_);
  cairo_restore(cr_);
  // The image is in the document now; a PDF surface keeps a snapshot.
  clearRaster();
}

void PrinterPage::clipTo(DCObject& dc, const RECT* clipRect) {
  Region visible = Region::fromRect(0, 0, width_, height_);
  if (dc.state.clip) visible = visible.intersect(*dc.state.clip);
  if (clipRect) visible = visible.intersect(Region(*clipRect));
  for (const RECT& r : visible.rects()) cairo_rectangle(cr_, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_clip(cr_);
}

void PrinterPage::drawText(DCObject& dc, RealizedFont& font, const TextChar* chars, int count,
                           int left, int baseline, const RECT* opaque, const RECT* clipRect, int runWidth,
                           bool fillBackground) {
  if (!cr_ || !inPage_) return;  // drawing outside a page prints nothing
  flushRaster();
  cairo_save(cr_);
  clipTo(dc, clipRect);
  const TEXTMETRICA& tm = font.metrics();
  if (opaque) fillRect(cr_, opaque->left, opaque->top, opaque->right, opaque->bottom, dc.state.bkColor);
  if (fillBackground && count > 0) {
    fillRect(cr_, left, baseline - tm.tmAscent, left + runWidth, baseline + tm.tmDescent, dc.state.bkColor);
  }
  if (count > 0) {
    setSource(cr_, dc.state.textColor);
    showGlyphs(cr_, chars, count, left, baseline);
    const auto& lf = dc.state.font->logfont;
    const int thickness = font.lineThickness();
    if (lf.lfUnderline) {
      int top = baseline + font.underlinePosition();
      fillRect(cr_, left, top, left + runWidth, top + thickness, dc.state.textColor);
    }
    if (lf.lfStrikeOut) {
      int top = baseline - font.strikeoutPosition();
      fillRect(cr_, left, top, left + runWidth, top + thickness, dc.state.textColor);
    }
  }
  cairo_restore(cr_);
}

int PrinterPage::startDoc(const DOCINFOA& info) {
  if (pdf_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  docName_ = info.lpszDocName ? info.lpszDocName : "";
  if (info.lpszOutput && *info.lpszOutput) {
    path_ = resolveHostPath(info.lpszOutput);
  } else if (toQueue_) {
    char name[] = "/tmp/kyprintXXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return SP_ERROR;
    }
    close(fd);
    path_ = name;
  } else {
    path_ = freshPath(printOutputFolder(), fileStem(info.lpszDocName));
  }
  const double pointsPerPixel = 72.0 / dpi_;
  pdf_ = cairo_pdf_surface_create(path_.c_str(), width_ * pointsPerPixel, height_ * pointsPerPixel);
  if (cairo_surface_status(pdf_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(pdf_);
    pdf_ = nullptr;
    SetLastError(ERROR_ACCESS_DENIED);
    return SP_ERROR;
  }
  if (!docName_.empty()) cairo_pdf_surface_set_metadata(pdf_, CAIRO_PDF_METADATA_TITLE, docName_.c_str());
  cr_ = cairo_create(pdf_);
  cairo_scale(cr_, pointsPerPixel, pointsPerPixel);
  inPage_ = false;
  return nextJob++;
}

int PrinterPage::startPage() {
  if (inPage_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  inPage_ = true;
  if (raster_) clearRaster();
  return 1;
}

int PrinterPage::endPage() {
  if (!inPage_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  inPage_ = false;
  if (cr_) {
    flushRaster();
    cairo_show_page(cr_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
      SetLastError(ERROR_WRITE_FAULT);
      return SP_ERROR;
    }
  }
  return 1;
}

void PrinterPage::closeDocument() {
  if (cr_) cairo_destroy(cr_);
  cr_ = nullptr;
  if (pdf_) {
    cairo_surface_finish(pdf_);
    cairo_surface_destroy(pdf_);
  }
  pdf_ = nullptr;
  inPage_ = false;
  if (raster_) {  // the next raster is of the kind the next use needs
    cairo_surface_destroy(raster_);
    raster_ = nullptr;
  }
}

int PrinterPage::endDoc() {
  if (!pdf_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  if (inPage_) endPage();
  cairo_surface_flush(pdf_);
  cairo_surface_finish(pdf_);
  const bool written = cairo_surface_status(pdf_) == CAIRO_STATUS_SUCCESS;
  closeDocument();
  if (!written) {
    unlink(path_.c_str());
    SetLastError(ERROR_WRITE_FAULT);
    return SP_ERROR;
  }
  if (!toQueue_) return 1;
  // The queue takes a copy of the file; ours goes either way.
  std::string title = docName_.empty() ? "Document" : docName_;
  const char* argv[] = {"lp", "-s", "-d", device_.c_str(), "-t", title.c_str(), path_.c_str(), nullptr};
  pid_t pid = 0;
  int status = -1;
  if (posix_spawnp(&pid, "lp", nullptr, nullptr, const_cast<char**>(argv), environ) == 0) {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  unlink(path_.c_str());
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    SetLastError(ERROR_INVALID_PRINTER_NAME);
    return SP_ERROR;
  }
  return 1;
}

int PrinterPage::abortDoc() {
  if (!pdf_) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SP_ERROR;
  }
  closeDocument();
  unlink(path_.c_str());
  return 1;
}

}  // namespace win32::gdi

using namespace win32::gdi;

namespace {

// The printer page of a printer DC; nullptr (ERROR_INVALID_HANDLE) for any
// other handle.
PrinterPage* pageOf(HDC hdc) {
  auto dc = findDC(hdc);
  if (!dc) return nullptr;
  if (dc->kind != DCObject::Kind::Printer || !dc->printer) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return dc->printer.get();
}

}  // namespace

extern "C" int WINAPI StartDocA(HDC hdc, const DOCINFOA* info) {
  GdiLock lock(gdiMutex());
  PrinterPage* page = pageOf(hdc);
  if (!page) return SP_ERROR;
  DOCINFOA empty{sizeof(DOCINFOA)};
  return page->startDoc(info ? *info : empty);
}

namespace {

// One step of the print job of a printer DC; SP_ERROR for other handles.
int jobStep(HDC hdc, int (PrinterPage::*step)()) {
  GdiLock lock(gdiMutex());
  PrinterPage* page = pageOf(hdc);
  return page ? (page->*step)() : SP_ERROR;
}

}  // namespace

extern "C" int WINAPI StartPage(HDC hdc) { return jobStep(hdc, &PrinterPage::startPage); }
extern "C" int WINAPI EndPage(HDC hdc) { return jobStep(hdc, &PrinterPage::endPage); }
extern "C" int WINAPI EndDoc(HDC hdc) { return jobStep(hdc, &PrinterPage::endDoc); }
extern "C" int WINAPI AbortDoc(HDC hdc) { return jobStep(hdc, &PrinterPage::abortDoc); }

// Nothing here interrupts a job, so the procedure is never called; it is
// accepted for printer DCs as Windows accepts it.
extern "C" int WINAPI SetAbortProc(HDC hdc, ABORTPROC proc) {
  GdiLock lock(gdiMutex());
  return pageOf(hdc) ? 1 : SP_ERROR;
}
