#include "KyStateWin.h"

#include <afxwin.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "KyApp.h"
#include "KyPanel.h"
#include "KyProfile.h"
#include "KyResourceScope.h"
#include "KyResourceServer.h"
#include "KyResourceStrings.h"

namespace {

constexpr UINT kDefaultFontId = 57347;  // the language library's panel font

// "x, y" split at blanks and commas; missing parts are 0.
void readPair(const std::string& text, int& a, int& b) {
  std::string copy = text;
  int values[2] = {0, 0};
  int n = 0;
  char* save = nullptr;
  for (char* p = strtok_r(copy.data(), " ,", &save); p && n < 2; p = strtok_r(nullptr, " ,", &save))
    values[n++] = std::atoi(p);
  a = values[0];
  b = values[1];
}

// Decimal or 0x hexadecimal; "-1" is the 32-bit all-ones "no colour".
DWORD readNumber(const std::string& text) { return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 0)); }

// [Window Options] "Check control size on state change", read once per process.
bool relayoutOnStateChange() {
  static const bool fCheck = KyGetProfileBool("Window Options", "Check control size on state change", 0) != 0;
  return fCheck;
}

}  // namespace

KyStateWin::~KyStateWin() {
  if (m_hFont) KyReleaseFont(m_hFont);
}

KyStateWin::Entry& KyStateWin::entry(int iField) {
  if (iField >= static_cast<int>(m_Entries.size())) m_Entries.resize(iField + 1);
  return m_Entries[iField];
}

void KyStateWin::setEntry(int iField, const std::string& value, int iState) {
  Entry& e = entry(iField);
  e.stateId = iState;
  e.changed = !e.hasText || e.text != value;
  e.hasText = true;
  e.isDefault = false;
  e.text = value;
  m_fChangedAny = m_fChangedAny || e.changed;
}

const char* KyStateWin::GetFieldText(int iField) const {
  if (iField < 0 || iField >= static_cast<int>(m_Entries.size()) || !m_Entries[iField].hasText) return nullptr;
  return m_Entries[iField].text.c_str();
}

void KyStateWin::LoadState(int iId, KyPanel* pPanel) {
  KyResourceScope scope(pPanel);
  m_fChangedAny = false;
  m_iCurrentState = iId;
  std::string layout = pszGetResourceString(static_cast<UINT>(iId), pPanel);
  // A state without a layout string changes nothing: applying defaults to
  // every field would hide and shrink the object.
  if (layout.empty()) return;
  const char delimiter = layout[0];
  size_t pos = 1;
  while (pos <= layout.size()) {
    size_t end = layout.find(delimiter, pos);
    if (end == std::string::npos) end = layout.size();
    std::string piece = layout.substr(pos, end - pos);
    pos = end + 1;
    size_t colon = piece.find(':');
    if (piece.empty() || colon == std::string::npos) continue;
    int iField = std::atoi(piece.c_str());
    if (iField < 0) continue;
    setEntry(iField, piece.substr(colon + 1), iId);
  }
  // Fields this state does not name lose their text.
  for (Entry& e : m_Entries) {
    // A default stays: it reads the same again.
    if (e.stateId == iId || e.isDefault) continue;
    e.changed = e.hasText;
    m_fChangedAny = m_fChangedAny || e.changed;
    e.hasText = false;
    e.text.clear();
    e.stateId = -1;
  }
}

const std::string& KyStateWin::readField(int iField, bool& changed) {
  Entry& e = entry(iField);
  if (!e.hasText) {
    switch (iField) {
      case FieldFlags: e.text = "YYN"; break;  // reads as the number 0
      case FieldPosition:
      case FieldSize: e.text = "0,0"; break;
      case FieldTextColor:
      case FieldBackColor: e.text = "-1"; break;
      case FieldFont: e.text = m_DefaultFont; break;
      case FieldNumber: e.text = "0"; break;
      default: e.text.clear();
    }
    e.hasText = true;
    e.isDefault = true;
    e.changed = true;
  }
  changed = e.changed;
  return e.text;
}

// The new font is set before the old one is released: the object never
// holds a deleted font, and a font shared with the old state survives.
void KyStateWin::applyFont(const std::string& description) {
  HFONT hOld = m_hFont;
  m_hFont = hKyGetFont(description.c_str());
  SetFont(m_hFont);
  if (hOld) KyReleaseFont(hOld);
}

