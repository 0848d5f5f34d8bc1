// Wave files written by other programs (sox and libsndfile, kept as small fixtures): loaded and
// saved again, their "fmt " chunk comes back byte for byte and their samples unchanged, whatever
// the chunk's length and whatever the record's own size field says.
#include <gtest/gtest.h>

#include <string>

#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/wave_file.h"
#include "wave_bytes.h"

namespace quill::test {
namespace {

// The body of the first chunk with the id inside the RIFF form, or empty.
Bytes ChunkBody(const Bytes& file, const char* id) {
  size_t at = 12;
  while (at + 8 <= file.size()) {
    const uint32_t size = Get32(file, at + 4);
    if (std::equal(id, id + 4, file.begin() + long(at))) {
      if (at + 8 + size > file.size()) return {};
      return Bytes(file.begin() + long(at + 8), file.begin() + long(at + 8 + size));
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

std::string Fixture(const char* name) {
  return std::string(QUILL_TEST_DATA_DIR) + "/sound/" + name;
}

struct WriterCase {
  const char* file;
  uint16_t formatTag;
  uint16_t channels;
  uint16_t bits;
  size_t fmtLength;    // bytes of its "fmt " chunk
  uint16_t sizeField;  // what the chunk holds at offset 16 (the record's size as read)
};

class WaveFilesFromOtherWritersTest : public ::testing::Test {
 protected:
  ScratchDir dir;
};

TEST_F(WaveFilesFromOtherWritersTest, LoadSaveAndReadBackKeepsFormatChunkAndSamples) {
  const WriterCase cases[] = {
      // sox: extensible records of 40 bytes, whose offset-16 field counts 22 extension bytes.
      {"sox_24bit.wav", 0xFFFE, 1, 24, 40, 22},
      {"sox_6ch.wav", 0xFFFE, 6, 16, 40, 22},
      // sox: an 18-byte float record with no extension (0 there).
      {"sox_float32.wav", 3, 1, 32, 18, 0},
      // libsndfile: 16-byte records; the record keeps the size it had (18).
      {"sndfile_pcm16.wav", 1, 1, 16, 16, 18},
      {"sndfile_float32.wav", 3, 1, 32, 16, 18},
  };
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.file);
    const Bytes original = ReadBytes(Fixture(c.file));
    const Bytes originalFmt = ChunkBody(original, "fmt ");
    const Bytes originalData = ChunkBody(original, "data");
    ASSERT_EQ(originalFmt.size(), c.fmtLength);
    ASSERT_FALSE(originalData.empty());

    ZOneBlockWaveBuffer buffer;
    {
      ZWaveFile in(Fixture(c.file).c_str(), MMIO_READ);
      ASSERT_TRUE(buffer.Load(&in));
    }
    EXPECT_EQ(buffer.Format().FormatTag(), c.formatTag);
    EXPECT_EQ(buffer.Format().Channels(), c.channels);
    EXPECT_EQ(buffer.Format().BitsPerSample(), c.bits);
    EXPECT_EQ(buffer.Format().size(), c.sizeField);

    const std::string out = dir / "out.wav";
    {
      ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
      ASSERT_TRUE(buffer.Save(&file));
    }
    const Bytes saved = ReadBytes(out);
    EXPECT_EQ(ChunkBody(saved, "fmt "), originalFmt);
    EXPECT_EQ(ChunkBody(saved, "data"), originalData);

    ZOneBlockWaveBuffer again;
    ZWaveFile in(out.c_str(), MMIO_READ);
    ASSERT_TRUE(again.Load(&in));
    EXPECT_EQ(Bytes(again.Format().Bytes(), again.Format().Bytes() + 16),
              Bytes(originalFmt.begin(), originalFmt.begin() + 16));
    const ZWaveBlockImp& block = again.Block()->Imp();
    EXPECT_EQ(Bytes(block.Data(), block.Data() + block.DataLength()), originalData);
  }
}

// A record that came from a chunk whose size field claims more than the chunk held was too
// small for the next, longer chunk, and the second file's record was cut short.
TEST_F(WaveFilesFromOtherWritersTest, AReusedBufferGrowsForALongerChunkWhateverTheSizeField) {
  const std::string first = dir / "claims_1000.wav";
  WriteBytes(first, Riff("WAVE", {Chunk("fmt ", FmtBody(1, 8000, 16, 20, 1000)),
                                  Chunk("data", Bytes(4, 1))}));
  ZOneBlockWaveBuffer buffer;
  {
    ZWaveFile in(first.c_str(), MMIO_READ);
    ASSERT_TRUE(buffer.Load(&in));
  }
  EXPECT_EQ(buffer.Format().size(), 1000);
  {
    ZWaveFile in(Fixture("sox_6ch.wav").c_str(), MMIO_READ);
    ASSERT_TRUE(buffer.Load(&in));
  }
  const Bytes fmt = ChunkBody(ReadBytes(Fixture("sox_6ch.wav")), "fmt ");
  ASSERT_GE(ZWaveFormat::Capacity(&buffer.Format()), fmt.size());
  EXPECT_EQ(Bytes(buffer.Format().Bytes(), buffer.Format().Bytes() + fmt.size()), fmt);

  const std::string out = dir / "out.wav";
  {
    ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
    ASSERT_TRUE(buffer.Save(&file));
  }
  EXPECT_EQ(ChunkBody(ReadBytes(out), "fmt "), fmt);
}

// A shorter chunk after a longer one is saved with its own length, not the record's.
TEST_F(WaveFilesFromOtherWritersTest, ASavedChunkHasTheLengthOfTheLastChunkRead) {
  ZOneBlockWaveBuffer buffer;
  for (const char* name : {"sox_24bit.wav", "sndfile_pcm16.wav"}) {
    ZWaveFile in(Fixture(name).c_str(), MMIO_READ);
    ASSERT_TRUE(buffer.Load(&in));
  }
  const std::string out = dir / "out.wav";
  {
    ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
    ASSERT_TRUE(buffer.Save(&file));
  }
  EXPECT_EQ(ChunkBody(ReadBytes(out), "fmt "),
            ChunkBody(ReadBytes(Fixture("sndfile_pcm16.wav")), "fmt "));
}

}  // namespace
}  // namespace quill::test
