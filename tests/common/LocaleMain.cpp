// The suites' main. The process takes its locale from the environment, as
// the desktop program does when Qt starts: run with LC_ALL=pt_BR.UTF-8, every
// C library number reader and writer of the process uses a decimal comma, and
// the engine's own texts must not change.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
