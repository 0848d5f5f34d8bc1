// The library's click sounds, synthesised: short, soft and the same bytes on every run.
#pragma once

#include <string>
#include <vector>

namespace quill_art {

// "clkpmenu.wav" (the fly menu's), "btnpress.wav" and "btnrelse.wav" (the buttons' press and
// release), 16-bit mono PCM at 22,050 Hz in RIFF WAVE files.
const std::vector<std::string>& SoundNames();
bool MakeSounds(const std::string& dir);

}  // namespace quill_art
