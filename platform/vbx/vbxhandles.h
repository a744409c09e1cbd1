// The handles the emulation library hands out, kept in tables so that a
// handle the library did not make (or has ended) is refused, never used.
#pragma once

#include <vbxemul.h>

#include <string>

namespace vbx {

class Control;
struct Picture;

HCTL rememberControl(Control* control);
Control* knownControl(HCTL hctl);
void forgetControl(HCTL hctl);  // deletes the control
void forgetAllControls();

HSZ newString(const std::string& text);
const std::string* knownString(HSZ hsz);
void destroyString(HSZ hsz);

HPIC rememberPicture(Picture* picture);
Picture* knownPicture(LONG_PTR value);
void forgetPicture(Picture* picture);

}  // namespace vbx
