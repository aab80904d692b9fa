#include "ui/commonctrls.h"

#include <algorithm>

#include "ui/imagelist.h"

namespace vrin {

// ---- Edit

const ClassInfo& Edit::staticClassInfo() {
  static const ClassInfo info{"TEdit", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams Edit::createParams() {
  CreateParams cp;
  cp.className = L"EDIT";
  cp.style |= ES_AUTOHSCROLL | WS_TABSTOP | (readOnly ? ES_READONLY : 0);
  cp.exStyle = WS_EX_CLIENTEDGE;
  return cp;
}

// ---- ProgressBar

const ClassInfo& ProgressBar::staticClassInfo() {
  static const ClassInfo info{"TProgressBar", &WinControl::staticClassInfo(),
                              {intProp<ProgressBar>("Min", &ProgressBar::Min, &ProgressBar::SetMin),
                               intProp<ProgressBar>("Max", &ProgressBar::Max, &ProgressBar::SetMax),
                               intProp<ProgressBar>("Position", &ProgressBar::Position, &ProgressBar::SetPosition)}};
  return info;
}

WinControl::CreateParams ProgressBar::createParams() {
  CreateParams cp;
  cp.className = PROGRESS_CLASSW;
  return cp;
}

void ProgressBar::handleCreated() { apply(); }

void ProgressBar::SetMin(int value) {
  min_ = value;
  apply();
}

void ProgressBar::SetMax(int value) {
  max_ = value;
  apply();
}

void ProgressBar::SetPosition(int value) {
  position_ = value;
  apply();
}

void ProgressBar::apply() {
  // A range given upside down keeps the position at Min, as the control would.
  position_ = std::max(min_, std::min(position_, max_));
  if (!hwnd_) return;
  SendMessageW(hwnd_, PBM_SETRANGE32, WPARAM(min_), LPARAM(max_));
  SendMessageW(hwnd_, PBM_SETPOS, WPARAM(position_), 0);
}

// ---- TabControl

const ClassInfo& TabControl::staticClassInfo() {
  static const ClassInfo info{"TTabControl", &WinControl::staticClassInfo(),
                              {intProp<TabControl>("TabIndex", &TabControl::tabIndex, &TabControl::setTabIndex)}};
  return info;
}

WinControl::CreateParams TabControl::createParams() {
  CreateParams cp;
  cp.className = WC_TABCONTROLW;
  cp.style |= WS_TABSTOP | WS_CLIPCHILDREN;
  switch (tabPosition) {
    case TabPosition::Top: break;
    case TabPosition::Bottom: cp.style |= TCS_BOTTOM; break;
    // Tabs on a side need the multi-line style.
    case TabPosition::Left: cp.style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case TabPosition::Right: cp.style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
  return cp;
}

void TabControl::handleCreated() {
  if (images_) SendMessageW(hwnd_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->handle()));
  applyTabs();
}

void TabControl::setTabs(const std::vector<Tab>& tabs) {
  tabs_ = tabs;
  applyTabs();
}

void TabControl::applyTabs() {
  if (!hwnd_) return;
  SendMessageW(hwnd_, TCM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    std::wstring caption = widen(tabs_[i].caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = caption.data();
    item.iImage = tabs_[i].imageIndex;
    SendMessageW(hwnd_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  setTabIndex(index_);
}

int TabControl::tabIndex() const { return hwnd_ ? int(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)) : index_; }

void TabControl::setTabIndex(int index) {
  index_ = (index >= 0 && index < int(tabs_.size())) ? index : (tabs_.empty() ? -1 : 0);
  if (hwnd_ && index_ >= 0) {
    SendMessageW(hwnd_, TCM_SETCURSEL, WPARAM(index_), 0);
    SendMessageW(hwnd_, TCM_SETCURFOCUS, WPARAM(index_), 0);
  }
}

void TabControl::setImages(ImageList* images) {
  images_ = images;
  if (images) freeNotification(images);
  if (hwnd_) SendMessageW(hwnd_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->handle() : nullptr));
}

void TabControl::notification(Component* component, Operation operation) {
  WinControl::notification(component, operation);
  if (operation == Operation::Remove && component == images_) setImages(nullptr);
}

// ---- ToolBar

const ClassInfo& ToolBar::staticClassInfo() {
  static const ClassInfo info{"TToolBar", &WinControl::staticClassInfo(),
                              {boolProp<ToolBar>("Flat", &ToolBar::Flat, &ToolBar::SetFlat)}};
  return info;
}

WinControl::CreateParams ToolBar::createParams() {
  CreateParams cp;
  cp.className = TOOLBARCLASSNAMEW;
  cp.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (flat_ ? TBSTYLE_FLAT : 0);
  return cp;
}

void ToolBar::SetFlat(bool value) {
  flat_ = value;
  if (!hwnd_) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, value ? (style | TBSTYLE_FLAT) : (style & ~LONG_PTR(TBSTYLE_FLAT)));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// ---- SizeGrip

const ClassInfo& SizeGrip::staticClassInfo() {
  static const ClassInfo info{"TSizeGrip", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams SizeGrip::createParams() {
  CreateParams cp;
  cp.className = L"SCROLLBAR";
  cp.style |= SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN;
  return cp;
}

// ---- Header

const ClassInfo& Header::staticClassInfo() {
  static const ClassInfo info{"THeaderControl", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams Header::createParams() {
  CreateParams cp;
  cp.className = WC_HEADERW;
  cp.style |= HDS_HORZ | HDS_BUTTONS;
  return cp;
}

void Header::handleCreated() { applySections(); }

void Header::setSections(const std::vector<Section>& sections) {
  sections_ = sections;
  applySections();
}

void Header::applySections() {
  if (!hwnd_) return;
  while (SendMessageW(hwnd_, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(hwnd_, HDM_DELETEITEM, 0, 0);
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    std::wstring text = widen(sections_[i].text);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text.data();
    item.cxy = sections_[i].width;
    item.fmt = HDF_STRING | (sections_[i].alignment == SectionAlignment::Centre  ? HDF_CENTER
                             : sections_[i].alignment == SectionAlignment::Right ? HDF_RIGHT
                                                                                 : HDF_LEFT);
    SendMessageW(hwnd_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace vrin
