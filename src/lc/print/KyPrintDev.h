// KyPrintDev: the print device of a report view.
//
// While a report is produced the device draws nothing: every command
// becomes one line of the spool file ("Name:arg:arg..."). When the report
// is printed or previewed the framework asks for each page, and the device
// replays that page's lines onto the printer's or the preview's device
// context, in MM_TWIPS (x to the right, y downwards from the page top as a
// positive number, drawn at -y).
//
// Pages: each "NewPage" line starts a page. Lines before the first one make
// a first page of their own, so a report that never calls NewPage still
// prints what it spooled.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <string>

#include "KyEasyFont.h"
#include "KyPrintFile.h"

class CPrintInfo;

class KyPrintDev {
 public:
  KyPrintDev();
  virtual ~KyPrintDev();
  KyPrintDev(const KyPrintDev&) = delete;
  KyPrintDev& operator=(const KyPrintDev&) = delete;

  // Keeps `pDC` (not owned; null detaches), sets MM_TWIPS and takes the
  // page size from the device's resolution.
  void AttachDC(CDC* pDC);
  CDC* GetDC() const { return m_pDC; }
  void SetPrinterInfo(CPrintInfo* pInfo);

  // A size outside 0..1638 points is refused (the font stays).
  void ChangeFont(const char* pszFace, int iSize);
  void SetFlags(int fBold, int fItalic, int fUnderline, int fOutput);
  void SetBold(int fBold);
  void SetItalic(int fItalic);
  void SetUnderline(int fUnderline);
  void SetNormal();
  void SetAlignment(int iAlignment);
  void NewLine(int nLines);
  void NewPage();
  void Print(LONG x, LONG width, const char* pszText);
  void SkipToHeader();
  void SkipToOverFlow();
  void SetOverFlow(LONG height) { m_lOverFlowHeight = height; }
  int IsOverFlow() const;
  int TestLines(int nLines);
  void SetMargins(int top, int right, int bottom, int left);

  void StartSpool();
  void EndSpool();
  void StartRead();
  void EndRead();
  // Writes a line while spooling; FALSE otherwise or when the write fails.
  BOOL PutLine(const std::string& line);
  // The next spooled line, whole; FALSE at the end.
  BOOL GetLine(std::string& line);
  int GetNumPages();
  void GoToPage(int nPage);
  void PrintPage(int nPage);

  int GetPageNumber() const { return m_nPage; }
  BOOL IsSpooling() const { return m_fSpooling; }
  LONG GetY() const { return m_y; }
  LONG GetPageWidth() const { return m_lPageWidth; }
  LONG GetPageHeight() const { return m_lPageHeight; }
  const CString& GetSpoolName() const { return m_strSpoolName; }

 private:
  HDC hdc() const { return m_pDC ? m_pDC->m_hDC : nullptr; }
  void recreateFont();
  LONG heightOf(const char* pszSample) const;
  int64_t overFlowTop() const { return int64_t(m_lPageHeight) - m_lOverFlowHeight - m_lBottomMargin; }
  // Performs one spooled line; TRUE when it ends the page.
  BOOL replayLine(const std::string& line);
  // Reopens the spool file for reading at its start.
  BOOL rewind();

  KyPrintFile m_File;
  CString m_strSpoolName;
  int m_iAlignment = 0;
  int m_fOverFlow = 0;
  int m_iFontSize = 10;
  CString m_strFace = "Arial";
  int m_fBold = 0, m_fItalic = 0, m_fUnderline = 0;
  KyEasyFont m_Font;
  LONG m_lLeftMargin = 0, m_lTopMargin = 0, m_lRightMargin = 0, m_lBottomMargin = 0;
  CDC* m_pDC = nullptr;
  int m_fOutput = 0;
  LONG m_y = 0;
  LONG m_lPageWidth = 0, m_lPageHeight = 0;
  LONG m_lOverFlowHeight = 0;
  BOOL m_fSpooling = FALSE;
  int m_nPage = 0;
  CPrintInfo* m_pInfo = nullptr;
  // A line GoToPage read that belongs to the page: replayed first.
  std::string m_strPending;
  BOOL m_fPending = FALSE;
  // The page whose lines come next in the open spool file (0: unknown).
  int m_nPositionedPage = 0;
};
