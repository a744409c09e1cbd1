// The sound functions without an audio device. Each request is resolved as
// Windows resolves it (a sound in memory, a WAVE resource of a module, a
// file), checked to be a RIFF WAVE image, recorded for tests and announced
// on stderr; the answer is Windows' answer on a machine without a wave
// output device: FALSE, except for a request that only stops playing.
#include <mmsystem.h>
#include <windows.h>

#include <internal/soundlog.h>
#include <internal/userscript.h>

#include <cstring>
#include <mutex>

namespace win32::sound {
namespace {

// A RIFF image declares its own size; nothing larger is believed or copied.
constexpr DWORD kLargestImage = 16u << 20;

struct Log {
  std::mutex lock;
  std::vector<PlayRecord> records;
};
Log& log() {
  static Log l;
  return l;
}

DWORD littleDword(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }

// The image of `available` bytes (unknown for a bare pointer: 0) as a RIFF
// WAVE: its declared bytes, or nothing when it is none.
std::vector<BYTE> waveImage(const BYTE* data, DWORD available, bool sizeKnown) {
  if (data == nullptr || (sizeKnown && available < 12)) return {};
  if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return {};
  const DWORD declared = littleDword(data + 4);
  if (declared < 4 || declared > kLargestImage - 8) return {};
  DWORD size = declared + 8;
  if (sizeKnown && size > available) return {};  // cut short: not a sound
  return std::vector<BYTE>(data, data + size);
}

std::vector<BYTE> fileImage(const char* name) {
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::vector<BYTE> bytes;
  const DWORD size = GetFileSize(file, nullptr);
  if (size != INVALID_FILE_SIZE && size <= kLargestImage) {
    bytes.resize(size);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), size, &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  CloseHandle(file);
  return waveImage(bytes.data(), static_cast<DWORD>(bytes.size()), true);
}

std::vector<BYTE> resourceImage(HMODULE module, const char* name) {
  HRSRC found = FindResourceA(module, name, "WAVE");
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = static_cast<const BYTE*>(LockResource(loaded));
  return waveImage(data, SizeofResource(module, found), true);
}

// `name` is none for a sound in memory.
BOOL record(const char* name, DWORD flags, std::vector<BYTE> image) {
  PlayRecord entry{name == nullptr ? std::string() : std::string(name), flags, !image.empty(), std::move(image)};
  win32::script::announce("sound: " + (entry.name.empty() ? std::string("(in memory)") : entry.name) +
                          (entry.wave ? " would play (no audio device)" : " is no wave sound"));
  std::lock_guard<std::mutex> guard(log().lock);
  log().records.push_back(std::move(entry));
  return FALSE;
}

}  // namespace

std::vector<PlayRecord> playLog() {
  std::lock_guard<std::mutex> guard(log().lock);
  return log().records;
}

void clearPlayLog() {
  std::lock_guard<std::mutex> guard(log().lock);
  log().records.clear();
}

}  // namespace win32::sound

using namespace win32::sound;

extern "C" {

BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
  if (sound == nullptr || (flags & SND_PURGE)) return TRUE;  // nothing plays: stopping succeeds
  if (flags & SND_MEMORY) {
    // SND_RESOURCE includes the SND_MEMORY bit; only the whole value names a resource.
    if ((flags & SND_RESOURCE) == SND_RESOURCE) return record(sound, flags, resourceImage(module, sound));
    return record(nullptr, flags, waveImage(reinterpret_cast<const BYTE*>(sound), 0, false));
  }
  return record(sound, flags, fileImage(sound));
}

BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags) { return PlaySoundA(sound, nullptr, flags & 0xFFFF); }

UINT WINAPI waveOutGetNumDevs(void) { return 0; }

}
