// What the sound functions were asked to play (mmsystem.h): there is no audio
// device, so tests and people read the requests here instead of hearing them.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace win32::sound {

struct PlayRecord {
  std::string name;     // file, alias or resource name as given; empty for a sound in memory
  DWORD flags;          // SND_* as given (sndPlaySoundA's UINT flags widened)
  bool wave;            // the sound was found and is a RIFF WAVE image
  std::vector<BYTE> image;  // the RIFF image that would have played (memory, resource or file)
};

std::vector<PlayRecord> playLog();
void clearPlayLog();

}  // namespace win32::sound
