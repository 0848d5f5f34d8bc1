// ZRiffFile, ZWaveFile, ZWaveFormat and ZOneBlockWaveBuffer against files made byte by byte.
#include <gtest/gtest.h>

#include <sstream>

#include "quillui/app/global_memory.h"
#include "quillui/sound/one_block_wave_buffer.h"
#include "quillui/sound/wave_file.h"
#include "wave_bytes.h"

namespace quill::test {
namespace {

class WaveFileTest : public ::testing::Test {
 protected:
  std::string Make(const std::string& name, const Bytes& bytes) {
    std::string path = dir / name;
    WriteBytes(path, bytes);
    return path;
  }
  ScratchDir dir;
};

struct PcmCase {
  const char* name;
  uint16_t channels;
  uint32_t rate;
  uint16_t bits;
};

TEST_F(WaveFileTest, LoadsRealPcmFilesSkippingOtherChunks) {
  for (const PcmCase c :
       {PcmCase{"8bit_mono_11025", 1, 11025, 8}, PcmCase{"16bit_stereo_44100", 2, 44100, 16}}) {
    SCOPED_TRACE(c.name);
    const Bytes samples = Sine(c.channels, c.rate, c.bits, 301, 440, 0.8);
    // An odd-sized chunk between "fmt " and "data" checks the pad byte is stepped over.
    const std::string path =
        Make(c.name, Riff("WAVE", {Chunk("fmt ", FmtBody(c.channels, c.rate, c.bits)),
                                   Chunk("note", Bytes{'a', 'b', 'c'}), Chunk("data", samples)}));
    ZWaveFile file(path.c_str(), MMIO_READ);
    ASSERT_TRUE(file.IsOpen());
    ASSERT_EQ(file.Depth(), 0);
    ZOneBlockWaveBuffer buffer;
    ASSERT_TRUE(buffer.Load(&file));
    EXPECT_EQ(file.Depth(), 0);
    const ZWaveFormat& f = buffer.Format();
    EXPECT_EQ(f.FormatTag(), 1);
    EXPECT_EQ(f.Channels(), c.channels);
    EXPECT_EQ(f.SamplesPerSec(), c.rate);
    EXPECT_EQ(f.BitsPerSample(), c.bits);
    EXPECT_EQ(f.BlockAlign(), c.channels * c.bits / 8);
    EXPECT_EQ(f.size(), 18);  // a 16-byte chunk leaves the record's size alone
    ASSERT_EQ(buffer.DataSize(), long(samples.size()));
    EXPECT_EQ(buffer.BlockSize(), samples.size());
    const ZWaveBlockImp& block = buffer.Block()->Imp();
    ASSERT_EQ(block.DataLength(), long(samples.size()));
    EXPECT_EQ(Bytes(block.Data(), block.Data() + block.DataLength()), samples);
  }
}

TEST_F(WaveFileTest, DefaultFormatSavesAnEighteenByteChunkEndingInItsSize) {
  ZOneBlockWaveBuffer fresh(nullptr, 0);
  EXPECT_EQ(fresh.BlockSize(), 8192u);
  std::ostringstream text;
  text << fresh.Format();
  EXPECT_EQ(
      text.str(),
      "wave format=1\nchannels= 1\nsamples_persec=11025\navgbytes_persec=11025\nblock_align=1\n"
      "bits_persample=8\n");

  // A sound with the default format (its file has no "fmt " chunk) is saved with the
  // 18-byte record.
  const std::string source = Make("in.wav", Riff("WAVE", {Chunk("data", Bytes{1, 2, 3})}));
  ZOneBlockWaveBuffer buffer;
  {
    ZWaveFile in(source.c_str(), MMIO_READ);
    ASSERT_TRUE(buffer.Load(&in));
  }
  const std::string out = dir / "out.wav";
  {
    ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(buffer.Save(&file));
  }
  Bytes fmt18 = FmtBody(1, 11025, 8, 18);
  EXPECT_EQ(ReadBytes(out), Riff("WAVE", {Chunk("fmt ", fmt18), Chunk("data", Bytes{1, 2, 3})}));
  EXPECT_EQ(Get16(fmt18, 16), 18);

  ZOneBlockWaveBuffer empty;
  ZWaveFile file((dir / "none.wav").c_str(), MMIO_CREATE | MMIO_WRITE);
  EXPECT_FALSE(empty.Save(&file));  // no block yet
}

TEST_F(WaveFileTest, LongFormatChunkIsReadWholeAndSavedAsItWasRead) {
  struct Case {
    const char* name;
    uint16_t sizeField;  // what the chunk says at offset 16
  } cases[] = {{"honest", 40}, {"claims_more_than_it_holds", 1000}, {"claims_less", 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes fmt = FmtBody(2, 22050, 16, 40, c.sizeField);
    const std::string path =
        Make("fmt40.wav", Riff("WAVE", {Chunk("fmt ", fmt), Chunk("data", Bytes(8, 7))}));
    ZOneBlockWaveBuffer buffer;
    {
      ZWaveFile file(path.c_str(), MMIO_READ);
      ASSERT_TRUE(buffer.Load(&file));
    }
    EXPECT_EQ(buffer.Format().size(), c.sizeField);
    EXPECT_EQ(ZWaveFormat::Capacity(&buffer.Format()), 40u);
    EXPECT_EQ(Bytes(buffer.Format().Bytes(), buffer.Format().Bytes() + 40), fmt);

    const std::string out = dir / "out.wav";
    {
      ZWaveFile file(out.c_str(), MMIO_CREATE | MMIO_WRITE);
      ASSERT_TRUE(buffer.Save(&file));
    }
    const Bytes saved = ReadBytes(out);
    // "RIFF" size "WAVE" "fmt " size: the chunk goes back as the 40 bytes it was read from,
    // whatever its size field says.
    EXPECT_EQ(Get32(saved, 16), 40u);
    EXPECT_EQ(Bytes(saved.begin() + 20, saved.begin() + 60), fmt);
  }
}

TEST_F(WaveFileTest, SeekDataOnlyInsideTheDataChunk) {
  // The data chunk's header says 10 bytes; the file holds 16 after it.
  Bytes bytes = Riff("WAVE", {Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", Bytes(10, 0x55))});
  bytes.insert(bytes.end(), 6, 0x66);
  const std::string path = Make("seek.wav", bytes);
  ZWaveFile file(path.c_str(), MMIO_READ);
  ASSERT_TRUE(file.open_format());
  EXPECT_EQ(file.seek_data(0, 0), -1);
  ASSERT_TRUE(file.ascend_chunk());
  EXPECT_EQ(file.seek_data(0, 0), -1);  // in the WAVE form itself
  ASSERT_TRUE(file.open_data());
  EXPECT_EQ(file.seek_data(0, 3), -1);
  EXPECT_EQ(file.seek_data(4, 0), 4);
  EXPECT_EQ(file.seek_data(3, 1), 7);
  EXPECT_EQ(file.seek_data(-2, 1), 5);
  EXPECT_EQ(file.CurrentChunk()->cksize, 10u);
  EXPECT_EQ(file.seek_data(0, 2), 16);
  EXPECT_EQ(file.CurrentChunk()->cksize, 16u);
  EXPECT_EQ(file.seek_data(-16, 2), 0);
  uint8_t b = 0;
  EXPECT_EQ(file.read_data(&b, 1), 1);
  EXPECT_EQ(b, 0x55);
}

TEST_F(WaveFileTest, CloseCompletesEveryChunkBeingWritten) {
  const std::string path = dir / "nested.wav";
  {
    ZWaveFile file(path.c_str(), MMIO_CREATE | MMIO_WRITE);
    ASSERT_EQ(file.Depth(), 0);
    ASSERT_TRUE(file.create_chunk(mmioFOURCC('o', 'u', 't', 'r')));
    ASSERT_TRUE(file.create_chunk(mmioFOURCC('i', 'n', 'n', 'r')));
    EXPECT_EQ(file.write_data("hello", 5), 5);
    EXPECT_EQ(file.Depth(), 2);
    file.close();
    EXPECT_EQ(file.Depth(), -1);
    EXPECT_FALSE(file.IsOpen());
  }
  const Bytes inner = Chunk("innr", Bytes{'h', 'e', 'l', 'l', 'o'});  // padded to even
  EXPECT_EQ(ReadBytes(path), Riff("WAVE", {Chunk("outr", inner)}));
}

TEST_F(WaveFileTest, TemporaryFileGoesWithTheObject) {
  std::string name;
  {
    ZWaveFile file(nullptr, MMIO_GETTEMP | MMIO_CREATE | MMIO_WRITE);
    ASSERT_TRUE(file.IsOpen());
    name = file.FileName();
    EXPECT_TRUE(mmioExists(name.c_str()));
    EXPECT_NE(name.find("quill-sound-"), std::string::npos);
  }
  EXPECT_FALSE(name.empty());
  EXPECT_FALSE(mmioExists(name.c_str()));
}

TEST_F(WaveFileTest, NotAWaveFileKeepsItsHandle) {
  const std::string path = Make("avi.riff", Riff("AVI ", {Chunk("junk", Bytes(4))}));
  ZWaveFile file(path.c_str(), MMIO_READ);
  EXPECT_FALSE(file.open(path.c_str(), MMIO_READ));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Depth(), -1);
  EXPECT_FALSE(file.open_format());  // a failed descent leaves the depth alone
  EXPECT_EQ(file.Depth(), -1);
}

TEST_F(WaveFileTest, DamagedFilesFailCleanly) {
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 11025, 8));
  struct Case {
    const char* name;
    Bytes bytes;
    bool opens;  // the WAVE form is found
  } cases[] = {
      {"empty", {}, false},
      {"truncated_header", Bytes{'R', 'I', 'F', 'F', 9}, false},
      {"riff_larger_than_file", Riff("WAVE", {fmt, Chunk("data", Bytes(4))}, 100000), false},
      {"data_claims_gigabytes", Riff("WAVE", {fmt, Chunk("data", Bytes(4), 0xFFFFFFF0u)}), true},
      {"data_one_byte_too_long", Riff("WAVE", {fmt, Chunk("data", Bytes(4), 5)}), true},
      {"no_data_chunk", Riff("WAVE", {fmt}), true},
      {"riff_shorter_than_form_type", Chunk("RIFF", Bytes{'W', 'A'}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Make("bad.wav", c.bytes);
    ZWaveFile file;
    EXPECT_EQ(file.open(path.c_str(), MMIO_READ), c.opens);
    ZOneBlockWaveBuffer buffer;
    EXPECT_FALSE(buffer.Load(&file));
  }
}

TEST_F(WaveFileTest, NestingStopsAtTenLevels) {
  // Eleven LIST chunks inside each other, then "data".
  Bytes inner = Chunk("data", Bytes(2, 1));
  for (int i = 0; i < 11; ++i) {
    Bytes body{'n', 'e', 's', 't'};
    body.insert(body.end(), inner.begin(), inner.end());
    inner = Chunk("LIST", body);
  }
  const std::string path = Make("deep.wav", Riff("WAVE", {inner}));
  ZWaveFile file(path.c_str(), MMIO_READ);
  ASSERT_EQ(file.Depth(), 0);
  int entered = 0;
  while (file.descend_chunk(FOURCC_LIST)) ++entered;
  EXPECT_EQ(entered, ZRiffFile::kMaxDepth - 1);
  EXPECT_EQ(file.Depth(), ZRiffFile::kMaxDepth - 1);
  EXPECT_FALSE(file.open_data());
  file.close();
  EXPECT_EQ(file.Depth(), -1);
}

TEST_F(WaveFileTest, NamesOf256CharactersAreRefused) {
  const std::string base = dir.path() + "/";
  const std::string fits = base + std::string(255 - base.size(), 'n');
  const std::string tooLong = base + std::string(256 - base.size(), 'n');
  ASSERT_EQ(fits.size(), 255u);
  WriteBytes(fits, Riff("WAVE", {Chunk("data", Bytes(2))}));
  ZWaveFile ok(fits.c_str(), MMIO_READ);
  EXPECT_TRUE(ok.IsOpen());
  ZWaveFile refused;
  EXPECT_FALSE(refused.open(tooLong.c_str(), MMIO_CREATE | MMIO_WRITE));
  EXPECT_FALSE(refused.IsOpen());
  EXPECT_EQ(mmioOpen(tooLong.c_str(), MMIO_READ), nullptr);
}

TEST_F(WaveFileTest, BlockMemoryThatCannotBeHadIsAPlainFailure) {
  const std::string path = Make(
      "ok.wav", Riff("WAVE", {Chunk("fmt ", FmtBody(1, 8000, 8)), Chunk("data", Bytes(64, 9))}));
  for (int failing : {1, 2}) {  // the header, then the buffer
    SCOPED_TRACE(failing);
    ZWaveFile file(path.c_str(), MMIO_READ);
    ZOneBlockWaveBuffer buffer;
    FailNextGlobalAllocs(failing);
    EXPECT_FALSE(buffer.Load(&file));
    FailNextGlobalAllocs(0);
  }
  ZWaveBlock block;
  EXPECT_FALSE(block->Init(-1));
  ASSERT_TRUE(block->Init(16));
  EXPECT_EQ(block->BufferSize(), 16u);
  EXPECT_EQ(block.Header()->dwBufferLength, 16u);
}

TEST_F(WaveFileTest, BlockHandlesShareOneBody) {
  ZWaveBlock a;
  ASSERT_TRUE(a->Init(4));
  {
    ZWaveBlock b(a);
    ZWaveBlock c;
    c = b;
    EXPECT_TRUE(c.SharesBodyWith(a));
    EXPECT_EQ(a->RefCount(), 3);
    EXPECT_EQ(c.Header(), a.Header());
  }
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_TRUE(a->bDone);
  EXPECT_FALSE(a->bQueued);
}

TEST_F(WaveFileTest, WriterAndReaderAgreeOnOddSizes) {
  const std::string path = dir / "rt.wav";
  const Bytes samples = Sine(1, 11025, 8, 333, 300, 0.5);
  {
    ZWaveFile file(path.c_str(), MMIO_CREATE | MMIO_WRITE);
    ZWaveFormat fmt;
    ASSERT_TRUE(file.create_format());
    ASSERT_EQ(file.write_data(fmt.Bytes(), fmt.size()), 18);
    ASSERT_TRUE(file.ascend_chunk());
    ASSERT_TRUE(file.create_data());
    ASSERT_EQ(file.write_data(samples.data(), long(samples.size())), long(samples.size()));
    ASSERT_TRUE(file.ascend_chunk());
    file.close();
  }
  ZWaveFile file(path.c_str(), MMIO_READ);
  ZOneBlockWaveBuffer buffer;
  ASSERT_TRUE(buffer.Load(&file));
  const ZWaveBlockImp& b = buffer.Block()->Imp();
  EXPECT_EQ(Bytes(b.Data(), b.Data() + b.DataLength()), samples);
  EXPECT_EQ(ReadBytes(path).size() % 2, 0u);
}

}  // namespace
}  // namespace quill::test
