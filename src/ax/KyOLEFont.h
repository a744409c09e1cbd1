// An OLE font object from a logical font.
#pragma once

#include <afx.h>
#include <olectl.h>

// From `font`, or from the stock DEFAULT_GUI_FONT (then SYSTEM_FONT) when
// it is null: face, weight, slant, underline, strike-out and character set
// are kept, the size is |height| × 720000 / the screen's LOGPIXELSY (ten-
// thousandths of a point). FALSE with a null *out when no font can be made.
AFX_EXT_CLASS BOOL KyGetOLEFont(const LOGFONTA* font, IFontDisp** out);
