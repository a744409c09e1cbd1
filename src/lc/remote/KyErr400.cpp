#include "KyErr400.h"

#include <afxmsg.h>

#include <string>
#include <vector>

#include "KyApp.h"
#include "KyCallMgr.h"
#include "KyConversation.h"
#include "KyFncMessage.h"

namespace {

constexpr UINT kCodeNamePrefixId = 57418;
constexpr int kSystem = 1001, kProgram = 1002, kLibrary = 1003, kJobDescription = 1004, kBufferSize = 1005,
              kMessage = 1006, kUserId = 1008, kModeNone = 1022, kModeHost = 1023, kModeCodePage = 1024,
              kIcon = 1027, kCodePageList = 1060, kCodePageLabel = 1129;
constexpr UINT kErrorIconId = 13, kInformationIconId = 11;
constexpr UINT kMsgTestSucceeded = 0xE022, kMsgTestFailed = 0xE023;
constexpr int kTest = 1030;

const KyErr400::CodePage kNamedCodePages[] = {
    {101, "1140/1252 English (United States)"}, {111, "1146/1252 English (United Kingdom)"},
    {121, "0420/1256 Arabic"},                   {122, "0425/1256 Arabic-POSIX"},
    {371, "1156/1257 Baltic"},                   {131, "0935/0936 Chinese-Simplified"},
    {132, "0937/0950 Chinese-Traditional"},      {261, "1153/1250 Czechoslovakian"},
    {141, "1142/1252 Danish"},                   {381, "1157/1257 Estonian"},
    {151, "1143/1252 Finnish"},                  {161, "1147/1252 French"},
    {171, "1141/1252 German(Germany)"},          {181, "1148/1252 German(Switzerland)"},
    {271, "0875/1253 Greek"},                    {361, "0424/1255 Hebrew"},
    {281, "1153/1250 Hungarian"},                {291, "1149/1252 Icelandic"},
    {191, "1144/1252 Italian"},                  {201, "0930/0932 Japanese-Katakana"},
    {203, "0930/0932 Japanese-Katakana-Extended"}, {202, "0939/0932 Japanese-Latin"},
    {211, "0933/0949 Korean-Standard"},          {301, "1153/1250 Multilingual-Latin2"},
    {221, "1142/1252 Norwegian"},                {311, "1153/1250 Polish"},
    {231, "1140/1252 Portuguese"},               {321, "1025/1251 Russian-Cyrillic"},
    {322, "1025/1252 Russian-Latin"},            {331, "1153/1250 Slovenian"},
    {241, "1145/1252 Spanish"},                  {251, "1143/1252 Swedish"},
    {341, "0838/0874 Thai"},                     {351, "1155/1254 Turkish"},
};

// The tables of releases before 5.5: host and PC code page with a country
// tag, each in an ASCII (8xx) and an ANSI (9xx) form.
struct OldTable {
  const char* host;
  const char* pc;
  const char* tag;
};
const OldTable kOldTables[] = {
    {"037", "437", "US-1"}, {"037", "850", "US-2"}, {"297", "437", "FR-1"}, {"297", "850", "FR-2"},
    {"273", "437", "GR-1"}, {"273", "850", "GR-2"}, {"280", "437", "IT-1"}, {"280", "850", "IT-2"},
    {"277", "865", "NW-1"}, {"277", "850", "NW-2"}, {"284", "437", "SP-1"}, {"284", "850", "SP-2"},
    {"278", "437", "SW-1"}, {"278", "850", "SW-2"}, {"285", "437", "UK-1"}, {"285", "850", "UK-2"},
    {"037", "850", "PT-1"}, {"037", "860", "PT-2"}, {"500", "437", "SG-1"}, {"500", "850", "SG-2"},
};

}  // namespace

