#pragma once
// The standard controls the program uses: list box, drop-down list, status bar, panel, label.
#include <string>
#include <vector>

#include "ui/control.h"

namespace vrin {

class ListBox : public WinControl {
 public:
  explicit ListBox(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int count() const;
  std::string item(int index) const;
  int add(const std::string& text);
  void clear();
  int itemIndex() const;
  void setItemIndex(int index);
  int topIndex() const;
  void setTopIndex(int index);
  int itemHeight = 13;
  NotifyEvent onDblClick;
  NotifyEvent onClick;

  void command(WORD code) override;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  std::vector<std::string> pending_;  // items added before the window exists
  int pendingIndex_ = -1;
};

class ComboBox : public WinControl {
 public:
  explicit ComboBox(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  void setItems(const std::vector<std::string>& items);
  const std::vector<std::string>& items() const { return items_; }
  int itemIndex() const;
  void setItemIndex(int index);
  // The selected item's text; empty when nothing is selected.
  std::string selectedText() const;
  NotifyEvent onChange;

  void command(WORD code) override;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

class StatusBar : public WinControl {
 public:
  explicit StatusBar(Component* owner);
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  enum class Bevel { Lowered, Raised, None };
  enum class Alignment { Left, Right, Centre };
  struct Panel {
    int width = 50;
    std::string text;
    Bevel bevel = Bevel::Lowered;
    Alignment alignment = Alignment::Left;
  };
  void setPanels(const std::vector<Panel>& panels);
  const std::vector<Panel>& panels() const { return panels_; }
  std::string panelText(int index) const;
  void setPanelText(int index, const std::string& text);
  // One text over the whole bar in place of the panels.
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& text);
  // Fixed once the window exists: the grip is part of its style.
  bool sizeGrip = false;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  void applyPanels();
  void applySimple();
  std::vector<Panel> panels_;
  bool simplePanel_ = false;
  std::string simpleText_;
};

class Panel : public WinControl {
 public:
  explicit Panel(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

 protected:
  CreateParams createParams() override;
  LRESULT windowProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

class Label : public WinControl {
 public:
  explicit Label(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  void setCaption(const std::string& c) { setText(c); }
  std::string caption() const { return text(); }
  bool autoSize = true;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;
};

}  // namespace vrin
