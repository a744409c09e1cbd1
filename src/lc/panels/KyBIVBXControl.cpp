// A VBX control through the emulation library, and the library's binding.
#include "KyBIVBXControl.h"

#include "KyDLL.h"
#include "KyVBXLibrary.h"
#include "KyVBXPicMngr.h"

#include <afxwin.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct Binding {
  std::mutex lock;
  HMODULE module = nullptr;
  KyVBXLibrary entries;
  bool bound = false;
};

Binding& binding() {
  static Binding b;
  return b;
}

template <class Proc>
bool resolve(HMODULE module, const char* name, Proc& slot) {
  slot = reinterpret_cast<Proc>(GetProcAddress(module, name));
  return slot != nullptr;
}

bool resolveAll(HMODULE module, KyVBXLibrary& e) {
  bool all = true;
  all &= resolve(module, "VBXInit32", e.init);
  all &= resolve(module, "VBXTerm32", e.term);
  all &= resolve(module, "VBXCreate", e.create);
  all &= resolve(module, "VBXGetHwnd", e.getHwnd);
  all &= resolve(module, "VBXGetPropIndex", e.getPropIndex);
  all &= resolve(module, "VBXGetPropType", e.getPropType);
  all &= resolve(module, "VBXIsArrayProp", e.isArrayProp);
  all &= resolve(module, "VBXGetProp", e.getProp);
  all &= resolve(module, "VBXSetProp", e.setProp);
  all &= resolve(module, "VBXGetArrayProp", e.getArrayProp);
  all &= resolve(module, "VBXSetArrayProp", e.setArrayProp);
  all &= resolve(module, "VBXGetCStringBuf", e.getCStringBuf);
  all &= resolve(module, "VBXDestroyCString", e.destroyCString);
  all &= resolve(module, "VBXGetEventIndex", e.getEventIndex);
  all &= resolve(module, "VBXGetEventNameBuf", e.getEventNameBuf);
  all &= resolve(module, "VBXMethodAddItem", e.addItem);
  all &= resolve(module, "VBXMethodClear", e.clear);
  all &= resolve(module, "VBXMethodDrag", e.drag);
  all &= resolve(module, "VBXMethodMove", e.move);
  all &= resolve(module, "VBXMethodRefresh", e.refresh);
  all &= resolve(module, "VBXMethodRemoveItem", e.removeItem);
  all &= resolve(module, "VBXCreatePicture", e.createPicture);
  all &= resolve(module, "VBXReferencePicture", e.referencePicture);
  all &= resolve(module, "VBXDestroyPicture", e.destroyPicture);
  all &= resolve(module, "VBXTwp2PixX", e.twp2PixX);
  all &= resolve(module, "VBXTwp2PixY", e.twp2PixY);
  all &= resolve(module, "VBXPix2TwpX", e.pix2TwpX);
  all &= resolve(module, "VBXPix2TwpY", e.pix2TwpY);
  return all;
}

// The library's type codes: 1 and 13 strings, 7 float, 12 picture.
KyBIVBXControl::Category categoryOf(int type) {
  switch (type) {
    case VBX_PT_STRING:
    case VBX_PT_HSZ: return KyBIVBXControl::CategoryString;
    case VBX_PT_FLOAT: return KyBIVBXControl::CategoryFloat;
    case VBX_PT_PICTURE: return KyBIVBXControl::CategoryPicture;
    default: return KyBIVBXControl::CategoryNumber;
  }
}

KyBIVBXControl::VBXError mismatchError(KyBIVBXControl::Category expected) {
  switch (expected) {
    case KyBIVBXControl::CategoryString: return KyBIVBXControl::StringExpected;
    case KyBIVBXControl::CategoryNumber: return KyBIVBXControl::NumberExpected;
    case KyBIVBXControl::CategoryFloat: return KyBIVBXControl::FloatExpected;
    default: return KyBIVBXControl::PictureExpected;
  }
}

LONG_PTR floatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return static_cast<LONG_PTR>(bits);
}

