#include "ui/scrollctrls.h"

#include <algorithm>

namespace vrin {

namespace {
constexpr UINT kReflectedHScroll = 0xBD14, kReflectedVScroll = 0xBD15;  // CN_HSCROLL, CN_VSCROLL
}

// ---- ScrollBar

const ClassInfo& ScrollBar::staticClassInfo() {
  static const ClassInfo info{"TScrollBar", &WinControl::staticClassInfo(),
                              {intProp<ScrollBar>("Min", &ScrollBar::Min, &ScrollBar::SetMin),
                               intProp<ScrollBar>("Max", &ScrollBar::Max, &ScrollBar::SetMax),
                               intProp<ScrollBar>("PageSize", &ScrollBar::PageSize, &ScrollBar::SetPageSize),
                               intProp<ScrollBar>("Position", &ScrollBar::Position, &ScrollBar::SetPosition)}};
  return info;
}

WinControl::CreateParams ScrollBar::createParams() {
  CreateParams cp;
  cp.className = L"SCROLLBAR";
  cp.style |= kind == ScrollBarKind::Vertical ? SBS_VERT : SBS_HORZ;
  return cp;
}

void ScrollBar::handleCreated() {
  // The reflected notifications reach the bar's own window; the system class ignores them,
  // so the bar takes them in front of it.
  hook_.install(hwnd_, [this](HWND hwnd, UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != kReflectedHScroll && msg != kReflectedVScroll) return false;
    // During a drag the 32-bit track position is the real one; HIWORD holds its low 16 bits.
    SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    int track = HIWORD(wp);
    if (GetScrollInfo(hwnd, SB_CTL, &si) && (si.nTrackPos & 0xFFFF) == track) track = si.nTrackPos;
    scroll(LOWORD(wp), track);
    result = 0;
    return true;
  });
  apply();
}

void ScrollBar::SetPageSize(int value) {
  page_ = std::max(0, value);
  SetParams(position_, min_, max_);
}

void ScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw Error("Valeur de propriété de barre de défilement hors limites");
  min_ = min;
  max_ = max;
  // With a page the last position shows the last page; the system bar keeps it there too.
  const long long last = page_ > 0 ? std::max<long long>(min, (long long)max - page_ + 1) : max;
  position_ = int(std::clamp<long long>(position, min, last));
  apply();
}

void ScrollBar::apply() {
  if (!hwnd_) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = UINT(page_);
  si.nPos = position_;
  // Repainted through WM_PAINT rather than drawn on the spot, so that a skin painting over
  // the bar after the control's own painting sees the change too.
  SetScrollInfo(hwnd_, SB_CTL, &si, FALSE);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ScrollBar::scroll(int code, int trackPosition) {
  long long next = position_;
  switch (code) {
    case SB_LINEUP: next -= SmallChange; break;
    case SB_LINEDOWN: next += SmallChange; break;
    case SB_PAGEUP: next -= LargeChange; break;
    case SB_PAGEDOWN: next += LargeChange; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: next = trackPosition; break;
    case SB_TOP: next = min_; break;
    case SB_BOTTOM: next = max_; break;
    default: return;  // SB_ENDSCROLL
  }
  const int before = position_;
  SetParams(int(std::clamp<long long>(next, min_, max_)), min_, max_);
  if (position_ != before) onChange(this);
}

// ---- Memo

const ClassInfo& Memo::staticClassInfo() {
  static const ClassInfo info{"TMemo", &Edit::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams Memo::createParams() {
  CreateParams cp = Edit::createParams();
  cp.style &= ~DWORD(ES_AUTOHSCROLL);
  cp.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (scrollBars == ScrollStyle::Horizontal || scrollBars == ScrollStyle::Both) cp.style |= WS_HSCROLL;
  if (scrollBars == ScrollStyle::Vertical || scrollBars == ScrollStyle::Both) cp.style |= WS_VSCROLL;
  // Lines are wrapped unless asked not to, or unless they scroll sideways.
  if (!wordWrap || (cp.style & WS_HSCROLL)) cp.style |= ES_AUTOHSCROLL;
  return cp;
}

void Memo::setLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  setText(text);
}

int Memo::lineCount() const {
  if (!hwnd_) return text().empty() ? 0 : 1 + int(std::count(text().begin(), text().end(), '\n'));
  return int(SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0));
}

// ---- ListView

const ClassInfo& ListView::staticClassInfo() {
  static const ClassInfo info{"TListView", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams ListView::createParams() {
  CreateParams cp;
  cp.className = WC_LISTVIEWW;
  cp.style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
  cp.exStyle = WS_EX_CLIENTEDGE;
  return cp;
}

void ListView::handleCreated() {
  applyColumns();
  for (const auto& row : std::exchange(pending_, {})) addItem(row);
}

void ListView::setColumns(const std::vector<Column>& columns) {
  columns_ = columns;
  applyColumns();
}

void ListView::applyColumns() {
  if (!hwnd_) return;
  while (SendMessageW(hwnd_, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    std::wstring caption = widen(columns_[i].caption);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.pszText = caption.data();
    c.cx = columns_[i].width;
    c.iSubItem = int(i);
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&c));
  }
}

int ListView::addItem(const std::vector<std::string>& texts) {
  if (!hwnd_) {
    pending_.push_back(texts);
    return int(pending_.size()) - 1;
  }
  std::wstring first = widen(texts.empty() ? std::string() : texts[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = count();
  item.pszText = first.data();
  const int index = int(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (std::size_t i = 1; index >= 0 && i < texts.size(); ++i) {
    std::wstring text = widen(texts[i]);
    LVITEMW sub{};
    sub.iSubItem = int(i);
    sub.pszText = text.data();
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(&sub));
  }
  return index;
}

int ListView::count() const {
  return hwnd_ ? int(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : int(pending_.size());
}

HWND ListView::header() const {
  return hwnd_ ? reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0)) : nullptr;
}

// ---- TreeView

const ClassInfo& TreeView::staticClassInfo() {
  static const ClassInfo info{"TTreeView", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams TreeView::createParams() {
  CreateParams cp;
  cp.className = WC_TREEVIEWW;
  cp.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP;
  cp.exStyle = WS_EX_CLIENTEDGE;
  return cp;
}

HTREEITEM TreeView::addItem(HTREEITEM parent, const std::string& text) {
  std::wstring w = widen(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = w.data();
  return reinterpret_cast<HTREEITEM>(SendMessageW(handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeView::expand(HTREEITEM item) {
  if (hwnd_ && item) SendMessageW(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

int TreeView::count() const { return hwnd_ ? int(SendMessageW(hwnd_, TVM_GETCOUNT, 0, 0)) : 0; }

}  // namespace vrin
