// The save file keeps the best score and the highest level between runs.
// Whatever state the file is in, the game must start and must never lose a
// good record to a failed write.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/SaveFile.h"

namespace fs = std::filesystem;
using namespace SaveFile;

namespace {
class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("quadrovolt-save-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Path = (Dir / DefaultFileName).string();
  }
  void TearDown() override {
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(Dir);
  }
  std::vector<std::uint8_t> ReadBytes() const {
    std::ifstream in(Path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  void WriteBytes(const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  static void Resum(std::vector<std::uint8_t>& bytes) {
    std::uint32_t sum = 0;
    for (int i = 0; i < ChecksumOffset; ++i) sum += bytes[i];
    for (int i = 0; i < 4; ++i) bytes[ChecksumOffset + i] = std::uint8_t(sum >> (8 * i));
  }

  fs::path Dir;
  std::string Path;
};
}  // namespace

TEST_F(SaveFileTest, RoundTripsWithTheDocumentedLayout) {
  SaveGame(Path, 1234, 7);
  auto bytes = ReadBytes();
  ASSERT_EQ(bytes.size(), 128u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 25), "QUASAR-WON'T-STALL-HURRY!");
  EXPECT_EQ(bytes[33], 0xD2);
  EXPECT_EQ(bytes[34], 0x04);
  EXPECT_EQ(bytes[35], 0x00);
  EXPECT_EQ(bytes[36], 0x00);
  EXPECT_EQ(bytes[57], 0x07);
  EXPECT_EQ(bytes[58], 0x00);
  std::int32_t hi = -1, max = -1;
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 1234);
  EXPECT_EQ(max, 7);
  EXPECT_FALSE(fs::exists(Path + ".tmp"));
}

TEST_F(SaveFileTest, FillerDiffersBetweenSavesOfTheSameNumbers) {
  SaveGame(Path, 500, 3);
  auto first = ReadBytes();
  SaveGame(Path, 500, 3);
  auto second = ReadBytes();
  EXPECT_NE(first, second);
  std::int32_t hi, max;
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 500);
  EXPECT_EQ(max, 3);
}

TEST_F(SaveFileTest, BadFilesLeaveTheDefaults) {
  std::int32_t hi = 99, max = 99;
  LoadGame(Path, hi, max);  // no file at all
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(max, 1);

  SaveGame(Path, 4000, 12);
  auto good = ReadBytes();

  auto shortFile = good;
  shortFile.resize(100);
  WriteBytes(shortFile);
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(max, 1);

  auto longFile = good;
  longFile.resize(4096, 0xAB);
  WriteBytes(longFile);
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0) << "a file longer than one record is not a save file";
  EXPECT_EQ(max, 1);

  auto damaged = good;
  damaged[40] ^= 0x5A;  // a filler byte: the checksum no longer matches
  WriteBytes(damaged);
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(max, 1);

  WriteBytes({});
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(max, 1);

  fs::remove(Path);
  fs::create_directories(Path);  // a folder where the file should be
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(max, 1);
}

TEST_F(SaveFileTest, HandEditedFileWithCorrectedChecksumIsAccepted) {
  SaveGame(Path, 10, 2);
  auto bytes = ReadBytes();
  bytes[0] = 'X';  // the marker is not compared
  bytes[33] = 0x10;
  bytes[34] = 0x27;  // 10000
  Resum(bytes);
  WriteBytes(bytes);
  std::int32_t hi, max;
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 10000);
  EXPECT_EQ(max, 2);
}

TEST_F(SaveFileTest, LevelOutsideTheFortyIsKeptInRange) {
  for (auto [stored, expected] : {std::pair{0, 1}, {-7, 1}, {41, 40}, {1000000, 40}, {40, 40}}) {
    SaveGame(Path, 1, stored);
    std::int32_t hi, max;
    LoadGame(Path, hi, max);
    EXPECT_EQ(max, expected) << "stored " << stored;
  }
}

TEST_F(SaveFileTest, FailedSaveKeepsTheOldRecord) {
  SaveGame(Path, 777, 5);
  if (::geteuid() != 0) {
    // Read-only folder: neither the new file nor a temporary can be written.
    fs::permissions(Dir, fs::perms::owner_read | fs::perms::owner_exec);
    SaveGame(Path, 1, 1);
    fs::permissions(Dir, fs::perms::owner_all);
  }
  // A stale temporary that cannot be replaced (a folder in its way) makes the
  // save fail even for root: the old record must survive untouched.
  fs::create_directories(Path + ".tmp");
  SaveGame(Path, 2, 2);
  std::int32_t hi, max;
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 777);
  EXPECT_EQ(max, 5);
  fs::remove_all(Path + ".tmp");

  // A save into a folder that does not exist fails silently.
  SaveGame((Dir / "missing" / DefaultFileName).string(), 5, 5);
  EXPECT_FALSE(fs::exists(Dir / "missing"));
}

TEST(SaveFileHelpers, IntsAndTextTransform) {
  TRecord r{};
  PutInt(r, -2, 0);
  EXPECT_EQ(GetInt(r, 0), -2);
  EXPECT_EQ(r[0], 0xFE);
  EXPECT_EQ(r[3], 0xFF);
  PutInt(r, 0x01020304, 124);
  EXPECT_EQ(r[124], 0x04);
  EXPECT_EQ(r[127], 0x01);
  TRecord before = r;
  PutInt(r, 5, 125);  // would run past the record: ignored
  PutInt(r, 5, -1);
  EXPECT_EQ(r, before);
  EXPECT_EQ(GetInt(r, 125), 0);

  EXPECT_EQ(TransformText(Marker), std::string(Marker));
  std::string longer = std::string(Marker) + "AB";
  std::string t = TransformText(longer);
  EXPECT_EQ(t.substr(0, 25), Marker);
  EXPECT_EQ(t[25], char('A' ^ (26 - 21)));
  EXPECT_EQ(t[26], char('B' ^ (27 - 21)));
}
