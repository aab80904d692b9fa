#include "ui/stdctrls.h"

namespace vrin {

// ---- ListBox

const ClassInfo& ListBox::staticClassInfo() {
  static const ClassInfo info{"TListBox", &WinControl::staticClassInfo(),
                              {intProp<ListBox>("ItemIndex", &ListBox::itemIndex, &ListBox::setItemIndex)}};
  return info;
}

WinControl::CreateParams ListBox::createParams() {
  CreateParams cp;
  cp.className = L"LISTBOX";
  cp.style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  cp.exStyle = WS_EX_CLIENTEDGE;
  return cp;
}

void ListBox::handleCreated() {
  SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight);
  for (const auto& s : pending_) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(s).c_str()));
  pending_.clear();
  if (pendingIndex_ >= 0) SendMessageW(hwnd_, LB_SETCURSEL, pendingIndex_, 0);
}

int ListBox::count() const {
  return hwnd_ ? int(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)) : int(pending_.size());
}

std::string ListBox::item(int index) const {
  if (index < 0 || index >= count()) throw Error("Index de liste hors limites (" + std::to_string(index) + ")");
  if (!hwnd_) return pending_[std::size_t(index)];
  int n = int(SendMessageW(hwnd_, LB_GETTEXTLEN, index, 0));
  std::wstring w(std::size_t(n) + 1, L'\0');
  SendMessageW(hwnd_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(w.data()));
  w.resize(std::size_t(n));
  return narrow(w);
}

int ListBox::add(const std::string& text) {
  if (!hwnd_) {
    pending_.push_back(text);
    return int(pending_.size()) - 1;
  }
  return int(SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(text).c_str())));
}

void ListBox::clear() {
  pending_.clear();
  if (hwnd_) SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
}

int ListBox::itemIndex() const { return hwnd_ ? int(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)) : pendingIndex_; }

void ListBox::setItemIndex(int index) {
  pendingIndex_ = index;
  if (hwnd_) SendMessageW(hwnd_, LB_SETCURSEL, index, 0);
}

int ListBox::topIndex() const { return hwnd_ ? int(SendMessageW(hwnd_, LB_GETTOPINDEX, 0, 0)) : 0; }
void ListBox::setTopIndex(int index) {
  if (hwnd_) SendMessageW(hwnd_, LB_SETTOPINDEX, index, 0);
}

void ListBox::command(WORD code) {
  if (code == LBN_DBLCLK) onDblClick(this);
  else if (code == LBN_SELCHANGE) onClick(this);
}

// ---- ComboBox (drop-down list, no free text)

const ClassInfo& ComboBox::staticClassInfo() {
  static const ClassInfo info{"TComboBox", &WinControl::staticClassInfo(),
                              {intProp<ComboBox>("ItemIndex", &ComboBox::itemIndex, &ComboBox::setItemIndex)}};
  return info;
}

WinControl::CreateParams ComboBox::createParams() {
  CreateParams cp;
  cp.className = L"COMBOBOX";
  cp.style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
  return cp;
}

void ComboBox::handleCreated() {
  // The height of a combo box window includes its dropped-down list.
  SetWindowPos(hwnd_, nullptr, 0, 0, width(), 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  setItems(items_);
}

void ComboBox::setItems(const std::vector<std::string>& items) {
  items_ = items;
  if (!hwnd_) {
    if (index_ >= int(items_.size())) index_ = -1;
    return;
  }
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const auto& s : items_) SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(s).c_str()));
  setItemIndex(index_);
}

int ComboBox::itemIndex() const { return hwnd_ ? int(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)) : index_; }

void ComboBox::setItemIndex(int index) {
  // An index outside the list selects nothing.
  index_ = (index >= 0 && index < int(items_.size())) ? index : -1;
  if (hwnd_) SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(index_), 0);
}

std::string ComboBox::selectedText() const {
  int i = itemIndex();
  return (i >= 0 && i < int(items_.size())) ? items_[std::size_t(i)] : std::string();
}

void ComboBox::command(WORD code) {
  if (code == CBN_SELCHANGE) {
    index_ = itemIndex();
    onChange(this);
  }
}

// ---- StatusBar

const ClassInfo& StatusBar::staticClassInfo() {
  static const ClassInfo info{"TStatusBar", &WinControl::staticClassInfo(), {}};
  return info;
}

