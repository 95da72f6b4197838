#include "fuzz/support/FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace seaherald::fuzz {

void FailCheck(const char* condition, const char* what, const char* file, int line) {
  std::fprintf(stderr, "==%s:%d== invariant broken: %s\n    check: %s\n", file, line, what,
               condition);
  std::abort();
}

}  // namespace seaherald::fuzz
