// Dialog data exchange: UpdateData, the DDX_ transfers and the DDV_ checks.
// Failures tell the user with the framework's prompts (string resources,
// see afx.rc) and put the focus back on the control.
#include "afxstate.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  // The controls' change notifications while values move are not the
  // user's: OnCommand drops them.
  afx::ThreadState& state = afx::threadState();
  HWND hWndOldLockout = state.hLockoutNotifyWindow;
  state.hLockoutNotifyWindow = m_hWnd;
  BOOL bOK = FALSE;
  try {
    DoDataExchange(&dx);
    bOK = TRUE;
  } catch (CUserException* e) {
    e->Delete();  // the user was told already
  } catch (CException* e) {
    e->ReportError(MB_ICONEXCLAMATION, AFX_IDP_INTERNAL_FAILURE);
    e->Delete();
  }
  state.hLockoutNotifyWindow = hWndOldLockout;
  return bOK;
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!hWndCtrl) AfxThrowNotSupportedException();  // no such control in the dialog
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {

CString windowText(HWND hWnd) {
  int nLen = ::GetWindowTextLengthA(hWnd);
  CString text;
  nLen = ::GetWindowTextA(hWnd, text.GetBuffer(nLen + 1), nLen + 1);
  text.ReleaseBuffer(nLen);
  return text;
}

// The number part of `text` without the blanks around it; empty when
// something else is there.
std::string trimmed(const CString& text) {
  std::string s = (LPCSTR)text;
  size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// A whole signed or unsigned decimal number within [minValue, maxValue].
bool parseInteger(const CString& text, bool isSigned, long long minValue, long long maxValue, long long& out) {
  std::string s = trimmed(text);
  if (s.empty()) return false;
  if (!isSigned && s[0] == '-') return false;
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || end == s.c_str() || *end != '\0') return false;
  if (value < minValue || value > maxValue) return false;
  out = value;
  return true;
}

bool parseReal(const CString& text, double& out) {
  std::string s = trimmed(text);
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double value = std::strtod(s.c_str(), &end);
  if (errno == ERANGE || end == s.c_str() || *end != '\0' || !std::isfinite(value)) return false;
  out = value;
  return true;
}

[[noreturn]] void failWithPrompt(CDataExchange* pDX, UINT nIDPrompt) {
  AfxMessageBox(nIDPrompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

template <class T>
void exchangeInteger(CDataExchange* pDX, int nIDC, T& value, bool isSigned, long long minValue, long long maxValue,
                     UINT nIDPrompt) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    long long parsed = 0;
    if (!parseInteger(windowText(hWndCtrl), isSigned, minValue, maxValue, parsed)) failWithPrompt(pDX, nIDPrompt);
    value = (T)parsed;
  } else {
    char text[32];
    if (isSigned) std::snprintf(text, sizeof text, "%lld", (long long)value);
    else std::snprintf(text, sizeof text, "%llu", (unsigned long long)value);
    AfxSetWindowText(hWndCtrl, text);
  }
}

// The failure of a range check: only when saving (initial values out of
// range are shown as they are).
void failMinMax(CDataExchange* pDX, const char* minText, const char* maxText, UINT nIDPrompt) {
  if (!pDX->m_bSaveAndValidate) return;
  CString prompt;
  AfxFormatString2(prompt, nIDPrompt, minText, maxText);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, nIDPrompt);
  pDX->Fail();
}

void failMinMaxInteger(CDataExchange* pDX, long long minVal, long long maxVal, bool isSigned) {
  char minText[32], maxText[32];
  std::snprintf(minText, sizeof minText, isSigned ? "%lld" : "%llu", minVal);
  std::snprintf(maxText, sizeof maxText, isSigned ? "%lld" : "%llu", maxVal);
  failMinMax(pDX, minText, maxText, AFX_IDP_PARSE_INT_RANGE);
}

