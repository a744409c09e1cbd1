// ChooseColorA, headless: the colour a person would pick comes from the
// script ("#RRGGBB", "#RRGGBB@slot" also defining custom colour `slot`).
#include "dialogscript.h"

#include <charconv>
#include <string>

namespace win32::comdlg {
namespace {

constexpr int kCustomColours = 16;

struct ColourAnswer {
  COLORREF color;
  int slot;  // -1: no custom colour defined
};

// "#RRGGBB" with an optional "@slot"; nullopt for anything else.
std::optional<ColourAnswer> parseColour(const std::string& text) {
  if (text.size() < 7 || text[0] != '#') return std::nullopt;
  unsigned rgb = 0;
  auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
  if (ec != std::errc() || end != text.data() + 7) return std::nullopt;
  ColourAnswer answer{RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF), -1};
  if (text.size() == 7) return answer;
  if (text[7] != '@') return std::nullopt;
  int slot = -1;
  auto [slotEnd, slotEc] = std::from_chars(text.data() + 8, text.data() + text.size(), slot);
  if (slotEc != std::errc() || slotEnd != text.data() + text.size() || slot < 0 || slot >= kCustomColours)
    return std::nullopt;
  answer.slot = slot;
  return answer;
}

}  // namespace
}  // namespace win32::comdlg

extern "C" BOOL WINAPI ChooseColorA(LPCHOOSECOLORA lpcc) {
  using namespace win32::comdlg;
  if (!lpcc) {
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  if (!checkStructSize(lpcc->lStructSize, sizeof(CHOOSECOLORA))) return FALSE;
  if (!lpcc->lpCustColors) {  // the dialog shows and keeps them: it needs the array
    setExtendedError(CDERR_INITIALIZATION);
    return FALSE;
  }
  win32::script::announce("[colour dialog]");
  for (;;) {
    std::optional<std::string> answer = colorAnswers().next();
    if (!answer || *answer == kCancel) {
      win32::script::announce("  cancelled");
      setExtendedError(0);
      return FALSE;
    }
    std::optional<ColourAnswer> colour = parseColour(*answer);
    if (!colour) {
      win32::script::announce("  refused: not a colour: " + *answer);
      continue;
    }
    if (colour->slot >= 0) lpcc->lpCustColors[colour->slot] = colour->color;
    lpcc->rgbResult = colour->color;
    win32::script::announce("  chose " + *answer);
    setExtendedError(0);
    return TRUE;
  }
}
