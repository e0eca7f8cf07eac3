// The application object's pieces that can be checked without showing anything.
#include <gtest/gtest.h>

#include "Application.h"

namespace {

TEST(ExceptionText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
  struct Case {
    const char* message;
    const char* shown;
  };
  const Case cases[] = {
      {"", ""},                                        // nothing to end
      {"Resource TFRMMAIN not found", "Resource TFRMMAIN not found."},
      {"Already ends.", "Already ends."},
      {"Out of range: 1", "Out of range: 1."},         // '1' is above '.'
      {"Really!", "Really!"},                          // '!' is below '.'
      {"(see above)", "(see above)"},                  // so is ')'
      {"Pfad C:\\", "Pfad C:\\."},
      {"Fehler \xE4", "Fehler \xE4."},                 // compared as an unsigned code
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shown, TApplication::ExceptionText(c.message)) << c.message;
  }
}

TEST(ApplicationTitle, IsTheProgramNameCapitalised) {
  // This test program's file is SetupTests.exe.
  EXPECT_EQ("Setuptests", Application->Title());
}

}  // namespace
