// The wave reader: good waves of every format the bank uses, chunks it must
// step over, and every way a damaged or hostile file must be turned away
// without reading past the bytes it was given.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sound/SoundErrors.h"
#include "sound/WaveReader.h"

namespace {
using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& b, unsigned v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Put32(TBytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutId(TBytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

struct TChunk {
  TChunk(std::string id, TBytes body, std::optional<std::uint32_t> length = {})
      : Id(std::move(id)), Body(std::move(body)), Length(length) {}
  std::string Id;
  TBytes Body;
  std::optional<std::uint32_t> Length;  // a lie about the body's length, when set
};

TBytes FormatBody(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
                  std::optional<unsigned> blockAlign = {}) {
  unsigned align = blockAlign.value_or(channels * bits / 8);
  TBytes b;
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

TBytes Samples(size_t count, std::uint8_t first = 1) {
  TBytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = std::uint8_t(first + i * 7);
  return b;
}

TBytes Riff(const std::vector<TChunk>& chunks, std::optional<std::uint32_t> riffLength = {}, const char* magic = "RIFF",
            const char* form = "WAVE") {
  TBytes out;
  PutId(out, magic);
  Put32(out, 0);
  PutId(out, form);
  for (const TChunk& c : chunks) {
    PutId(out, c.Id.c_str());
    Put32(out, c.Length.value_or(std::uint32_t(c.Body.size())));
    out.insert(out.end(), c.Body.begin(), c.Body.end());
  }
  std::uint32_t length = riffLength.value_or(std::uint32_t(out.size() - 8));
  std::memcpy(&out[4], &length, 4);  // little-endian host, as the tests' machines are
  return out;
}

TBytes MonoWave(size_t samples = 10) {
  return Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(samples)}});
}

// Parses from a heap block of exactly the file's size, so that a read past
// the end lands outside the allocation where a sanitizer build will see it.
TWave Parse(const TBytes& bytes) {
  auto exact = std::make_unique<std::uint8_t[]>(bytes.size() ? bytes.size() : 1);
  if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
  return ReadWave(exact.get(), bytes.size());
}

void ExpectInvalid(const TBytes& bytes) {
  try {
    Parse(bytes);
    ADD_FAILURE() << "accepted a bad wave of " << bytes.size() << " bytes";
  } catch (const EWaveInvalid& e) {
    EXPECT_STREQ(e.what(), "Wave is invalid");
  }
}

}  // namespace

TEST(WaveReader, ReadsEachFormatTheBankUses) {
  struct TCase {
    unsigned Channels, Bits;
    std::uint32_t Rate;
  } cases[] = {{1, 8, 11025}, {1, 8, 22050}, {1, 8, 8000}, {2, 16, 22050}};
  for (const TCase& c : cases) {
    TBytes data = Samples(64);
    TWave w = Parse(Riff({{"fmt ", FormatBody(1, c.Channels, c.Rate, c.Bits)}, {"data", data}}));
    EXPECT_EQ(w.Format.FormatTag, 1);
    EXPECT_EQ(w.Format.Channels, c.Channels);
    EXPECT_EQ(w.Format.BitsPerSample, c.Bits);
    EXPECT_EQ(w.Format.SamplesPerSec, c.Rate);
    EXPECT_EQ(w.Format.BlockAlign, c.Channels * c.Bits / 8);
    EXPECT_EQ(w.Data, data);
    EXPECT_EQ(w.Frames(), 64u / w.Format.BlockAlign);
    EXPECT_DOUBLE_EQ(w.Seconds(), double(w.Frames()) / c.Rate);
  }
}

TEST(WaveReader, StepsOverOtherChunksInAnyOrder) {
  TBytes data = Samples(20);
  TWave w = Parse(Riff({{"LIST", Samples(13)},  // odd length: skipped by exactly its length
                        {"data", data},
                        {"fact", {4, 0, 0, 0}},
                        {"fmt ", FormatBody(1, 1, 22050, 8)}}));
  EXPECT_EQ(w.Data, data);
  EXPECT_EQ(w.Format.SamplesPerSec, 22050u);

  // A longer format record (with its extra size field) is fine: the first 16 bytes count.
  TBytes longFormat = FormatBody(1, 2, 22050, 16);
  Put16(longFormat, 0);
  w = Parse(Riff({{"fmt ", longFormat}, {"data", Samples(8)}}));
  EXPECT_EQ(w.Format.Channels, 2);
}

TEST(WaveReader, StopsAtAZeroIdOrTheEnd) {
  // Whatever follows a zero id is never looked at, even a chunk claiming 4 GB.
  TBytes w = MonoWave();
  TBytes tail;
  Put32(tail, 0);
  Put32(tail, 0xFFFFFFF0u);
  PutId(tail, "junk");
  Put32(tail, 0xFFFFFFFFu);
  w.insert(w.end(), tail.begin(), tail.end());
  std::uint32_t riff = std::uint32_t(w.size() - 8);
  std::memcpy(&w[4], &riff, 4);
  EXPECT_EQ(Parse(w).Data, Samples(10));

  // Fewer than 8 bytes left over cannot hold a chunk header: the list just ends.
  TBytes odd = Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(10)}});
  odd.insert(odd.end(), {'x', 'y', 'z'});
  riff = std::uint32_t(odd.size() - 8);
  std::memcpy(&odd[4], &riff, 4);
  EXPECT_EQ(Parse(odd).Data.size(), 10u);
}

