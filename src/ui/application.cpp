#include "ui/application.h"

#include <algorithm>

#include "ui/form.h"

namespace vrin {

namespace {
const wchar_t kAppClass[] = L"TApplication";

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
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void Application::processMessages() {
  while (handleOneMessage()) {
  }
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
