// Property strings of ActiveX controls on arbitrary text: the parser never
// reads past the text, a text it accepts composes into one that reads back
// into the same pairs, and the value forms (colours, booleans, fonts) take
// every value without fault; a colour they accept goes back and forth
// unchanged.
//
// The parser and the value forms are compiled into the target so that the
// fuzzer sees their branches.
#include "../src/ax/KyPropertyString.cpp"
#include "../src/ax/KyPropertyText.cpp"

#include <cstdlib>
#include <string>

namespace {

void checkValue(const CString& value) {
  CString color, back;
  if (ax::ColorTextToControl(value, color)) {
    if (!ax::ColorTextFromControl(color, back)) std::abort();
    CString again;
    if (!ax::ColorTextToControl(back, again) || again != color) std::abort();
  }
  ax::BooleanTextToControl(value);
  ax::FontText font;
  if (ax::ParseFontText(value, font)) {
    if (font.face.IsEmpty() || font.face.GetLength() > ax::kMaxFaceName) std::abort();
    ax::ComposeFontText(font);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);  // an inner NUL ends the text
  KyActiveXControlImpl::KyPropertyString read;
  if (!read.Parse(text.c_str())) {
    if (read.GetError().IsEmpty()) std::abort();
    return 0;
  }
  KyActiveXControlImpl::KyPropertyString composed;
  for (int i = 0; i < read.GetCount(); ++i) {
    composed.Append(read.GetName(i), read.GetValue(i));
    checkValue(read.GetValue(i));
  }
  KyActiveXControlImpl::KyPropertyString again;
  if (!again.Parse(composed.GetSource()) || again.GetCount() != read.GetCount()) std::abort();
  for (int i = 0; i < read.GetCount(); ++i)
    if (again.GetName(i) != read.GetName(i) || again.GetValue(i) != read.GetValue(i)) std::abort();
  return 0;
}
