// Setup.exe as a user starts it: a distribution folder with Setup.exe and Lib.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "Distribution.h"
#include "TestSupport.h"

namespace {

const char kCrystalKey[] = "Software\\Crystal Decisions";
const char kCommonFilesKey[] = "Software\\Crystal Decisions\\9.0\\Crystal Reports";
const char kCommonFilesValue[] = "C:\\program files\\common files\\crystal decisions\\2.0\\bin";
constexpr DWORD kRunLimitMs = 60000;

struct TopLevelWindow {
  HWND handle;
  bool visible;
  std::string className, text;
};

struct WindowSearch {
  DWORD pid;
  std::vector<TopLevelWindow> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid) {
    char className[256] = "", text[1024] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    search->found.push_back({window, IsWindowVisible(window) != FALSE, className, text});
  }
  return TRUE;
}

std::vector<TopLevelWindow> WindowsOf(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class SetupTest : public ::testing::Test {
 protected:
  SetupTest() : dist_("setup"), setupExe_(dist_.SetupExe()) {
    dist_.AddAllPrograms();
    // Both prerequisites present: only the demo starts.
    Distribution::SetPrerequisites("2.8", "C:\\fw\\");
    RegValue::DeleteTree(HKEY_LOCAL_MACHINE, kCrystalKey);
  }
  ~SetupTest() override { RegValue::DeleteTree(HKEY_LOCAL_MACHINE, kCrystalKey); }

  std::vector<std::string> Started() const { return dist_.Started(); }
  bool DemoHasStarted() const { return !Started().empty(); }

  Distribution dist_;
  std::string setupExe_;
};

TEST_F(SetupTest, NormalRunStartsTheDemoAndExitsWithZero) {
  for (const char* arguments : {"", "/S /v\"/qn\" --help extra"}) {
    SCOPED_TRACE(arguments);
    dist_.ClearJournal();
    const ProcessResult result = RunProcess(setupExe_, arguments, kRunLimitMs);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ(std::vector<std::string>{"KalvoDemo.exe"}, Started());
  }
}

TEST_F(SetupTest, SecondCopyIsHeldBackWhileTheFirstWaitsAndRunsAfterItEnded) {
  ScopedEnv actions("SETUP_TEST_ACTIONS", "KalvoDemo.exe=hold:6000");
  {
    ChildProcess first(setupExe_, "");
    ASSERT_TRUE(WaitUntil([&] { return DemoHasStarted(); }, kRunLimitMs));

    // Nothing of the waiting copy can be seen: no visible window, no taskbar entry.
    const std::vector<TopLevelWindow> windows = WindowsOf(first.Pid());
    EXPECT_FALSE(windows.empty()) << "the application window should exist, hidden";
    for (const TopLevelWindow& w : windows) {
      EXPECT_FALSE(w.visible) << w.className << " \"" << w.text << "\"";
    }

    const ProcessResult second = RunProcess(setupExe_, "", kRunLimitMs);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(0u, second.exitCode);
    EXPECT_EQ(1u, Started().size()) << "the second copy started something";

    ASSERT_TRUE(first.Wait(kRunLimitMs));
    EXPECT_EQ(0u, first.ExitCode());
  }
  SetEnvironmentVariableA("SETUP_TEST_ACTIONS", "");
  const ProcessResult again = RunProcess(setupExe_, "", kRunLimitMs);
  ASSERT_TRUE(again.finished);
  EXPECT_EQ(0u, again.exitCode);
  EXPECT_EQ(2u, Started().size()) << "a start after the first ended runs normally";
}

TEST_F(SetupTest, RecordsCommonFilesOnlyWhenTheKeyIsAbsent) {
  ASSERT_TRUE(RunProcess(setupExe_, "", kRunLimitMs).finished);
  const auto written = RegValue::Get(HKEY_LOCAL_MACHINE, kCommonFilesKey, "CommonFiles");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), written->type);
  EXPECT_EQ(std::string(kCommonFilesValue, sizeof kCommonFilesValue), written->data);
  EXPECT_FALSE(RegValue::KeyExists(HKEY_LOCAL_MACHINE, kCommonFilesKey, KEY_WOW64_64KEY));

  RegValue::DeleteTree(HKEY_LOCAL_MACHINE, kCrystalKey);
  RegValue::SetString(HKEY_LOCAL_MACHINE, kCommonFilesKey, "Other", "mine");
  ASSERT_TRUE(RunProcess(setupExe_, "", kRunLimitMs).finished);
  EXPECT_FALSE(RegValue::Get(HKEY_LOCAL_MACHINE, kCommonFilesKey, "CommonFiles").has_value());
  EXPECT_EQ(std::string("mine\0", 5), RegValue::Get(HKEY_LOCAL_MACHINE, kCommonFilesKey, "Other")->data);
}

