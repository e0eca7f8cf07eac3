// Setup.cpp: the entry point. Holds back a second copy, then runs the hidden main
// form's message loop until its work is done. Always exits with 0.
#include <windows.h>

#include "Application.h"
#include "uMain.h"

namespace {
const char kInstanceMutex[] = "ZVMutex_Tavrino";
}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
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
