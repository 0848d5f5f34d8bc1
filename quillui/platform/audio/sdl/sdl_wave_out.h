// The SDL2 wave-out backend: one audio device per open wave-out, fed on SDL's audio thread
// through an SDL_AudioStream that converts the blocks' PCM to the device's format.
#pragma once

#include "quillui/platform/audio/wave_out.h"

namespace quill::platform {

class SdlWaveOut final : public WaveOut {
 public:
  // Null with a reason when SDL audio or the device cannot be had.
  static std::unique_ptr<SdlWaveOut> Open(const PcmFormat& format, DoneFn done, std::string* error);
  ~SdlWaveOut() override;

  const char* Name() const override { return "sdl"; }
  bool Write(const uint8_t* data, size_t size, uint64_t cookie) override;
  void Reset() override;

  // The device's format, to which every block is converted: 16-bit signed stereo.
  static constexpr int kDeviceRate = 48000;
  static constexpr int kDeviceChannels = 2;

 private:
  struct State;  // SDL's types stay out of this header, which is installed with the library
  SdlWaveOut();
  std::unique_ptr<State> s_;
};

}  // namespace quill::platform