float bitsFloat(LONG_PTR value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

constexpr int kStringBuffer = 32768;

}  // namespace

const KyVBXLibrary* KyVBXBound() {
  Binding& b = binding();
  std::lock_guard<std::mutex> guard(b.lock);
  return b.bound ? &b.entries : nullptr;
}

int KyBIVBXControl::VBInit32(HINSTANCE hInstance, const char* pszText) {
  Binding& b = binding();
  std::lock_guard<std::mutex> guard(b.lock);
  if (b.bound) return 1;
  const bool nt = (GetVersion() & 0x80000000u) == 0;
  HMODULE module = KyLoadLibraryQuietly(nt ? "BIVBX30.32N" : "BIVBX30.32C");
  if (!module) return 0;
  KyVBXLibrary entries;
  if (!resolveAll(module, entries) || !entries.init(hInstance, pszText ? pszText : "")) {
    FreeLibrary(module);
    return 0;
  }
  b.module = module;
  b.entries = entries;
  b.bound = true;
  return 1;
}

void KyBIVBXControl::VBTerm32() {
  Binding& b = binding();
  std::lock_guard<std::mutex> guard(b.lock);
  if (!b.bound) return;
  b.entries.term();
  FreeLibrary(b.module);
  b.module = nullptr;
  b.entries = KyVBXLibrary{};
  b.bound = false;
}

KyBIVBXControl::KyBIVBXControl(KyVBXPicMngr* pPictures) : m_pPictures(pPictures) {
  if (!m_pPictures) m_pPictures = m_pOwnPictures = new KyVBXPicMngr;
  CWinApp* pApp = AfxGetApp();
  VBInit32(pApp ? pApp->m_hInstance : nullptr, "");
}

KyBIVBXControl::~KyBIVBXControl() {
  // The library keeps no way to end one control: its window goes, which
  // ends what a person sees of it.
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  delete m_pOwnPictures;
}

int KyBIVBXControl::Create(const char* pszFile, const char* pszClass, const char* pszText, int x, int y, int cx,
                           int cy, HWND hParent, UINT nId) {
  const KyVBXLibrary* lib = KyVBXBound();
  if (!lib) return 0;
  m_hCtl = lib->create(pszFile, pszClass, pszText ? pszText : "", x, y, cx, cy, hParent, nId);
  m_hWnd = m_hCtl ? lib->getHwnd(m_hCtl) : nullptr;
  return m_hCtl != nullptr;
}

int KyBIVBXControl::GetPropIndex(const char* pszName) {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->getPropIndex(m_hCtl, pszName) : -1;
}

int KyBIVBXControl::GetEventIndex(const char* pszName) {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->getEventIndex(m_hCtl, pszName) : -1;
}

KyString KyBIVBXControl::GetEventName(int iIndex) {
  const KyVBXLibrary* lib = KyVBXBound();
  char name[256] = {};
  if (lib && m_hCtl) lib->getEventNameBuf(m_hCtl, iIndex, name, sizeof name);
  return KyString(name);
}

bool KyBIVBXControl::GetCategory(const char* pszName, Category& category) {
  const KyVBXLibrary* lib = KyVBXBound();
  const int index = GetPropIndex(pszName);
  if (!lib || index < 0) return false;
  category = categoryOf(lib->getPropType(m_hCtl, index));
  return true;
}

int KyBIVBXControl::prepare(const char* pszName, int iElement, Category expected) {
  m_Error = NoProperty;
  const KyVBXLibrary* lib = KyVBXBound();
  const int index = GetPropIndex(pszName);
  if (!lib || index < 0) return -1;
  if (iElement >= 0 && !lib->isArrayProp(m_hCtl, index)) return -1;
  if (categoryOf(lib->getPropType(m_hCtl, index)) != expected) {
    m_Error = mismatchError(expected);
    return -1;
  }
  m_Error = LibraryCall;
  return index;
}

