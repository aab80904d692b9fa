#include "ui/buttons.h"

#include <windowsx.h>

#include <algorithm>

// The glyph and caption arithmetic is the portable one the skin draws with too, so a button
// looks laid out the same with and without a skin.
#include "skin/pure/control_layout.h"

namespace vrin {

namespace {

const StringList kLayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

// Picture `number` (from 1) of a strip of `count`, as its own image; empty when there is none.
Image glyphPicture(const Image& strip, int count, int number) {
  if (strip.empty()) return {};
  count = std::max(count, 1);
  const int width = strip.width / count;
  if (width <= 0) return {};
  number = std::clamp(number, 1, count);
  Image out(width, strip.height);
  for (int y = 0; y < strip.height; ++y)
    for (int x = 0; x < width; ++x) out.at(x, y) = strip.at((number - 1) * width + x, y);
  return out;
}

void drawTransparentImage(HDC dc, int x, int y, const Image& picture) {
  if (picture.empty()) return;
  Bitmap bitmap;
  bitmap.fromImage(picture);
  if (bitmap.empty()) return;
  const Pixel key = picture.at(0, picture.height - 1);
  TransparentBlt(dc, x, y, picture.width, picture.height, bitmap.dc(), 0, 0, picture.width, picture.height,
                 RGB(red(key), green(key), blue(key)));
}

}  // namespace

void drawGlyphButtonFace(HDC dc, const RECT& area, const GlyphSettings& glyph, int number, const std::string& caption,
                         HFONT font, COLORREF textColour, bool speedButton) {
  SelectScope selected(dc, font);
  const std::wstring text = widen(caption);
  RECT measured{0, 0, 0, 0};
  if (!text.empty()) DrawTextW(dc, text.c_str(), int(text.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
  const Image picture = glyphPicture(glyph.Glyph, glyph.NumGlyphs, number);
  GlyphButton b;
  b.width = area.right - area.left;
  b.height = area.bottom - area.top;
  b.glyphWidth = picture.width;
  b.glyphHeight = picture.height;
  b.captionWidth = measured.right - measured.left;
  b.captionHeight = measured.bottom - measured.top;
  b.Layout = GlyphLayout(int(glyph.Layout));
  b.Margin = glyph.Margin;
  b.Spacing = glyph.Spacing;
  b.speedButton = speedButton;
  const GlyphPlacement at = layoutGlyphButton(b);
  drawTransparentImage(dc, area.left + at.glyph.left, area.top + at.glyph.top, picture);
  if (text.empty()) return;
  RECT r{area.left + at.caption.left, area.top + at.caption.top, area.left + at.caption.right,
         area.top + at.caption.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColour);
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_NOCLIP);
}

// ---- Button

const ClassInfo& Button::staticClassInfo() {
  static const ClassInfo info{"TButton", &WinControl::staticClassInfo(),
                              {boolProp<Button>("Default", &Button::Default, &Button::SetDefault),
                               eventProp<Button>("OnClick", &Button::onClick)}};
  return info;
}

WinControl::CreateParams Button::createParams() {
  CreateParams cp;
  cp.className = L"BUTTON";
  cp.style |= WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  return cp;
}

void Button::SetDefault(bool value) {
  default_ = value;
  if (hwnd_) SendMessageW(hwnd_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::command(WORD code) {
  if (code == BN_CLICKED) click();
}

// ---- BitButton

const ClassInfo& BitButton::staticClassInfo() {
  static const ClassInfo info{"TBitBtn", &Button::staticClassInfo(),
                              {intProp<BitButton>("NumGlyphs", &BitButton::NumGlyphs, &BitButton::SetNumGlyphs),
                               enumProp<BitButton>("Layout", kLayoutNames, &BitButton::Layout, &BitButton::SetLayout),
                               intProp<BitButton>("Margin", &BitButton::Margin, &BitButton::SetMargin),
                               intProp<BitButton>("Spacing", &BitButton::Spacing, &BitButton::SetSpacing)}};
  return info;
}

WinControl::CreateParams BitButton::createParams() {
  CreateParams cp = Button::createParams();
  cp.style = (cp.style & ~BS_TYPEMASK) | BS_OWNERDRAW;
  return cp;
}

void BitButton::changed() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}
void BitButton::setGlyph(const Image& picture) {
  glyph_.Glyph = picture;
  changed();
}
void BitButton::SetNumGlyphs(int value) {
  glyph_.NumGlyphs = std::clamp(value, 1, 4);
  changed();
}
void BitButton::SetLayout(ButtonLayout value) {
  glyph_.Layout = ButtonLayout(std::clamp(int(value), 0, 3));
  changed();
}
void BitButton::SetMargin(int value) {
  glyph_.Margin = std::max(value, -1);
  changed();
}
void BitButton::SetSpacing(int value) {
  glyph_.Spacing = std::max(value, -1);
  changed();
}

bool BitButton::drawItem(DRAWITEMSTRUCT& item) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT r = item.rcItem;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  if (Default() || (item.itemState & ODS_FOCUS)) FrameRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (pressed) OffsetRect(&r, 1, 1);
  const int number = disabled ? 2 : pressed ? 3 : 1;
  drawGlyphButtonFace(item.hDC, r, glyph_, glyph_.NumGlyphs >= number ? number : 1, caption(), font().handle(),
                      GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT), false);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(item.hDC, &focus);
  }
  return true;
}

