#include "fuzz/support/TempFolder.h"

#include <stdlib.h>

#include <string>
#include <system_error>

#include "fuzz/support/FuzzCheck.h"

namespace seaherald::fuzz {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "seaherald-fuzz-XXXXXX").string();
  const char* created = ::mkdtemp(pattern.data());
  FUZZ_CHECK(created != nullptr, "no temporary folder could be created (is TMPDIR writable?)");
  path_ = created;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Entries a harness made unreadable or unwritable must not stop the clean-up.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace seaherald::fuzz
