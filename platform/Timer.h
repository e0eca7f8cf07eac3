// Timer.h: TTimer, a component that calls OnTimer every Interval milliseconds while
// Enabled. A timer is on by default, with an interval of 1000 ms; it ticks only when
// it has a handler. Ticks arrive as messages on the thread that made the timer.
#pragma once

#include <windows.h>

#include "Classes.h"
#include "Window.h"

class TTimer : public TComponent, private TWindowTarget {
 public:
  explicit TTimer(TComponent* owner);

  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const noexcept { return interval_; }
  void SetInterval(unsigned interval);
  TNotifyEvent OnTimer() const noexcept { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);

  bool ReadProperty(const TFormProperty& property, const TForm& root) override;

 private:
  // Raises EOutOfResources when the system has no timer left.
  void UpdateTimer();
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  UniqueWindow window_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
};
