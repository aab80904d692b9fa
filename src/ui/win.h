#pragma once
// The one place the framework includes the window system, plus small RAII holders.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <utility>

namespace vrin {

// Program texts are UTF-8; the screen gets them through the wide-character calls.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
// Text for an ...A call of the browser-helper contract or the registry: UTF-8 -> ANSI code page.
std::string toAnsi(std::string_view utf8);
std::string fromAnsi(std::string_view ansi);

// Owns one GDI object (brush, pen, font, bitmap, region) and deletes it.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) { reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, nullptr); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// Selects an object into a DC for a scope and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~SelectScope() { if (old_) SelectObject(dc_, old_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with the screen, deleted at scope end.
class MemoryDC {
 public:
  MemoryDC() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDC() { if (dc_) DeleteDC(dc_); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A window's device context, released at scope end: the client area (GetDC; a null window
// is the screen) or, with Area::Window, the whole window frame included (GetWindowDC).
class WindowDC {
 public:
  enum class Area { Client, Window };
  explicit WindowDC(HWND hwnd, Area area = Area::Client)
      : hwnd_(hwnd), dc_(area == Area::Window ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDC() { EndPaint(hwnd_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// SaveDC ... RestoreDC: whatever is selected or set in between is undone at scope end.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) : dc_(dc), saved_(dc ? SaveDC(dc) : 0) {}
  ~SavedDC() { if (saved_) RestoreDC(dc_, saved_); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// Paints `area` of a target off screen: get() is a memory DC in the target's coordinates whose
// bitmap covers exactly the area (nothing outside it is touched), copied to the target in one
// BitBlt at scope end. Where no buffer can be made, get() is the target itself.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& area);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC get() const { return buffered() ? memory_ : target_; }
  bool buffered() const { return memory_ && bitmap_; }

 private:
  HDC target_;
  RECT area_;
  HDC memory_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ old_ = nullptr;
};

// The module all window classes and resources belong to.
HINSTANCE moduleInstance();

}  // namespace vrin
