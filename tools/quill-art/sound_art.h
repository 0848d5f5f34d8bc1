// The library's click sounds, synthesised: short, soft and the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quill_art {

// "clkpmenu.wav" (the fly menu's), "btnpress.wav" and "btnrelse.wav" (the buttons' press and
// release), 16-bit mono PCM at 22,050 Hz in RIFF WAVE files.
const std::vector<std::string>& SoundNames();
bool MakeSounds(const std::string& dir);

// The sample rate of every sound the tools make.
inline constexpr int kSoundRate = 22050;
// Writes the samples as a 16-bit mono PCM RIFF WAVE file at kSoundRate; false (reported) when
// the file cannot be written.
bool WriteWave(const std::string& path, const std::vector<int16_t>& samples);

}  // namespace quill_art
