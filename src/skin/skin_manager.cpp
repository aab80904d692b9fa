#include "skin/skin_manager.h"

#include <algorithm>

#include "skin/form/skin_form.h"
#include "skin/menus/popup_window.h"
#include "skin/skin_data.h"
#include "ui/application.h"
#include "ui/form.h"

namespace vrin {

namespace {

constexpr UINT_PTR kActionTimer = 1;
constexpr UINT kActionDelayMs = 250;
constexpr UINT kFreeRetired = WM_APP + 1;
const wchar_t kManagerClass[] = L"VrinSkinManager";

std::unique_ptr<SkinManager>& holder() {
  static std::unique_ptr<SkinManager> manager;
  return manager;
}

std::string classOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return narrow(name);
}

Form* formOf(HWND window) { return dynamic_cast<Form*>(WinControl::fromHandle(window)); }

}  // namespace

SkinManager* SkinManager::instance() { return holder().get(); }

SkinManager& SkinManager::create() {
  if (!holder()) holder().reset(new SkinManager);
  return *holder();
}

void SkinManager::destroy() { holder().reset(); }

SkinManager::SkinManager() {
  popupSkinnerFactory = [this](HWND window, SkinData& skin) { return makePopupSkinner(*this, window, skin); };
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(moduleInstance(), kManagerClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SkinManager::windowProc;
    wc.hInstance = moduleInstance();
    wc.lpszClassName = kManagerClass;
    RegisterClassExW(&wc);
  }
  window_ = CreateWindowExW(0, kManagerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, moduleInstance(), nullptr);
  hook_ = SetWindowsHookExW(WH_CBT, &SkinManager::cbtProc, nullptr, GetCurrentThreadId());
  work_.setSize(1, 1);
}

SkinManager::~SkinManager() {
  switch_.HookState = 4;
  if (timerRunning_) KillTimer(window_, kActionTimer);
  if (hook_) UnhookWindowsHookEx(hook_);
  for (auto& p : popups_) p->release();
  popups_.clear();
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) (*it)->detach();
  forms_.clear();
  retired_.clear();
  if (window_) DestroyWindow(window_);
}

void SkinManager::registerSkinData(SkinData* skin) {
  if (std::find(skinData_.begin(), skinData_.end(), skin) == skinData_.end()) skinData_.push_back(skin);
}

void SkinManager::unregisterSkinData(SkinData* skin) {
  std::erase(skinData_, skin);
  if (ChangedSkinData == skin) ChangedSkinData = nullptr;
  // Nothing may go on drawing with a skin that is going away.
  for (std::size_t i = forms_.size(); i-- > 0;)
    if (forms_[i]->skinData() == skin) releaseForm(forms_[i]->window());
}

void SkinManager::skinReloaded(SkinData* skin) {
  for (auto& f : forms_)
    if (f->skinData() == skin) f->rebuildButtons();
}

void SkinManager::request(int action) {
  if (!switch_.request(action)) return;
  if (SetTimer(window_, kActionTimer, kActionDelayMs, nullptr)) timerRunning_ = true;
}

