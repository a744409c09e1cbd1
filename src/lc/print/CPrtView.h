// CPrtView: the view of a report. It owns the print device, starts
// spooling on a printer device context (StartReport), and at the end of the
// report (EndReport) shows the choice dialog, prints, or opens the print
// preview; printing and preview replay the spool file page by page through
// the framework's printing steps.
//
// One report view is current at a time: the newest one, until it goes.
#pragma once

#include <afxwin.h>

#include <memory>

#include "KyPrintDev.h"

class KyPreviewView;

// The command that starts a report on the view.
constexpr UINT ID_KY_START_REPORT = 32771;

class CPrtView : public CView {
  DECLARE_DYNCREATE(CPrtView)
 public:
  CPrtView();
  ~CPrtView() override;

  static CPrtView* GetCurrent();
  KyPrintDev* GetDevice() { return &m_Dev; }
  // The device counts as ready only while it has a device context.
  BOOL IsReady() const { return m_Dev.GetDC() != nullptr; }

  void StartReport();
  // Mode 0: the choice dialog; 1: print now and close the frame; 2: preview.
  void EndReport(int iMode);
  void ShowPreview();
  void SetPreview(KyPreviewView* pPreview) { m_pPreview = pPreview; }
  KyPreviewView* GetPreview() const { return m_pPreview; }
  BOOL GetCloseAfterPreview() const { return m_fCloseAfterPreview; }

  void OnDraw(CDC* pDC) override {}
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView) override;

  afx_msg void OnStartReport() { StartReport(); }
  afx_msg void OnPrint() { OnFilePrint(); }
  afx_msg void OnPrintPreview() { ShowPreview(); }
  DECLARE_MESSAGE_MAP()

 private:
  void freeReportContext();

  KyPrintDev m_Dev;
  std::unique_ptr<CPrintInfo> m_pInfo;
  std::unique_ptr<CDC> m_pDC;
  BOOL m_fCloseAfterPreview = TRUE;
  KyPreviewView* m_pPreview = nullptr;
  HWND m_hMainBeforePreview = nullptr;
};
