// WINMM: the sound functions the run-time plays a button's wave with. There
// is no audio device here: a request is checked (a readable RIFF WAVE sound),
// recorded (internal/soundlog.h) and answered as Windows answers without a
// wave output device.
#pragma once

#include "windef.h"

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_APPLICATION 0x0080
#define SND_ALIAS 0x00010000
#define SND_FILENAME 0x00020000
#define SND_RESOURCE 0x00040004

#ifdef __cplusplus
extern "C" {
#endif
// FALSE: nothing can be heard (see above); a null sound stops playing and answers TRUE.
BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags);
BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
// 0: there is no wave output device.
UINT WINAPI waveOutGetNumDevs(void);
#ifdef __cplusplus
}
#endif

#define sndPlaySound sndPlaySoundA
#define PlaySound PlaySoundA
