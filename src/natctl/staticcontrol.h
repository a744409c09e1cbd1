// KyGUICStaticControlImp: a standard STATIC that is one of the custom
// static's kinds (text, group, frame, picture, horizontal or vertical line;
// made for a class name with "Stat") or a picture field that shows an image
// file and lets the user choose another (any other class name).
#pragma once

#include <afxwin.h>

#include <string>

#include "controlimp.h"
#include "imagecache.h"

// 1 when the file's extension is one a picture field can show.
bool SupportedImageFile(const char* name);

class AFX_EXT_CLASS KyGUICStaticControlImp : public KyNativeWindow<CStatic> {
 public:
  ~KyGUICStaticControlImp() override;
  BOOL CreateControl(const KyNativeCreate& args) override;
  void ApplyBorderStyle(DWORD style) override;

  std::string pictureFile;
  HINSTANCE firstInstance = nullptr, secondInstance = nullptr;
  bool sizeToImage = false;
  std::string imagePath = "C:\\images";
  std::string focusPath;
  int staticKind = 0;  // 0 text, 1 group, 2 frame, 3 picture, 4 horizontal line, 5 vertical line
  bool parentColorFlag = false;
  COLORREF parentColor = 0x80000000u | COLOR_MENU;
  RECT creationRect{};
  // A group whose parent is not a pop-up paints its caption band when its
  // background is erased.
  bool popupParent = true;
  COLORREF transparent = 0;
  NativeImage image;

  // Loads an image file into the control (by its extension); FALSE when it
  // could not be loaded (the control says so in its face).
  BOOL LoadPicture(const char* file);
  // The open-file dialog for another picture; TRUE when one was loaded.
  BOOL ChoosePicture();

 protected:
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  LRESULT ownMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void drawItem(const DRAWITEMSTRUCT& item);
  // The window text in the control's font and text colour; a group's on a
  // band of the background colour at the top, 6 pixels in.
  void drawCaption(HDC dc, const RECT& rect);
  void setImage(const NativeImage& loaded);
  void releaseImage();
  void setType(DWORD type);
  void paintTransparent();
  // A Windows metafile file as an enhanced metafile of this control's own.
  BOOL loadWindowsMetafile(const char* file);
  // Another format through the conversion library into a bitmap of this
  // control's own (not cached); FALSE after a warning when it fails.
  BOOL convertImage(const char* file, NativeImage* image);
};
