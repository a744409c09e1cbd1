// KyGUIButtonControlImp: a standard BUTTON that understands the custom
// button's caption conventions (alignment digits, colours, caption,
// picture files), draws owner-drawn faces with picture and caption, plays
// a click sound and notifies clicks and check changes.
#pragma once

#include <afxwin.h>

#include <string>

#include "controlimp.h"

// The parts of a push button's window name.
struct ButtonCaption {
  int textAlign = 0, pictureAlign = 0, relativeAlign = 0;
  COLORREF textColor = 0xFFFFFFFF, background = 0xFFFFFFFF;  // 0xFFFFFFFF: not given
  std::string caption, picture, secondPicture;
};
// Digits, ';', colours, ';', caption ';' picture[:...] ';' second picture.
ButtonCaption ParseButtonCaption(const char* name);
// Tokens at ';' with '\' escapes and '^' as line break; the picture tokens
// are cut at ':'.
void SplitCaptionTokens(const char* text, std::string* caption, std::string* picture, std::string* second);

class AFX_EXT_CLASS KyGUIButtonControlImp : public KyNativeWindow<CButton> {
 public:
  ~KyGUIButtonControlImp() override;
  BOOL CreateControl(const KyNativeCreate& args) override;
  void TranslateStyle(DWORD& style, DWORD& exStyle) override;

  int kind = 1;          // 1 push, 2 radio, 3 check box, 4 three-state
  bool bitmapMode = true;
  std::string pictureFile, soundFile, caption;
  int textAlign = 0, pictureAlign = 0, relativeAlign = 0;
  bool focusRect = true;
  bool plainFrame = false;
  HINSTANCE firstInstance = nullptr, secondInstance = nullptr;
  COLORREF transparent = 0;

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;

 private:
  LRESULT ownMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool loadPicture(const std::string& file);
  void releasePicture();
  void setAlignment(int code);
  bool isOwnerDrawn();
  HANDLE picture_ = nullptr;
  bool pictureIsIcon_ = false;
};

// The BS_ alignment bits of an alignment code (3 x vertical + horizontal).
DWORD AlignmentStyle(int code);
// The alignment code of a style's BS_ alignment bits.
int AlignmentCode(DWORD style);
