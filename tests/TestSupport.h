// TestSupport.h: what the tests share.
//
//   TestBinaryDir       folder of the running test program, where the helpers are built
//   ScratchDir          a fresh folder whose path contains blanks, removed afterwards
//   ScopedEnv           sets an environment variable for the test's duration
//   ReadJournal         the lines the helper programs wrote
//   RegValue            raw registry values in a chosen view, for arranging and checking
//   SavedRegValue       restores a registry value when the test ends
//   ReadWholeFile       a file's bytes, read while others may still write
//   RunProcess          starts a program and waits for it with a generous limit
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

std::string TestBinaryDir();  // ends with a backslash

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& label);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }  // ends with a backslash
  // Creates a subfolder (and its parents) and returns its path with a backslash.
  std::string MakeDir(const std::string& relative) const;

 private:
  std::string path_;
};

// The file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
void CopyFileOrThrow(const std::string& from, const std::string& to);
void WriteFileOrThrow(const std::string& path, const std::string& content);
bool RemoveTree(const std::string& path);

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

struct JournalEntry {
  std::string event;  // "start" or "end"
  std::string name;
  unsigned long long time = 0;  // 100 ns units
  unsigned long pid = 0;
  std::string commandLine;
  std::string folder;
};

std::vector<JournalEntry> ReadJournal(const std::string& path);
// Whether a started program saw `path` as its command line: Windows hands a program
// started without a command line its path as it stands, Wine puts it in quotes.
bool IsOwnPathAsCommandLine(const std::string& path, const JournalEntry& entry);
// Whether a started program's current folder was `folder` (given with a backslash).
bool StartedIn(const std::string& folder, const JournalEntry& entry);
// Names of the programs that started, in order.
std::vector<std::string> StartedNames(const std::vector<JournalEntry>& journal);

// Registry values in an explicit view (KEY_WOW64_32KEY or KEY_WOW64_64KEY).
namespace RegValue {
struct Raw {
  DWORD type = REG_NONE;
  std::string data;
};
void Set(HKEY root, const std::string& key, const std::string& name, DWORD type,
         const std::string& data, REGSAM view = KEY_WOW64_32KEY);
void SetString(HKEY root, const std::string& key, const std::string& name,
               const std::string& value, REGSAM view = KEY_WOW64_32KEY);
void Delete(HKEY root, const std::string& key, const std::string& name,
            REGSAM view = KEY_WOW64_32KEY);
std::optional<Raw> Get(HKEY root, const std::string& key, const std::string& name,
                       REGSAM view = KEY_WOW64_32KEY);
bool KeyExists(HKEY root, const std::string& key, REGSAM view = KEY_WOW64_32KEY);
void DeleteTree(HKEY root, const std::string& key, REGSAM view = KEY_WOW64_32KEY);
}  // namespace RegValue

class SavedRegValue {
 public:
  SavedRegValue(HKEY root, std::string key, std::string name);
  ~SavedRegValue();
  SavedRegValue(const SavedRegValue&) = delete;
  SavedRegValue& operator=(const SavedRegValue&) = delete;

 private:
  HKEY root_;
  std::string key_, name_;
  std::optional<RegValue::Raw> saved_;
};

// A program started by a test; ended by force if the test leaves it running.
class ChildProcess {
 public:
  ChildProcess(const std::string& exe, const std::string& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  DWORD Pid() const { return pid_; }
  bool Wait(DWORD limitMs);  // true when it ended in time
  DWORD ExitCode() const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

struct ProcessResult {
  bool finished = false;
  DWORD exitCode = 0;
};

ProcessResult RunProcess(const std::string& exe, const std::string& arguments, DWORD limitMs);

// Polls `condition` every 50 ms until it holds or the limit passes.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > limitMs) return false;
    Sleep(50);
  }
  return true;
}

// Waits for a process that some test started indirectly to end (best effort).
void WaitForPid(DWORD pid, DWORD limitMs);

unsigned long long NowFileTime();
