#include "KyPrintDlg.h"

#include "KyPrint.h"

namespace {

constexpr UINT kPreviewButton = 10;
constexpr UINT kPrintButton = 11;
constexpr UINT kSetupButton = 12;

}  // namespace

BEGIN_MESSAGE_MAP(KyPrintDlg, CDialog)
  ON_COMMAND(kPreviewButton, OnPreview)
  ON_COMMAND(kPrintButton, OnPrint)
  ON_COMMAND(kSetupButton, OnSetup)
END_MESSAGE_MAP()

KyPrintDlg::KyPrintDlg(CView* pView)
    : CDialog(IDD, pView ? pView->GetParentFrame() : nullptr), m_pFrame(pView ? pView->GetParentFrame() : nullptr) {}

void KyPrintDlg::OnPreview() {
  EndDialog(1);
  if (m_pFrame) m_pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
}

void KyPrintDlg::OnPrint() {
  EndDialog(1);
  if (!m_pFrame) return;
  m_pFrame->SendMessage(WM_COMMAND, ID_FILE_PRINT);
  m_pFrame->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
}

void KyPrintDlg::OnSetup() { KyPrint::Setup(); }

void KyPrintDlg::OnCancel() {
  EndDialog(2);
  if (m_pFrame) m_pFrame->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
}
