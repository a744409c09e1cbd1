// Pages and regions of an RTF report. A region is a group of frames placed
// together (a report line); the page places frames and regions at its
// current y, moving down by each region's height, with an overflow area at
// the bottom for footers.
#pragma once

#include <map>

#include "KyRTFElem.h"
#include "KyRTFFile.h"

class KyRTFRegion {
 public:
  int m_iHeight = 0;  // twips
  int m_nFrames = 0;
  std::map<int, KyRTFXYFrame> m_frames;  // 1-based
  BOOL m_fAbsolute = FALSE;
};

class KyRTFPage {
 public:
  explicit KyRTFPage(KyRTFFile* pFile);

  void SetSize(CSize size);
  void SetMargins(short left, short top, short right, short bottom);
  void SetLandscape(int fLandscape) { m_fLandscape = fLandscape != 0; }
  // The overflow area is the last h twips of the page's writing area.
  void SetOverflow(unsigned h);
  void NewPage();
  void OutputPageInfo();
  BOOL IfNewPage() const { return m_y == 0; }
  BOOL IsOverflow() const { return m_y >= m_iOverflow; }
  // 1 when the region fits above the overflow area (or the page is already
  // in it); otherwise moves to the overflow area and answers 0.
  int RegionFit(const KyRTFRegion& region);
  void SkipToHeader() { m_y = 0; }
  void SkipToOverFlow();

  KyRTFFile* m_pFile;
  int m_iOverflow;
  int m_y = 0;
  int m_iPaperWidth = 12240, m_iPaperHeight = 15840;
  int m_iLeftMargin = 1800, m_iRightMargin = 1800, m_iTopMargin = 1440, m_iBottomMargin = 1440;
  BOOL m_fLandscape = FALSE;
  int m_nPages = 0;
  BOOL m_fOverflow = FALSE;
};

KyRTFPage& operator<<(KyRTFPage& page, const KyRTFXYFrame& frame);
KyRTFPage& operator<<(KyRTFPage& page, const KyRTFRegion& region);
KyRTFRegion& operator<<(KyRTFRegion& region, const KyRTFXYFrame& frame);
