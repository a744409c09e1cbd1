// Picture fields: edits whose class style has bit 0x8000 or 0x4000 show an
// image file instead of text. A file set as the value is converted once
// into a Windows bitmap (icons and metafiles are copied) in the ZUNTIMAGES
// folder of the temporary directory, through PVW32Cnv.DLL, and the copy's
// name becomes the value. F2 opens the file dialog.
//
// Conversion targets carry a hash of the source's full path in their name:
// two sources of one base name (a\logo.png, b\logo.gif) never overwrite each
// other's bitmap, and converting the same file again reuses its name.
#include <pvw32cnv.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <commdlg.h>

#include "editcontrol.h"
#include "picture.h"

namespace {

constexpr const char* kWarning = "Warning";

// Description and pattern pairs of the open-file dialog, each text as the
// system writes it.
constexpr char kFilter[] =
    "All files (*.*) \0*.*\0"
    " Amiga (*.iff) \0*.iff\0"
    " CompuServe Graphics Interchange (*.gif) \0*.gif\0"
    " Delux Paint (*.lbm) \0*.lbm\0"
    " GEM Paint (*.img) \0*.img\0"
    " Icon Files(*.ico) \0*.ico\0"
    " PC Paint (*.pic) \0*.pic\0"
    " Portable Network Graphics (*.png) \0*.png\0"
    " Sun Raster Image (*.ras) \0*.ras\0"
    " Tagged Image File Format (*.tif;*.tiff) \0*.tif;*.tiff\0"
    " Windows or OS/2 Bitmap (*.bmp) \0*.bmp\0"
    " Windows or OS/2 DIB (*.dib) \0*.dib\0"
    " WordPerfect bitmap (*.wpg) \0*.wpg\0"
    " ZSoft Paintbrush (*.pcx) \0*.pcx\0";

constexpr const char* kSupported[] = {".wmf", ".bmp", ".dib", ".gif", ".ico", ".iff", ".img", ".lbm",
                                      ".pct", ".pcx", ".pic", ".png", ".ras", ".tif", ".tiff", ".wpg"};

// Shared by every picture field of the process: the next dialog starts where the last one ended.
DWORD lastFilterIndex = 1;
std::string lastDirectory;

void warn(const char* text) { MessageBoxA(nullptr, text, kWarning, MB_ICONEXCLAMATION); }

// The extension from the last '.', or empty.
std::string extensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  const size_t separator = name.find_last_of("/\\");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = name.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool supported(const char* name) {
  if (name == nullptr) return false;
  const std::string extension = extensionOf(name);
  return std::any_of(std::begin(kSupported), std::end(kSupported), [&](const char* e) { return extension == e; });
}

bool readable(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The name as given, else beside the program, else along PATH; empty when none.
std::string locate(const std::string& name) {
  if (readable(name)) return name;
  char program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  std::string directory(program, length);
  const size_t cut = directory.find_last_of("\\/");
  if (cut != std::string::npos) {
    const std::string beside = directory.substr(0, cut + 1) + name;
    if (readable(beside)) return beside;
  }
  char found[MAX_PATH] = {};
  char* filePart = nullptr;
  std::vector<char> path(GetEnvironmentVariableA("PATH", nullptr, 0) + 1, '\0');
  if (GetEnvironmentVariableA("PATH", path.data(), static_cast<DWORD>(path.size())) > 0 &&
      SearchPathA(path.data(), name.c_str(), nullptr, sizeof found, found, &filePart) > 0 && readable(found))
    return found;
  return {};
}

DWORD pathHash(const std::string& path) {
  char full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  const std::string key = length > 0 && length < sizeof full ? std::string(full, length) : path;
  DWORD hash = 2166136261u;  // FNV-1a
  for (unsigned char c : key) hash = (hash ^ c) * 16777619u;
  return hash;
}

// The conversion folder, made when missing; empty when it cannot be.
std::string conversionFolder() {
  char temp[MAX_PATH] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) return {};
  std::string folder(temp, length);
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
  folder += "ZUNTIMAGES";
  if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(folder.c_str(), nullptr))
    return {};
  return folder;
}

std::string targetName(const std::string& folder, const std::string& source) {
  const size_t cut = source.find_last_of("/\\");
  std::string base = cut == std::string::npos ? source : source.substr(cut + 1);
  const std::string extension = extensionOf(base);
  base.erase(base.size() - extension.size());
  const char* suffix = extension == ".ico" ? ".ICO" : extension == ".wmf" ? ".WMF" : ".BMP";
  char hash[16];
  std::snprintf(hash, sizeof hash, "~%08lx", static_cast<unsigned long>(pathHash(source)));
  std::string target = folder + "/" + base + hash + suffix;
  std::replace(target.begin(), target.end(), '/', '\\');
  return target;
}

void changedByUser(HEdRecord* r) {
  r->head.flags |= HED_MODIFIED;
  HCtlNotify(&r->head, HED_N_CHANGE);
}

// The default extension of a filter index: its pattern without "*.", the
// first of several; none for "*.*" and index 0.
std::string defaultExtension(DWORD index) {
  const char* p = kFilter;
  for (DWORD i = 1; *p != '\0'; ++i) {
    p += std::strlen(p) + 1;  // the description
    if (i == index) {
      std::string pattern(p);
      pattern = pattern.substr(0, pattern.find(';'));
      return pattern.rfind("*.", 0) == 0 && pattern != "*.*" ? pattern.substr(2) : std::string();
    }
    p += std::strlen(p) + 1;
  }
  return {};
}

}  // namespace

