#include "tools/harness/TempFolder.h"

#include <cstdlib>
#include <string>
#include <system_error>

TTempFolder::TTempFolder() {
  std::string name = (std::filesystem::temp_directory_path() / "quadrovolt-XXXXXX").string();
  if (!::mkdtemp(name.data()))
    throw std::filesystem::filesystem_error("cannot make a temporary folder", name,
                                            std::error_code(errno, std::generic_category()));
  Where = name;
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Where, ignored);
}