const KyErr400::CodePage* KyErr400::CodePages(int* piCount) {
  static const std::vector<std::string> labels = [] {
    std::vector<std::string> v;
    for (const auto& t : kOldTables)
      for (const char* form : {"ASCII", "ANSI"})
        v.push_back(std::string("Pre 5.5 ") + t.host + "/" + t.pc + "(" + t.tag + ")" + form);
    return v;
  }();
  static const std::vector<CodePage> list = [] {
    std::vector<CodePage> v(std::begin(kNamedCodePages), std::end(kNamedCodePages));
    for (int i = 0; i < static_cast<int>(std::size(kOldTables)); ++i) {
      v.push_back({810 + i, labels[2 * i].c_str()});
      v.push_back({910 + i, labels[2 * i + 1].c_str()});
    }
    return v;
  }();
  if (piCount) *piCount = static_cast<int>(list.size());
  return list.data();
}

BEGIN_MESSAGE_MAP(KyErr400, CDialog)
  ON_BN_CLICKED(kTest, OnTest)
  ON_BN_CLICKED(kModeNone, OnModeNone)
  ON_BN_CLICKED(kModeHost, OnModeHost)
  ON_BN_CLICKED(kModeCodePage, OnModeCodePage)
END_MESSAGE_MAP()

KyErr400::KyErr400(CWnd* pParent) : CDialog(kTemplateId, pParent) {}

KyErr400::~KyErr400() = default;

void KyErr400::SetConnection(KyConversation* pConversation, const char* pszMessage, const char* pszCodeName) {
  m_pConversation = pConversation;
  m_strMessage = "";
  if (pszCodeName) {
    KyApp* pApp = KyApp::GetApp();
    m_strMessage = pApp ? pApp->pszGetResourceString(kCodeNamePrefixId) : "";
    m_strMessage += pszCodeName;
    m_strMessage += "\r\n";
  }
  m_strMessage += pszMessage ? pszMessage : "";
  m_pInfo = pConversation ? dynamic_cast<KyRemote400Info*>(pConversation->GetRemoteInfo()) : nullptr;
  KyCallMgr* pCallMgr = KyCallMgr::GetCallMgr(FALSE);
  if (!m_pInfo && !pConversation && pCallMgr)
    m_pInfo = dynamic_cast<KyRemote400Info*>(
        static_cast<KyRemoteInfo*>(pCallMgr->GetRemoteInfoList()->Find(KyRemote400Info::kDefaultLocation)));
  KyRemote400Info* pInfo = record();
  m_strSystem = pInfo->m_strSystem;
  m_strProgram = pInfo->m_strProgram;
  m_strLibrary = pInfo->m_strLibrary;
  m_strJobDescription = pInfo->m_strJobDescription;
  m_strUserId = pInfo->m_strUserId;
  m_iMode = pInfo->m_iDataConversion;
  m_iBufferSize = pInfo->m_iBufferSize;
  m_iCodePage = pInfo->m_iCodePage;
  saveValues();
}

KyRemote400Info* KyErr400::record() {
  if (m_pInfo) return m_pInfo;
  if (!m_pOwnRecord) m_pOwnRecord = std::make_unique<KyRemote400Info>();
  return m_pOwnRecord.get();
}

void KyErr400::saveValues() {
  m_Saved = {m_strSystem, m_strProgram, m_strLibrary, m_strJobDescription, m_strUserId,
             m_iBufferSize, m_iMode,       m_iCodePage};
}

void KyErr400::restoreValues() {
  m_strSystem = m_Saved.system;
  m_strProgram = m_Saved.program;
  m_strLibrary = m_Saved.library;
  m_strJobDescription = m_Saved.jobDescription;
  m_strUserId = m_Saved.userId;
  m_iBufferSize = m_Saved.bufferSize;
  m_iMode = m_Saved.mode;
  m_iCodePage = m_Saved.codePage;
}

BOOL KyErr400::OnInitDialog() {
  if (!m_pInfo && !m_pOwnRecord) SetConnection(nullptr, "", nullptr);
  CDialog::OnInitDialog();
  ::SetDlgItemTextA(m_hWnd, kMessage, m_strMessage);
  fillCodePages();
  setMode(m_iMode);
  showIcon(kErrorIconId);
  return TRUE;
}