// ---- SpeedButton

const ClassInfo& SpeedButton::staticClassInfo() {
  static const ClassInfo info{
      "TSpeedButton", &GraphicControl::staticClassInfo(),
      {boolProp<SpeedButton>("Down", &SpeedButton::Down, &SpeedButton::SetDown),
       boolProp<SpeedButton>("AllowAllUp", &SpeedButton::AllowAllUp, &SpeedButton::SetAllowAllUp),
       intProp<SpeedButton>("GroupIndex", &SpeedButton::GroupIndex, &SpeedButton::SetGroupIndex),
       boolProp<SpeedButton>("Flat", &SpeedButton::Flat, &SpeedButton::SetFlat),
       intProp<SpeedButton>("NumGlyphs", &SpeedButton::NumGlyphs, &SpeedButton::SetNumGlyphs),
       enumProp<SpeedButton>("Layout", kLayoutNames, &SpeedButton::Layout, &SpeedButton::SetLayout),
       intProp<SpeedButton>("Margin", &SpeedButton::Margin, &SpeedButton::SetMargin),
       intProp<SpeedButton>("Spacing", &SpeedButton::Spacing, &SpeedButton::SetSpacing)}};
  return info;
}

void SpeedButton::SetDown(bool value) {
  // Outside a group a button cannot stay down.
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (!value && !allowAllUp_) {
    // The last down button of a group stays down unless the group allows all up.
    bool otherDown = false;
    if (parent())
      for (GraphicControl* g : parent()->graphicChildren())
        if (auto* s = dynamic_cast<SpeedButton*>(g); s && s != this && s->groupIndex_ == groupIndex_ && s->down_)
          otherDown = true;
    if (!otherDown) return;
  }
  down_ = value;
  if (down_ && parent())
    for (GraphicControl* g : std::vector<GraphicControl*>(parent()->graphicChildren()))
      if (auto* s = dynamic_cast<SpeedButton*>(g); s && s != this && s->groupIndex_ == groupIndex_ && s->down_) {
        s->down_ = false;
        s->invalidate();
      }
  invalidate();
}

void SpeedButton::SetGroupIndex(int value) {
  groupIndex_ = std::max(value, 0);
  if (groupIndex_ == 0 && down_) {
    down_ = false;
    invalidate();
  }
}

void SpeedButton::SetFlat(bool value) {
  flat_ = value;
  invalidate();
}
void SpeedButton::setGlyph(const Image& picture) {
  glyph_.Glyph = picture;
  invalidate();
}
void SpeedButton::SetNumGlyphs(int value) {
  glyph_.NumGlyphs = std::clamp(value, 1, 4);
  invalidate();
}
void SpeedButton::SetLayout(ButtonLayout value) {
  glyph_.Layout = ButtonLayout(std::clamp(int(value), 0, 3));
  invalidate();
}
void SpeedButton::SetMargin(int value) {
  glyph_.Margin = std::max(value, -1);
  invalidate();
}
void SpeedButton::SetSpacing(int value) {
  glyph_.Spacing = std::max(value, -1);
  invalidate();
}

