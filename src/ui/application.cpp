#include "ui/application.h"

#include <algorithm>
#include <utility>

#include "ui/form.h"

namespace vrin {

namespace {
const wchar_t kAppClass[] = L"TApplication";
// The application window's timers: the pause before a hint, and its time on screen.
constexpr UINT_PTR kShowHintTimer = 1, kHideHintTimer = 2;

// `hwnd` is `ancestor` or one of its children.
bool windowWithin(HWND hwnd, HWND ancestor) {
  return ancestor && (hwnd == ancestor || IsChild(ancestor, hwnd));
}

// The control whose hint applies to a window: the nearest of ours with a hint, when hints
// are switched on for it or for one of its parents.
WinControl* hintOwner(HWND hwnd) {
  WinControl* found = nullptr;
  for (HWND h = hwnd; h && !found; h = GetParent(h)) {
    WinControl* c = WinControl::fromHandle(h);
    if (c && !c->hint().empty()) found = c;
  }
  for (WinControl* c = found; c; c = c->parent())
    if (c->showHint()) return found;
  return nullptr;
}

void reportThroughApplication(std::exception_ptr e) { application().handleException(e); }
}  // namespace

Application& application() {
  static Application* app = new Application;  // lives for the whole process
  return *app;
}

const ClassInfo& Application::staticClassInfo() {
  static const ClassInfo info{"TApplication", &Component::staticClassInfo(), {}};
  return info;
}

Application::Application() {
  exceptionReporter() = &reportThroughApplication;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

Application::~Application() {
  if (handle_) DestroyWindow(handle_);
}

void Application::setTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, widen(title).c_str());
}

HWND Application::handle() {
  if (!handle_) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Application::wndProc;
    wc.hInstance = moduleInstance();
    wc.hIcon = LoadIconW(moduleInstance(), L"MAINICON");
    wc.lpszClassName = kAppClass;
    RegisterClassExW(&wc);
    int cx = GetSystemMetrics(SM_CXSCREEN) / 2, cy = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kAppClass, widen(title_).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, cx, cy, 0, 0,
                              nullptr, nullptr, moduleInstance(), nullptr);
  }
  return handle_;
}

LRESULT CALLBACK Application::wndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Application& app = application();
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE) { app.minimize(); return 0; }
      if ((wp & 0xFFF0) == SC_RESTORE) { app.restore(); return 0; }
      break;
    case WM_ACTIVATEAPP:
      if (!wp) app.onDeactivate(&app);
      break;
    case WM_CLOSE:
      if (app.mainForm_) app.mainForm_->close();
      return 0;
    case WM_ENDSESSION:
      if (wp) app.terminate();
      return 0;
    case WM_TIMER:
      if (wp == kShowHintTimer || wp == kHideHintTimer) {
        app.hintTimer(wp);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Application::addForm(Form* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void Application::removeForm(Form* form) { std::erase(forms_, form); }

void Application::minimize() {
  ShowWindow(handle(), SW_MINIMIZE);
  onMinimize(this);
}

void Application::restore() {
  ShowWindow(handle(), SW_RESTORE);
  onRestore(this);
}

void Application::run() {
  if (mainForm_ && showMainForm) {
    ShowWindow(handle(), SW_SHOW);
    mainForm_->show();
  }
  MSG msg;
  while (!terminated_) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) break;
    preprocessMessage(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  terminated_ = true;
}

void Application::terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

bool Application::handleOneMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  preprocessMessage(msg);
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void Application::processMessages() {
  while (handleOneMessage()) {
  }
}

// ---- Hints

void Application::setHintWindowClass(HintWindowClass windowClass) {
  if (windowClass == hintWindowClass_) return;
  cancelHint();
  delete std::exchange(hintWindow_, nullptr);
  hintWindowClass_ = windowClass;
}

void Application::activateHint(POINT cursor, const std::string& hint) {
  if (!hintWindowClass_ || hint.empty()) return;
  if (!hintWindow_) hintWindow_ = hintWindowClass_(this);
  RECT r = hintWindow_->calcHintRect(GetSystemMetrics(SM_CXSCREEN), hint);
  // Below the cursor, clear of its picture.
  OffsetRect(&r, cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR));
  hintWindow_->activateHint(r, hint);
}

void Application::cancelHint() {
  if (handle_) {
    KillTimer(handle_, kShowHintTimer);
    KillTimer(handle_, kHideHintTimer);
  }
  if (hintWindow_) hintWindow_->hideWindow();
}

void Application::setHintControl(WinControl* control) {
  if (control == hintControl_) return;
  if (hintControl_) removeFreeNotification(hintControl_);
  hintControl_ = control;
  if (hintControl_) freeNotification(hintControl_);
}

void Application::preprocessMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE: hintMouseMove(msg.hwnd); break;
    case WM_MOUSELEAVE:
      if (hintControl_ && windowWithin(msg.hwnd, hintControl_->handle())) {
        cancelHint();
        setHintControl(nullptr);
      }
      break;
    // A click or a key ends the hint; it comes back only after the mouse went elsewhere.
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_KEYDOWN: case WM_SYSKEYDOWN:
      if (hintControl_) cancelHint();
      break;
  }
}

