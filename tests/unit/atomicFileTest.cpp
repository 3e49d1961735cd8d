// The atomic write under the save file and the replays: nothing but a new
// file of its own is ever written, only a regular file is ever replaced, and
// a failure leaves the old file as it was with no temporary beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/AtomicFile.h"

namespace fs = std::filesystem;

namespace {
class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("quadrovolt-atomic-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Path = (Dir / "out.rpl").string();
    Temp = Path + ".tmp";
  }
  void TearDown() override {
    SetAtomicWriteSpaceForTests(-1);
    fs::remove_all(Dir);
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static void Put(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  // False with errno, as the write left it.
  static bool Write(const std::string& path, const std::string& text) {
    const TFileChunk chunk{text.data(), text.size()};
    return WriteFileAtomically(path.c_str(), &chunk, 1);
  }
  static bool Exists(const std::string& path) { return fs::symlink_status(path).type() != fs::file_type::not_found; }

  fs::path Dir;
  std::string Path, Temp;
};
}  // namespace

TEST_F(AtomicFileTest, WritesEveryChunkInPlaceAndKeepsThePermissions) {
  Put(Path, "the old replay, longer than the new one");
  ::chmod(Path.c_str(), 0600);
  const TFileChunk chunks[] = {{"head", 4}, {"", 0}, {"-stream-", 8}, {"hash", 4}};
  ASSERT_TRUE(WriteFileAtomically(Path.c_str(), chunks, 4)) << std::strerror(errno);
  EXPECT_EQ(Contents(Path), "head-stream-hash");
  EXPECT_FALSE(Exists(Temp));
  EXPECT_EQ(fs::status(Path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
      << "a player's private file stays private";

  const std::string fresh = (Dir / "new.rpl").string();
  const mode_t mask = ::umask(022);
  EXPECT_TRUE(Write(fresh, "new"));
  ::umask(mask);
  EXPECT_EQ(Contents(fresh), "new");
  EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::all, fs::perms(0644));
}

TEST_F(AtomicFileTest, SomethingAtTheTemporaryIsNeitherFollowedNorRemoved) {
  const std::string victim = (Dir / "victim").string();
  Put(victim, "precious");
  Put(Path, "old");
  struct TCase {
    const char* What;
    std::function<void()> Plant;
    int Errno;
  };
  const std::vector<TCase> cases = {
      {"a link to another file", [&] { fs::create_symlink(victim, Temp); }, EEXIST},
      {"a link to a file not there yet", [&] { fs::create_symlink(Dir / "made-through-the-link", Temp); }, EEXIST},
      {"a file a killed write left", [&] { Put(Temp, "half a rep"); }, EEXIST},
      {"a folder", [&] { fs::create_directories(Temp + "/inside"); }, EISDIR},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    c.Plant();
    const auto planted = fs::symlink_status(Temp).type();
    errno = 0;
    EXPECT_FALSE(MayReplaceAtomically(Path.c_str()));
    EXPECT_EQ(errno, c.Errno);
    errno = 0;
    EXPECT_FALSE(Write(Path, "new"));
    EXPECT_EQ(errno, c.Errno) << std::strerror(errno);
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_FALSE(Exists((Dir / "made-through-the-link").string()));
    EXPECT_EQ(Contents(Path), "old");
    EXPECT_EQ(fs::symlink_status(Temp).type(), planted) << "a write removes only what it made";

    // The next start clears a file or a link (never what the link names);
    // a folder is none of ours and stays.
    RemoveStaleTemporary(Path.c_str());
    if (c.Errno == EISDIR) {
      EXPECT_TRUE(fs::is_directory(Temp + "/inside"));
      fs::remove_all(Temp);
    }
    EXPECT_FALSE(Exists(Temp));
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_TRUE(Write(Path, "new"));
    EXPECT_EQ(Contents(Path), "new");
    Put(Path, "old");
  }
  RemoveStaleTemporary(Path.c_str());  // nothing there: nothing happens
  EXPECT_EQ(Contents(Path), "old");
}

TEST_F(AtomicFileTest, OnlyARegularFileIsReplaced) {
  const std::string target = (Dir / "target").string();
  Put(target, "what the link names");
  struct TCase {
    const char* What;
    std::function<bool()> Plant;  // false: this kind cannot be made here
    int Errno;
  };
  const std::vector<TCase> cases = {
      {"a folder", [&] { return fs::create_directories(Path + "/inside"); }, EISDIR},
      {"a link to a file", [&] { return fs::create_symlink(target, Path), true; }, ELOOP},
      {"a link to nothing", [&] { return fs::create_symlink(Dir / "nowhere", Path), true; }, ELOOP},
      {"a named pipe (as a socket would be)", [&] { return ::mkfifo(Path.c_str(), 0600) == 0; }, EEXIST},
      // /dev/null's own numbers, in a node of our own: root may make one.
      {"a device", [&] { return ::mknod(Path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }, EEXIST},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    fs::remove_all(Path);
    if (!c.Plant()) {
      std::printf("(%s cannot be made here: %s)\n", c.What, std::strerror(errno));
      continue;
    }
    const auto planted = fs::symlink_status(Path).type();
    errno = 0;
    EXPECT_FALSE(MayReplaceAtomically(Path.c_str()));
    EXPECT_EQ(errno, c.Errno);
    errno = 0;
    EXPECT_FALSE(Write(Path, "replay bytes"));
    EXPECT_EQ(errno, c.Errno) << std::strerror(errno);
    EXPECT_EQ(fs::symlink_status(Path).type(), planted) << "left as it was";
    EXPECT_FALSE(Exists(Temp)) << "refused before anything was made";
    EXPECT_EQ(Contents(target), "what the link names");
    EXPECT_FALSE(Exists((Dir / "nowhere").string()));
  }
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileWhole) {
  // The space runs out at the first byte, inside a chunk, and between two.
  for (long long space : {0LL, 5LL, 8LL}) {
    SCOPED_TRACE(space);
    Put(Path, "the old record");
    SetAtomicWriteSpaceForTests(space);
    const TFileChunk chunks[] = {{"12345678", 8}, {"9abcdef", 7}};
    errno = 0;
    EXPECT_FALSE(WriteFileAtomically(Path.c_str(), chunks, 2));
    EXPECT_EQ(errno, ENOSPC);
    SetAtomicWriteSpaceForTests(-1);
    EXPECT_EQ(Contents(Path), "the old record");
    EXPECT_FALSE(Exists(Temp));
  }
  SetAtomicWriteSpaceForTests(15);  // just enough
  const TFileChunk chunks[] = {{"12345678", 8}, {"9abcdef", 7}};
  EXPECT_TRUE(WriteFileAtomically(Path.c_str(), chunks, 2));
  EXPECT_EQ(Contents(Path), "123456789abcdef");
}
