#include "Window.h"

#include "Application.h"
#include "Exceptions.h"

namespace {

const char kClassName[] = "TPlatformWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* target = reinterpret_cast<TWindowTarget*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (target == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return target->WndProc(window, message, wParam, lParam);
  } catch (...) {
    Application->HandleException();
    return 0;
  }
}

void RegisterWindowClass() {
  WNDCLASSA windowClass = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kClassName, &windowClass)) return;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
}

}  // namespace

UniqueWindow AllocateWindow(TWindowTarget& target, const char* title, bool messageOnly) {
  RegisterWindowClass();
  HWND window = CreateWindowExA(0, kClassName, title, WS_POPUP, 0, 0, 0, 0,
                                messageOnly ? HWND_MESSAGE : nullptr, nullptr,
                                GetModuleHandleA(nullptr), &target);
  if (window == nullptr) throw EOutOfResources("Error creating window");
  return UniqueWindow(window);
}
