// The button's sound: a wave resource (custom type 400) of the creating
// module - kept loaded when its name begins with "%a" - or a wave file, played
// with WinMM's sndPlaySoundA, bound by name at the first need.
#include <cstring>
#include <string>

#include "button.h"
#include "library.h"
#include "suballocator.h"

namespace {

constexpr UINT kSndAsync = 0x0001;
constexpr UINT kSndMemory = 0x0004;
constexpr WORD kFirstVersionWithSound = 0x030A;  // 3.10

typedef BOOL(WINAPI* SndPlaySoundProc)(LPCSTR, UINT);

SndPlaySoundProc soundEntry() {
  static bool bound = false;
  static SndPlaySoundProc entry = nullptr;
  if (!bound) {
    bound = true;
    if (HMODULE winmm = LoadLibraryA("WinMM.DLL"))  // stays loaded for the process
      entry = reinterpret_cast<SndPlaySoundProc>(reinterpret_cast<void*>(GetProcAddress(winmm, "sndPlaySoundA")));
  }
  return entry;
}

HRSRC findWave(HINSTANCE module, const char* name) {
  return module != nullptr ? FindResourceA(module, name, MAKEINTRESOURCEA(400)) : nullptr;
}

// A wave file by name (".WAV" added without a '.'): its full path when OpenFile finds it.
LPSTR findWaveFile(const char* name) {
  std::string file = name;
  if (file.find('.') == std::string::npos) file += ".WAV";
  OFSTRUCT found{};
  found.cBytes = sizeof found;
  if (OpenFile(file.c_str(), &found, OF_EXIST) == HFILE_ERROR) return nullptr;
  return HCtlStrDup(found.szPathName);
}

}  // namespace

void HButtFreeSound(HButtRecord* r) {
  if (r->heldWave != nullptr) FreeResource(r->heldWave);
  r->heldWave = nullptr;
  r->waveResource = nullptr;
  HCtlFree(r->waveFile);
  r->waveFile = nullptr;
}

void HButtSetSound(HButtRecord* r, const char* sound) {
  HButtFreeSound(r);
  if (sound == nullptr || *sound == '\0') return;
  // "%a" in front keeps the wave loaded; it may name a resource of the
  // whole name or of the name behind it (resource scripts cannot say '%').
  const bool held = std::strncmp(sound, "%a", 2) == 0;
  HRSRC resource = findWave(r->module, sound);
  if (resource == nullptr && held) resource = findWave(r->module, sound + 2);
  if (resource != nullptr) {
    if (held) r->heldWave = LoadResource(r->module, resource);
    else r->waveResource = resource;
    return;
  }
  r->waveFile = findWaveFile(sound);  // not kept when it cannot be found
}

void HButtPlaySound(HButtRecord* r) {
  if (r->heldWave == nullptr && r->waveResource == nullptr && r->waveFile == nullptr) return;
  const DWORD version = GetVersion();
  if (MAKEWORD(HIBYTE(LOWORD(version)), LOBYTE(LOWORD(version))) < kFirstVersionWithSound) return;
  SndPlaySoundProc play = soundEntry();
  if (play == nullptr) return;  // without WinMM the button is silent
  if (r->heldWave != nullptr) {
    if (const void* image = LockResource(r->heldWave)) play(static_cast<LPCSTR>(image), kSndMemory | kSndAsync);
  } else if (r->waveResource != nullptr) {
    HGLOBAL loaded = LoadResource(r->module, r->waveResource);
    if (const void* image = LockResource(loaded)) play(static_cast<LPCSTR>(image), kSndMemory);
    FreeResource(loaded);
  } else {
    // A name "X\:..." (a drive letter behind a stray '\') loses the '\'.
    std::string path = r->waveFile;
    if (path.size() > 2 && path[1] == '\\' && path[2] == ':') path.erase(1, 1);
    play(path.c_str(), 0);
  }
}
