// The prerequisite sequence end to end: a copy of this test program stands in a
// distribution folder whose path has blanks and runs the sequence there, with the
// real registry and helper programs in its Lib folder.
#include <gtest/gtest.h>

#include <optional>

#include "Distribution.h"
#include "TestSupport.h"
#include "uMain.h"

namespace {

const char kMdac[] = "mdac_typ.exe";
const char kDotNet[] = "dotnetfx.exe";
const char kLangPack[] = "langpack.exe";
const char kDemo[] = "KalvoDemo.exe";

using Names = std::vector<std::string>;

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() : dist_("sequence") {
    // The test program itself stands in for Setup.exe, running only the sequence.
    CopyFileOrThrow(TestBinaryDir() + "SetupTests.exe", dist_.SetupExe());
  }

  // The demo is windowed, the installers are console programs: both kinds of wait.
  void AddPrograms(const Names& names) {
    for (const std::string& name : names) dist_.AddProgram(name, name == kDemo);
  }

  // Runs the sequence and returns the journal; checks what every run must satisfy.
  std::vector<JournalEntry> RunSequence() {
    const ProcessResult result =
        RunProcess(dist_.SetupExe(), "--run-prerequisites", 180000);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode);
    const std::vector<JournalEntry> journal = dist_.Journal();
    ExpectOneAfterAnother(journal);
    return journal;
  }

  // Each program starts in LibDir with its own full path as command line, and only
  // after the one before it has ended.
  void ExpectOneAfterAnother(const std::vector<JournalEntry>& journal) const {
    for (std::size_t i = 0; i < journal.size(); ++i) {
      const JournalEntry& entry = journal[i];
      EXPECT_EQ(i % 2 == 0 ? "start" : "end", entry.event) << "entry " << i << " " << entry.name;
      if (entry.event != "start") continue;
      const std::string path = dist_.LibDir() + entry.name;
      EXPECT_TRUE(IsOwnPathAsCommandLine(path, entry)) << entry.commandLine;
      EXPECT_TRUE(StartedIn(dist_.LibDir(), entry)) << entry.folder;
    }
  }

  Distribution dist_;
};

struct DecisionCase {
  const char* what;
  std::optional<std::string> version;
  bool dotNetPresent;
  bool installerSetsInstallRoot;
  Names expected;
};

TEST_F(SequenceTest, StartsTheProgramsTheRegistryCallsFor) {
  const DecisionCase cases[] = {
      {"both present", "2.8", true, false, {kDemo}},
      {"old data access", "2.53.6200.2", true, false, {kMdac, kDemo}},
      {"no .NET, installer sets it", "2.7", false, true, {kDotNet, kLangPack, kDemo}},
      {"neither, installer sets it", std::nullopt, false, true, {kMdac, kDotNet, kLangPack, kDemo}},
      {"no .NET, installer fails", "2.71.9030.0", false, false, {kDotNet}},
      {"old data access, .NET installer fails", "2.6", false, false, {kMdac, kDotNet}},
  };
  AddPrograms({kMdac, kDotNet, kLangPack, kDemo});
  for (const DecisionCase& c : cases) {
    SCOPED_TRACE(c.what);
    dist_.ClearJournal();
    Distribution::SetPrerequisites(c.version, c.dotNetPresent ? std::optional<std::string>("C:\\fw\\")
                                               : std::nullopt);
    ScopedEnv actions("SETUP_TEST_ACTIONS", c.installerSetsInstallRoot
                                                ? "dotnetfx.exe=install-dotnet,hold:300"
                                                : "dotnetfx.exe=hold:300");
    EXPECT_EQ(c.expected, StartedNames(RunSequence()));
  }
}

TEST_F(SequenceTest, ComparesTheDataAccessVersionAsText) {
  struct VersionCase {
    std::optional<std::string> version;
    bool installerRuns;
  };
  const VersionCase cases[] = {
      {std::nullopt, true}, {"", true},      {"2.53.6200.2", true}, {"2.6", true},
      {"2.7", false},       {"2.71.9030.0", false}, {"2.8", false}, {"10.0", true},
  };
  AddPrograms({kMdac, kDemo});
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.version ? "\"" + *c.version + "\"" : "absent");
    dist_.ClearJournal();
    Distribution::SetPrerequisites(c.version, "C:\\fw\\");
    const Names expected = c.installerRuns ? Names{kMdac, kDemo} : Names{kDemo};
    EXPECT_EQ(expected, StartedNames(RunSequence()));
  }
}

TEST_F(SequenceTest, MissingDotNetInstallerEndsTheSequence) {
  AddPrograms({kMdac, kLangPack, kDemo});
  Distribution::SetPrerequisites("2.8", std::nullopt);
  EXPECT_EQ(Names{}, StartedNames(RunSequence()));
}

TEST(VersionComparison, IsByteWiseTextOrder) {
  struct Case {
    const char* version;
    bool below;
  };
  const Case cases[] = {
      {"", true},     {"2", true},     {"2.53.6200.2", true}, {"2.6", true},    {"10.0", true},
      {"2.7", false}, {"2.70", false}, {"2.71.9030.0", false}, {"2.8", false}, {"\xA0", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.below, IsVersionBelow(c.version, "2.7")) << c.version;
  }
}

TEST(LibDirFromModulePath, NeverComesFromATruncatedPath) {
  const std::string fits = "C:\\" + std::string(kModulePathBufferSize - 14, 'd') + "\\Setup.exe";
  ASSERT_EQ(kModulePathBufferSize - 1, fits.size());
  EXPECT_EQ(fits.substr(0, fits.size() - 9) + "Lib\\",
            LibDirFromModulePath(fits.c_str(), static_cast<DWORD>(fits.size())));
  const std::string cut = fits + "x";  // what a longer path leaves in a full buffer
  EXPECT_EQ("", LibDirFromModulePath(cut.c_str(), kModulePathBufferSize));
  EXPECT_EQ("", LibDirFromModulePath("", 0));

  // The system reports a path that does not fit by filling the whole buffer.
  char small[8];
  EXPECT_EQ(sizeof small, GetModuleFileNameA(nullptr, small, sizeof small));
}

TEST(ProgramFolder, EndsRightAfterTheLastBackslash) {
  EXPECT_EQ("C:\\dist with blanks\\", ProgramFolder("C:\\dist with blanks\\Setup.exe"));
  EXPECT_EQ("D:\\", ProgramFolder("D:\\Setup.exe"));
  EXPECT_EQ("", ProgramFolder("Setup.exe"));
}

}  // namespace
