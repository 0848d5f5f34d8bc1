// The wave-out calls the block device is written against (open, prepare, write, reset, close),
// over the platform's wave-out backends; finished blocks come back to the callback window as
// the posted message MM_WOM_DONE (wParam the device handle, lParam the header's address).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quillui/framework/base/messages.h"
#include "quillui/sound/wave_format.h"

namespace quill {

struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;
using MMRESULT = unsigned;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NODRIVER = 6;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;

inline constexpr unsigned WAVE_MAPPER = 0xFFFFFFFFu;
inline constexpr uint32_t CALLBACK_WINDOW = 0x00010000;

inline constexpr uint32_t WHDR_DONE = 0x01;
inline constexpr uint32_t WHDR_PREPARED = 0x02;
inline constexpr uint32_t WHDR_INQUEUE = 0x10;

// A block's header: the sample buffer, its length, and a value of the owner's that comes back
// with the block-done notice. 32 bytes, as the headers are allocated.
struct WAVEHDR {
  uint8_t* lpData;
  uint32_t dwBufferLength;
  uint32_t dwBytesRecorded;
  uintptr_t dwUser;
  uint32_t dwFlags;
  uint32_t dwLoops;
};
static_assert(sizeof(WAVEHDR) == 32);

// Opens a device for format. The backend is chosen here: QUILL_AUDIO (or SetWaveOutBackend)
// says "null" or "sdl"; by default SDL when it opens, except on a manual framework clock, where
// only virtual time makes sense. When SDL is wanted but cannot be had, the null backend is used
// and the reporter says so once. WAVERR_BADFORMAT for formats no backend plays.
MMRESULT waveOutOpen(HWAVEOUT* out, unsigned deviceId, const ZWaveFormat* format, HWND callback,
                     uintptr_t instance, uint32_t flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT h, WAVEHDR* header, unsigned size);
MMRESULT waveOutUnprepareHeader(HWAVEOUT h, WAVEHDR* header, unsigned size);
MMRESULT waveOutWrite(HWAVEOUT h, WAVEHDR* header, unsigned size);
// Cuts playing off; each block still in the device is marked done and notified.
MMRESULT waveOutReset(HWAVEOUT h);
// WAVERR_STILLPLAYING while blocks are in the device.
MMRESULT waveOutClose(HWAVEOUT h);
// Backends in virtual time finish blocks only when asked: reports the blocks finished by now
// and answers milliseconds until the next finishes, or -1 (always -1 for real devices).
long waveOutPoll(HWAVEOUT h);
// The backend's name ("null", "sdl"), or null for a dead handle.
const char* waveOutBackendName(HWAVEOUT h);
bool IsWaveOutHandle(HWAVEOUT h);

// Host and test settings: the wave-out backend by name (platform/audio/audio_backends.h).
// An empty name goes back to QUILL_AUDIO and the default.
void SetWaveOutBackend(const std::string& name);

}  // namespace quill
