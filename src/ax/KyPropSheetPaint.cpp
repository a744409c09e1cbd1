// Drawing the property list's rows: the state picture and the name, then
// the value (colour entries with a swatch), grey grid lines between rows
// and between the columns.
#include <cstdlib>

#include "KyPropSheet.h"

namespace {

constexpr COLORREF kGridLight = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kGridDark = RGB(0x80, 0x80, 0x80);
constexpr int kPictureWidth = 18;

// An OLE_COLOR: a system colour when the top bit is set.
COLORREF colourOf(const CString& text) {
  const unsigned long value = std::strtoul(text, nullptr, 0);
  if (value & 0x80000000UL) return ::GetSysColor(static_cast<int>(value & 0xFF));
  return static_cast<COLORREF>(value & 0xFFFFFF);
}

void line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::MoveToEx(dc, x0, y0, nullptr);
  ::LineTo(dc, x1, y1);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

void drawPicture(HDC dc, HBITMAP picture, int x, const RECT& row) {
  if (!picture) return;
  BITMAP info{};
  ::GetObjectA(picture, sizeof info, &info);
  HDC source = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(source, picture);
  ::TransparentBlt(dc, x, (row.top + row.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight, source, 0, 0,
                   info.bmWidth, info.bmHeight, RGB(255, 0, 255));
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

}  // namespace

HBITMAP KyPropSheet::stateBitmap(const KyPropEntry& entry) const {
  if (entry.m_error) return m_bitmaps[1];
  if (entry.m_modified) return m_bitmaps[0];
  if (!entry.m_editable || m_readOnly) return m_bitmaps[2];
  return nullptr;
}

void KyPropSheet::DrawItem(LPDRAWITEMSTRUCT item) {
  if (item->itemID == static_cast<UINT>(-1)) return;
  const auto* entry = reinterpret_cast<const KyPropEntry*>(item->itemData);
  if (!entry) return;
  HDC dc = item->hDC;
  const RECT row = item->rcItem;
  const bool selected = item->itemState & ODS_SELECTED;
  HGDIOBJ oldFont = ::SelectObject(dc, m_font ? m_font : ::GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);

  RECT name{row.left, row.top, row.left + m_nameWidth, row.bottom - 1};
  RECT value{row.left + m_nameWidth + 1, row.top, row.right, row.bottom - 1};
  ::FillRect(dc, &name, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::FillRect(dc, &value, ::GetSysColorBrush(COLOR_WINDOW));

  drawPicture(dc, stateBitmap(*entry), name.left + 1, row);
  RECT nameText = name;
  nameText.left += kPictureWidth;
  ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::DrawTextA(dc, entry->m_name, -1, &nameText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  RECT valueText = value;
  valueText.left += 3;
  if (dynamic_cast<const KyPropEntryCOLOR*>(entry)) {
    RECT swatch{valueText.left, row.top + 3, valueText.left + 20, row.bottom - 4};
    HBRUSH fill = ::CreateSolidBrush(colourOf(entry->m_value));
    ::FillRect(dc, &swatch, fill);
    ::DeleteObject(fill);
    ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    valueText.left = swatch.right + 4;
  }
  ::SetTextColor(dc, ::GetSysColor(entry->m_editable && !m_readOnly ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  ::DrawTextA(dc, entry->GetDisplayValue(), -1, &valueText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  line(dc, kGridLight, row.left, row.bottom - 1, row.right, row.bottom - 1);
  line(dc, kGridDark, row.left + m_nameWidth, row.top, row.left + m_nameWidth, row.bottom);
  ::SetBkMode(dc, oldMode);
  ::SelectObject(dc, oldFont);
}