// Combo and list boxes: the selection's text, or the edit text.
CString itemText(HWND hWndCtrl, UINT getLength, UINT getText, int nIndex) {
  CString text;
  int nLen = (int)::SendMessageA(hWndCtrl, getLength, (WPARAM)nIndex, 0);
  if (nLen < 0) return text;
  nLen = (int)::SendMessageA(hWndCtrl, getText, (WPARAM)nIndex, reinterpret_cast<LPARAM>(text.GetBuffer(nLen + 1)));
  text.ReleaseBuffer(nLen < 0 ? 0 : nLen);
  return text;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = windowText(hWndCtrl);
  else AfxSetWindowText(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  exchangeInteger(pDX, nIDC, value, true, INT32_MIN, INT32_MAX, AFX_IDP_PARSE_INT);
}
// DWORD is UINT here (both 32 bits): one overload serves both.
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  exchangeInteger(pDX, nIDC, value, false, 0, UINT32_MAX, AFX_IDP_PARSE_UINT);
}
// A Windows LONG is 32 bits; the framework's long is that LONG.
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  exchangeInteger(pDX, nIDC, value, true, INT32_MIN, INT32_MAX, AFX_IDP_PARSE_INT);
}
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
  exchangeInteger(pDX, nIDC, value, false, 0, 255, AFX_IDP_PARSE_BYTE);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    double parsed = 0;
    if (!parseReal(windowText(hWndCtrl), parsed)) failWithPrompt(pDX, AFX_IDP_PARSE_REAL);
    value = parsed;
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", DBL_DIG, value);
    AfxSetWindowText(hWndCtrl, text);
  }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
  } else {
    if (value < 0 || value > 2) value = 0;  // not a check state
    ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  // The group runs from nIDC to the next control with WS_GROUP; only radio
  // buttons count.
  int iButton = 0;
  do {
    if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0 && value == -1) value = iButton;
      } else {
        ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
      }
      ++iButton;
    }
    hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
  } while (hWndCtrl && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) index = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
  else ::SendMessageA(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) index = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
  else ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

static void exchangeComboString(CDataExchange* pDX, int nIDC, CString& value, UINT selectMessage) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    // The edit text; a drop-down list has none and gives its selection.
    if (::GetWindowTextLengthA(hWndCtrl) > 0) {
      value = windowText(hWndCtrl);
    } else {
      int nIndex = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
      value = nIndex != CB_ERR ? itemText(hWndCtrl, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex) : CString();
    }
  } else {
    int nIndex = -1;
    if (selectMessage == CB_SELECTSTRING) {
      nIndex = (int)::SendMessageA(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, reinterpret_cast<LPARAM>((LPCSTR)value));
    } else {
      nIndex = (int)::SendMessageA(hWndCtrl, CB_FINDSTRINGEXACT, (WPARAM)-1, reinterpret_cast<LPARAM>((LPCSTR)value));
      if (nIndex != CB_ERR) ::SendMessageA(hWndCtrl, CB_SETCURSEL, (WPARAM)nIndex, 0);
    }
    // No item of that text: the edit shows it (a drop-down list ignores it).
    if (nIndex == CB_ERR) AfxSetWindowText(hWndCtrl, value);
  }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) { exchangeComboString(pDX, nIDC, value, CB_SELECTSTRING); }
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value) {
  exchangeComboString(pDX, nIDC, value, CB_FINDSTRINGEXACT);
}

static void exchangeListString(CDataExchange* pDX, int nIDC, CString& value, bool exact) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nIndex = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    value = nIndex != LB_ERR ? itemText(hWndCtrl, LB_GETTEXTLEN, LB_GETTEXT, nIndex) : CString();
  } else {
    int nIndex;
    if (exact) {
      nIndex = (int)::SendMessageA(hWndCtrl, LB_FINDSTRINGEXACT, (WPARAM)-1, reinterpret_cast<LPARAM>((LPCSTR)value));
      if (nIndex != LB_ERR) ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)nIndex, 0);
    } else {
      nIndex = (int)::SendMessageA(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, reinterpret_cast<LPARAM>((LPCSTR)value));
    }
    // No item of that text: nothing stays selected.
    if (nIndex == LB_ERR) ::SendMessageA(hWndCtrl, LB_SETCURSEL, (WPARAM)-1, 0);
  }
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) { exchangeListString(pDX, nIDC, value, false); }
void DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value) { exchangeListString(pDX, nIDC, value, true); }

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;  // subclassed at an earlier exchange
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    char limit[16];
    std::snprintf(limit, sizeof limit, "%d", nChars);
    CString prompt;
    AfxFormatString1(prompt, AFX_IDP_PARSE_STRING_SIZE, limit);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
    pDX->Fail();
  } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
    // Loading: the edit takes no more than the limit from the user.
    ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
  }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (value < minVal || value > maxVal) failMinMaxInteger(pDX, minVal, maxVal, true);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
  if (value < minVal || value > maxVal) failMinMaxInteger(pDX, minVal, maxVal, true);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (value < minVal || value > maxVal) failMinMaxInteger(pDX, minVal, maxVal, false);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
  if (value < minVal || value > maxVal) failMinMaxInteger(pDX, minVal, maxVal, false);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal) {
  if (value >= minVal && value <= maxVal) return;
  char minText[64], maxText[64];
  std::snprintf(minText, sizeof minText, "%.*g", DBL_DIG, minVal);
  std::snprintf(maxText, sizeof maxText, "%.*g", DBL_DIG, maxVal);
  failMinMax(pDX, minText, maxText, AFX_IDP_PARSE_REAL_RANGE);
}
