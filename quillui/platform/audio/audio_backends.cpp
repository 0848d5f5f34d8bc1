#include "quillui/platform/audio/audio_backends.h"

#include <cstdlib>

#include "quillui/platform/audio/null/null_wave_out.h"
#include "quillui/platform/audio/sdl/sdl_wave_out.h"

namespace quill::platform {

namespace {

std::unique_ptr<WaveOut> OpenSdl(const WaveOutRequest& request, std::string* error) {
  return SdlWaveOut::Open(request.format, request.done, error);
}

std::unique_ptr<WaveOut> OpenNull(const WaveOutRequest& request, std::string*) {
  return std::make_unique<NullWaveOut>(request.format, request.done, request.nowMs);
}

constexpr WaveOutBackend kBackends[] = {
    {"sdl", "the sound device, through SDL2 audio", &OpenSdl},
    {"null", "silence in virtual time on the framework's clock; can record what it played",
     &OpenNull},
};

}  // namespace

std::span<const WaveOutBackend> WaveOutBackends() { return kBackends; }

std::string WaveOutBackendFromEnvironment() {
  const char* value = std::getenv(kAudioBackendVariable);
  return value ? value : "";
}

WaveOutOpened OpenWaveOut(const WaveOutRequest& request) {
  WaveOutOpened r;
  if (!IsPlayablePcm(request.format)) {
    r.error = "unsupported wave format";
    return r;
  }
  for (const WaveOutBackend& b : kBackends) {
    if (request.backend != b.name) continue;
    r.out = b.open(request, &r.error);
    if (!r.out && r.error.empty()) r.error = std::string(b.name) + " could not be opened";
    return r;
  }
  r.error = "unknown wave-out backend \"" + request.backend + "\" (known:";
  for (const WaveOutBackend& b : kBackends) r.error += std::string(" ") + b.name;
  r.error += ")";
  return r;
}

}  // namespace quill::platform
