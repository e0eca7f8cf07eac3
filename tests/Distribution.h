// Distribution.h: a distribution folder as users get it, for end-to-end tests.
//
// Setup.exe beside a Lib folder, in a scratch folder whose path has blanks; the
// journal of the stand-in programs; the registry values the sequence reads, restored
// when the test ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"

class Distribution {
 public:
  explicit Distribution(const std::string& label);

  const std::string& Dir() const { return dir_; }        // ends with a backslash
  const std::string& LibDir() const { return libDir_; }  // ends with a backslash
  std::string SetupExe() const { return dir_ + "Setup.exe"; }

  // Copies a stand-in into Lib under `name`: windowed like a demo, or a console program.
  void AddProgram(const std::string& name, bool windowed) const;
  // The three installers as console programs, the demo as a windowed one.
  void AddAllPrograms() const;

  std::vector<JournalEntry> Journal() const { return ReadJournal(journalPath_); }
  std::vector<std::string> Started() const { return StartedNames(Journal()); }
  void ClearJournal() const;

  // Absent values are deleted (32-bit view).
  static void SetPrerequisites(const std::optional<std::string>& version,
                               const std::optional<std::string>& installRoot);

 private:
  ScratchDir scratch_;
  std::string dir_, libDir_, journalPath_;
  ScopedEnv journal_;
  SavedRegValue savedVersion_, savedRoot_;
};

extern const char kDataAccessKey[];
extern const char kDotNetKey[];
