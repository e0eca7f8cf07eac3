// Setup.exe against what download folders, removable media and broken machines hold:
// planted DLLs, bad registry data, Lib entries that are not programs, odd locations.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <sddl.h>

#include <algorithm>
#include <map>
#include <set>

#include "Distribution.h"
#include "TestSupport.h"

namespace {

constexpr DWORD kRunLimitMs = 120000;
using Names = std::vector<std::string>;
const Names kFullChain = {"mdac_typ.exe", "dotnetfx.exe", "langpack.exe", "KalvoDemo.exe"};

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); });
  return text;
}

// Which planted DLLs each program loaded, from the markers they left.
std::map<std::string, std::set<std::string>> LoadedByProgram(const std::string& log) {
  std::map<std::string, std::set<std::string>> loaded;
  const std::string text = ReadWholeFile(log);
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    const std::string::size_type tab = line.find('\t');
    if (tab == std::string::npos) continue;
    loaded[Lower(FileNameOf(line.substr(tab + 1)))].insert(Lower(FileNameOf(line.substr(0, tab))));
  }
  return loaded;
}

TEST(PlantedDlls, SetupLoadsNoneBeyondWhatTheSystemLoadsForAnyProgram) {
  Distribution dist("planted");
  dist.AddAllPrograms();
  Distribution::SetPrerequisites(std::nullopt, std::nullopt);
  ScopedEnv actions("SETUP_TEST_ACTIONS", "dotnetfx.exe=install-dotnet");
  CopyFileOrThrow(TestBinaryDir() + "Baseline.exe", dist.Dir() + "Baseline.exe");

  // Every planted DLL beside Setup.exe and in Lib, and Wine told to prefer them.
  std::string names, overrides;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TestBinaryDir() + "planted\\*.dll").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do {
    const std::string dll = found.cFileName;
    CopyFileOrThrow(TestBinaryDir() + "planted\\" + dll, dist.Dir() + dll);
    CopyFileOrThrow(TestBinaryDir() + "planted\\" + dll, dist.LibDir() + dll);
    names += (names.empty() ? "" : " ") + dll;
    overrides += (overrides.empty() ? "" : ",") + dll.substr(0, dll.size() - 4);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  const std::string log = dist.Dir() + "..\\planted.log";
  ScopedEnv marker("SETUP_TEST_PLANTED_LOG", log);
  ScopedEnv preferNative("WINEDLLOVERRIDES", "mscoree,mshtml=;" + overrides + "=n,b");

  ASSERT_TRUE(RunProcess(dist.Dir() + "Baseline.exe", "", kRunLimitMs).finished);
  const ProcessResult setup = RunProcess(dist.SetupExe(), "", kRunLimitMs);
  ASSERT_TRUE(setup.finished);
  EXPECT_EQ(0u, setup.exitCode);
  EXPECT_EQ(kFullChain, dist.Started()) << "Setup.exe did not do its whole run";
  const auto loaded = LoadedByProgram(log);
  const auto baseline = loaded.count("baseline.exe") ? loaded.at("baseline.exe") : std::set<std::string>();
  if (loaded.count("setup.exe")) {
    for (const std::string& dll : loaded.at("setup.exe")) {
      EXPECT_TRUE(baseline.count(dll)) << "Setup.exe loaded the planted " << dll;
    }
  }

  // The planting itself works: a program that loads DLLs the ordinary way gets them.
  DeleteFileA(log.c_str());
  ASSERT_TRUE(RunProcess(dist.Dir() + "Baseline.exe", names, kRunLimitMs).finished);
  const auto loadedByName = LoadedByProgram(log);
  ASSERT_TRUE(loadedByName.count("baseline.exe"));
  EXPECT_TRUE(loadedByName.at("baseline.exe").count("dwmapi.dll"));
}

class HostileInputTest : public ::testing::Test {
 protected:
  HostileInputTest() : dist_("hostile") { dist_.AddAllPrograms(); }

  Names RunSetup() {
    dist_.ClearJournal();
    const ProcessResult result = RunProcess(dist_.SetupExe(), "", kRunLimitMs);
    EXPECT_TRUE(result.finished) << "Setup.exe hung";
    EXPECT_EQ(0u, result.exitCode);
    return dist_.Started();
  }

  Distribution dist_;
};

struct BadValue {
  const char* what;
  DWORD type;
  std::string data;
  bool readsAsEmpty;  // else it reads as text that is not below "2.7", and not empty
};

std::vector<BadValue> BadValues() {
  return {
      {"REG_DWORD", REG_DWORD, std::string("\x1b\0\0\0", 4), true},
      {"REG_BINARY", REG_BINARY, "2.8", true},
      {"REG_MULTI_SZ", REG_MULTI_SZ, std::string("2.8\0x\0\0", 7), true},
      {"REG_EXPAND_SZ", REG_EXPAND_SZ, std::string("2.8\0", 4), false},
      {"REG_SZ without terminating zero", REG_SZ, "2.8", false},
      {"empty REG_SZ", REG_SZ, std::string(), true},
      {"REG_SZ of 1 MiB", REG_SZ, "3." + std::string(1 << 20, '9') + std::string(1, '\0'), false},
      {"REG_SZ with bytes above 127", REG_SZ, std::string("\xB2.\xE9\xFF\0", 5), false},
  };
}