void SpeedButton::pressChanged() { repaint(); }

void SpeedButton::click() {
  if (groupIndex_ != 0) {
    if (!down_) SetDown(true);
    else if (allowAllUp_) SetDown(false);
  }
  GraphicControl::click();
}

LRESULT SpeedButton::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case CM_MOUSEENTER:
      mouseInside_ = true;
      if (flat_ && enabled()) invalidate();
      return 0;
    case CM_MOUSELEAVE:
      mouseInside_ = false;
      if (flat_ && enabled()) invalidate();
      return 0;
  }
  return GraphicControl::windowProc(msg, wp, lp);
}

void SpeedButton::paint(Canvas& canvas) {
  HDC dc = canvas.handle();
  if (!dc) return;
  RECT r = clientRect();
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const bool sunk = down_ || mousePressed_;
  if (!flat_ || sunk || (mouseInside_ && enabled()))
    DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : (flat_ ? BDR_RAISEDINNER : EDGE_RAISED), BF_RECT);
  if (sunk) OffsetRect(&r, 1, 1);
  const int number = !enabled() ? 2 : mousePressed_ ? 3 : down_ ? 4 : 1;
  drawGlyphButtonFace(dc, r, glyph_, glyph_.NumGlyphs >= number ? number : 1, caption(), font().handle(),
                      GetSysColor(enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT), true);
}

// ---- CheckBox

