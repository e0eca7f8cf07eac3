// Baseline: a program that does nothing, with the same imports as Setup.exe (KERNEL32,
// USER32, ADVAPI32, msvcrt), for comparing which DLLs the system itself loads. Given
// DLL names as arguments, it loads each the ordinary way, to show that planting works.
#include <windows.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) LoadLibraryA(argv[i]);
  if (argc < 0) {  // never true: keeps the imports without doing anything
    MessageBeep(0);
    RegCloseKey(nullptr);
  }
  return 0;
}