int KyBIVBXControl::setValue(int iProperty, int iElement, LONG_PTR value) {
  const KyVBXLibrary* lib = KyVBXBound();
  if (!lib) return 0;
  return iElement >= 0 ? lib->setArrayProp(m_hCtl, iProperty, iElement, value)
                       : lib->setProp(m_hCtl, iProperty, value);
}

bool KyBIVBXControl::getValue(int iProperty, int iElement, LONG_PTR& value) {
  const KyVBXLibrary* lib = KyVBXBound();
  value = 0;
  if (!lib) return false;
  return iElement >= 0 ? lib->getArrayProp(m_hCtl, iProperty, iElement, &value)
                       : lib->getProp(m_hCtl, iProperty, &value);
}

LONG KyBIVBXControl::GetNumProperty(const char* pszName, int iElement) {
  const int index = prepare(pszName, iElement, CategoryNumber);
  LONG_PTR value = 0;
  return index >= 0 && getValue(index, iElement, value) ? static_cast<LONG>(value) : 0;
}

int KyBIVBXControl::SetNumProperty(const char* pszName, LONG lValue, int iElement) {
  const int index = prepare(pszName, iElement, CategoryNumber);
  return index >= 0 ? setValue(index, iElement, lValue) : 0;
}

float KyBIVBXControl::GetFloatProperty(const char* pszName, int iElement) {
  const int index = prepare(pszName, iElement, CategoryFloat);
  LONG_PTR value = 0;
  return index >= 0 && getValue(index, iElement, value) ? bitsFloat(value) : 0.0f;
}

int KyBIVBXControl::SetFloatProperty(const char* pszName, float fValue, int iElement) {
  const int index = prepare(pszName, iElement, CategoryFloat);
  return index >= 0 ? setValue(index, iElement, floatBits(fValue)) : 0;
}

KyString KyBIVBXControl::GetStrProperty(const char* pszName, int iElement) {
  const int index = prepare(pszName, iElement, CategoryString);
  LONG_PTR value = 0;
  if (index < 0 || !getValue(index, iElement, value) || !value) return KyString();
  const KyVBXLibrary* lib = KyVBXBound();
  HSZ hsz = reinterpret_cast<HSZ>(value);
  std::vector<char> buffer(kStringBuffer, '\0');
  lib->getCStringBuf(hsz, buffer.data(), kStringBuffer);
  lib->destroyCString(hsz);
  return KyString(buffer.data());
}

int KyBIVBXControl::SetStrProperty(const char* pszName, const char* pszValue, int iElement) {
  const int index = prepare(pszName, iElement, CategoryString);
  return index >= 0 ? setValue(index, iElement, reinterpret_cast<LONG_PTR>(pszValue ? pszValue : "")) : 0;
}

int KyBIVBXControl::SetPictureProperty(const char* pszName, const char* pszFile, int iElement) {
  const int index = prepare(pszName, iElement, CategoryPicture);
  if (index < 0) return 0;
  KyVBXPic* pPicture = m_pPictures->GetPicture(pszFile);
  if (!pPicture) return 0;
  // The whole handle: the library's handles are pointer-sized.
  return setValue(index, iElement, reinterpret_cast<LONG_PTR>(pPicture->GetVBXHandle()));
}

int KyBIVBXControl::AddItem(const char* pszText, int iIndex) {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->addItem(m_hCtl, pszText ? pszText : "", iIndex) : 0;
}

int KyBIVBXControl::RemoveItem(int iIndex) {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->removeItem(m_hCtl, iIndex) : 0;
}

int KyBIVBXControl::ClearList() {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->clear(m_hCtl) : 0;
}

int KyBIVBXControl::Move(int iLeft, int iTop, int iWidth, int iHeight) {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->move(m_hCtl, iLeft, iTop, iWidth, iHeight) : 0;
}

int KyBIVBXControl::Refresh() {
  const KyVBXLibrary* lib = KyVBXBound();
  return lib && m_hCtl ? lib->refresh(m_hCtl) : 0;
}
