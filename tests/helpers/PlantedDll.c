/* PlantedDll: built under the names of DLLs that are commonly planted beside
 * installers. When loaded it appends "<its own path>\t<program path>" to the file named
 * by SETUP_TEST_PLANTED_LOG, so a test can see who loaded it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  char log[MAX_PATH], self[MAX_PATH], program[MAX_PATH], line[3 * MAX_PATH];
  DWORD length, written;
  HANDLE file;
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  length = GetEnvironmentVariableA("SETUP_TEST_PLANTED_LOG", log, sizeof log);
  if (length == 0 || length >= sizeof log) return TRUE;
  GetModuleFileNameA(instance, self, sizeof self);
  GetModuleFileNameA(NULL, program, sizeof program);
  wsprintfA(line, "%s\t%s\r\n", self, program);
  file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
  }
  return TRUE;
}
