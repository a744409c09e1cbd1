// Sounds without an audio device: every request is resolved, checked,
// recorded and answered FALSE; a request that only stops answers TRUE.
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <windows.h>

#include <internal/soundlog.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using win32::sound::playLog;

std::vector<BYTE> fixtureWave() {
  std::ifstream in(KY_TEST_DATA "/click.wav", std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

class Sounds : public ::testing::Test {
 protected:
  void SetUp() override { win32::sound::clearPlayLog(); }
};

TEST_F(Sounds, RequestsAreRecordedWithTheirImage) {
  const std::vector<BYTE> wave = fixtureWave();
  ASSERT_GT(wave.size(), 44u);
  std::vector<BYTE> garbage(wave);
  std::memcpy(garbage.data() + 8, "AVI ", 4);
  char dir[] = "/tmp/kysoundXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string file = std::string(dir) + "/Ding.wav";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(wave.data()), wave.size());
  const std::string upper = std::string(dir) + "/DING.WAV";  // found ignoring case, as Windows finds it
  HMODULE self = GetModuleHandleA(nullptr);
  struct Case {
    const char* what;
    bool viaPlaySound;  // else sndPlaySoundA
    const void* sound;
    DWORD flags;
    std::string name;
    bool wave;
  } cases[] = {
      {"memory, asynchronous", false, wave.data(), SND_MEMORY | SND_ASYNC, "", true},
      {"memory that is no wave", false, garbage.data(), SND_MEMORY, "", false},
      {"file", false, upper.c_str(), SND_SYNC, upper, true},
      {"missing file", true, "/no/such/sound.wav", SND_FILENAME, "/no/such/sound.wav", false},
      {"resource", true, "CLICK", SND_RESOURCE, "CLICK", true},
      {"resource that is no wave", true, "NOTWAVE", SND_RESOURCE, "NOTWAVE", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    win32::sound::clearPlayLog();
    const auto* sound = static_cast<LPCSTR>(c.sound);
    EXPECT_FALSE(c.viaPlaySound ? PlaySoundA(sound, self, c.flags) : sndPlaySoundA(sound, c.flags))
        << "nothing can be heard";
    const auto log = playLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].name, c.name);
    EXPECT_EQ(log[0].flags, c.flags);
    EXPECT_EQ(log[0].wave, c.wave);
    if (c.wave) EXPECT_EQ(log[0].image, wave);
    else EXPECT_TRUE(log[0].image.empty());
  }
  std::remove(file.c_str());
  rmdir(dir);
}

TEST_F(Sounds, StoppingSucceedsAndIsNotRecorded) {
  EXPECT_TRUE(sndPlaySoundA(nullptr, 0));
  EXPECT_TRUE(PlaySoundA("CLICK", nullptr, SND_PURGE));
  EXPECT_TRUE(playLog().empty());
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
}

TEST_F(Sounds, ADeclaredSizeBeyondTheResourceIsNoWave) {
  std::vector<BYTE> wave = fixtureWave();
  wave[4] = 0xFF;  // declares more bytes than the file holds
  char dir[] = "/tmp/kysoundXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string file = std::string(dir) + "/long.wav";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(wave.data()), wave.size());
  EXPECT_FALSE(PlaySoundA(file.c_str(), nullptr, SND_FILENAME));
  ASSERT_EQ(playLog().size(), 1u);
  EXPECT_FALSE(playLog()[0].wave);
  std::remove(file.c_str());
  rmdir(dir);
}

TEST_F(Sounds, LoadsByItsWindowsName) {
  HMODULE library = LoadLibraryA("WinMM.DLL");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library, "sndPlaySoundA")), reinterpret_cast<void*>(&sndPlaySoundA));
  FreeLibrary(library);
}

}  // namespace
