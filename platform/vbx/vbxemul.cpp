// The entry points of the VBX emulation library (vbxemul.h).
#include <vbxemul.h>

#include "vbxcontrol.h"
#include "vbxhandles.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sstream>
#include <string>

using namespace vbx;

namespace {

std::atomic<bool> initialised{false};

// The classes a VBX file provides: its "class=<name>" lines.
bool fileProvides(const char* path, const char* className) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0 && text.size() < (1u << 20))
    text.append(buffer, read);
  CloseHandle(file);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.rfind("class=", 0) == 0 && lstrcmpiA(line.c_str() + 6, className) == 0) return true;
  }
  return false;
}

// Twips are 1/1440 inch; the screen has 96 pixels to the inch here.
constexpr int kTwipsPerPixel = 15;

}  // namespace

extern "C" {

BOOL WINAPI VBXInit32(HINSTANCE, LPCSTR) {
  if (!initialised) initialised = Control::registerClass();
  return initialised;
}

void WINAPI VBXTerm32(void) {
  forgetAllControls();
  if (initialised) Control::unregisterClass();
  initialised = false;
}

HCTL WINAPI VBXCreate(LPCSTR lpszFile, LPCSTR lpszClass, LPCSTR lpszText, int x, int y, int cx, int cy,
                      HWND hwndParent, UINT id) {
  if (!initialised || !lpszFile || !lpszClass) return nullptr;
  const ClassDef* cls = findClass(lpszClass);
  if (!cls || !fileProvides(lpszFile, lpszClass)) return nullptr;
  auto* control = new Control(*cls, id);
  HCTL handle = rememberControl(control);
  if (!control->createWindow(lpszText, x, y, cx, cy, hwndParent)) {
    forgetControl(handle);
    return nullptr;
  }
  return handle;
}

HWND WINAPI VBXGetHwnd(HCTL hctl) {
  Control* control = knownControl(hctl);
  return control ? control->window() : nullptr;
}

int WINAPI VBXGetPropIndex(HCTL hctl, LPCSTR lpszName) {
  Control* control = knownControl(hctl);
  return control ? control->propertyIndex(lpszName) : -1;
}

int WINAPI VBXGetPropType(HCTL hctl, int index) {
  Control* control = knownControl(hctl);
  const PropertyDef* def = control ? control->property(index) : nullptr;
  return def ? def->type : 0;
}

BOOL WINAPI VBXIsArrayProp(HCTL hctl, int index) {
  Control* control = knownControl(hctl);
  const PropertyDef* def = control ? control->property(index) : nullptr;
  return def && def->array;
}

BOOL WINAPI VBXGetProp(HCTL hctl, int index, LONG_PTR* pValue) {
  Control* control = knownControl(hctl);
  return control && pValue && control->get(index, -1, *pValue);
}

BOOL WINAPI VBXSetProp(HCTL hctl, int index, LONG_PTR value) {
  Control* control = knownControl(hctl);
  return control && control->set(index, -1, value);
}

BOOL WINAPI VBXGetArrayProp(HCTL hctl, int index, int element, LONG_PTR* pValue) {
  Control* control = knownControl(hctl);
  return control && pValue && element >= 0 && control->get(index, element, *pValue);
}

BOOL WINAPI VBXSetArrayProp(HCTL hctl, int index, int element, LONG_PTR value) {
  Control* control = knownControl(hctl);
  return control && element >= 0 && control->set(index, element, value);
}

int WINAPI VBXGetCStringBuf(HSZ hsz, LPSTR lpBuffer, int size) {
  const std::string* text = knownString(hsz);
  if (!text || !lpBuffer || size <= 0) return 0;
  const int length = std::min(static_cast<int>(text->size()), size - 1);
  std::memcpy(lpBuffer, text->data(), length);
  lpBuffer[length] = '\0';
  return length;
}

void WINAPI VBXDestroyCString(HSZ hsz) { destroyString(hsz); }

int WINAPI VBXGetEventIndex(HCTL hctl, LPCSTR lpszName) {
  Control* control = knownControl(hctl);
  return control ? control->eventIndex(lpszName) : -1;
}

int WINAPI VBXGetEventNameBuf(HCTL hctl, int index, LPSTR lpBuffer, int size) {
  Control* control = knownControl(hctl);
  if (!control || !lpBuffer || size <= 0 || index < 0 || index >= static_cast<int>(control->cls().events.size()))
    return 0;
  lstrcpynA(lpBuffer, control->cls().events[index], size);
  return lstrlenA(lpBuffer);
}

BOOL WINAPI VBXMethodAddItem(HCTL hctl, LPCSTR lpszItem, int index) {
  Control* control = knownControl(hctl);
  return control && control->addItem(lpszItem, index);
}

BOOL WINAPI VBXMethodClear(HCTL hctl) {
  Control* control = knownControl(hctl);
  if (control) control->clear();
  return control != nullptr;
}

BOOL WINAPI VBXMethodDrag(HCTL hctl, int action) {
  Control* control = knownControl(hctl);
  if (control) control->setDrag(action);
  return control != nullptr;
}

BOOL WINAPI VBXMethodMove(HCTL hctl, int x, int y, int cx, int cy) {
  Control* control = knownControl(hctl);
  return control && control->window() && MoveWindow(control->window(), x, y, cx, cy, TRUE);
}

BOOL WINAPI VBXMethodRefresh(HCTL hctl) {
  Control* control = knownControl(hctl);
  return control && control->window() && InvalidateRect(control->window(), nullptr, TRUE) &&
         UpdateWindow(control->window());
}

BOOL WINAPI VBXMethodRemoveItem(HCTL hctl, int index) {
  Control* control = knownControl(hctl);
  return control && control->removeItem(index);
}

HPIC WINAPI VBXCreatePicture(HBITMAP hBitmap, HPALETTE) {
  if (!hBitmap) return nullptr;
  HANDLE copy = CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0);
  if (!copy) return nullptr;
  auto* picture = new Picture;
  picture->bitmap = static_cast<HBITMAP>(copy);
  return rememberPicture(picture);
}

HPIC WINAPI VBXReferencePicture(HPIC hpic) {
  Picture* picture = knownPicture(reinterpret_cast<LONG_PTR>(hpic));
  if (!picture) return nullptr;
  ++picture->references;
  return hpic;
}

void WINAPI VBXDestroyPicture(HPIC hpic) { releasePicture(knownPicture(reinterpret_cast<LONG_PTR>(hpic))); }

int WINAPI VBXTwp2PixX(LONG twips) { return twips / kTwipsPerPixel; }
int WINAPI VBXTwp2PixY(LONG twips) { return twips / kTwipsPerPixel; }
LONG WINAPI VBXPix2TwpX(int pixels) { return pixels * kTwipsPerPixel; }
LONG WINAPI VBXPix2TwpY(int pixels) { return pixels * kTwipsPerPixel; }

}  // extern "C"
