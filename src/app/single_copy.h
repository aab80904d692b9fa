#pragma once
// One copy of the program at a time. A named mutex, taken before the window exists and held
// for the program's life, tells a later copy that a first one runs, even while that first
// copy has not made its window yet.
#include <windows.h>

namespace vrin {

class SingleCopy {
 public:
  explicit SingleCopy(const char* mutexName);
  ~SingleCopy();
  SingleCopy(const SingleCopy&) = delete;
  SingleCopy& operator=(const SingleCopy&) = delete;

  // True when this copy holds the mutex and runs as the program.
  bool first() const { return owned_; }

  // For a later copy: waits up to `timeoutMs` for the first copy's window (class, title) and
  // posts it `message`; true when this copy should end. When the first copy ends before its
  // window was found, this copy takes the mutex over and becomes the first (false).
  bool handOver(const char* windowClass, const char* title, UINT message, DWORD timeoutMs);

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

}  // namespace vrin