const ClassInfo& CheckBox::staticClassInfo() {
  static const ClassInfo info{
      "TCheckBox", &WinControl::staticClassInfo(),
      {enumProp<CheckBox>("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &CheckBox::State, &CheckBox::SetState),
       boolProp<CheckBox>("Checked", &CheckBox::Checked, &CheckBox::SetChecked),
       boolProp<CheckBox>("AllowGrayed", &CheckBox::AllowGrayed, &CheckBox::SetAllowGrayed),
       enumProp<CheckBox>("Alignment", {"taLeftJustify", "taRightJustify"}, &CheckBox::Alignment,
                          &CheckBox::SetAlignment),
       eventProp<CheckBox>("OnClick", &CheckBox::onClick)}};
  return info;
}

WinControl::CreateParams CheckBox::createParams() {
  CreateParams cp;
  cp.className = L"BUTTON";
  // The framework moves through the states itself, grayed included.
  cp.style |= WS_TABSTOP | BS_3STATE | (alignment_ == CheckAlignment::LeftJustify ? BS_RIGHTBUTTON : 0);
  return cp;
}

void CheckBox::handleCreated() { SendMessageW(hwnd_, BM_SETCHECK, WPARAM(state_), 0); }

CheckBoxState CheckBox::State() const {
  if (!hwnd_) return state_;
  const LRESULT s = SendMessageW(hwnd_, BM_GETCHECK, 0, 0);
  return s == BST_CHECKED ? CheckBoxState::Checked : s == BST_INDETERMINATE ? CheckBoxState::Grayed : CheckBoxState::Unchecked;
}

void CheckBox::SetState(CheckBoxState value) {
  state_ = CheckBoxState(std::clamp(int(value), 0, 2));
  if (hwnd_) SendMessageW(hwnd_, BM_SETCHECK, WPARAM(state_), 0);
}

void CheckBox::SetAlignment(CheckAlignment value) {
  alignment_ = value;
  if (!hwnd_) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE,
                    value == CheckAlignment::LeftJustify ? (style | BS_RIGHTBUTTON) : (style & ~LONG_PTR(BS_RIGHTBUTTON)));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CheckBox::command(WORD code) {
  if (code != BN_CLICKED) return;
  switch (State()) {
    case CheckBoxState::Unchecked: SetState(CheckBoxState::Checked); break;
    case CheckBoxState::Checked: SetState(allowGrayed_ ? CheckBoxState::Grayed : CheckBoxState::Unchecked); break;
    case CheckBoxState::Grayed: SetState(CheckBoxState::Unchecked); break;
  }
  onClick(this);
}

// ---- RadioButton

const ClassInfo& RadioButton::staticClassInfo() {
  static const ClassInfo info{"TRadioButton", &WinControl::staticClassInfo(),
                              {boolProp<RadioButton>("Checked", &RadioButton::Checked, &RadioButton::SetChecked),
                               eventProp<RadioButton>("OnClick", &RadioButton::onClick)}};
  return info;
}

WinControl::CreateParams RadioButton::createParams() {
  CreateParams cp;
  cp.className = L"BUTTON";
  cp.style |= WS_TABSTOP | BS_RADIOBUTTON;
  return cp;
}

void RadioButton::handleCreated() { SendMessageW(hwnd_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0); }

bool RadioButton::Checked() const {
  return hwnd_ ? SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void RadioButton::SetChecked(bool value) {
  checked_ = value;
  if (hwnd_) SendMessageW(hwnd_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value || !parent()) return;
  for (WinControl* sibling : parent()->children())
    if (auto* r = dynamic_cast<RadioButton*>(sibling); r && r != this && r->Checked()) r->SetChecked(false);
}

void RadioButton::command(WORD code) {
  if (code != BN_CLICKED) return;
  if (!Checked()) SetChecked(true);
  onClick(this);
}

// ---- GroupBox

const ClassInfo& GroupBox::staticClassInfo() {
  static const ClassInfo info{"TGroupBox", &WinControl::staticClassInfo(), {}};
  return info;
}

WinControl::CreateParams GroupBox::createParams() {
  CreateParams cp;
  cp.className = L"BUTTON";
  cp.style |= BS_GROUPBOX | WS_CLIPCHILDREN;
  return cp;
}

// ---- RadioGroup

const ClassInfo& RadioGroup::staticClassInfo() {
  static const ClassInfo info{"TRadioGroup", &GroupBox::staticClassInfo(),
                              {listProp<RadioGroup>("Items", &RadioGroup::Items, &RadioGroup::SetItems),
                               intProp<RadioGroup>("ItemIndex", &RadioGroup::ItemIndex, &RadioGroup::SetItemIndex),
                               intProp<RadioGroup>("Columns", &RadioGroup::Columns, &RadioGroup::SetColumns),
                               eventProp<RadioGroup>("OnClick", &RadioGroup::onClick)}};
  return info;
}

RadioGroup::~RadioGroup() {
  for (RadioButton* b : buttons_) delete b;
}

void RadioGroup::SetItems(const StringList& items) {
  items_ = items;
  if (itemIndex_ >= int(items_.size())) itemIndex_ = -1;
  rebuild();
}

void RadioGroup::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < int(items_.size()) ? index : -1;
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetChecked(int(i) == itemIndex_);
}

void RadioGroup::SetColumns(int value) {
  columns_ = std::clamp(value, 1, 16);
  arrange();
}

void RadioGroup::handleCreated() { arrange(); }

void RadioGroup::rebuild() {
  for (RadioButton* b : buttons_) delete b;
  buttons_.clear();
  for (const std::string& item : items_) {
    // Owned by the group only, not by the group's owner: the group frees them.
    auto* b = new RadioButton(nullptr);
    b->setCaption(item);
    b->setFont(font().desc());
    b->onClick = NotifyEvent::of<&RadioGroup::buttonClick>(this);
    b->setParent(this);
    buttons_.push_back(b);
  }
  SetItemIndex(itemIndex_);
  arrange();
}

void RadioGroup::arrange() {
  if (buttons_.empty()) return;
  const int rows = (int(buttons_.size()) + columns_ - 1) / columns_;
  const int lineHeight = std::max(1, std::abs(font().desc().height) + 3);
  const int usable = std::max(0, height() - lineHeight - 5);
  const int rowHeight = usable / rows;
  const int top = lineHeight + 1 + (usable % rows) / 2;
  const int columnWidth = std::max(0, (width() - 10) / columns_);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const int column = int(i) / rows, row = int(i) % rows;
    buttons_[i]->setBounds(8 + column * columnWidth, top + row * rowHeight, std::max(0, columnWidth - 2),
                           std::max(0, rowHeight));
  }
}

void RadioGroup::buttonClick(Component* sender) {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i] == sender && itemIndex_ != int(i)) {
      itemIndex_ = int(i);
      onClick(this);
    }
}

}  // namespace vrin
