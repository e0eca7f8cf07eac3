// Setup.cpp: the entry point. Holds back a second copy, then runs the hidden main
// form's message loop until its work is done. Always exits with 0.
#include <windows.h>

#include "Application.h"
#include "uMain.h"

namespace {

const char kInstanceMutex[] = "ZVMutex_Tavrino";

// Run from download folders and removable media, often with administrator rights:
// never load a DLL planted beside the program, and end the process on heap corruption
// instead of running on.
void HardenProcess() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  // Looked up at run time, so that a system without it still starts.
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                  "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories != nullptr) {
    setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  SetDllDirectoryA("");  // older systems: at least not the current folder
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  HardenProcess();
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kInstanceMutex) != nullptr) return 0;
  // Owned for the life of the process. A copy that lost the race to create it (or
  // could not create it at all) is held back as well, so two copies never both run.
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutex);
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  try {
    Application->Initialize();
    Application->CreateForm(frmMain);
    Application->ShowMainForm = false;
    ShowWindow(Application->Handle(), SW_HIDE);
    Application->Run();
  } catch (...) {
    Application->HandleException();
  }
  return 0;
}
