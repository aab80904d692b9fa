#include "app/single_copy.h"

namespace vrin {

SingleCopy::SingleCopy(const char* mutexName) {
  mutex_ = CreateMutexA(nullptr, TRUE, mutexName);
  // Without a mutex at all there is nothing to tell copies apart by: run, as before.
  owned_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleCopy::~SingleCopy() {
  if (!mutex_) return;
  if (owned_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

bool SingleCopy::handOver(const char* windowClass, const char* title, UINT message, DWORD timeoutMs) {
  if (owned_) return false;
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND first = FindWindowA(windowClass, title)) {
      PostMessageA(first, message, 0, 0);
      return true;
    }
    // The first copy may end (or die) before its window appears; then this one goes on.
    DWORD r = WaitForSingleObject(mutex_, 50);
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) {
      owned_ = true;
      return false;
    }
    // A first copy that never shows a window is left alone; two would fight over the tray.
    if (GetTickCount() - start >= timeoutMs) return true;
  }
}

}  // namespace vrin
