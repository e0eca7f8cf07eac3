// Window.h: hidden windows whose messages go to a C++ object.
//
//   TWindowTarget   what receives the messages of such a window
//   UniqueWindow    move-only owner that destroys the window
//   AllocateWindow  creates a hidden top-level or message-only window for a target
//
// The window procedure stores the target when the window is created and forwards every
// message to it. No C++ exception leaves the window procedure: one that escapes the
// target is handed to the application object, which shows it.
#pragma once

#include <windows.h>

#include "Handles.h"

class TWindowTarget {
 public:
  virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~TWindowTarget() = default;
};

struct WindowTraits {
  using Handle = HWND;
  static bool IsValid(HWND h) noexcept { return h != nullptr; }
  static void Close(HWND h) noexcept { DestroyWindow(h); }
};

using UniqueWindow = UniqueResource<WindowTraits>;

// A message-only window is not top-level: it never shows and cannot be enumerated.
// Raises EOutOfResources when the system cannot create the window.
UniqueWindow AllocateWindow(TWindowTarget& target, const char* title, bool messageOnly);
