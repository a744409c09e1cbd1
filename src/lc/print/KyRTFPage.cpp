#include "KyRTFPage.h"

#include <cstdio>

KyRTFPage::KyRTFPage(KyRTFFile* pFile) : m_pFile(pFile) {
  // Until SetOverflow says otherwise the page has no overflow area: it
  // starts at the end of the writing area.
  m_iOverflow = m_iPaperHeight - m_iBottomMargin - m_iTopMargin;
}

void KyRTFPage::SetSize(CSize size) {
  m_iPaperWidth = size.cx;
  m_iPaperHeight = size.cy;
}

void KyRTFPage::SetMargins(short left, short top, short right, short bottom) {
  m_iLeftMargin = left;
  m_iTopMargin = top;
  m_iRightMargin = right;
  m_iBottomMargin = bottom;
}

void KyRTFPage::SetOverflow(unsigned h) {
  m_iOverflow = m_iPaperHeight - m_iBottomMargin - m_iTopMargin - static_cast<int>(h);
}

void KyRTFPage::SkipToOverFlow() {
  m_y = m_iOverflow;
  m_fOverflow = TRUE;
}

void KyRTFPage::NewPage() {
  if (m_nPages > 0 && m_pFile) {
    m_pFile->Body() << "\\pard\\plain \\page \\par\n";
    m_y = 0;
    OutputPageInfo();
  }
  m_fOverflow = FALSE;
  ++m_nPages;
}

void KyRTFPage::OutputPageInfo() {
  if (!m_pFile) return;
  char info[160];
  std::snprintf(info, sizeof info, "\\paperw%d\\paperh%d \\margl%d\\margr%d\\margt%d\\margb%d", m_iPaperWidth,
                m_iPaperHeight, m_iLeftMargin, m_iRightMargin, m_iTopMargin, m_iBottomMargin);
  m_pFile->Body() << info << (m_fLandscape ? "\\landscape" : "") << "\\par \n";
}

int KyRTFPage::RegionFit(const KyRTFRegion& region) {
  if (m_fOverflow) return 1;
  if (m_iOverflow >= m_y + region.m_iHeight) return 1;
  m_y = m_iOverflow;
  m_fOverflow = TRUE;
  return 0;
}

KyRTFPage& operator<<(KyRTFPage& page, const KyRTFXYFrame& frame) {
  KyRTFXYFrame placed = frame;
  if (!placed.m_fAbsolute) placed.m_y += page.m_y;
  const int rightEdge = page.m_iPaperWidth - page.m_iRightMargin;
  if (placed.m_x > rightEdge) return page;  // beyond the right margin: not written
  if (placed.m_x + placed.m_cx > rightEdge) placed.m_cx = rightEdge - placed.m_x;
  if (page.m_pFile) page.m_pFile->Body() << placed;
  return page;
}

KyRTFPage& operator<<(KyRTFPage& page, const KyRTFRegion& region) {
  for (int i = 1; i <= region.m_nFrames; ++i) {
    auto it = region.m_frames.find(i);
    if (it != region.m_frames.end()) page << it->second;
  }
  if (!region.m_fAbsolute) page.m_y += region.m_iHeight;
  return page;
}

KyRTFRegion& operator<<(KyRTFRegion& region, const KyRTFXYFrame& frame) {
  if (frame.m_fFlags & KyRTFElem::FlagEmpty) return region;
  ++region.m_nFrames;
  region.m_frames[region.m_nFrames] = frame;
  if (frame.m_fAbsolute) region.m_fAbsolute = TRUE;
  return region;
}
