// The save file keeps the best score and the highest level between runs.
// Whatever state the file is in, the game must start and must never lose a
// good record to a failed write.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "app/AtomicFile.h"
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

TEST_F(SaveFileTest, FailedSaveKeepsTheOldRecordAndSaysWhy) {
  // Each way a save can fail, even for root (permission bits do not stop
  // root, so a read-only folder is played by a folder that cannot exist).
  struct TCase {
    const char* What;
    std::function<std::string()> Prepare;  // gives the path to save to
    const char* Why;                       // the system's reason in the line
  };
  const std::string sub = (Dir / "sub").string();
  std::vector<TCase> cases = {
      {"a folder where the file should be",
       [&] {
         fs::create_directories(sub + "/" + DefaultFileName + "/inside");
         return sub + "/" + DefaultFileName;
       },
       "Is a directory"},
      {"a folder that cannot hold files (a plain file is in its place)",
       [&] {
         std::ofstream(sub) << "not a folder";
         return sub + "/" + DefaultFileName;
       },
       "Not a directory"},
      {"a full disk",
       [&] {
         fs::create_directories(sub);
         const std::string path = sub + "/" + DefaultFileName;
         SaveGame(path, 777, 5);
         SetAtomicWriteSpaceForTests(40);  // the new record runs out of room a third of the way in
         return path;
       },
       "No space left on device"},
      {"a folder where the temporary should be",
       [&] {
         fs::create_directories(sub);
         const std::string path = sub + "/" + DefaultFileName;
         SaveGame(path, 777, 5);
         fs::create_directories(path + ".tmp/inside");
         return path;
       },
       "Is a directory"},
      {"a folder that does not exist", [&] { return sub + "/missing/" + DefaultFileName; },
       "No such file or directory"},
  };
  if (::geteuid() != 0)
    cases.push_back({"a read-only folder",
                     [&] {
                       fs::create_directories(sub);
                       SaveGame(sub + "/" + DefaultFileName, 777, 5);
                       fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
                       return sub + "/" + DefaultFileName;
                     },
                     "Permission denied"});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    if (fs::exists(sub)) fs::permissions(sub, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(sub);
    const std::string path = c.Prepare();
    const bool hadRecord = fs::is_regular_file(path);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveGame(path, 2, 2));
    SetAtomicWriteSpaceForTests(-1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_NE(said.find(c.Why), std::string::npos) << said;
    EXPECT_NE(said.find("best score 2"), std::string::npos) << said;
    if (hadRecord) {
      std::int32_t hi, max;
      LoadGame(path, hi, max);
      EXPECT_EQ(hi, 777) << "the old record must survive untouched";
      EXPECT_EQ(max, 5);
    }
    EXPECT_FALSE(fs::exists(sub + "/missing"));
    if (fs::exists(sub)) fs::permissions(sub, fs::perms::owner_all, fs::perm_options::add);
  }
  // A save that works says nothing.
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(SaveGame(Path, 3, 3));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(SaveFileTest, TemporaryLeftByAKilledSaveIsRemovedAtTheNextStart) {
  SaveGame(Path, 321, 4);
  std::ofstream(Path + ".tmp") << "half a rec";  // the write was killed here
  std::int32_t hi, max;
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 321);
  EXPECT_FALSE(fs::exists(Path + ".tmp"));

  // Also when the save file itself never made it.
  fs::remove(Path);
  std::ofstream(Path + ".tmp") << "half";
  LoadGame(Path, hi, max);
  EXPECT_EQ(hi, 0);
  EXPECT_FALSE(fs::exists(Path + ".tmp"));

  // A folder of that name is not a temporary of ours: it stays.
  fs::create_directories(Path + ".tmp/keep");
  LoadGame(Path, hi, max);
  EXPECT_TRUE(fs::exists(Path + ".tmp/keep"));
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
