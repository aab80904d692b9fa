#include "ui/win.h"

namespace vrin {

namespace {
std::wstring toWide(UINT cp, std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(cp, 0, s.data(), int(s.size()), out.data(), n);
  return out;
}
std::string fromWide(UINT cp, std::wstring_view w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(cp, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(cp, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}
}  // namespace

std::wstring widen(std::string_view utf8) { return toWide(CP_UTF8, utf8); }
std::string narrow(std::wstring_view wide) { return fromWide(CP_UTF8, wide); }
std::string toAnsi(std::string_view utf8) { return fromWide(CP_ACP, toWide(CP_UTF8, utf8)); }
std::string fromAnsi(std::string_view ansi) { return fromWide(CP_UTF8, toWide(CP_ACP, ansi)); }

BufferedPaint::BufferedPaint(HDC target, const RECT& area) : target_(target), area_(area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (!target || w <= 0 || h <= 0) return;
  memory_ = CreateCompatibleDC(target);
  if (!memory_) return;
  bitmap_.reset(CreateCompatibleBitmap(target, w, h));
  if (!bitmap_) return;
  old_ = SelectObject(memory_, bitmap_.get());
  SetWindowOrgEx(memory_, area.left, area.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
  if (buffered()) {
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, memory_, area_.left,
           area_.top, SRCCOPY);
    SelectObject(memory_, old_);
  }
  if (memory_) DeleteDC(memory_);
}

HINSTANCE moduleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace vrin
