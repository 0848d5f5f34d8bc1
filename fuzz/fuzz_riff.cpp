// libFuzzer target for the wave reader: any bytes load as a sound or fail with false, never a
// fault or an allocation larger than the input; every sound that loads saves and reads back
// to the same format record and samples.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/wave_file.h"

namespace {

std::string ScratchName(const char* what) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && dir[0] ? dir : "/tmp") + "/fuzz_riff_" + std::to_string(getpid()) +
         what;
}

bool WriteAll(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  static const std::string in = ScratchName(".wav");
  static const std::string out = ScratchName("_out.wav");
  if (!WriteAll(in, data, size)) return 0;

  ZOneBlockWaveBuffer buffer;
  {
    ZWaveFile file(in.c_str(), MMIO_READ);
    if (!buffer.Load(&file)) return 0;
    // The rest of the walk on the same bytes: other chunks, seeking in the data.
    if (file.open_data()) {
      file.seek_data(0, 2);
      file.seek_data(-1, 1);
      file.ascend_chunk();
    }
  }
  if (uint64_t(buffer.DataSize()) > size) __builtin_trap();

  {
    ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
    if (!buffer.Save(&file)) __builtin_trap();
  }
  ZOneBlockWaveBuffer again;
  {
    ZWaveFile file(out.c_str(), MMIO_READ);
    if (!again.Load(&file)) __builtin_trap();
  }
  const ZWaveBlockImp& a = buffer.Block()->Imp();
  const ZWaveBlockImp& b = again.Block()->Imp();
  if (a.DataLength() != b.DataLength() ||
      std::memcmp(a.Data(), b.Data(), size_t(a.DataLength())) != 0)
    __builtin_trap();
  // The record goes back as the chunk it was read from, whatever its size field says, so both
  // fresh buffers hold the same record (bytes a short chunk lacks are the default's in both).
  if (std::memcmp(buffer.Format().Bytes(), again.Format().Bytes(), ZWaveFormat::kBaseSize) != 0)
    __builtin_trap();
  return 0;
}
