#include "Distribution.h"

const char kDataAccessKey[] = "Software\\Microsoft\\DataAccess";
const char kDotNetKey[] = "Software\\Microsoft\\.NETFramework";

Distribution::Distribution(const std::string& label)
    : scratch_(label),
      dir_(scratch_.MakeDir("my product\\setup disc")),
      libDir_(scratch_.MakeDir("my product\\setup disc\\Lib")),
      journalPath_(scratch_.Path() + "journal.txt"),
      journal_("SETUP_TEST_JOURNAL", journalPath_),
      savedVersion_(HKEY_LOCAL_MACHINE, kDataAccessKey, "FullInstallVer"),
      savedRoot_(HKEY_LOCAL_MACHINE, kDotNetKey, "InstallRoot") {
  CopyFileOrThrow(TestBinaryDir() + "Setup.exe", SetupExe());
}

void Distribution::AddProgram(const std::string& name, bool windowed) const {
  CopyFileOrThrow(TestBinaryDir() + (windowed ? "fake_window.exe" : "fake_console.exe"),
                  libDir_ + name);
}

void Distribution::AddAllPrograms() const {
  for (const char* name : {"mdac_typ.exe", "dotnetfx.exe", "langpack.exe"}) AddProgram(name, false);
  AddProgram("KalvoDemo.exe", true);
}

void Distribution::ClearJournal() const { DeleteFileA(journalPath_.c_str()); }

void Distribution::SetPrerequisites(const std::optional<std::string>& version,
                                    const std::optional<std::string>& installRoot) {
  if (version) {
    RegValue::SetString(HKEY_LOCAL_MACHINE, kDataAccessKey, "FullInstallVer", *version);
  } else {
    RegValue::Delete(HKEY_LOCAL_MACHINE, kDataAccessKey, "FullInstallVer");
  }
  if (installRoot) {
    RegValue::SetString(HKEY_LOCAL_MACHINE, kDotNetKey, "InstallRoot", *installRoot);
  } else {
    RegValue::Delete(HKEY_LOCAL_MACHINE, kDotNetKey, "InstallRoot");
  }
}
