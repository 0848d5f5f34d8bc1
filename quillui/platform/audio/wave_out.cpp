#include "quillui/platform/audio/wave_out.h"

#include "quillui/platform/audio/null/null_wave_out.h"
#include "quillui/platform/audio/sdl/sdl_wave_out.h"

namespace quill::platform {

bool IsPlayablePcm(const PcmFormat& f) {
  return (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
         f.samplesPerSec >= 1000 && f.samplesPerSec <= 384000;
}

WaveOutOpened OpenWaveOut(const WaveOutRequest& request, std::shared_ptr<NullPlayLog> log) {
  WaveOutOpened r;
  if (!IsPlayablePcm(request.format)) {
    r.error = "unsupported wave format";
    return r;
  }
  if (request.backend == "null") {
    r.out =
        std::make_unique<NullWaveOut>(request.format, request.done, request.nowMs, std::move(log));
  } else if (request.backend == "sdl") {
    r.out = SdlWaveOut::Open(request.format, request.done, &r.error);
  } else {
    r.error = "unknown wave-out backend \"" + request.backend + "\"";
  }
  return r;
}

}  // namespace quill::platform
