// The save file's bytes as read from disk: whatever they are, the game gets a
// best score and a level it can start from, and a record only when all 128
// bytes are there.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "app/SaveFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t hiScore = -7, maxLevel = -7;
  SaveFile::ReadSaveBytes(data, size, hiScore, maxLevel);
  FUZZ_REQUIRE(maxLevel >= 1 && maxLevel <= SaveFile::MaxLevelCap);
  if (size != SaveFile::RecordSize) FUZZ_REQUIRE(hiScore == 0 && maxLevel == 1);

  // What was read saves back to a record that reads the same.
  const SaveFile::TRecord again = SaveFile::MakeRecord(hiScore, maxLevel);
  std::int32_t hi2 = 0, max2 = 0;
  FUZZ_REQUIRE(SaveFile::ReadRecord(again, hi2, max2));
  FUZZ_REQUIRE(hi2 == hiScore && max2 == maxLevel);
  return 0;
}