TEST_F(SetupTest, SequenceStartsAboutOneSecondAfterTheRegistryStep) {
  ASSERT_TRUE(RunProcess(setupExe_, "", kRunLimitMs).finished);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCommonFilesKey, 0,
                                         KEY_READ | KEY_WOW64_32KEY, &key));
  FILETIME written = {};
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, &written);
  RegCloseKey(key);
  const unsigned long long registryStep =
      (static_cast<unsigned long long>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  const std::vector<JournalEntry> journal = dist_.Journal();
  ASSERT_FALSE(journal.empty());
  const long long gapMs = (static_cast<long long>(journal.front().time) -
                           static_cast<long long>(registryStep)) / 10000;
  // Generous bounds: the exact figure belongs to the benchmark.
  EXPECT_GE(gapMs, 900) << "the sequence started before the timer could have fired";
  EXPECT_LT(gapMs, 15000) << "the one-second timer took far too long";
}

// The form description replaced in a copy of Setup.exe.
void ReplaceFormResource(const std::string& exe, const std::string& text) {
  HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
  ASSERT_NE(nullptr, update);
  ASSERT_TRUE(UpdateResourceA(update, RT_RCDATA, "TFRMMAIN", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                              const_cast<char*>(text.data()), static_cast<DWORD>(text.size())));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
}

TEST_F(SetupTest, BrokenFormResourceShowsTheErrorBoxThenExitsWithZero) {
  struct Case {
    std::optional<std::string> resource;
    const char* message;
  };
  const Case cases[] = {
      {std::nullopt, "Resource TFRMMAIN not found."},
      {std::string("object frmMain: TfrmMain\n  Left 533\nend\n"),
       "Error in form description, line 2: '=' expected."},
      {std::string("object frmMain: TfrmMain\n  Colour = clRed\nend\n"),
       "Error reading frmMain.Colour: Property Colour does not exist."},
      {std::string("object frmMain: TfrmMain\n  OnCreate = FormShow\nend\n"),
       "Method FormShow not found."},
      {std::string("object frmMain: TfrmMain\n  object Timer2: TTimer\n  end\nend\n"),
       "Field frmMain.Timer2 does not exist."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    dist_.ClearJournal();
    if (c.resource) {
      CopyFileOrThrow(TestBinaryDir() + "Setup.exe", setupExe_);
      ReplaceFormResource(setupExe_, *c.resource);
    } else {
      // Built without the form description (Wine cannot delete a resource from a file).
      CopyFileOrThrow(TestBinaryDir() + "SetupWithoutForm.exe", setupExe_);
    }

    ChildProcess setup(setupExe_, "");
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (const TopLevelWindow& w : WindowsOf(setup.Pid())) {
            // Shown means built: its caption and text are in place.
            if (w.className == "#32770" && w.visible) box = w.handle;
          }
          return box != nullptr;
        },
        kRunLimitMs))
        << "no error box; process " << (setup.Wait(0) ? "ended" : "still running") << ", "
        << WindowsOf(setup.Pid()).size() << " top-level windows, started: " << Started().size();
    char caption[256] = "", text[1024] = "";
    GetWindowTextA(box, caption, sizeof caption);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text
    EXPECT_STREQ("Setup", caption);
    EXPECT_STREQ(c.message, text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(setup.Wait(kRunLimitMs));
    EXPECT_EQ(0u, setup.ExitCode());
    EXPECT_TRUE(Started().empty());
  }
}

std::string ResourceId(LPCSTR id) {
  return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id))
                            : std::string(id);
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR type, LPSTR name, LONG_PTR param) {
  reinterpret_cast<std::vector<std::string>*>(param)->push_back(ResourceId(type) + "/" +
                                                                 ResourceId(name));
  return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param) {
  EnumResourceNamesA(module, type, &CollectName, param);
  return TRUE;
}

TEST(SetupResources, AreExactlyTheFormAndTheIconOfFourImages) {
  HMODULE exe = LoadLibraryExA((TestBinaryDir() + "Setup.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, exe);
  std::vector<std::string> entries;  // "type/name"
  EnumResourceTypesA(exe, &CollectType, reinterpret_cast<LONG_PTR>(&entries));

  std::vector<std::string> icons, others;
  for (const std::string& entry : entries) {
    (entry.rfind("#3/", 0) == 0 ? icons : others).push_back(entry);
  }
  EXPECT_EQ((std::vector<std::string>{"#10/TFRMMAIN", "#14/MAINICON"}), others);
  EXPECT_EQ(4u, icons.size());

  // The group lists 16x16 and 32x32, each in 16 and in 256 colours.
  HRSRC group = FindResourceA(exe, "MAINICON", RT_GROUP_ICON);
  ASSERT_NE(nullptr, group);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  ASSERT_EQ(4, count);
  std::vector<std::string> images;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = data + 6 + 14 * i;  // GRPICONDIRENTRY
    const WORD bits = *reinterpret_cast<const WORD*>(entry + 6);
    images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[1]) + "x" +
                     std::to_string(bits));
  }
  std::sort(images.begin(), images.end());
  EXPECT_EQ((std::vector<std::string>{"16x16x4", "16x16x8", "32x32x4", "32x32x8"}), images);
  FreeLibrary(exe);
}

}  // namespace
