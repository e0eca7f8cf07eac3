#include "Application.h"

#include "Forms.h"
#include "Paths.h"

namespace {
TApplication theApplication;
}  // namespace

TApplication* const Application = &theApplication;

HWND TApplication::Handle() {
  if (!window_) window_ = AllocateWindow(*this, Title().c_str(), false);
  return window_.get();
}

std::string TApplication::Title() const {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string title(path);
  const std::string::size_type slash = LastDelimiter("\\", title);
  if (slash != std::string::npos) title.erase(0, slash + 1);
  const std::string::size_type dot = title.find('.');
  if (dot != std::string::npos) title.erase(dot);
  if (title.size() > 1) CharLowerA(&title[1]);
  return title;
}

void TApplication::AfterFormCreated(TForm* form) {
  if (mainForm_ == nullptr) mainForm_ = form;
  form->AfterConstruction();
}

void TApplication::FormCreationFailed(TForm* form) noexcept {
  if (mainForm_ == form) mainForm_ = nullptr;
  delete form;
}

void TApplication::Run() {
  if (mainForm_ == nullptr) return;
  if (ShowMainForm) throw Exception("The main form of this application cannot be shown");
  do {
    try {
      if (!ProcessMessage()) Idle();
    } catch (...) {
      HandleException();
    }
  } while (!terminated_);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
  } else {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  if (done) WaitMessage();
}

void TApplication::Terminate() noexcept { PostQuitMessage(0); }

std::string TApplication::ExceptionText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

void TApplication::ShowException(const Exception& e) const {
  MessageBoxA(nullptr, ExceptionText(e.Message()).c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException() const noexcept {
  try {
    try {
      // Only ever called inside a catch block: this rethrows the exception in hand.
      // cppcheck-suppress rethrowNoCurrentException
      throw;
    } catch (const Exception& e) {
      ShowException(e);
    } catch (...) {
      ShowException(Exception(""));
    }
  } catch (...) {
    // Nothing more can be shown.
  }
}

LRESULT TApplication::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
