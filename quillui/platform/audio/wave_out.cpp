#include "quillui/platform/audio/wave_out.h"

namespace quill::platform {

bool IsPlayablePcm(const PcmFormat& f) {
  return (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
         f.samplesPerSec >= 1000 && f.samplesPerSec <= 384000;
}

}  // namespace quill::platform