// Ordinal 6, then 51, of the conversion library.
int HCtlConvertImage(LPCSTR source, LPCSTR target, LPCSTR openLibrary) {
  if (!source || !target) return PVCNV_ERR_ARGUMENT;
  HMODULE library = LoadLibraryA("PVW32Cnv.DLL");
  HMODULE opener = openLibrary ? LoadLibraryA(openLibrary) : library;
  int result = -1;
  if (library != nullptr && opener != nullptr) {
    auto open = reinterpret_cast<PVCNV_OPENPROC>(
        reinterpret_cast<void*>(GetProcAddress(opener, MAKEINTRESOURCEA(PVCNV_ORDINAL_OPEN))));
    auto write = reinterpret_cast<PVCNV_WRITEPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(PVCNV_ORDINAL_WRITE))));
    if (open != nullptr && write != nullptr) {
      PVCNV_IMAGEINFO info{};
      HANDLE image = nullptr;
      result = open(&image, source, &info, PVCNV_INFO_SIZE);
      if (result == PVCNV_OK) {
        PVCNV_WRITEOPTIONS options{};
        options.size = PVCNV_OPTIONS_SIZE;
        options.target = PVCNV_OPTIONS_BITMAP;
        result = write(image, target, &options, 0, 0, 0);
      }
    }
  }
  if (opener != nullptr && opener != library) FreeLibrary(opener);
  if (library != nullptr) FreeLibrary(library);
  return result;
}

int HEdPictureSetFile(HEdRecord* r, const char* name) {
  if (!supported(name)) {
    HEdSetValue(r, nullptr);
    changedByUser(r);
    return 1;
  }
  const std::string source = locate(name);
  if (source.empty()) {
    char text[MAX_PATH + 80];
    std::snprintf(text, sizeof text, "Unable to locate image file '%s' in current directory or $PATH", name);
    warn(text);
    return 0;
  }
  const std::string folder = conversionFolder();
  const std::string target = folder.empty() ? std::string() : targetName(folder, source);
  const std::string extension = extensionOf(source);
  bool done = false;
  if (!target.empty()) {
    if (extension == ".bmp" || extension == ".ico" || extension == ".wmf") done = CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
    else done = HCtlConvertImage(source.c_str(), target.c_str()) == PVCNV_OK;
  }
  if (!done) {
    warn("Image conversion failed");
    return 0;
  }
  HEdSetValue(r, target.c_str());
  changedByUser(r);
  return 1;
}

void HEdPictureDialog(HEdRecord* r) {
  HWND window = r->head.window;
  for (;;) {
    char file[MAX_PATH] = {};
    char title[256] = {};
    const std::string extension = defaultExtension(lastFilterIndex);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = lastFilterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrInitialDir = lastDirectory.empty() ? nullptr : lastDirectory.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST;
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    if (!GetOpenFileNameA(&ofn)) return;
    lastFilterIndex = ofn.nFilterIndex;
    const std::string chosen = file;
    const size_t cut = chosen.find_last_of("\\/");
    lastDirectory = cut == std::string::npos ? std::string() : chosen.substr(0, cut);
    if (supported(file)) {
      SendMessageA(window, KYM_SETDATA, 0, reinterpret_cast<LPARAM>(file));
      if (!IsWindow(window)) return;
      changedByUser(r);
      return;
    }
    warn("Unsupported Image Format");
  }
}

void HEdPicturePaint(HEdRecord* r, HDC dc, const RECT& client) {
  const char* file = (r->head.flags & HED_NULL) ? nullptr : reinterpret_cast<const char*>(r->value);
  if (file != nullptr && *file != '\0') {
    HCtlPicture picture{};
    if (HCtlLoadPicture(&picture, nullptr, file, TRUE)) {
      int width = 0, height = 0;
      HCtlPictureSize(&picture, &width, &height);
      if (r->head.style & HES_PICTURESIZED) {
        // The window takes the image's size plus its frame.
        const DWORD style = static_cast<DWORD>(GetWindowLongA(r->head.window, GWL_STYLE));
        const int frame = (r->head.style & HES_3DFRAME) ? 4 : (style & WS_BORDER) ? 2 : 0;
        RECT now;
        GetWindowRect(r->head.window, &now);
        if (now.right - now.left != width + frame || now.bottom - now.top != height + frame)
          SetWindowPos(r->head.window, nullptr, 0, 0, width + frame, height + frame, SWP_NOMOVE | SWP_NOZORDER);
        HCtlDrawPicture(dc, &picture, client.left, client.top, RGB(0, 255, 0));
      } else if (picture.kind == HCTL_PIC_ICON) {
        DrawIconEx(dc, client.left, client.top, static_cast<HICON>(picture.handle), client.right - client.left,
                   client.bottom - client.top, 0, nullptr, DI_NORMAL);
      } else {
        // Drawn at the window's size.
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(memory, picture.handle);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top, memory, 0, 0,
                   width, height, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
      }
      HCtlFreePicture(&picture);
    }
  }
  if (r->head.flags & HED_FOCUS) {
    RECT focus = client;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}
