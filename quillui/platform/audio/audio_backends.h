// The wave-out backends, in one table: each has a name, a line that says what it is, and a way
// to open it. QUILL_AUDIO names the one a program wants; the choice among them is the
// caller's (the sound layer falls back to "null" when a device cannot be had).
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>

#include "quillui/platform/audio/wave_out.h"

namespace quill::platform {

struct WaveOutRequest {
  std::string backend;  // a name of the table
  PcmFormat format;
  WaveOut::DoneFn done;
  std::function<uint64_t()> nowMs;  // for backends that play in virtual time
};

struct WaveOutBackend {
  const char* name;
  const char* description;
  // Null with a reason when the device cannot be had.
  std::unique_ptr<WaveOut> (*open)(const WaveOutRequest& request, std::string* error);
};

// Every backend this build has, the default ("sdl") first.
std::span<const WaveOutBackend> WaveOutBackends();

// The environment variable that names the wanted backend, and its value (empty when unset).
inline constexpr const char* kAudioBackendVariable = "QUILL_AUDIO";
std::string WaveOutBackendFromEnvironment();

struct WaveOutOpened {
  std::unique_ptr<WaveOut> out;
  std::string error;  // why it could not be opened
};

// Opens the backend the request names; an unplayable format or an unknown name is an error,
// and no other backend is tried here.
WaveOutOpened OpenWaveOut(const WaveOutRequest& request);

}  // namespace quill::platform
