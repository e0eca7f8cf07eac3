// LaunchProgram and RunAndWait with real programs in a folder whose path has blanks.
#include <gtest/gtest.h>

#include "Paths.h"
#include "TestSupport.h"
#include "uMain.h"

namespace {

void ExpectOwnPathAsCommandLine(const std::string& path, const JournalEntry& entry) {
  EXPECT_TRUE(IsOwnPathAsCommandLine(path, entry))
      << "command line: " << entry.commandLine << "\nexpected: " << path;
}

void ExpectFolder(const std::string& folderWithBackslash, const JournalEntry& entry) {
  EXPECT_TRUE(StartedIn(folderWithBackslash, entry)) << "current folder: " << entry.folder;
}

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest()
      : scratch_("launcher"),
        libDir_(scratch_.MakeDir("dist with blanks\\Lib")),
        journalPath_(scratch_.Path() + "journal.txt"),
        journal_("SETUP_TEST_JOURNAL", journalPath_) {}

  void AddProgram(const char* helper, const std::string& name) {
    CopyFileOrThrow(TestBinaryDir() + helper, libDir_ + name);
  }

  ScratchDir scratch_;
  std::string libDir_;
  std::string journalPath_;
  ScopedEnv journal_;
};

struct WaitCase {
  const char* helper;
  const char* name;
};

TEST_F(LauncherTest, WaitsUntilConsoleAndWindowedProgramsHaveEnded) {
  const WaitCase cases[] = {
      {"fake_console.exe", "console program.exe"},
      {"fake_window.exe", "windowed program.exe"},
  };
  ScopedEnv actions("SETUP_TEST_ACTIONS",
                    "console program.exe=hold:1500;windowed program.exe=hold:1500");
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.name);
    AddProgram(c.helper, c.name);
    RunAndWait(libDir_, c.name);
    const std::vector<JournalEntry> journal = ReadJournal(journalPath_);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ("end", journal.back().event) << "returned before the program ended";
    EXPECT_EQ(c.name, journal.back().name);
    const JournalEntry& start = journal[journal.size() - 2];
    ExpectOwnPathAsCommandLine(libDir_ + c.name, start);
    ExpectFolder(libDir_, start);
  }
}

TEST_F(LauncherTest, ConsoleProgramCountsAsReadyAtOnce) {
  AddProgram("fake_console.exe", "console.exe");
  UniqueHandle process = LaunchProgram(libDir_ + "console.exe", nullptr);
  ASSERT_TRUE(process);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 60000));
}

TEST_F(LauncherTest, ProgramBusyPastTheLimitIsNotWaitedFor) {
  AddProgram("fake_window.exe", "busy.exe");
  ScopedEnv actions("SETUP_TEST_ACTIONS", "busy.exe=busy:6000,hold:100");
  RunAndWait(libDir_, "busy.exe");
  const std::vector<JournalEntry> journal = ReadJournal(journalPath_);
  ASSERT_EQ(1u, journal.size()) << "the program should still be running";
  EXPECT_EQ("start", journal[0].event);
  WaitForPid(journal[0].pid, 60000);
  EXPECT_EQ("end", ReadJournal(journalPath_).back().event);
}

TEST_F(LauncherTest, MissingFileOrFolderReturnsAtOnce) {
  const std::string paths[] = {libDir_ + "absent.exe", libDir_ + "no such folder\\absent.exe"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    const DWORD before = GetTickCount();
    EXPECT_FALSE(LaunchProgram(path, nullptr));
    RunAndWait(ExtractFilePath(path), "absent.exe");
    EXPECT_LT(GetTickCount() - before, 2000u);
  }
  EXPECT_TRUE(ReadJournal(journalPath_).empty());
}

}  // namespace
