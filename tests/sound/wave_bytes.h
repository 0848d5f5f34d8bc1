// Test helpers: RIFF files assembled byte by byte (so readers are checked against bytes the
// writer did not make), PCM samples, and a scratch directory removed after each test.
#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quill::test {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
inline uint16_t Get16(const Bytes& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

// A chunk: id, body, and optionally a size field that lies about the body.
inline Bytes Chunk(const char* id, const Bytes& body, std::optional<uint32_t> claimed = {}) {
  Bytes b(id, id + 4);
  Put32(b, claimed ? *claimed : uint32_t(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
  return b;
}

inline Bytes Riff(const char* form, const std::vector<Bytes>& chunks,
                  std::optional<uint32_t> claimed = {}) {
  Bytes body(form, form + 4);
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body, claimed);
}

// The body of a PCM "fmt " chunk: 16 bytes, or longer with a size field and extra bytes.
inline Bytes FmtBody(uint16_t channels, uint32_t rate, uint16_t bits, size_t length = 16,
                     std::optional<uint16_t> sizeField = {}) {
  Bytes b;
  const uint16_t align = uint16_t(channels * bits / 8);
  Put16(b, 1);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  if (length > 16) Put16(b, sizeField ? *sizeField : uint16_t(length));
  while (b.size() < length) b.push_back(uint8_t(0xA0 + b.size()));
  return b;
}

// frames of a sine at freq Hz, 8-bit unsigned or 16-bit signed, the same on every channel.
inline Bytes Sine(uint16_t channels, uint32_t rate, uint16_t bits, size_t frames, double freq,
                  double amp) {
  Bytes b;
  for (size_t i = 0; i < frames; ++i) {
    const double v = amp * std::sin(2 * M_PI * freq * double(i) / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8)
        b.push_back(uint8_t(std::lround(128 + 127 * v)));
      else
        Put16(b, uint16_t(int16_t(std::lround(32767 * v))));
    }
  }
  return b;
}

inline void WriteBytes(const std::string& path, const Bytes& b) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

inline Bytes ReadBytes(const std::string& path) {
  Bytes b;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return b;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
  std::fclose(f);
  return b;
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quill-sound-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quill::test