TEST_F(HostileInputTest, BadDataAccessVersionCountsAsEmptyOrAsText) {
  for (const BadValue& bad : BadValues()) {
    SCOPED_TRACE(bad.what);
    Distribution::SetPrerequisites(std::nullopt, "C:\\fw\\");
    RegValue::Set(HKEY_LOCAL_MACHINE, kDataAccessKey, "FullInstallVer", bad.type, bad.data);
    const Names expected = bad.readsAsEmpty ? Names{"mdac_typ.exe", "KalvoDemo.exe"}
                                            : Names{"KalvoDemo.exe"};
    EXPECT_EQ(expected, RunSetup());
  }
}

TEST_F(HostileInputTest, BadInstallRootCountsAsEmptyOrAsPresent) {
  for (const BadValue& bad : BadValues()) {
    SCOPED_TRACE(bad.what);
    Distribution::SetPrerequisites("2.8", std::nullopt);
    RegValue::Set(HKEY_LOCAL_MACHINE, kDotNetKey, "InstallRoot", bad.type, bad.data);
    // dotnetfx.exe installs nothing here: an empty reading ends the sequence after it.
    const Names expected = bad.readsAsEmpty ? Names{"dotnetfx.exe"} : Names{"KalvoDemo.exe"};
    EXPECT_EQ(expected, RunSetup());
  }
}

void SetKeySecurity(const std::string& key, const char* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  HKEY handle = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0,
                                         WRITE_DAC | KEY_WOW64_32KEY, &handle));
  EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor));
  RegCloseKey(handle);
  LocalFree(descriptor);
}

TEST_F(HostileInputTest, KeyThatCannotBeOpenedWithFullAccessCountsAsAbsent) {
  Distribution::SetPrerequisites("2.8", "C:\\fw\\");
  // Everyone may read the key and change its security, nothing more.
  SetKeySecurity(kDotNetKey, "D:(A;;KR;;;WD)(A;;WD;;;WD)");
  HKEY probe = nullptr;
  const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDotNetKey, 0,
                                    KEY_ALL_ACCESS | KEY_WOW64_32KEY, &probe);
  if (status == ERROR_SUCCESS) RegCloseKey(probe);
  const Names started = status == ERROR_SUCCESS ? Names{} : RunSetup();
  SetKeySecurity(kDotNetKey, "D:(A;;KA;;;WD)");
  if (status == ERROR_SUCCESS) GTEST_SKIP() << "this system grants full access regardless";
  EXPECT_EQ(Names{"dotnetfx.exe"}, started);
}

TEST_F(HostileInputTest, LibEntriesThatAreNotProgramsAreSkipped) {
  struct Entry {
    const char* what;
    void (*make)(const std::string& path);
    bool starts;          // a real program that runs, however it ends
    const char* actions;  // what that program does
  };
  const Entry entries[] = {
      {"zero-byte file", [](const std::string& p) { WriteFileOrThrow(p, ""); }, false, ""},
      {"text file", [](const std::string& p) { WriteFileOrThrow(p, "@echo off\r\nformat c:\r\n"); }, false, ""},
      {"folder", [](const std::string& p) { CreateDirectoryA(p.c_str(), nullptr); }, false, ""},
      {"DLL renamed to .exe",
       [](const std::string& p) { CopyFileOrThrow(TestBinaryDir() + "planted\\version.dll", p); }, false, ""},
      {"program that crashes",
       [](const std::string& p) { CopyFileOrThrow(TestBinaryDir() + "fake_console.exe", p); }, true,
       "crash"},
      {"program that fails",
       [](const std::string& p) { CopyFileOrThrow(TestBinaryDir() + "fake_console.exe", p); }, true,
       "exit:1603"},
  };
  for (const Entry& entry : entries) {
    SCOPED_TRACE(entry.what);
    Distribution::SetPrerequisites(std::nullopt, std::nullopt);
    const std::string mdac = dist_.LibDir() + "mdac_typ.exe";
    DeleteFileA(mdac.c_str());
    RemoveDirectoryA(mdac.c_str());
    entry.make(mdac);
    ScopedEnv actions("SETUP_TEST_ACTIONS",
                      std::string("dotnetfx.exe=install-dotnet;mdac_typ.exe=") + entry.actions);
    const Names expected = entry.starts ? kFullChain : Names(kFullChain.begin() + 1, kFullChain.end());
    EXPECT_EQ(expected, RunSetup());
  }
}

TEST_F(HostileInputTest, AtTheRootOfADriveLibIsThatDrivesLib) {
  // The test prefix maps drive T: to an empty scratch folder.
  ASSERT_NE(static_cast<UINT>(DRIVE_NO_ROOT_DIR), GetDriveTypeA("T:\\"));
  CreateDirectoryA("T:\\Lib", nullptr);
  CopyFileOrThrow(TestBinaryDir() + "Setup.exe", "T:\\Setup.exe");
  CopyFileOrThrow(TestBinaryDir() + "fake_window.exe", "T:\\Lib\\KalvoDemo.exe");
  Distribution::SetPrerequisites("2.8", "C:\\fw\\");
  dist_.ClearJournal();
  const ProcessResult result = RunProcess("T:\\Setup.exe", "", kRunLimitMs);
  const std::vector<JournalEntry> journal = dist_.Journal();
  DeleteFileA("T:\\Lib\\KalvoDemo.exe");
  RemoveDirectoryA("T:\\Lib");
  DeleteFileA("T:\\Setup.exe");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(0u, result.exitCode);
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ("KalvoDemo.exe", journal[0].name);
  EXPECT_EQ(0, lstrcmpiA("T:\\Lib", journal[0].folder.c_str())) << journal[0].folder;
}

}  // namespace
