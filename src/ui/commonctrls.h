#pragma once
// Thin wrappers of the common controls the skin engine draws over: edit, progress bar, tab
// control, tool bar, size grip and header.
#include <string>
#include <vector>

#include "ui/control.h"

namespace vrin {

class ImageList;

class Edit : public WinControl {
 public:
  explicit Edit(Component* owner) : WinControl(owner) { setColor(clWindow); }
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool readOnly = false;

 protected:
  CreateParams createParams() override;
};

class ProgressBar : public WinControl {
 public:
  explicit ProgressBar(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  // Kept inside Min..Max, as the control keeps it.
  int Position() const { return position_; }
  void SetPosition(int value);

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  void apply();
  int min_ = 0, max_ = 100, position_ = 0;
};

enum class TabPosition { Top, Bottom, Left, Right };

class TabControl : public WinControl {
 public:
  explicit TabControl(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  struct Tab {
    std::string caption;
    int imageIndex = -1;
  };
  void setTabs(const std::vector<Tab>& tabs);
  const std::vector<Tab>& tabs() const { return tabs_; }
  int tabIndex() const;
  void setTabIndex(int index);
  // Fixed once the window exists: the side is part of its style.
  TabPosition tabPosition = TabPosition::Top;
  void setImages(ImageList* images);
  ImageList* images() const { return images_; }

 protected:
  CreateParams createParams() override;
  void handleCreated() override;
  void notification(Component* component, Operation operation) override;

 private:
  void applyTabs();
  std::vector<Tab> tabs_;
  int index_ = 0;
  ImageList* images_ = nullptr;
};

class ToolBar : public WinControl {
 public:
  explicit ToolBar(Component* owner) : WinControl(owner) { setAlign(Align::Top); }
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);

 protected:
  CreateParams createParams() override;

 private:
  bool flat_ = false;
};

// The grip at the bottom-right corner of a sizeable window.
class SizeGrip : public WinControl {
 public:
  explicit SizeGrip(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

 protected:
  CreateParams createParams() override;
};

enum class SectionAlignment { Left, Right, Centre };

class Header : public WinControl {
 public:
  explicit Header(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  struct Section {
    std::string text;
    int width = 50;
    SectionAlignment alignment = SectionAlignment::Left;
  };
  void setSections(const std::vector<Section>& sections);
  const std::vector<Section>& sections() const { return sections_; }

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  void applySections();
  std::vector<Section> sections_;
};

}  // namespace vrin
