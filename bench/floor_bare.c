/* floor_bare: the least a launcher can do, as a yardstick for Setup.exe.
 *
 * Waits one second, then starts the programs in the Lib folder beside it one after
 * another, each with its own folder as current folder, and waits for each to end.
 * No window, no message loop, no user-interface library: only kernel32. */
#include <windows.h>
#include <string.h>

static const char *const kPrograms[] = {"mdac_typ.exe", "dotnetfx.exe", "langpack.exe",
                                        "KalvoDemo.exe"};

static void RunAndWait(const char *libDir, const char *name) {
  char path[MAX_PATH];
  STARTUPINFOA startup;
  PROCESS_INFORMATION started;
  if (strlen(libDir) + strlen(name) >= sizeof path) return;
  strcpy(path, libDir);
  strcat(path, name);
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  if (!CreateProcessA(path, NULL, NULL, NULL, FALSE, 0, NULL, libDir, &startup, &started)) return;
  CloseHandle(started.hThread);
  WaitForSingleObject(started.hProcess, INFINITE);
  CloseHandle(started.hProcess);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  char libDir[MAX_PATH];
  DWORD length;
  char *slash;
  unsigned i;
  (void)instance, (void)previous, (void)commandLine, (void)show;

  length = GetModuleFileNameA(NULL, libDir, MAX_PATH - 5);
  if (length == 0 || length >= MAX_PATH - 5) return 1;
  slash = strrchr(libDir, '\\');
  if (slash == NULL) return 1;
  strcpy(slash + 1, "Lib\\");

  Sleep(1000);
  for (i = 0; i < sizeof kPrograms / sizeof kPrograms[0]; ++i) RunAndWait(libDir, kPrograms[i]);
  return 0;
}
