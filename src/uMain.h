// uMain.h: the main form, which orders the work in time, together with the
// prerequisite sequence it runs and the launcher that starts programs from Lib.
//
//   TfrmMain           hidden main form: registry step at the first idle moment,
//                      prerequisite sequence one second later, then closes
//   RunPrerequisites   reads the registry and runs the missing installers and the demo
//   RunAndWait         starts LibDir + name and waits until it has ended
//   LaunchProgram      starts a program in its own folder; null if not started or not
//                      ready for input within 3000 ms
//   IsVersionBelow     the text comparison the data-access step uses
//   ProgramFolder      a module path cut right after its last backslash
//   LibDirFromModulePath  LibDir for what GetModuleFileNameA gave in a 259-character
//                      buffer; empty when the path did not fit
#pragma once

#include <windows.h>

#include <string>

#include "Forms.h"
#include "Handles.h"
#include "Timer.h"

class TfrmMain : public TForm {
 public:  // published
  TTimer* Timer1 = nullptr;
  void FormCreate(TObject* Sender);
  void Timer1Timer(TObject* Sender);

 public:
  explicit TfrmMain(TComponent* Owner);

  static const TFormClass Class;

 private:
  void AppIdle(TObject* Sender, bool& Done);
};

extern TfrmMain* frmMain;

UniqueHandle LaunchProgram(const std::string& path, const char* commandLine);
void RunAndWait(const std::string& libDir, const std::string& name);
void RunPrerequisites();

bool IsVersionBelow(const std::string& version, const std::string& minimum);
std::string ProgramFolder(const std::string& modulePath);

constexpr DWORD kModulePathBufferSize = 259;
std::string LibDirFromModulePath(const char* modulePath, DWORD length);
