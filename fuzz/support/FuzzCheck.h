#pragma once

namespace seaherald::fuzz {

// Reports a broken invariant and aborts, which libFuzzer records as a crash with this input.
[[noreturn]] void FailCheck(const char* condition, const char* what, const char* file, int line);

}  // namespace seaherald::fuzz

// An invariant of the code under test. Unlike assert it stays on in every build type.
#define FUZZ_CHECK(condition, what)                                                       \
  do {                                                                                    \
    if (!(condition)) ::seaherald::fuzz::FailCheck(#condition, what, __FILE__, __LINE__); \
  } while (false)
