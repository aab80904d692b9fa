#pragma once
// The button family: push buttons, buttons with a glyph, speed buttons (graphic controls,
// no window), check boxes, radio buttons, group boxes and radio groups.
#include <string>
#include <vector>

#include "core/image.h"
#include "ui/control.h"

namespace vrin {

class Button : public WinControl {
 public:
  explicit Button(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return text(); }
  void setCaption(const std::string& c) { setText(c); }
  // The button Enter presses: drawn with the heavier frame.
  bool Default() const { return default_; }
  void SetDefault(bool value);
  NotifyEvent onClick;
  // What a user's click does.
  virtual void click() { onClick(this); }

  void command(WORD code) override;

 protected:
  CreateParams createParams() override;

 private:
  bool default_ = false;
};

enum class ButtonLayout : int { GlyphLeft = 0, GlyphRight = 1, GlyphTop = 2, GlyphBottom = 3 };

// What bit buttons and speed buttons share: a strip of NumGlyphs pictures (1 up, 2 disabled,
// 3 pressed, 4 down), its place against the caption, the margin (-1 centres) and the spacing
// between glyph and caption (-1 spreads them evenly).
struct GlyphSettings {
  Image Glyph;
  int NumGlyphs = 1;
  ButtonLayout Layout = ButtonLayout::GlyphLeft;
  int Margin = -1;
  int Spacing = 4;
};

// Draws the glyph strip's picture `number` (from 1; the strip's bottom-left pixel colour is
// transparent) and the caption laid out in `area` of the DC, as the framework's own buttons do.
void drawGlyphButtonFace(HDC dc, const RECT& area, const GlyphSettings& glyph, int number, const std::string& caption,
                         HFONT font, COLORREF textColour, bool speedButton);

class BitButton : public Button {
 public:
  explicit BitButton(Component* owner) : Button(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  const GlyphSettings& glyph() const { return glyph_; }
  void setGlyph(const Image& picture);
  int NumGlyphs() const { return glyph_.NumGlyphs; }
  void SetNumGlyphs(int value);
  ButtonLayout Layout() const { return glyph_.Layout; }
  void SetLayout(ButtonLayout value);
  int Margin() const { return glyph_.Margin; }
  void SetMargin(int value);
  int Spacing() const { return glyph_.Spacing; }
  void SetSpacing(int value);
  bool focused() const { return hwnd_ && GetFocus() == hwnd_; }

  bool drawItem(DRAWITEMSTRUCT& item) override;

 protected:
  CreateParams createParams() override;

 private:
  void changed();
  GlyphSettings glyph_;
};

class SpeedButton : public GraphicControl {
 public:
  explicit SpeedButton(Component* owner) : GraphicControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Stays pressed; within a GroupIndex (non-zero) of the same parent only one is down.
  bool Down() const { return down_; }
  void SetDown(bool value);
  // Lets the last down button of a group come up again.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  // A flat button shows its frame only under the mouse or down.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  const GlyphSettings& glyph() const { return glyph_; }
  void setGlyph(const Image& picture);
  int NumGlyphs() const { return glyph_.NumGlyphs; }
  void SetNumGlyphs(int value);
  ButtonLayout Layout() const { return glyph_.Layout; }
  void SetLayout(ButtonLayout value);
  int Margin() const { return glyph_.Margin; }
  void SetMargin(int value);
  int Spacing() const { return glyph_.Spacing; }
  void SetSpacing(int value);
  bool mouseInside() const { return mouseInside_; }

 protected:
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void paint(Canvas& canvas) override;
  void pressChanged() override;
  void click() override;

 private:
  bool down_ = false, allowAllUp_ = false, flat_ = false, mouseInside_ = false;
  int groupIndex_ = 0;
  GlyphSettings glyph_;
};

enum class CheckBoxState : int { Unchecked = 0, Checked = 1, Grayed = 2 };
// Which side of the box the caption is on: RightJustify puts the box left of its caption.
enum class CheckAlignment : int { LeftJustify = 0, RightJustify = 1 };

class CheckBox : public WinControl {
 public:
  explicit CheckBox(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return text(); }
  void setCaption(const std::string& c) { setText(c); }
  CheckBoxState State() const;
  void SetState(CheckBoxState value);
  bool Checked() const { return State() == CheckBoxState::Checked; }
  void SetChecked(bool value) { SetState(value ? CheckBoxState::Checked : CheckBoxState::Unchecked); }
  // A click passes through the grayed state too.
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  CheckAlignment Alignment() const { return alignment_; }
  void SetAlignment(CheckAlignment value);
  NotifyEvent onClick;

  void command(WORD code) override;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  CheckBoxState state_ = CheckBoxState::Unchecked;
  bool allowGrayed_ = false;
  CheckAlignment alignment_ = CheckAlignment::RightJustify;
};

class RadioButton : public WinControl {
 public:
  explicit RadioButton(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return text(); }
  void setCaption(const std::string& c) { setText(c); }
  // Checking one unchecks the other radio buttons of the same parent.
  bool Checked() const;
  void SetChecked(bool value);
  NotifyEvent onClick;

  void command(WORD code) override;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  bool checked_ = false;
};

class GroupBox : public WinControl {
 public:
  explicit GroupBox(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  std::string caption() const { return text(); }
  void setCaption(const std::string& c) { setText(c); }

 protected:
  CreateParams createParams() override;
  bool fillsBackground() const override { return true; }
};

// A group box holding one radio button per item, in Columns columns.
class RadioGroup : public GroupBox {
 public:
  explicit RadioGroup(Component* owner) : GroupBox(owner) {}
  ~RadioGroup() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  StringList Items() const { return items_; }
  void SetItems(const StringList& items);
  // -1: none checked.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int value);
  const std::vector<RadioButton*>& buttons() const { return buttons_; }
  NotifyEvent onClick;

 protected:
  void handleCreated() override;
  void resized() override { arrange(); }

 private:
  void rebuild();
  void arrange();
  void buttonClick(Component* sender);
  StringList items_;
  int itemIndex_ = -1;
  int columns_ = 1;
  std::vector<RadioButton*> buttons_;
};

}  // namespace vrin