void KyErr400::showIcon(UINT nIconId) {
  HINSTANCE hIconModule = AfxFindResourceHandle(MAKEINTRESOURCEA(nIconId), RT_GROUP_ICON);
  if (HICON hIcon = LoadIconA(hIconModule, MAKEINTRESOURCEA(nIconId)))
    ::SendDlgItemMessageA(m_hWnd, kIcon, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
}

void KyErr400::OnTest() {
  if (!UpdateData(TRUE)) return;
  Apply(TRUE);
  int connected = 0;
  if (!m_pConversation) {
    connected = KyConversation::GetConversation(nullptr, 'A', 1) != nullptr;
  } else {
    // The conversation's own record holds the edits: reconnect with them.
    m_pConversation->DeallocateIfAllocated();
    connected = m_pConversation->Allocate();
  }
  showIcon(connected ? kInformationIconId : kErrorIconId);
  m_strMessage = KyFormatMessageId(connected ? kMsgTestSucceeded : kMsgTestFailed);
  ::SetDlgItemTextA(m_hWnd, kMessage, m_strMessage);
}

void KyErr400::fillCodePages() {
  HWND hList = ::GetDlgItem(m_hWnd, kCodePageList);
  int count = 0;
  const CodePage* pages = CodePages(&count);
  for (int i = 0; i < count; ++i) {
    LRESULT index = ::SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pages[i].pszLabel));
    ::SendMessageA(hList, LB_SETITEMDATA, index, pages[i].iSetting);
    if (pages[i].iSetting == m_iCodePage) ::SendMessageA(hList, LB_SETCURSEL, index, 0);
  }
}

// The code page matters only when this computer converts (mode 2).
void KyErr400::setMode(int iMode) {
  m_iMode = iMode;
  ::CheckRadioButton(m_hWnd, kModeNone, kModeCodePage, kModeNone + (iMode >= 0 && iMode <= 2 ? iMode : 1));
  ::EnableWindow(::GetDlgItem(m_hWnd, kCodePageList), iMode == 2);
  ::EnableWindow(::GetDlgItem(m_hWnd, kCodePageLabel), iMode == 2);
}

void KyErr400::OnModeNone() { setMode(0); }
void KyErr400::OnModeHost() { setMode(1); }
void KyErr400::OnModeCodePage() { setMode(2); }

void KyErr400::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, kSystem, m_strSystem);
  DDX_Text(pDX, kProgram, m_strProgram);
  DDX_Text(pDX, kLibrary, m_strLibrary);
  DDX_Text(pDX, kJobDescription, m_strJobDescription);
  DDX_Text(pDX, kUserId, m_strUserId);
  DDX_Text(pDX, kBufferSize, m_iBufferSize);
  DDV_MinMaxInt(pDX, m_iBufferSize, 1, 16);
}

void KyErr400::Apply(BOOL fWrite) {
  KyRemote400Info* pInfo = record();
  pInfo->m_strSystem = m_strSystem;
  pInfo->m_strProgram = m_strProgram;
  pInfo->m_strLibrary = m_strLibrary;
  pInfo->m_strJobDescription = m_strJobDescription;
  pInfo->m_strUserId = m_strUserId;
  pInfo->m_iDataConversion = m_iMode;
  pInfo->m_iBufferSize = m_iBufferSize;
  if (m_hWnd) {
    HWND hList = ::GetDlgItem(m_hWnd, kCodePageList);
    LRESULT selected = ::SendMessageA(hList, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) m_iCodePage = static_cast<int>(::SendMessageA(hList, LB_GETITEMDATA, selected, 0));
  }
  pInfo->m_iCodePage = m_iCodePage;
  if (fWrite) pInfo->Write();
}

void KyErr400::OnOK() {
  if (!UpdateData(TRUE)) return;
  Apply(TRUE);
  EndDialog(IDOK);
}

void KyErr400::OnCancel() {
  restoreValues();
  if (m_hWnd) {
    HWND hList = ::GetDlgItem(m_hWnd, kCodePageList);
    int count = static_cast<int>(::SendMessageA(hList, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
      if (::SendMessageA(hList, LB_GETITEMDATA, i, 0) == m_iCodePage) ::SendMessageA(hList, LB_SETCURSEL, i, 0);
  }
  Apply(TRUE);
  EndDialog(IDCANCEL);
}
