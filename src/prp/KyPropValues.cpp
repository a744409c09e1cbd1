// Colours and file names from the property record's value texts.
#include "KyPropValues.h"

#include "KyPropTables.h"

#include <commdlg.h>

#include <cstdlib>
#include <cstring>

namespace kyprop {
namespace {

const char* text(const KyPropertyAtom& r, int i) { return r.pszValue[i] ? r.pszValue[i] : ""; }

}  // namespace

std::optional<COLORREF> colorFromValues(const KyPropertyAtom& r) {
  const char* first = text(r, 0);
  if (std::strcmp(first, "*RGB") == 0) {
    const int red = std::atoi(text(r, 1)) & 0xFF, green = std::atoi(text(r, 2)) & 0xFF,
              blue = std::atoi(text(r, 3)) & 0xFF;
    return static_cast<COLORREF>(red | green << 8 | blue << 16);
  }
  if (std::strcmp(first, "*DIALOG") == 0) {
    COLORREF custom[16] = {};  // the provider keeps nothing between calls
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = r.hWnd;
    choose.lpCustColors = custom;
    if (!ChooseColorA(&choose)) return std::nullopt;
    return choose.rgbResult;
  }
  if (std::strcmp(first, "*USER") == 0) return static_cast<COLORREF>(std::atol(text(r, 1)));
  const auto named = lookUp(predefinedColors, first, r.hWnd);
  if (!named) return std::nullopt;
  return static_cast<COLORREF>(*named);
}

std::optional<std::string> fileFromValue(const KyPropertyAtom& r, const char* filter) {
  const char* first = text(r, 0);
  if (std::strcmp(first, "*DIALOG") != 0) return std::string(first);
  // The filter's '|' separators become the zeros the dialog reads.
  std::string filters(filter);
  for (char& c : filters)
    if (c == '|') c = '\0';
  char path[MAX_PATH] = {};
  OPENFILENAMEA open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = r.hWnd;
  open.lpstrFilter = filters.c_str();
  open.lpstrFile = path;
  open.nMaxFile = sizeof path;
  open.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetOpenFileNameA(&open)) return std::nullopt;
  return std::string(path);
}

}  // namespace kyprop
