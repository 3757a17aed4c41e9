// Windows on a system without a window manager of ours: the only windows
// GetWindowRect knows are those a test registered as the host's.
#include <map>

#include "platform/testing.h"
#include "platform/winapi.h"

namespace quornel::platform {
namespace {

struct TestWindow {};

std::map<HWND, RECT>& KnownWindows() {
  static std::map<HWND, RECT> windows;
  return windows;
}

}  // namespace

BOOL GetWindowRect(HWND window, RECT* rect) {
  const auto found = KnownWindows().find(window);
  if (window == nullptr || rect == nullptr || found == KnownWindows().end()) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE_;
  }
  *rect = found->second;
  return TRUE_;
}

namespace testing {

HWND CreateTestWindow(const RECT& rect) {
  HWND window = new TestWindow;
  KnownWindows()[window] = rect;
  return window;
}

void DestroyTestWindow(HWND window) {
  if (KnownWindows().erase(window) != 0) {
    delete static_cast<TestWindow*>(window);
  }
}

}  // namespace testing
}  // namespace quornel::platform
