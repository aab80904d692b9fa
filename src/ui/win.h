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

// The module all window classes and resources belong to.
HINSTANCE moduleInstance();

}  // namespace vrin