TEST(WaveReader, IgnoresBytesBeyondTheRiffLengthAndDropsATornFrame) {
  TBytes w = MonoWave();
  w.insert(w.end(), {'e', 'x', 't', 'r', 'a', 0, 0, 0, 9, 9, 9});
  EXPECT_EQ(Parse(w).Data.size(), 10u);

  // Stereo 16-bit with 10 bytes: two whole frames and half of one.
  TWave torn = Parse(Riff({{"fmt ", FormatBody(1, 2, 22050, 16)}, {"data", Samples(10)}}));
  EXPECT_EQ(torn.Data.size(), 8u);
  EXPECT_EQ(torn.Frames(), 2u);
}

TEST(WaveReader, AcceptsAnEmptyDataChunk) {
  TWave w = Parse(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", {}}}));
  EXPECT_TRUE(w.Empty());
  EXPECT_EQ(w.Seconds(), 0.0);
}

TEST(WaveReader, RejectsWhatIsNotRiffWave) {
  ExpectInvalid({});
  ExpectInvalid({'R', 'I', 'F', 'F'});
  ExpectInvalid(Riff({}, {}, "RIFF", "WAVE"));  // no chunks: no format, no data
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}, {}, "RIFX"));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}, {}, "RIFF", "AVI "));
  const char bmp[] = "BM6\0\0\0\0\0\0\0006\0\0\0(\0\0\0";
  ExpectInvalid(TBytes(bmp, bmp + sizeof bmp));
  EXPECT_THROW(ReadWave(nullptr, 100), EWaveInvalid);
}

TEST(WaveReader, RejectsMissingChunks) {
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}}));
  ExpectInvalid(Riff({{"data", Samples(10)}}));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"DATA", Samples(10)}}));  // ids are case-sensitive
  // The data sits after a zero id, so the reader never reaches it.
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {std::string("\0\0\0\0", 4), {}}, {"data", Samples(4)}}));
}

TEST(WaveReader, RejectsEveryTruncation) {
  // Cut anywhere (header, format, data), the file must be refused.
  TBytes whole = MonoWave(30);
  ASSERT_NO_THROW(Parse(whole));
  for (size_t n = 0; n < whole.size(); ++n) ExpectInvalid(TBytes(whole.begin(), whole.begin() + long(n)));

  // The same cuts with the RIFF length patched to match: now the chunk
  // lengths are what runs past the end.
  for (size_t n = 12; n < whole.size(); ++n) {
    TBytes cut(whole.begin(), whole.begin() + long(n));
    std::uint32_t riff = std::uint32_t(n - 8);
    std::memcpy(&cut[4], &riff, 4);
    ExpectInvalid(cut);
  }
}

TEST(WaveReader, RejectsLengthsThatRunPastTheEnd) {
  ExpectInvalid(Riff({{"LIST", Samples(4), 0xFFFFFFFFu}, {"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4), 5}}));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4), 0xFFFFFFF8u}}));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8), 0x7FFFFFFF}, {"data", Samples(4)}}));
  // A RIFF length larger than the file, and one so small it ends inside the header.
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}, 1000));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}, 0xFFFFFFFFu));
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(4)}}, 2));
  // A RIFF length that stops inside the data chunk, though the file goes on.
  ExpectInvalid(Riff({{"fmt ", FormatBody(1, 1, 22050, 8)}, {"data", Samples(40)}}, 4 + 24 + 8 + 20));
}

TEST(WaveReader, RejectsAbsurdFormats) {
  auto with = [](TBytes format) { return Riff({{"fmt ", format}, {"data", Samples(16)}}); };
  ExpectInvalid(with(FormatBody(1, 0, 22050, 8, 1)));     // no channels
  ExpectInvalid(with(FormatBody(1, 9, 22050, 8)));        // more channels than any mixer here
  ExpectInvalid(with(FormatBody(1, 1, 0, 8)));            // no rate
  ExpectInvalid(with(FormatBody(1, 1, 0xFFFFFFFFu, 8)));  // absurd rate
  ExpectInvalid(with(FormatBody(1, 1, 22050, 0, 1)));     // no bits
  ExpectInvalid(with(FormatBody(1, 1, 22050, 12, 2)));    // bits not 8 or 16
  ExpectInvalid(with(FormatBody(1, 1, 22050, 24)));
  ExpectInvalid(with(FormatBody(1, 2, 22050, 16, 2)));  // block align disagrees
  ExpectInvalid(with(FormatBody(1, 1, 22050, 8, 0)));   // zero block align
  ExpectInvalid(with(FormatBody(3, 1, 22050, 32)));     // floating point
  ExpectInvalid(with(FormatBody(2, 1, 22050, 4, 1)));   // ADPCM
  TBytes shortFormat = FormatBody(1, 1, 22050, 8);
  shortFormat.resize(14);
  ExpectInvalid(with(shortFormat));
}

TEST(WaveReader, SurvivesRandomDamage) {
  // Flip bytes of a good wave at random: each result is either a wave whose
  // data fits inside the file or a refusal, never a crash or a stray read.
  TBytes good = Riff({{"LIST", Samples(6)}, {"fmt ", FormatBody(1, 2, 22050, 16)}, {"data", Samples(48)}});
  std::uint32_t state = 12345;
  auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  int accepted = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    TBytes damaged = good;
    int flips = 1 + int(next() % 4);
    for (int f = 0; f < flips; ++f) damaged[next() % damaged.size()] = std::uint8_t(next() >> 24);
    try {
      TWave w = Parse(damaged);
      EXPECT_LE(w.Data.size(), damaged.size());
      EXPECT_EQ(w.Data.size() % w.Format.BlockAlign, 0u);
      ++accepted;
    } catch (const EWaveInvalid&) {
      ++refused;
    }
  }
  EXPECT_GT(accepted, 0);  // damage to samples alone leaves a playable wave
  EXPECT_GT(refused, 0);
}
