#include "uMain.h"

#include <windows.h>

#include <vector>

#include "Application.h"
#include "Paths.h"
#include "Ureg.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr TPublishedField kFields[] = {
    PublishedField<TfrmMain, TTimer, &TfrmMain::Timer1>("Timer1", "TTimer"),
};
constexpr TPublishedMethod kMethods[] = {
    PublishedMethod<TfrmMain, &TfrmMain::FormCreate>("FormCreate"),
    PublishedMethod<TfrmMain, &TfrmMain::Timer1Timer>("Timer1Timer"),
};

const char kCommonFilesKey[] = "Software\\Crystal Decisions\\9.0\\Crystal Reports";
const char kCommonFilesName[] = "CommonFiles";
const char kCommonFilesValue[] = "C:\\program files\\common files\\crystal decisions\\2.0\\bin";

const char kDataAccessKey[] = "\\Software\\Microsoft\\DataAccess";
const char kDataAccessVersion[] = "FullInstallVer";
const char kMinimumDataAccessVersion[] = "2.7";
const char kDotNetKey[] = "\\Software\\Microsoft\\.NETFramework";
const char kDotNetInstallRoot[] = "InstallRoot";

constexpr DWORD kReadyForInputLimitMs = 3000;

}  // namespace

const TFormClass TfrmMain::Class = {"TfrmMain", kFields, 1, kMethods, 2};

TfrmMain::TfrmMain(TComponent* Owner) : TForm(Owner) {
  InitInheritedComponent(Class);
  Timer1->SetEnabled(false);
}

void TfrmMain::FormCreate(TObject* /*Sender*/) {
  Application->OnIdle = TIdleEvent::Bind<TfrmMain, &TfrmMain::AppIdle>(this);
}

// The first idle moment. Whatever goes wrong here, the error is shown and the timer
// is still armed afterwards, so the run always reaches its end.
void TfrmMain::AppIdle(TObject* /*Sender*/, bool& /*Done*/) {
  Application->OnIdle = nullptr;
  try {
    WriteRegString(HKEY_LOCAL_MACHINE, kCommonFilesKey, kCommonFilesName, kCommonFilesValue);
  } catch (...) {
    Application->HandleException();
  }
  try {
    Timer1->SetEnabled(true);
  } catch (...) {
    Application->HandleException();
    Close();  // without a timer nothing would ever end the run
  }
}

// The timed step: runs once, then ends the program, also after an error.
void TfrmMain::Timer1Timer(TObject* /*Sender*/) {
  Timer1->SetEnabled(false);
  try {
    RunPrerequisites();
  } catch (...) {
    Application->HandleException();
  }
  Close();
}

UniqueHandle LaunchProgram(const std::string& path, const char* commandLine) {
  const std::string folder = ExtractFilePath(path);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  // CreateProcessA takes a writable command line; hand it a copy.
  std::vector<char> command;
  if (commandLine != nullptr) command.assign(commandLine, commandLine + strlen(commandLine) + 1);
  if (!CreateProcessA(path.c_str(), commandLine != nullptr ? command.data() : nullptr, nullptr,
                      nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &started)) {
    return UniqueHandle();
  }
  CloseHandle(started.hThread);
  UniqueHandle process(started.hProcess);
  // A program with no message queue fails this wait at once: it counts as ready.
  if (WaitForInputIdle(process.get(), kReadyForInputLimitMs) == WAIT_TIMEOUT) {
    return UniqueHandle();  // not ready in time: it runs on, unwatched
  }
  return process;
}

void RunAndWait(const std::string& libDir, const std::string& name) {
  const UniqueHandle process = LaunchProgram(libDir + name, nullptr);
  if (process) WaitForSingleObject(process.get(), INFINITE);
}

bool IsVersionBelow(const std::string& version, const std::string& minimum) {
  // Compared as text, byte by byte as unsigned codes: "2.53" (2.5 with service pack
  // 3) is below "2.7", which a numeric comparison would get wrong.
  return version.compare(minimum) < 0;
}

std::string ProgramFolder(const std::string& modulePath) {
  const std::string::size_type slash = LastDelimiter("\\", modulePath);
  return slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
}

std::string LibDirFromModulePath(const char* modulePath, DWORD length) {
  // A path that did not fit comes back cut short, filling the whole buffer: never
  // start anything from it.
  if (length == 0 || length >= kModulePathBufferSize) return std::string();
  return ProgramFolder(std::string(modulePath, length)) + "Lib\\";
}

void RunPrerequisites() {
  char modulePath[kModulePathBufferSize];
  const DWORD length = GetModuleFileNameA(nullptr, modulePath, kModulePathBufferSize);
  const std::string libDir = LibDirFromModulePath(modulePath, length);
  if (libDir.empty()) return;

  if (IsVersionBelow(ReadRegString(HKEY_LOCAL_MACHINE, kDataAccessKey, kDataAccessVersion),
                     kMinimumDataAccessVersion)) {
    RunAndWait(libDir, "mdac_typ.exe");
  }

  if (ReadRegString(HKEY_LOCAL_MACHINE, kDotNetKey, kDotNetInstallRoot).empty()) {
    RunAndWait(libDir, "dotnetfx.exe");
    if (ReadRegString(HKEY_LOCAL_MACHINE, kDotNetKey, kDotNetInstallRoot).empty()) return;
    RunAndWait(libDir, "langpack.exe");
  }

  RunAndWait(libDir, "KalvoDemo.exe");
}