StatusBar::StatusBar(Component* owner) : WinControl(owner) { setAlign(Align::Bottom); }

WinControl::CreateParams StatusBar::createParams() {
  CreateParams cp;
  cp.className = STATUSCLASSNAMEW;
  cp.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY | CCS_BOTTOM | (sizeGrip ? SBARS_SIZEGRIP : 0);
  return cp;
}

void StatusBar::handleCreated() {
  applyPanels();
  applySimple();
}

void StatusBar::SetSimplePanel(bool value) {
  simplePanel_ = value;
  applySimple();
}

void StatusBar::SetSimpleText(const std::string& text) {
  simpleText_ = text;
  applySimple();
}

void StatusBar::applySimple() {
  if (!hwnd_) return;
  SendMessageW(hwnd_, SB_SIMPLE, simplePanel_, 0);
  SendMessageW(hwnd_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(widen(simpleText_).c_str()));
}

void StatusBar::setPanels(const std::vector<Panel>& panels) {
  panels_ = panels;
  applyPanels();
}

std::string StatusBar::panelText(int index) const {
  if (index < 0 || index >= int(panels_.size())) return {};
  if (!hwnd_) return panels_[std::size_t(index)].text;
  int n = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, index, 0));
  std::wstring w(std::size_t(n) + 1, L'\0');
  SendMessageW(hwnd_, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(w.data()));
  w.resize(std::size_t(n));
  // Without the alignment tabs applyPanels put in front.
  const Alignment a = panels_[std::size_t(index)].alignment;
  const std::size_t tabs = a == Alignment::Centre ? 1 : a == Alignment::Right ? 2 : 0;
  std::size_t k = 0;
  while (k < tabs && k < w.size() && w[k] == L'\t') ++k;
  return narrow(std::wstring_view(w).substr(k));
}

void StatusBar::setPanelText(int index, const std::string& text) {
  if (index < 0 || index >= int(panels_.size())) return;
  panels_[std::size_t(index)].text = text;
  applyPanels();
}

void StatusBar::applyPanels() {
  if (!hwnd_ || panels_.empty()) return;
  std::vector<int> edges;
  int x = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    x += panels_[i].width;
    edges.push_back(i + 1 == panels_.size() ? -1 : x);
  }
  SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    // The control's own ways to say it: tabs before the text centre or right-align it,
    // drawing types give the bevel.
    const Panel& p = panels_[i];
    const std::string tabs = p.alignment == Alignment::Centre ? "\t" : p.alignment == Alignment::Right ? "\t\t" : "";
    const WPARAM type = p.bevel == Bevel::Raised ? SBT_POPOUT : p.bevel == Bevel::None ? SBT_NOBORDERS : 0;
    SendMessageW(hwnd_, SB_SETTEXTW, i | type, reinterpret_cast<LPARAM>(widen(tabs + p.text).c_str()));
  }
}

// ---- Panel

const ClassInfo& Panel::staticClassInfo() {
  static const ClassInfo info{"TPanel", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams Panel::createParams() {
  registerOwnClass(L"TPanel", nullptr);
  CreateParams cp;
  cp.className = L"TPanel";
  cp.style |= WS_CLIPCHILDREN;
  return cp;
}

LRESULT Panel::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PaintDC dc(hwnd_);
    RECT r;
    GetClientRect(hwnd_, &r);
    DrawEdge(dc.get(), &r, BDR_RAISEDINNER, BF_RECT);
    return 0;
  }
  return WinControl::windowProc(msg, wp, lp);
}

// ---- Label

const ClassInfo& Label::staticClassInfo() {
  static const ClassInfo info{"TLabel", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams Label::createParams() {
  CreateParams cp;
  cp.className = L"STATIC";
  cp.style |= SS_LEFT | SS_NOPREFIX;
  return cp;
}

void Label::handleCreated() {
  if (!autoSize) return;
  // Fits the window to its caption, as a label does.
  std::wstring w = widen(text());
  RECT r{0, 0, 0, 0};
  {
    WindowDC dc(hwnd_);
    SelectScope selected(dc.get(), font().handle());
    DrawTextW(dc.get(), w.c_str(), int(w.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  setBounds(left(), top(), r.right, r.bottom);
}

}  // namespace vrin
