#include "quillui/platform/audio/sdl/sdl_wave_out.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

namespace quill::platform {

namespace {

constexpr Uint16 kDeviceSamples = 1024;
// Source frames handed to the stream at a time: small enough to keep the callback short.
constexpr size_t kPutFrames = 2048;

}  // namespace

struct SdlWaveOut::State {
  struct Block {
    const uint8_t* data;
    size_t size;
    size_t put;  // bytes handed to the stream so far
    uint64_t cookie;
  };

  static void SDLCALL Callback(void* self, Uint8* out, int len);
  // Runs on the audio thread with the device locked; collects finished cookies.
  void Fill(Uint8* out, int len, std::vector<uint64_t>& finished);

  DoneFn done;
  PcmFormat format;
  SDL_AudioDeviceID device = 0;
  SDL_AudioSpec have{};
  SDL_AudioStream* stream = nullptr;
  bool audioInit = false;
  // Touched only with the device locked (the callback runs under that lock).
  std::deque<Block> waiting;
  // Blocks wholly put into the stream, each with the count of output frames at which its last
  // frame has come out; frames are counted from the last time the stream ran dry.
  struct Target {
    uint64_t cookie;
    uint64_t outFrame;
  };
  std::deque<Target> inStream;
  uint64_t inFrames = 0;
  uint64_t outFrames = 0;
  bool unflushed = false;
};

SdlWaveOut::SdlWaveOut() : s_(std::make_unique<State>()) {}

std::unique_ptr<SdlWaveOut> SdlWaveOut::Open(const PcmFormat& format, DoneFn done,
                                             std::string* error) {
  auto fail = [&](const char* what) -> std::unique_ptr<SdlWaveOut> {
    if (error) *error = std::string(what) + ": " + SDL_GetError();
    return nullptr;
  };
  if (!IsPlayablePcm(format)) {
    if (error) *error = "unsupported wave format";
    return nullptr;
  }
  std::unique_ptr<SdlWaveOut> w(new SdlWaveOut());
  State& s = *w->s_;
  // Audio on its own: the display backend's subsystems are left alone, and SDL_Quit happens
  // only when the last subsystem goes.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail("SDL audio");
  s.audioInit = true;
  s.done = std::move(done);
  s.format = format;
  // The device always runs one format and SDL_AudioStream does every conversion from the
  // blocks' format, so all formats take the same, testable path.
  const SDL_AudioFormat src = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  s.stream = SDL_NewAudioStream(src, Uint8(format.channels), int(format.samplesPerSec),
                                AUDIO_S16SYS, kDeviceChannels, kDeviceRate);
  if (!s.stream) return fail("SDL audio stream");
  SDL_AudioSpec want{};
  want.freq = kDeviceRate;
  want.format = AUDIO_S16SYS;
  want.channels = kDeviceChannels;
  want.samples = kDeviceSamples;
  want.callback = &State::Callback;
  want.userdata = &s;
  s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &s.have, 0);
  if (s.device == 0) return fail("SDL audio device");
  SDL_PauseAudioDevice(s.device, 0);
  return w;
}

SdlWaveOut::~SdlWaveOut() {
  // Closing waits for the callback to return, so nothing runs on the audio thread after this.
  if (s_->device) SDL_CloseAudioDevice(s_->device);
  if (s_->stream) SDL_FreeAudioStream(s_->stream);
  if (s_->audioInit) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
}

bool SdlWaveOut::Write(const uint8_t* data, size_t size, uint64_t cookie) {
  if (size > 0 && !data) return false;
  const size_t frame = s_->format.FrameBytes();
  SDL_LockAudioDevice(s_->device);
  s_->waiting.push_back({data, size / frame * frame, 0, cookie});
  SDL_UnlockAudioDevice(s_->device);
  return true;
}

void SdlWaveOut::Reset() {
  std::vector<uint64_t> cut;
  SDL_LockAudioDevice(s_->device);
  for (const State::Target& t : s_->inStream) cut.push_back(t.cookie);
  for (const State::Block& b : s_->waiting) cut.push_back(b.cookie);
  s_->inStream.clear();
  s_->waiting.clear();
  SDL_AudioStreamClear(s_->stream);
  s_->inFrames = s_->outFrames = 0;
  s_->unflushed = false;
  SDL_UnlockAudioDevice(s_->device);
  if (s_->done)
    for (uint64_t c : cut) s_->done(c);
}

void SDLCALL SdlWaveOut::State::Callback(void* self, Uint8* out, int len) {
  auto* s = static_cast<State*>(self);
  std::vector<uint64_t> finished;
  s->Fill(out, len, finished);
  if (s->done)
    for (uint64_t c : finished) s->done(c);
}

void SdlWaveOut::State::Fill(Uint8* out, int len, std::vector<uint64_t>& finished) {
  constexpr int kOutFrameBytes = kDeviceChannels * 2;
  const size_t frameBytes = format.FrameBytes();
  int filled = 0;
  while (filled < len) {
    const int available = SDL_AudioStreamAvailable(stream);
    if (available > 0) {
      const int got = SDL_AudioStreamGet(stream, out + filled, std::min(available, len - filled));
      if (got <= 0) break;
      filled += got;
      outFrames += uint64_t(got / kOutFrameBytes);
      while (!inStream.empty() && outFrames >= inStream.front().outFrame) {
        finished.push_back(inStream.front().cookie);
        inStream.pop_front();
      }
      continue;
    }
    if (!waiting.empty()) {
      Block& b = waiting.front();
      const size_t n = std::min(b.size - b.put, kPutFrames * frameBytes);
      if (n > 0 && SDL_AudioStreamPut(stream, b.data + b.put, int(n)) != 0) {
        b.put = b.size;  // a block the stream refuses is dropped, not retried forever
      } else {
        b.put += n;
        inFrames += n / frameBytes;
        unflushed = unflushed || n > 0;
      }
      if (b.put >= b.size) {
        inStream.push_back({b.cookie, inFrames * uint64_t(kDeviceRate) / format.samplesPerSec});
        waiting.pop_front();
      }
      continue;
    }
    if (unflushed) {
      // Nothing follows: push out what the resampler still holds of the last block.
      unflushed = false;
      SDL_AudioStreamFlush(stream);
      continue;
    }
    // Dry: whatever was put has come out, whatever the resampler's rounding.
    for (const Target& t : inStream) finished.push_back(t.cookie);
    inStream.clear();
    inFrames = outFrames = 0;
    break;
  }
  if (filled < len) std::memset(out + filled, have.silence, size_t(len - filled));
}

}  // namespace quill::platform
