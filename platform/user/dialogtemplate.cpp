// Dialog templates in their binary form.
//
// DLGTEMPLATE: DWORD style, DWORD extended style, WORD item count, short x,
// y, cx, cy; menu, class (string or ordinal) and title (string); with
// DS_SETFONT a WORD point size and the face name. DLGTEMPLATEEX starts with
// WORD 1, WORD 0xFFFF, DWORD help id, then extended style before style, and
// its font adds WORD weight, BYTE italic and BYTE character set. Items start
// on DWORD boundaries: (help id, for EX) style and extended style (in that
// order for DLGTEMPLATE, the other way round for EX), short x, y, cx, cy, the
// id (WORD, or DWORD for EX), class and title (string or ordinal), and WORD
// size of the creation data followed by the data. All strings are UTF-16.
#include "dialog.h"
#include "templatereader.h"

namespace win32::user {
namespace {

TemplateName readName(TemplateReader& in) {
  TemplateName name;
  in.stringOrOrdinal(name.text, name.ordinal);
  return name;
}

bool readItem(TemplateReader& in, bool extended, DialogItemTemplate& item) {
  in.align(4);
  if (extended) {
    item.helpId = in.dword();
    item.exStyle = in.dword();
    item.style = in.dword();
  } else {
    item.style = in.dword();
    item.exStyle = in.dword();
  }
  item.x = in.signedWord();
  item.y = in.signedWord();
  item.cx = in.signedWord();
  item.cy = in.signedWord();
  item.id = extended ? in.dword() : in.word();
  item.className = readName(in);
  item.text = readName(in);
  const BYTE* data = in.here();
  WORD size = in.word();
  if (!in.ok()) return false;
  if (size) {
    in.skip(size);
    item.creationData = data;
    item.creationSize = size;
  }
  return in.ok();
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const void* data, size_t size) {
  TemplateReader in(data, size);
  DialogTemplate t;
  WORD first = in.word(), second = in.word();
  if (!in.ok()) return std::nullopt;
  t.extended = first == 1 && second == 0xFFFF;
  WORD count;
  if (t.extended) {
    t.helpId = in.dword();
    t.exStyle = in.dword();
    t.style = in.dword();
  } else {
    t.style = (DWORD)first | (DWORD)second << 16;
    t.exStyle = in.dword();
  }
  count = in.word();
  t.x = in.signedWord();
  t.y = in.signedWord();
  t.cx = in.signedWord();
  t.cy = in.signedWord();
  t.menu = readName(in);
  t.className = readName(in);
  t.title = in.string();
  if (t.style & DS_SETFONT) {
    t.hasFont = true;
    t.pointSize = in.word();
    if (t.extended) {
      t.weight = in.word();
      t.italic = in.byte();
      t.charSet = in.byte();
    }
    t.face = in.string();
  }
  if (!in.ok()) return std::nullopt;
  t.items.resize(count);
  for (DialogItemTemplate& item : t.items)
    if (!readItem(in, t.extended, item)) return std::nullopt;
  return t;
}

const char* predefinedClassName(WORD ordinal) {
  static const char* const kNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  return ordinal >= 0x80 && ordinal <= 0x85 ? kNames[ordinal - 0x80] : nullptr;
}

}  // namespace win32::user
