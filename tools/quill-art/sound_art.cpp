#include "sound_art.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>

namespace quill_art {

namespace {

constexpr int kRate = kSoundRate;

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, uint16_t(v));
  Put16(b, uint16_t(v >> 16));
}
void PutId(std::vector<uint8_t>& b, const char* id) { b.insert(b.end(), id, id + 4); }

// A tone gliding from f0 to f1 Hz over ms milliseconds: a 2 ms rise, then an exponential
// fall, with a quieter octave above for body. Plain arithmetic, so every run gives the same
// samples.
std::vector<int16_t> Blip(double f0, double f1, int ms, double level, double decay) {
  const int n = kRate * ms / 1000;
  std::vector<int16_t> samples(static_cast<size_t>(n));
  const double pi = std::acos(-1.0);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    const double t = double(i) / kRate;
    const double f = f0 + (f1 - f0) * i / n;
    phase += 2 * pi * f / kRate;
    const double attack = std::min(1.0, t / 0.002);
    const double envelope = attack * std::exp(-t * decay);
    const double v = (std::sin(phase) + 0.25 * std::sin(2 * phase)) / 1.25 * envelope * level;
    samples[size_t(i)] = int16_t(std::lround(v * 32767));
  }
  return samples;
}

}  // namespace

bool WriteWave(const std::string& path, const std::vector<int16_t>& samples) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) Put16(data, uint16_t(s));
  std::vector<uint8_t> file;
  PutId(file, "RIFF");
  Put32(file, uint32_t(4 + 8 + 16 + 8 + data.size()));
  PutId(file, "WAVE");
  PutId(file, "fmt ");
  Put32(file, 16);
  Put16(file, 1);  // PCM
  Put16(file, 1);  // mono
  Put32(file, kRate);
  Put32(file, kRate * 2);
  Put16(file, 2);
  Put16(file, 16);
  PutId(file, "data");
  Put32(file, uint32_t(data.size()));
  file.insert(file.end(), data.begin(), data.end());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  if (out) return true;
  std::fprintf(stderr, "%s: cannot be written\n", path.c_str());
  return false;
}

const std::vector<std::string>& SoundNames() {
  static const std::vector<std::string> names = {"clkpmenu.wav", "btnpress.wav", "btnrelse.wav"};
  return names;
}

bool MakeSounds(const std::string& dir) {
  const std::string d = dir.empty() || dir.back() == '/' ? dir : dir + "/";
  // The menu's soft rising swish, the press a low tap, the release a lighter, higher one.
  return WriteWave(d + "clkpmenu.wav", Blip(600, 1100, 70, 0.35, 45)) &&
         WriteWave(d + "btnpress.wav", Blip(900, 700, 35, 0.45, 120)) &&
         WriteWave(d + "btnrelse.wav", Blip(1300, 1500, 30, 0.3, 140));
}

}  // namespace quill_art
