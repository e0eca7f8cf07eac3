// FakeProgram: stands in for the installers and the demo program in Lib.
//
// Built twice from this file: as a console program and as a windowed program. Each
// copy records what it saw to the journal named by SETUP_TEST_JOURNAL, one line when
// it starts and one when it ends (tab-separated):
//   start <file name> <time> <process id> <command line> <current folder>
//   end   <file name> <time> <process id>
// with times in 100 ns units of the system clock. What a copy does in between is read
// from SETUP_TEST_ACTIONS, "name=action,action;name=action", matched on its own file
// name. Actions:
//   hold:N          run for N ms (a windowed copy keeps its message loop going)
//   busy:N          windowed copy: stay busy N ms before it first waits for input
//   install-dotnet  write InstallRoot under HKLM\Software\Microsoft\.NETFramework
//   crash           die of an unhandled access violation
//   exit:N          end with exit code N
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Set by the build: 1 for the windowed copy, 0 for the console copy.
constexpr bool kWindowed = FAKE_PROGRAM_WINDOWED;

unsigned long long Now() {
  FILETIME time;
  GetSystemTimeAsFileTime(&time);
  return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::string Env(const char* name) {
  char buffer[4096];
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return (length == 0 || length >= sizeof buffer) ? std::string() : std::string(buffer, length);
}

void Journal(const std::string& line) {
  const std::string path = Env("SETUP_TEST_JOURNAL");
  if (path.empty()) return;
  // Append-only access makes each write land whole at the end of the file, even when
  // several programs write at once.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

std::string OwnName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, length);
  const std::string::size_type slash = name.rfind('\\');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The actions listed for `name`, e.g. "hold:500,install-dotnet".
std::string ActionsFor(const std::string& name) {
  const std::string all = Env("SETUP_TEST_ACTIONS");
  std::string::size_type start = 0;
  while (start <= all.size()) {
    std::string::size_type end = all.find(';', start);
    if (end == std::string::npos) end = all.size();
    const std::string entry = all.substr(start, end - start);
    const std::string::size_type equals = entry.find('=');
    if (equals != std::string::npos && lstrcmpiA(entry.substr(0, equals).c_str(), name.c_str()) == 0) {
      return "," + entry.substr(equals + 1) + ",";
    }
    start = end + 1;
  }
  return ",";
}

bool Has(const std::string& actions, const char* action) {
  return actions.find(std::string(",") + action + ",") != std::string::npos;
}

int Number(const std::string& actions, const char* action, int fallback) {
  const std::string key = std::string(",") + action + ":";
  const std::string::size_type at = actions.find(key);
  return at == std::string::npos ? fallback : std::atoi(actions.c_str() + at + key.size());
}

void InstallDotNet() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\.NETFramework", 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const char value[] = "C:\\Windows\\Microsoft.NET\\Framework\\";
  RegSetValueExA(key, "InstallRoot", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
  RegCloseKey(key);
}

LONG WINAPI EndOnUnhandledException(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

void RunMessageLoop(int holdMs) {
  HWND window = CreateWindowExA(0, "STATIC", "FakeProgram", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  SetTimer(window, 1, static_cast<UINT>(holdMs > 0 ? holdMs : 1), nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    DispatchMessageA(&msg);
  }
  DestroyWindow(window);
}

}  // namespace

int main() {
  const std::string name = OwnName();
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof folder, folder);
  char line[8192];
  std::snprintf(line, sizeof line, "start\t%s\t%llu\t%lu\t%s\t%s\n", name.c_str(), Now(),
                GetCurrentProcessId(), GetCommandLineA(), folder);
  Journal(line);

  const std::string actions = ActionsFor(name);
  if (Has(actions, "install-dotnet")) InstallDotNet();
  if (Has(actions, "crash")) {
    // An access violation that nobody handles ends the program with its code, as on a
    // machine without a debugger. The filter says so explicitly, and the fault is raised
    // in software: under qemu-user (our CI) Wine's debugger hand-off and its handling of
    // a real hardware fault can hang.
    SetUnhandledExceptionFilter(&EndOnUnhandledException);
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  }
  if (kWindowed) {
    const int busyMs = Number(actions, "busy", 0);
    if (busyMs > 0) Sleep(static_cast<DWORD>(busyMs));
    RunMessageLoop(Number(actions, "hold", 200));
  } else {
    Sleep(static_cast<DWORD>(Number(actions, "hold", 0)));
  }

  std::snprintf(line, sizeof line, "end\t%s\t%llu\t%lu\n", name.c_str(), Now(),
                GetCurrentProcessId());
  Journal(line);
  return Number(actions, "exit", 0);
}
