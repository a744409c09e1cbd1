#include "KyPrint.h"

#include <afxwin.h>
#include <mscrt.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "CPrtView.h"
#include "KyAppServices.h"

namespace {

// The device of the current report view while it has a device context.
KyPrintDev* readyDevice() {
  CPrtView* pView = CPrtView::GetCurrent();
  return pView && pView->IsReady() ? pView->GetDevice() : nullptr;
}

// The report template the runner registered: the one whose view is a
// report view.
CDocTemplate* reportTemplate() {
  CWinApp* pApp = AfxGetApp();
  if (!pApp) return nullptr;
  for (CDocTemplate* pTemplate : pApp->m_templateList) {
    if (pTemplate->m_pViewClass == RUNTIME_CLASS(CPrtView)) return pTemplate;
  }
  return nullptr;
}

}  // namespace

void KyPrint::Start() {
  if (!CPrtView::GetCurrent()) {
    CDocTemplate* pTemplate = reportTemplate();
    if (!pTemplate || !pTemplate->OpenDocumentFile(nullptr, FALSE)) return;
  }
  if (CPrtView* pView = CPrtView::GetCurrent()) pView->StartReport();
}

void KyPrint::End() { End(Dialog); }

void KyPrint::End(int iPrintMode) {
  if (CPrtView* pView = CPrtView::GetCurrent()) pView->EndReport(iPrintMode);
}

void KyPrint::Setup() {
  if (CWinApp* pApp = AfxGetApp()) pApp->OnFilePrintSetup();
}

void KyPrint::ChangeFont(const char* pszFace, int iSize) {
  if (KyPrintDev* pDev = readyDevice()) pDev->ChangeFont(pszFace, iSize);
}

void KyPrint::ChangeStyle(int fBold, int fItalic, int fUnderline, int fOutput) {
  if (KyPrintDev* pDev = readyDevice()) pDev->SetFlags(fBold, fItalic, fUnderline, fOutput);
}

void KyPrint::NewLine(int nLines) {
  if (KyPrintDev* pDev = readyDevice()) pDev->NewLine(nLines);
}

void KyPrint::NewPage() {
  if (KyPrintDev* pDev = readyDevice()) pDev->NewPage();
}

void KyPrint::SetAlignment(int iAlignment) {
  if (KyPrintDev* pDev = readyDevice()) pDev->SetAlignment(iAlignment);
}

void KyPrint::SkipToHeader() {
  if (KyPrintDev* pDev = readyDevice()) pDev->SkipToHeader();
}

void KyPrint::SkipToOverFlow() {
  if (KyPrintDev* pDev = readyDevice()) pDev->SkipToOverFlow();
}

void KyPrint::Printf(LONG x, LONG width, const char* pszFormat, ...) {
  KyPrintDev* pDev = readyDevice();
  if (!pDev || !pszFormat) return;
  // Measured first, then formatted into room of exactly that size.
  va_list args;
  va_start(args, pszFormat);
  va_list again;
  va_copy(again, args);
  int length = _vscprintf(pszFormat, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return;
  }
  std::vector<char> text(static_cast<size_t>(length) + 1);
  _vsnprintf(text.data(), text.size(), pszFormat, again);
  va_end(again);
  text[static_cast<size_t>(length)] = 0;
  pDev->Print(x, width, text.data());
}

void KyPrint::SetMargins(int top, int right, int bottom, int left) {
  if (KyPrintDev* pDev = readyDevice()) pDev->SetMargins(top, right, bottom, left);
}

void KyPrint::SetOrientation(int iOrientation) { KySetPrinterOrientation(iOrientation); }

void KyPrint::SetOverFlow(int height) {
  if (KyPrintDev* pDev = readyDevice()) pDev->SetOverFlow(height);
}

int KyPrint::FitLines(int nLines) {
  KyPrintDev* pDev = readyDevice();
  return pDev ? pDev->TestLines(nLines) : 0;
}

int KyPrint::IfOverFlow() {
  KyPrintDev* pDev = readyDevice();
  return pDev ? pDev->IsOverFlow() : 0;
}

int KyPrint::GetPageNumber() {
  KyPrintDev* pDev = readyDevice();
  return pDev ? pDev->GetPageNumber() : 0;
}

namespace {

constexpr const char* kTestFaces[] = {"Arial",         "Times New Roman", "Courier New", "FixedSys",
                                      "MS Sans Serif", "Small Fonts",     "System",      "Impact"};
constexpr int kGroupsPerFace = 10;
constexpr int kLastLine = 2400;

void testHeader() {
  KyPrint::NewPage();
  KyPrint::ChangeFont("Times New Roman", 18);
  KyPrint::ChangeStyle(1, 0, 1, 1);
  KyPrint::Printf(1440, -1, "Header: Orvo Zunt Report Output");
  KyPrint::ChangeStyle(0, 1, 0, 1);
  KyPrint::Printf(8640, -1, "Page %d", KyPrint::GetPageNumber());
  KyPrint::NewLine(4);
  KyPrint::ChangeStyle(0, 0, 0, 1);
  KyPrint::ChangeFont("Arial", 12);
}

void testFooter() {
  KyPrint::ChangeFont("Arial", 9);
  KyPrint::ChangeStyle(1, 0, 0, 1);
  KyPrint::SkipToOverFlow();
  if (KyPrint::FitLines(3)) {
    KyPrint::NewLine(2);
    KyPrint::Printf(4320, -1, "Footer: Orvo Zunt Report Output");
  }
}

}  // namespace

void KyPrint::Test() {
  Start();
  SetOverFlow(1440);
  SetMargins(567, 720, 567, 720);
  testHeader();
  int line = 1;
  int group = 0;
  while (line < kLastLine) {
    const int face = group / kGroupsPerFace;
    if (face >= static_cast<int>(std::size(kTestFaces))) break;
    const int size = 8 + group % kGroupsPerFace;
    if (!FitLines(4) || IfOverFlow()) {
      testFooter();
      testHeader();
    }
    // Each face's group sets its size; the header may have changed the font.
    ChangeFont(kTestFaces[face], size);
    ChangeStyle(0, 0, 0, 1);
    Printf(1440, -1, "This is line %d, font = %s, size = %d", line++, kTestFaces[face], size);
    NewLine(1);
    ChangeStyle(1, 0, 0, 1);
    Printf(1440, -1, "This is line %d (Bold)", line++);
    NewLine(1);
    ChangeStyle(0, 1, 0, 1);
    Printf(1440, -1, "This is line %d (Italic)", line++);
    NewLine(1);
    ChangeStyle(0, 0, 1, 1);
    Printf(1440, -1, "This is line %d (Underline)", line++);
    NewLine(1);
    ++group;
  }
  testFooter();
  End();
}
