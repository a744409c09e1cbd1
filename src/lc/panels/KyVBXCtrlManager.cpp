// The VBX controls of a panel window.
#include "KyVBXCtrlManager.h"

#include "KyFncMessage.h"
#include "KyVBXPropertyParser.h"

#include <mscrt.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr UINT kMsgUnknownEvent = 57410;
constexpr UINT kMsgNotCreated = 57411;

}  // namespace

bool KyVBXCtrlManager::NameLess::operator()(const KyString& a, const KyString& b) const {
  return _stricmp(a.GetString(), b.GetString()) < 0;
}

KyVBXCtrlManager::KyVBXCtrlManager(HWND hPanelWnd) : m_hPanelWnd(hPanelWnd) {}

KyVBXCtrlManager::~KyVBXCtrlManager() {
  m_ById.clear();
  m_ByName.clear();
}

UINT KyVBXCtrlManager::EventMessage() {
  static const UINT message = RegisterWindowMessageA(VBX_EVENT_MESSAGE);
  return message;
}

KyString KyVBXCtrlManager::resolveFile(const char* pszFile) const {
  OFSTRUCT info{};
  if (OpenFile(pszFile, &info, OF_EXIST) != HFILE_ERROR) return KyString(pszFile);
  // Not there as given: the name and extension alone.
  const char* name = pszFile;
  for (const char* p = pszFile; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return KyString(name);
}

int KyVBXCtrlManager::CreateVBXCtrl(const char* pszFile, const char* pszClass, const char* pszText, int x, int y,
                                    int cx, int cy, const char* pszName) {
  if (!pszName || GetControl(pszName)) return 0;
  const char* file = pszFile ? pszFile : "";
  const char* cls = pszClass ? pszClass : "";
  auto pControl = std::make_unique<KyBIVBXControl>(&m_Pictures);
  // The library may change the panel window's style while it makes the
  // control: the panel keeps its own.
  const LONG style = GetWindowLongA(m_hPanelWnd, GWL_STYLE);
  const UINT nId = m_nNextId;
  const int created = pControl->Create(resolveFile(file), cls, pszText, x, y, cx, cy, m_hPanelWnd, nId);
  SetWindowLongA(m_hPanelWnd, GWL_STYLE, style);
  if (!created) {
    KyShowMessageBox(KyFormatMessageId(kMsgNotCreated, {file, cls}), MB_ICONSTOP);
    return 0;
  }
  ++m_nNextId;
  auto pEntry = std::make_unique<KyVBXControl>(pszName, std::move(pControl));
  m_ById[nId] = pEntry.get();
  m_ByName[KyString(pszName)] = std::move(pEntry);
  return 1;
}

KyBIVBXControl* KyVBXCtrlManager::GetControl(const char* pszName) const {
  if (!pszName) return nullptr;
  auto it = m_ByName.find(KyString(pszName));
  return it == m_ByName.end() ? nullptr : it->second->GetControl();
}

int KyVBXCtrlManager::SetProperty(const char* pszName, const char* pszText) {
  KyBIVBXControl* pControl = GetControl(pszName);
  std::vector<KyVBXPropertyPair> pairs;
  if (!pControl || !KyVBXPropertyParser().Parse(pszText, pairs)) return 0;
  int result = 1;
  for (const KyVBXPropertyPair& pair : pairs) {
    KyBIVBXControl::Category category;
    int done = 0;
    if (pControl->GetCategory(pair.name, category)) {
      switch (category) {
        case KyBIVBXControl::CategoryString: done = pControl->SetStrProperty(pair.name, pair.value); break;
        case KyBIVBXControl::CategoryNumber:
          done = pControl->SetNumProperty(pair.name, static_cast<LONG>(std::atol(pair.value)));
          break;
        case KyBIVBXControl::CategoryFloat:
          done = pControl->SetFloatProperty(pair.name, static_cast<float>(std::atof(pair.value)));
          break;
        case KyBIVBXControl::CategoryPicture: done = pControl->SetPictureProperty(pair.name, pair.value); break;
      }
    }
    if (!done) result = 0;
  }
  return result;
}

int KyVBXCtrlManager::RegisterEvents(const char* pszName, const char* pszText) {
  auto it = pszName ? m_ByName.find(KyString(pszName)) : m_ByName.end();
  std::vector<KyVBXPropertyPair> pairs;
  if (it == m_ByName.end() || !KyVBXPropertyParser().Parse(pszText, pairs)) return 0;
  KyVBXControl& entry = *it->second;
  int result = 1;
  for (const KyVBXPropertyPair& pair : pairs) {
    const int index = entry.GetControl()->GetEventIndex(pair.name);
    if (index < 0) {
      KyShowMessageBox(KyFormatMessageId(kMsgUnknownEvent, {pair.name.GetString(), entry.GetName().GetString()}),
                       MB_ICONSTOP);
      result = 0;
      continue;
    }
    entry.GetEvents()[static_cast<WORD>(index)] = pair.value;
  }
  return result;
}

const char* KyVBXCtrlManager::MapEvent(UINT nId, int iEventIndex) {
  auto it = m_ById.find(nId);
  if (it == m_ById.end() || iEventIndex < 0 || iEventIndex > 0xFFFF) return nullptr;
  auto& events = it->second->GetEvents();
  auto event = events.find(static_cast<WORD>(iEventIndex));
  if (event == events.end()) return nullptr;
  m_pEventSource = it->second;
  return event->second.GetString();
}