LRESULT CALLBACK SkinManager::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  SkinManager* self = instance();
  if (self && hwnd == self->window_) {
    if (msg == WM_TIMER && wp == kActionTimer) {
      KillTimer(hwnd, kActionTimer);
      self->timerRunning_ = false;
      try {
        self->runPendingAction();
      } catch (...) {
        reportCurrentException();
      }
      return 0;
    }
    if (msg == kFreeRetired) {
      self->freeRetired();
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void SkinManager::runPendingAction() {
  switch (switch_.takePending()) {
    case saSwitchOn: {
      // From the last form to the first, as the screen lists them.
      const std::vector<Form*> forms = application().forms();
      for (auto it = forms.rbegin(); it != forms.rend(); ++it)
        if ((*it)->handleAllocated()) skinWindow((*it)->handle());
      break;
    }
    case saSwitchOff: switchOffAll(); break;
    case saSkinChanged: applySkinChange(); break;
    default: break;
  }
}

void SkinManager::switchOffAll() {
  while (!forms_.empty()) {
    std::unique_ptr<SkinForm> form = std::move(forms_.back());
    forms_.pop_back();
    form->detach();
    RedrawWindow(form->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    retire(std::move(form));
  }
}

void SkinManager::applySkinChange() {
  for (auto& f : forms_) {
    f->prepareSkinChange();
    f->dropRegion();
    f->readMetrics();
  }
  for (auto& f : forms_) f->reapply();
  if (SkinData* changed = std::exchange(ChangedSkinData, nullptr)) changed->SkinChanged();
}

SkinData* SkinManager::skinDataFor(HWND window) const {
  std::vector<SkinDataFacts> facts;
  for (SkinData* s : skinData_) facts.push_back({s->SkinFormtype(), s->owner()});
  const int index = chooseSkinData(facts, formOf(window), classOf(window));
  return index < 0 ? nullptr : skinData_[std::size_t(index)];
}

bool SkinManager::skinWindow(HWND window) {
  if (!window || !IsWindow(window)) return false;
  WindowFacts facts;
  facts.alreadySkinned = isSkinnedForm(window);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  facts.child = style & WS_CHILD;
  if (facts.child) facts.parentClass = classOf(GetParent(window));
  RECT r{};
  GetWindowRect(window, &r);
  facts.width = r.right - r.left;
  facts.height = r.bottom - r.top;
  Form* form = formOf(window);
  facts.isForm = form != nullptr;
  facts.formTag = form ? form->tag() : 0;
  facts.className = classOf(window);
  SkinData* chosen = nullptr;
  auto ask = [&] {
    bool doSkin = true;
    for (SkinData* s : skinData_)
      if (s->SkinFormtype() == sfMainform) {
        if (s->OnFormSkin) s->OnFormSkin(s, facts.className, doSkin);
        break;
      }
    return doSkin;
  };
  auto usable = [&] {
    chosen = skinDataFor(window);
    return chosen && !chosen->NoSkin();
  };
  if (skinRefusal(switch_.SkinActive, facts, ask, usable) != SkinRefusal::None) return false;
  auto skinner = std::make_unique<SkinForm>(*this, window, *chosen);
  SkinForm& added = *skinner;
  forms_.push_back(std::move(skinner));
  if (form)
    added.attachToForm(*form);
  else
    added.attachToWindow();
  PostMessageW(window, kSkinFinishAttach, 0, 1000);
  return true;
}

void SkinManager::skinPopup(HWND window) {
  if (!switch_.SkinActive || isSkinnedPopup(window) || !popupSkinnerFactory) return;
  SkinData* skin = skinDataFor(window);
  if (!skin || skin->NoSkin()) return;
  if (std::unique_ptr<PopupSkinner> popup = popupSkinnerFactory(window, *skin)) popups_.push_back(std::move(popup));
}

void SkinManager::releasePopup(HWND window) {
  auto it = std::find_if(popups_.begin(), popups_.end(), [window](const auto& p) { return p->window() == window; });
  if (it == popups_.end()) return;
  std::unique_ptr<PopupSkinner> popup = std::move(*it);
  popups_.erase(it);
  popup->release();
  if (popups_.empty()) MenuOpen = false;
}

void SkinManager::releaseForm(HWND window) {
  auto it = std::find_if(forms_.begin(), forms_.end(), [window](const auto& f) { return f->window() == window; });
  if (it == forms_.end()) return;
  std::unique_ptr<SkinForm> form = std::move(*it);
  forms_.erase(it);
  form->markClosing();
  form->detach();
  retire(std::move(form));
}

void SkinManager::retire(std::unique_ptr<SkinForm> form) {
  retired_.push_back(std::move(form));
  PostMessageW(window_, kFreeRetired, 0, 0);
}

void SkinManager::freeRetired() { retired_.clear(); }

bool SkinManager::isSkinnedPopup(HWND window) const {
  return std::any_of(popups_.begin(), popups_.end(), [window](const auto& p) { return p->window() == window; });
}

SkinForm* SkinManager::skinnedForm(HWND window) const {
  for (const auto& f : forms_)
    if (f->window() == window) return f.get();
  return nullptr;
}

HBITMAP SkinManager::popupBackground(HMENU menu) const {
  for (const auto& p : popups_)
    if (HBITMAP b = p->background(menu)) return b;
  return nullptr;
}

void SkinManager::setMdiMaximized(bool value) {
  if (mdiMaximized_ == value) return;
  mdiMaximized_ = value;
  for (auto& f : forms_)
    if (f->MdiKind == 2) f->mdiMaximizedChanged(value);
}

LRESULT CALLBACK SkinManager::cbtProc(int code, WPARAM wp, LPARAM lp) {
  SkinManager* self = instance();
  if (code < 0 || !self) return CallNextHookEx(nullptr, code, wp, lp);
  HWND window = reinterpret_cast<HWND>(wp);
  try {
    switch (code) {
      case HCBT_CREATEWND: {
        const std::string name = classOf(window);
        const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lp);
        // A skinned form draws its own scroll bars: a separate scroll-bar control is refused.
        if (name == "ScrollBar" && create && create->lpcs && self->isSkinnedForm(create->lpcs->hwndParent)) return 10;
        if (name == "#32768") self->skinPopup(window);
        break;
      }
      case HCBT_DESTROYWND:
        self->releasePopup(window);
        self->releaseForm(window);
        break;
      case HCBT_ACTIVATE:
        self->switch_.firstActivation();
        self->skinWindow(window);
        break;
      default: break;
    }
  } catch (...) {
    // A hook must not throw into the window system; the window stays as the system makes it.
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace vrin
