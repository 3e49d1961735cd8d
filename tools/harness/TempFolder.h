#pragma once
// A folder of its own under the temporary folder (TMPDIR), made with a name
// no other run can have, and removed with all it holds when it goes away.
#include <filesystem>

class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return Where; }

 private:
  std::filesystem::path Where;
};
