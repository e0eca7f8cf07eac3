#include "Timer.h"

#include "Exceptions.h"
#include "Forms.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner)
    : TComponent(owner), window_(AllocateWindow(*this, "", true)) {}

void TTimer::SetEnabled(bool enabled) {
  if (enabled != enabled_) {
    enabled_ = enabled;
    UpdateTimer();
  }
}

void TTimer::SetInterval(unsigned interval) {
  if (interval != interval_) {
    interval_ = interval;
    UpdateTimer();
  }
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = handler;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  KillTimer(window_.get(), kTimerId);
  if (enabled_ && interval_ != 0 && onTimer_) {
    if (SetTimer(window_.get(), kTimerId, interval_, nullptr) == 0) {
      throw EOutOfResources("Not enough timers available");
    }
  }
}

bool TTimer::ReadProperty(const TFormProperty& property, const TForm& root) {
  const std::string& name = property.name;
  if (SameIdentifier(name, "Enabled")) {
    SetEnabled(FormValue::Boolean(property));
  } else if (SameIdentifier(name, "Interval")) {
    const std::int32_t interval = FormValue::Integer(property);
    if (interval < 0) throw EReadError("Invalid property value for Interval");
    SetInterval(static_cast<unsigned>(interval));
  } else if (SameIdentifier(name, "OnTimer")) {
    SetOnTimer(FormValue::Event(property, root));
  } else {
    return false;
  }
  return true;
}

LRESULT TTimer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (onTimer_) onTimer_(this);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
