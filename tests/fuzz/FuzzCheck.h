// Invariant checks of the fuzz targets: a broken invariant aborts with its
// text, which libFuzzer records as a crash input and the replay run reports
// as a failed test.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace transref::fuzz {

[[noreturn]] inline void Broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

// True when the text holds a number that is not finite as printf writes it.
inline bool HasNonFiniteNumber(std::string_view text) {
  for (std::string_view word : {"nan", "NAN", "inf", "INF"}) {
    if (text.find(word) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace transref::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::transref::fuzz::Broken(#condition, __FILE__, __LINE__))