void Application::hintMouseMove(HWND target) {
  if (hintWindow_ && target == hintWindow_->handle()) return;
  WinControl* control = hintOwner(target);
  if (control == hintControl_) return;  // still on the same control: the hint stays as it is
  cancelHint();
  setHintControl(control);
  if (!control || !hintWindowClass_) return;
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, target, 0};
  TrackMouseEvent(&tme);
  SetTimer(handle(), kShowHintTimer, UINT(std::max(hintPause, 1)), nullptr);
}

void Application::hintTimer(UINT_PTR id) {
  KillTimer(handle(), id);
  if (id == kHideHintTimer) {
    cancelHint();
    return;
  }
  if (!hintControl_) return;
  POINT cursor;
  GetCursorPos(&cursor);
  // The mouse may have left for a window that is not ours: no hint then.
  if (!windowWithin(WindowFromPoint(cursor), hintControl_->handle())) {
    setHintControl(nullptr);
    return;
  }
  try {
    activateHint(cursor, hintControl_->hint());
  } catch (...) {
    // A hint that cannot be made is simply not shown; the user loses nothing.
    cancelHint();
    return;
  }
  SetTimer(handle(), kHideHintTimer, UINT(std::max(hintHidePause, 1)), nullptr);
}

void Application::notification(Component* component, Operation operation) {
  Component::notification(component, operation);
  if (operation != Operation::Remove) return;
  if (component == hintWindow_) hintWindow_ = nullptr;
  if (component == hintControl_) {
    cancelHint();
    hintControl_ = nullptr;
  }
}

// ---- HintWindow

const ClassInfo& HintWindow::staticClassInfo() {
  static const ClassInfo info{"THintWindow", &WinControl::staticClassInfo(), {}};
  return info;
}

HintWindow::HintWindow(Component* owner) : WinControl(owner) {
  setVisible(false);
  setColor(sysColor(COLOR_INFOBK));
}

WinControl::CreateParams HintWindow::createParams() {
  classNameW_ = widen(className());
  registerOwnClass(classNameW_, nullptr, CS_SAVEBITS | CS_DROPSHADOW);
  CreateParams cp;
  cp.className = classNameW_.c_str();
  cp.style = WS_POPUP | WS_BORDER;
  cp.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  return cp;
}

HFONT HintWindow::hintFont() {
  if (!font_) {
    // The screen's hint font is the status font of the non-client metrics.
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
      GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof ncm.lfStatusFont, &ncm.lfStatusFont);
    font_.reset(CreateFontIndirectW(&ncm.lfStatusFont));
  }
  return font_.get();
}

RECT HintWindow::calcHintRect(int maxWidth, const std::string& hint) {
  MemoryDC dc;
  SelectScope select(dc.get(), hintFont());
  RECT r{0, 0, std::max(maxWidth, 1), 0};
  DrawTextW(dc.get(), widen(hint).c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void HintWindow::activateHint(const RECT& rect, const std::string& hint) {
  hintText_ = hint;
  RECT r = rect;
  r.bottom += 4;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int vr = vx + GetSystemMetrics(SM_CXVIRTUALSCREEN), vb = vy + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  int left = std::max(std::min<int>(r.left, vr - w), vx), top = std::max(std::min<int>(r.top, vb - h), vy);
  HWND hwnd = handle();
  SetWindowPos(hwnd, HWND_TOPMOST, left, top, w, h, SWP_NOACTIVATE);
  InvalidateRect(hwnd, nullptr, TRUE);
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

void HintWindow::hideWindow() {
  if (!hwnd_) return;
  if (GetCapture() == hwnd_) ReleaseCapture();
  ShowWindow(hwnd_, SW_HIDE);
}

LRESULT HintWindow::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(dc.get(), &client, backgroundBrush());
      SelectScope select(dc.get(), hintFont());
      SetBkMode(dc.get(), TRANSPARENT);
      SetTextColor(dc.get(), GetSysColor(COLOR_INFOTEXT));
      InflateRect(&client, -2, -2);
      DrawTextW(dc.get(), widen(hintText_).c_str(), -1, &client, DT_NOPREFIX | DT_WORDBREAK);
      return 0;
    }
    case WM_NCHITTEST: return HTTRANSPARENT;  // a hint lets the mouse through
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
  }
  return defaultProc(msg, wp, lp);
}

std::string exceptionText(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
  }
  return "Erreur inconnue";
}

void Application::handleException(std::exception_ptr error) { showErrorText(exceptionText(error)); }

void Application::showErrorText(const std::string& text) {
  HWND owner = mainForm_ && mainForm_->handleAllocated() && IsWindowVisible(mainForm_->handle()) ? mainForm_->handle()
                                                                                                  : handle();
  MessageBoxW(owner, widen(text).c_str(), widen(title_).c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace vrin