void KyStateWin::SetState(int iId) {
  KyPanel* pPanel = GetPanel();
  // The default font is the language library's, read before the panel's
  // library becomes the resource module.
  KyApp* pApp = KyApp::GetApp();
  m_DefaultFont = pApp ? pApp->pszGetResourceString(kDefaultFontId) : "";
  KyResourceScope scope(pPanel);
  LoadState(iId, pPanel);
  const bool forced = IsGridCell() != 0;
  if (!forced && !m_fChangedAny) return;
  // readField hands out references into the table: it must not grow now.
  entry(FieldSecondPicture);

  bool changed = false;
  bool repaint = false;
  const std::string& flags = readField(FieldFlags, changed);
  if (changed || forced) {
    m_dwFlags = static_cast<DWORD>(std::atol(flags.c_str()));
    SetVisible((m_dwFlags & FlagVisible) ? 1 : 0);
    SetEnabled((m_dwFlags & FlagEnabled) ? 1 : 0);
    SetProtected((m_dwFlags & FlagProtected) ? 1 : 0);
  }
  const std::string& text = readField(FieldText, changed);
  if (changed || forced) SetText(text.c_str());
  const std::string& back = readField(FieldBackColor, changed);
  if (changed || forced) {
    m_crBack = readNumber(back);
    SetBackColor(m_crBack);
    repaint = true;
  }
  const std::string& fore = readField(FieldTextColor, changed);
  if (changed || forced) {
    m_crText = readNumber(fore);
    SetTextColor(m_crText);
    repaint = true;
  }
  const std::string& size = readField(FieldSize, changed);
  if (changed || forced) {
    int cx = 0, cy = 0;
    readPair(size, cx, cy);
    SetSize(cx, cy);
  }
  const std::string& position = readField(FieldPosition, changed);
  if (changed || forced) {
    int x = 0, y = 0;
    readPair(position, x, y);
    SetPosition(x, y);
  }
  const std::string& font = readField(FieldFont, changed);
  if (changed || forced) {
    applyFont(font);
    repaint = true;
  }
  bool firstChanged = false, secondChanged = false;
  const std::string first = readField(FieldFirstPicture, firstChanged);
  const std::string second = readField(FieldSecondPicture, secondChanged);
  if (!first.empty()) {
    if (firstChanged || forced) {
      SetFirstPicture(first.c_str());
      repaint = true;
    }
  } else if (secondChanged || firstChanged || forced) {
    SetSecondPicture(second.c_str());
    repaint = true;
  }
  const std::string& stateText = readField(FieldStateText, changed);
  if (changed || forced) SetStateText(stateText.c_str());
  m_dwNumber = readNumber(readField(FieldNumber, changed));

  // Every field read now matches the object.
  for (Entry& e : m_Entries) e.changed = false;
  if (repaint) Repaint();
  if (pPanel && relayoutOnStateChange()) pPanel->LayoutControls();
  m_fKeepState = 0;
}

void KyStateWin::SetAuxData(const KyAuxCtrlInfo& aux) {
  m_iContextMenu1 = aux.contextMenu1;
  m_iContextMenu2 = aux.contextMenu2;
  SetTextLimit(aux.textLimit);
  KyPanel* pPanel = GetPanel();
  using Setter = void (KyStateWin::*)(const char*);
  const struct {
    int16_t id;
    Setter setter;
  } texts[] = {{aux.minimumId, &KyStateWin::SetMinimum},
               {aux.maximumId, &KyStateWin::SetMaximum},
               {aux.incrementId, &KyStateWin::SetIncrement}};
  for (const auto& t : texts) {
    if (t.id == 0) continue;
    // The result text is shared and changes with the next look-up.
    std::string copy = pszGetResourceString(static_cast<UINT>(static_cast<uint16_t>(t.id)), pPanel);
    (this->*t.setter)(copy.c_str());
  }
}

void KyStateWin::DisplayContextMenu(int iMenu, UINT uFlags, int x, int y) {
  KyPanel* pPanel = GetPanel();
  if (iMenu <= 0 || !pPanel) return;
  HMENU hPopups = pPanel->GetPopupsMenu();
  HMENU hSub = hPopups ? GetSubMenu(hPopups, iMenu - 1) : nullptr;
  if (!hSub) return;
  pPanel->SetShowingContextMenu(1);
  TrackPopupMenu(hSub, uFlags, x, y, 0, pPanel->hHandle(), nullptr);
  pPanel->SetShowingContextMenu(0);
}
