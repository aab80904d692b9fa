#pragma once
// The skinner of one popup menu window ("#32768"): paints the menu's background and frame from
// the skin's MenuBackground element and lets the system print the items inside the frame.
#include <memory>

#include "core/image.h"
#include "skin/skin_manager.h"
#include "ui/graphics.h"
#include "ui/window_hooks.h"

namespace vrin {

class SkinData;

class SkinPopupWindow : public PopupSkinner {
 public:
  SkinPopupWindow(SkinManager& manager, SkinData& skin);
  ~SkinPopupWindow() override;
  SkinPopupWindow(const SkinPopupWindow&) = delete;
  SkinPopupWindow& operator=(const SkinPopupWindow&) = delete;

  // menu: the menu the window shows, or nullptr when it is learned from its first item.
  void subclass(HWND window, HMENU menu);
  void release() override;
  HWND window() const override { return window_; }
  HBITMAP background(HMENU menu) const override;

  HMENU MenuHandle = nullptr;
  // The composed background, window-sized; empty until the window was printed or painted.
  const Image& backgroundImage() const { return background_; }
  // Where the client area (the items' coordinates) starts in the window.
  Point clientOffset() const;

  // The skinner of a window or of a menu, or nullptr.
  static SkinPopupWindow* forWindow(HWND window);
  static SkinPopupWindow* forMenu(HMENU menu);

 private:
  bool handler(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The MenuBackground picture at the window's size; false when the skin has none.
  bool composeBackground();
  void print(HDC dc, Point origin, UINT printMessage, LPARAM flags);

  SkinManager& manager_;
  SkinData* skin_;
  HWND window_ = nullptr;
  WindowHook hook_;
  Image background_;
  mutable Bitmap backgroundBitmap_;
  mutable bool bitmapStale_ = true;
};

// The popup that composed its background before it knew its menu (WaitingPopup): the next
// item drawn tells it. Cleared when that popup goes.
SkinPopupWindow*& waitingPopup();

// The factory the manager asks for a skinner of each popup menu window.
std::unique_ptr<PopupSkinner> makePopupSkinner(SkinManager& manager, HWND window, SkinData& skin);

// True on Windows 95, 98 and Me (their menus are drawn 4 pixels taller and keep a frame).
bool windows95Family();

}  // namespace vrin
