// The test programs' entry point. With --run-prerequisites the program acts as the
// launcher itself (a copy of it is placed in a distribution folder by the tests);
// otherwise it runs the tests.
#include <gtest/gtest.h>

#include <cstring>

#include "uMain.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--run-prerequisites") == 0) {
    RunPrerequisites();
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
