#include "quillui/sound/wave_out_api.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "quillui/framework/window/window.h"
#include "quillui/framework/window/window_system.h"
#include "quillui/platform/audio/audio_backends.h"
#include "quillui/platform/audio/null/null_wave_out.h"
#include "quillui/profile/reporter.h"

namespace quill {

namespace {

// What a device handle stands for. Handles are numbers that are never reused, so a notice
// still queued from a closed device cannot be taken for one of a later device.
struct WaveOutDevice {
  HWAVEOUT handle = nullptr;
  std::unique_ptr<platform::WaveOut> out;
  HWND callback = nullptr;
  // Guards inDevice and the headers' flags: real backends finish blocks on their own thread.
  std::mutex mutex;
  std::unordered_set<WAVEHDR*> inDevice;
};

struct Settings {
  std::mutex mutex;
  std::string backend;
  bool reportedNoDevice = false;
  uintptr_t lastHandle = 0;
  std::unordered_map<uintptr_t, std::unique_ptr<WaveOutDevice>> live;
};

Settings& S() {
  static Settings* s = new Settings;  // outlives static destruction: audio threads may ask late
  return *s;
}

// The device behind a handle, or null. Devices are opened and closed on the user-interface
// thread only, so the answer stays good there.
WaveOutDevice* Live(HWAVEOUT handle) {
  std::lock_guard lock(S().mutex);
  auto it = S().live.find(uintptr_t(handle));
  return it == S().live.end() ? nullptr : it->second.get();
}

void Finished(WaveOutDevice* h, uint64_t cookie) {
  auto* header = reinterpret_cast<WAVEHDR*>(uintptr_t(cookie));
  {
    std::lock_guard lock(h->mutex);
    if (!h->inDevice.erase(header)) return;
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  }
  if (h->callback) PostMessage(h->callback, MM_WOM_DONE, WPARAM(h->handle), LPARAM(header));
}

uint64_t FrameworkNowMs() {
  return TWindowSystem::IsInstalled() ? TWindowSystem::Get().NowMs() : 0;
}

}  // namespace

MMRESULT waveOutOpen(HWAVEOUT* out, unsigned, const ZWaveFormat* format, HWND callback, uintptr_t,
                     uint32_t) {
  if (!out) return MMSYSERR_INVALPARAM;
  *out = nullptr;
  if (!format) return MMSYSERR_INVALPARAM;
  platform::PcmFormat pcm;
  pcm.channels = format->Channels();
  pcm.samplesPerSec = format->SamplesPerSec();
  pcm.bitsPerSample = format->BitsPerSample();
  if (format->FormatTag() != WAVE_FORMAT_PCM || !platform::IsPlayablePcm(pcm) ||
      format->BlockAlign() != pcm.FrameBytes())
    return WAVERR_BADFORMAT;

  std::string wanted;
  {
    std::lock_guard lock(S().mutex);
    wanted = S().backend;
  }
  if (wanted.empty()) wanted = platform::WaveOutBackendFromEnvironment();
  // A program on the manual clock plays in its virtual time, unless told otherwise.
  if (wanted.empty() && TWindowSystem::IsInstalled() && TWindowSystem::Get().Clock().IsManual())
    wanted = "null";
  if (wanted.empty()) wanted = platform::WaveOutBackends().front().name;

  auto h = std::make_unique<WaveOutDevice>();
  h->callback = callback;
  WaveOutDevice* raw = h.get();
  platform::WaveOutRequest request;
  request.format = pcm;
  request.done = [raw](uint64_t cookie) { Finished(raw, cookie); };
  request.nowMs = &FrameworkNowMs;
  request.backend = wanted;
  platform::WaveOutOpened opened = platform::OpenWaveOut(request);
  if (!opened.out) {
    // No sound device is no failure: the sounds are played in silence.
    bool first = false;
    {
      std::lock_guard lock(S().mutex);
      first = !S().reportedNoDevice;
      S().reportedNoDevice = true;
    }
    if (first) {
      std::string message = "No sound device (" + opened.error + "); sounds are not heard.";
      reporter(message.c_str(), "Sound", eREPORT_LOG, "SOUND", __LINE__);
    }
    request.backend = "null";
    opened = platform::OpenWaveOut(request);
    if (!opened.out) return MMSYSERR_NODRIVER;
  }
  h->out = std::move(opened.out);
  std::lock_guard lock(S().mutex);
  const uintptr_t id = ++S().lastHandle;
  h->handle = reinterpret_cast<HWAVEOUT>(id);
  *out = h->handle;
  S().live[id] = std::move(h);
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, unsigned size) {
  WaveOutDevice* h = Live(handle);
  if (!h) return MMSYSERR_INVALHANDLE;
  if (!header || size != sizeof(WAVEHDR) || (header->dwBufferLength > 0 && !header->lpData))
    return MMSYSERR_INVALPARAM;
  std::lock_guard lock(h->mutex);
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, unsigned size) {
  WaveOutDevice* h = Live(handle);
  if (!h) return MMSYSERR_INVALHANDLE;
  if (!header || size != sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  std::lock_guard lock(h->mutex);
  if (h->inDevice.count(header)) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, unsigned size) {
  WaveOutDevice* h = Live(handle);
  if (!h) return MMSYSERR_INVALHANDLE;
  if (!header || size != sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  {
    std::lock_guard lock(h->mutex);
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    if (h->inDevice.count(header)) return WAVERR_STILLPLAYING;
    h->inDevice.insert(header);
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  }
  // The backend is called unlocked: its audio thread may be finishing a block meanwhile.
  if (!h->out->Write(header->lpData, header->dwBufferLength, uint64_t(uintptr_t(header)))) {
    std::lock_guard lock(h->mutex);
    h->inDevice.erase(header);
    header->dwFlags &= ~WHDR_INQUEUE;
    return MMSYSERR_ERROR;
  }
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutReset(HWAVEOUT handle) {
  WaveOutDevice* h = Live(handle);
  if (!h) return MMSYSERR_INVALHANDLE;
  h->out->Reset();
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT handle) {
  WaveOutDevice* h = Live(handle);
  if (!h) return MMSYSERR_INVALHANDLE;
  {
    std::lock_guard lock(h->mutex);
    if (!h->inDevice.empty()) return WAVERR_STILLPLAYING;
  }
  std::unique_ptr<WaveOutDevice> gone;
  {
    std::lock_guard lock(S().mutex);
    auto it = S().live.find(uintptr_t(handle));
    gone = std::move(it->second);
    S().live.erase(it);
  }
  gone->out.reset();  // joins a real backend's audio thread before the rest goes
  return MMSYSERR_NOERROR;
}

long waveOutPoll(HWAVEOUT handle) {
  WaveOutDevice* h = Live(handle);
  return h ? long(h->out->Poll()) : -1;
}

const char* waveOutBackendName(HWAVEOUT handle) {
  WaveOutDevice* h = Live(handle);
  return h ? h->out->Name() : nullptr;
}

bool IsWaveOutHandle(HWAVEOUT handle) { return Live(handle) != nullptr; }

void SetWaveOutBackend(const std::string& name) {
  std::lock_guard lock(S().mutex);
  S().backend = name;
}

void ResetWaveOutSettings() {
  std::lock_guard lock(S().mutex);
  S().backend.clear();
  S().reportedNoDevice = false;
  platform::SetNullWaveOutPlayLog(nullptr);
}

}  // namespace quill
