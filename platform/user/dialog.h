// The dialog manager's shared pieces: dialog templates read from their
// binary form, and the per-dialog state DefDlgProcA keeps.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace win32::user {

// A "string or ordinal" field of a template.
struct TemplateName {
  std::string text;
  WORD ordinal = 0;  // non-zero: the field was 0xFFFF + this ordinal
  bool empty() const { return text.empty() && ordinal == 0; }
};

struct DialogItemTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  DWORD id = 0;                        // 16 bits in DLGTEMPLATE, 32 in DLGTEMPLATEEX
  TemplateName className;              // ordinals 0x80..0x85: the predefined controls
  TemplateName text;                   // an ordinal names a resource (an icon of a static)
  const BYTE* creationData = nullptr;  // the size word and the bytes after it, as Windows passes them
  WORD creationSize = 0;
};

struct DialogTemplate {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  TemplateName menu;
  TemplateName className;
  std::string title;
  // Present with DS_SETFONT (DS_SHELLFONT): the point size 0x7FFF asks for the message box font.
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = FW_NORMAL;
  BYTE italic = 0;
  BYTE charSet = DEFAULT_CHARSET;
  std::string face;
  std::vector<DialogItemTemplate> items;
};

// Reads a DLGTEMPLATE or DLGTEMPLATEEX of `size` bytes (SIZE_MAX when the
// size is unknown, as for CreateDialogIndirectParamA). nullopt when the
// template ends early or says it has more items than it holds.
std::optional<DialogTemplate> parseDialogTemplate(const void* data, size_t size);

// Whether `hwnd` is a dialog: a window run by DefDlgProcA (made from a
// template or with CreateWindowEx), whose DefDlgProcA moves the focus on
// WM_NEXTDLGCTL and keeps the default button.
bool isDialogWindow(HWND hwnd);

// The class name of a predefined control ordinal (0x80 "Button" .. 0x85
// "ComboBox"), nullptr for another ordinal.
const char* predefinedClassName(WORD ordinal);

}  // namespace win32::user
