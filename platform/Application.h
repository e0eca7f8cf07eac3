// Application.h: TApplication, the application object, and its global instance.
//
//   Initialize      nothing is registered for it to do
//   CreateForm      creates a form owned by the application; the first is the main form
//   ShowMainForm    must be switched off before Run: the forms here have no window
//   Handle          the application's own hidden top-level window, made on first use
//   Run             the message loop, with OnIdle calls while the queue is empty, until
//                   the main form closes; errors are caught around each message and
//                   each idle call and shown
//   ShowException   the standard error box: stop icon, OK button, caption Title()
//   Title           the program's file name without folder and extension, capitalised
#pragma once

#include <windows.h>

#include <string>

#include "Classes.h"
#include "Exceptions.h"
#include "Window.h"

class TForm;

class TApplication : public TComponent, private TWindowTarget {
 public:
  TApplication() noexcept = default;

  void Initialize() {}

  template <class T>
  void CreateForm(T*& reference);

  bool ShowMainForm = true;
  TIdleEvent OnIdle;

  HWND Handle();
  TForm* MainForm() const noexcept { return mainForm_; }
  std::string Title() const;

  void Run();
  void Terminate() noexcept;

  void ShowException(const Exception& e) const;
  // The error box's text for a message: a full stop is appended when the message is
  // not empty and the code of its last character is above that of the full stop.
  static std::string ExceptionText(const std::string& message);
  // Shows the exception being handled; call it only inside a catch block.
  void HandleException() const noexcept;

 private:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool ProcessMessage();
  void Idle();
  void AfterFormCreated(TForm* form);
  void FormCreationFailed(TForm* form) noexcept;

  UniqueWindow window_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

extern TApplication* const Application;

template <class T>
void TApplication::CreateForm(T*& reference) {
  reference = nullptr;
  T* form = new T(this);  // owned by the application from here on
  reference = form;
  try {
    AfterFormCreated(form);
  } catch (...) {
    reference = nullptr;
    FormCreationFailed(form);
    throw;
  }
}
