// Standard picture objects: IPicture and IPictureDisp over a bitmap or an
// icon. OleLoadPicture reads bitmap and icon files itself; every other
// image format goes through the image library that picture fields use
// (PVW32Cnv.DLL, loaded by name), which turns it into a bitmap file.
#include <olectl.h>
#include <pvw32cnv.h>
#include <windows.h>

#include <internal/comobject.h>
#include <internal/dib.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr LONG kHimetricPerInch = 2540;

int screenDpi(int axis) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, axis) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

LONG toHimetric(LONG pixels, int axis) { return MulDiv(pixels, kHimetricPerInch, screenDpi(axis)); }
LONG toPixels(LONG himetric, int axis) { return MulDiv(himetric, screenDpi(axis), kHimetricPerInch); }

class Picture final : public IPicture, public IDispatch {
 public:
  // Takes the handle; deletes it with the picture when `own`.
  Picture(SHORT type, UINT handle, HPALETTE palette, LONG widthPixels, LONG heightPixels, bool own)
      : type_(type), handle_(handle), palette_(palette), own_(own),
        width_(toHimetric(widthPixels, LOGPIXELSX)), height_(toHimetric(heightPixels, LOGPIXELSY)) {}

  void keepBytes(std::vector<BYTE> bytes) { original_ = std::move(bytes); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    IPicture* picture = this;
    IDispatch* dispatch = this;
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, picture}, {&IID_IPicture, picture},
                                               {&IID_IDispatch, dispatch}, {&IID_IPictureDisp, dispatch}});
  }
  KY_COM_REFCOUNT

  // --- IPicture ---
  HRESULT STDMETHODCALLTYPE get_Handle(OLE_HANDLE* p) override { return p ? (*p = handle_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE get_hPal(OLE_HANDLE* p) override {
    return p ? (*p = static_cast<OLE_HANDLE>(reinterpret_cast<UINT_PTR>(palette_)), S_OK) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE get_Type(SHORT* p) override { return p ? (*p = type_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE get_Width(OLE_XSIZE_HIMETRIC* p) override { return p ? (*p = width_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE get_Height(OLE_YSIZE_HIMETRIC* p) override { return p ? (*p = height_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE Render(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                                   OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                                   LPCRECT) override {
    if (!hDC) return E_INVALIDARG;
    if (type_ == PICTYPE_ICON)
      return DrawIconEx(hDC, x, y, handleAs<HICON>(), cx, cy, 0, nullptr, DI_NORMAL) ? S_OK : E_FAIL;
    if (type_ != PICTYPE_BITMAP) return type_ == PICTYPE_NONE ? S_OK : E_UNEXPECTED;
    // OLE measures the source from the bottom: the usual whole-picture call
    // passes ySrc = height and cySrc = -height.
    HDC memory = CreateCompatibleDC(hDC);
    if (!memory) return E_FAIL;
    HGDIOBJ old = SelectObject(memory, handleAs<HBITMAP>());
    const BOOL drawn = StretchBlt(hDC, x, y, cx, cy, memory, toPixels(xSrc, LOGPIXELSX),
                                  toPixels(height_ - ySrc, LOGPIXELSY), toPixels(cxSrc, LOGPIXELSX),
                                  toPixels(-cySrc, LOGPIXELSY), SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return drawn ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE set_hPal(OLE_HANDLE hPal) override {
    palette_ = reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(hPal));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_CurDC(HDC* phDC) override { return phDC ? (*phDC = current_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE SelectPicture(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) override {
    if (type_ != PICTYPE_BITMAP) return E_FAIL;
    if (!hDCIn || !SelectObject(hDCIn, handleAs<HBITMAP>())) return E_FAIL;
    if (phDCOut) *phDCOut = current_;
    if (phBmpOut) *phBmpOut = handle_;
    current_ = hDCIn;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_KeepOriginalFormat(BOOL* p) override { return p ? (*p = keep_, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE put_KeepOriginalFormat(BOOL keep) override { return keep_ = keep, S_OK; }
  HRESULT STDMETHODCALLTYPE PictureChanged() override { return S_OK; }
  // The bytes the picture was loaded from; a picture made from a handle has
  // none to give.
  HRESULT STDMETHODCALLTYPE SaveAsFile(LPSTREAM pStream, BOOL, LONG* pCbSize) override {
    if (!pStream) return E_POINTER;
    if (original_.empty()) return E_NOTIMPL;
    ULONG written = 0;
    const HRESULT hr = pStream->Write(original_.data(), static_cast<ULONG>(original_.size()), &written);
    if (pCbSize) *pCbSize = static_cast<LONG>(written);
    return FAILED(hr) ? hr : written == original_.size() ? S_OK : STG_E_WRITEFAULT;
  }
  HRESULT STDMETHODCALLTYPE get_Attributes(DWORD* p) override {
    return p ? (*p = type_ == PICTYPE_ICON ? PICTURE_TRANSPARENT : 0, S_OK) : E_POINTER;
  }

  // --- IDispatch (IPictureDisp) ---
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) override;

 private:
  ~Picture() {
    if (!own_ || !handle_) return;
    if (type_ == PICTYPE_ICON) DestroyIcon(handleAs<HICON>());
    else DeleteObject(handleAs<HGDIOBJ>());
    if (palette_) DeleteObject(palette_);
  }
  template <class Handle>
  Handle handleAs() const {
    return reinterpret_cast<Handle>(static_cast<UINT_PTR>(handle_));
  }

  win32::com::RefCount refs_;
  SHORT type_;
  UINT handle_;
  HPALETTE palette_;
  bool own_;
  LONG width_, height_;
  BOOL keep_ = TRUE;
  HDC current_ = nullptr;
  std::vector<BYTE> original_;
};

const struct {
  const char16_t* name;
  DISPID id;
} kPictureMembers[] = {{u"Handle", DISPID_PICT_HANDLE}, {u"hPal", DISPID_PICT_HPAL},     {u"Type", DISPID_PICT_TYPE},
                       {u"Width", DISPID_PICT_WIDTH},   {u"Height", DISPID_PICT_HEIGHT}, {u"Render", DISPID_PICT_RENDER}};

bool sameNameIgnoringCase(const char16_t* a, const OLECHAR* b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  for (; *a && *b; ++a, ++b)
    if (lower(*a) != lower(*b)) return false;
  return *a == *b;
}

HRESULT Picture::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (const auto& member : kPictureMembers)
      if (i == 0 && names[i] && sameNameIgnoringCase(member.name, names[i])) ids[i] = member.id;
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT Picture::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT* argErr) {
  if (flags & DISPATCH_PROPERTYPUT) {
    if (id != DISPID_PICT_HPAL) return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, &params->rgvarg[0], 0, VT_I4))) {
      if (argErr) *argErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    return set_hPal(static_cast<OLE_HANDLE>(v.lVal));
  }
  if (!(flags & DISPATCH_PROPERTYGET) || id == DISPID_PICT_RENDER) return DISP_E_MEMBERNOTFOUND;
  if (!result) return E_POINTER;
  VariantInit(result);
  result->vt = VT_I4;
  switch (id) {
    case DISPID_PICT_HANDLE: result->lVal = static_cast<LONG>(handle_); return S_OK;
    case DISPID_PICT_HPAL: result->lVal = static_cast<LONG>(reinterpret_cast<UINT_PTR>(palette_)); return S_OK;
    case DISPID_PICT_TYPE: result->vt = VT_I2; result->iVal = type_; return S_OK;
    case DISPID_PICT_WIDTH: result->lVal = width_; return S_OK;
    case DISPID_PICT_HEIGHT: result->lVal = height_; return S_OK;
    default: result->vt = VT_EMPTY; return DISP_E_MEMBERNOTFOUND;
  }
}

UINT handleValue(const void* handle) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(handle)); }

// A bitmap file's bytes as a picture; null when they are no bitmap file.
Picture* bitmapPicture(const std::vector<BYTE>& bytes) {
  win32::gdi::MemoryDibSource source(bytes.data(), bytes.size());
  HGLOBAL dib = win32::gdi::readBitmapFile(source, win32::gdi::kBitmapCoreHeader | win32::gdi::kBitmapBitFields);
  if (!dib) return nullptr;
  const void* header = GlobalLock(dib);
  HPALETTE palette = win32::gdi::createPackedDibPalette(header);
  HBITMAP bitmap = win32::gdi::packedDibToBitmap(header, palette);
  const LONG width = win32::gdi::packedDibWidth(header), height = win32::gdi::packedDibHeight(header);
  GlobalUnlock(dib);
  GlobalFree(dib);
  if (!bitmap) {
    if (palette) DeleteObject(palette);
    return nullptr;
  }
  return new Picture(PICTYPE_BITMAP, handleValue(bitmap), palette, width, height < 0 ? -height : height, true);
}

// An icon file (its first image) as a picture; null when it is none. Every
// entry is checked against the file's length before it is used.
Picture* iconPicture(const std::vector<BYTE>& bytes) {
  if (bytes.size() < 6 + 16) return nullptr;
  auto word = [&](size_t at) { return static_cast<WORD>(bytes[at] | bytes[at + 1] << 8); };
  auto dword = [&](size_t at) { return static_cast<DWORD>(word(at) | static_cast<DWORD>(word(at + 2)) << 16); };
  if (word(0) != 0 || word(2) != 1 || word(4) == 0) return nullptr;
  const DWORD size = dword(6 + 8), offset = dword(6 + 12);
  if (offset > bytes.size() || size > bytes.size() - offset || size == 0) return nullptr;
  const int width = bytes[6] ? bytes[6] : 256, height = bytes[7] ? bytes[7] : 256;
  HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(bytes.data() + offset), size, TRUE, 0x00030000, width, height,
                                        0);
  if (!icon) return nullptr;
  return new Picture(PICTYPE_ICON, handleValue(icon), nullptr, width, height, true);
}

// A temporary file that is deleted with this object.
class TemporaryFile {
 public:
  TemporaryFile() {
    char folder[MAX_PATH + 1] = "";
    char name[MAX_PATH + 1] = "";
    if (GetTempPathA(sizeof folder, folder) && GetTempFileNameA(folder, "kyp", 0, name)) path_ = name;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

bool writeWhole(const std::string& path, const std::vector<BYTE>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

bool readWhole(const std::string& path, std::vector<BYTE>* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE;
  if (ok) {
    bytes->resize(size);
    DWORD got = 0;
    ok = ReadFile(file, bytes->data(), size, &got, nullptr) && got == size;
  }
  CloseHandle(file);
  return ok;
}

// The image in any format the image library reads, as a bitmap file's
// bytes; false when the library is missing or does not read the data.
bool convertThroughImageLibrary(const std::vector<BYTE>& bytes, std::vector<BYTE>* bitmapFile) {
  HMODULE library = LoadLibraryA("PVW32Cnv.DLL");
  if (!library) return false;
  auto open = reinterpret_cast<PVCNV_OPENPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(PVCNV_ORDINAL_OPEN))));
  auto write = reinterpret_cast<PVCNV_WRITEPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(PVCNV_ORDINAL_WRITE))));
  bool converted = false;
  {
    TemporaryFile source, target;
    if (open && write && !source.path().empty() && !target.path().empty() && writeWhole(source.path(), bytes)) {
      PVCNV_IMAGEINFO info{};
      HANDLE image = nullptr;
      if (open(&image, source.path().c_str(), &info, PVCNV_INFO_SIZE) == PVCNV_OK) {
        PVCNV_WRITEOPTIONS options{};
        options.size = PVCNV_OPTIONS_SIZE;
        options.target = PVCNV_OPTIONS_BITMAP;
        converted = write(image, target.path().c_str(), &options, 0, 0, 0) == PVCNV_OK &&
                    readWhole(target.path(), bitmapFile);
      }
    }
  }
  FreeLibrary(library);
  return converted;
}

// lSize bytes of the stream, or all of it to the end for 0.
HRESULT readStream(IStream* stream, LONG size, std::vector<BYTE>* bytes) {
  if (size < 0) return E_INVALIDARG;
  if (size == 0) {
    STATSTG stat{};
    LARGE_INTEGER zero{};
    ULARGE_INTEGER here{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &here)))
      return E_FAIL;
    if (stat.cbSize.QuadPart < here.QuadPart || stat.cbSize.QuadPart - here.QuadPart > 0x7FFFFFFF) return E_FAIL;
    size = static_cast<LONG>(stat.cbSize.QuadPart - here.QuadPart);
  }
  bytes->resize(static_cast<size_t>(size));
  ULONG got = 0;
  const HRESULT hr = size ? stream->Read(bytes->data(), static_cast<ULONG>(size), &got) : S_OK;
  if (FAILED(hr)) return hr;
  bytes->resize(got);
  return S_OK;
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL, REFIID riid, LPVOID* lplpvObj) {
  if (!lplpvObj) return E_POINTER;
  *lplpvObj = nullptr;
  if (!lpstream) return E_POINTER;
  std::vector<BYTE> bytes;
  if (const HRESULT hr = readStream(lpstream, lSize, &bytes); FAILED(hr)) return hr;
  Picture* picture = nullptr;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    picture = bitmapPicture(bytes);
  } else if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0) {
    picture = iconPicture(bytes);
  } else {
    std::vector<BYTE> bitmapFile;
    if (convertThroughImageLibrary(bytes, &bitmapFile)) picture = bitmapPicture(bitmapFile);
  }
  if (!picture) return CTL_E_INVALIDPICTURE;
  picture->keepBytes(std::move(bytes));
  const HRESULT hr = picture->QueryInterface(riid, lplpvObj);
  picture->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE OleCreatePictureIndirect(LPPICTDESC lpPictDesc, REFIID riid, BOOL fOwn,
                                                           LPVOID* lplpvObj) {
  if (!lplpvObj) return E_POINTER;
  *lplpvObj = nullptr;
  Picture* picture = nullptr;
  if (!lpPictDesc) {
    picture = new Picture(PICTYPE_UNINITIALIZED, 0, nullptr, 0, 0, false);
  } else if (lpPictDesc->cbSizeofstruct < sizeof(UINT) * 2) {
    return E_INVALIDARG;
  } else if (lpPictDesc->picType == PICTYPE_BITMAP) {
    BITMAP info{};
    if (!GetObjectA(lpPictDesc->bmp.hbitmap, sizeof info, &info)) return E_INVALIDARG;
    picture = new Picture(PICTYPE_BITMAP, handleValue(lpPictDesc->bmp.hbitmap), lpPictDesc->bmp.hpal, info.bmWidth,
                          info.bmHeight, fOwn != FALSE);
  } else if (lpPictDesc->picType == PICTYPE_ICON) {
    ICONINFO info{};
    if (!GetIconInfo(lpPictDesc->icon.hicon, &info)) return E_INVALIDARG;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    const LONG height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    picture = new Picture(PICTYPE_ICON, handleValue(lpPictDesc->icon.hicon), nullptr, mask.bmWidth, height,
                          fOwn != FALSE);
  } else if (lpPictDesc->picType == static_cast<UINT>(PICTYPE_NONE)) {
    picture = new Picture(PICTYPE_NONE, 0, nullptr, 0, 0, false);
  } else {
    return E_INVALIDARG;  // metafiles are not offered
  }
  const HRESULT hr = picture->QueryInterface(riid, lplpvObj);
  picture->Release();
  return hr;
}
