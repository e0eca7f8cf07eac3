/* floor_windowed: the least a windowed launcher can do, as a yardstick for Setup.exe.
 *
 * Creates one hidden window, arms a one-second timer on it and, when the timer fires,
 * starts the programs in the Lib folder beside it one after another, each with its
 * own folder as current folder, waiting for each to end; then leaves its loop. */
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

static void RunPrograms(void) {
  char libDir[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, libDir, MAX_PATH - 5);
  char *slash;
  unsigned i;
  if (length == 0 || length >= MAX_PATH - 5) return;
  slash = strrchr(libDir, '\\');
  if (slash == NULL) return;
  strcpy(slash + 1, "Lib\\");
  for (i = 0; i < sizeof kPrograms / sizeof kPrograms[0]; ++i) RunAndWait(libDir, kPrograms[i]);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    KillTimer(window, 1);
    RunPrograms();
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  WNDCLASSA windowClass;
  HWND window;
  MSG msg;
  (void)previous, (void)commandLine, (void)show;

  memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "FloorWindowed";
  if (!RegisterClassA(&windowClass)) return 1;
  /* Never shown: created without WS_VISIBLE. */
  window = CreateWindowExA(0, "FloorWindowed", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance,
                           NULL);
  if (window == NULL) return 1;
  if (!SetTimer(window, 1, 1000, NULL)) return 1;

  while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
  DestroyWindow(window);
  return 0;
}
