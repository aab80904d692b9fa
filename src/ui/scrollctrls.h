#pragma once
// Controls that scroll: the stand-alone scroll bar, the memo (a multi-line edit), the list
// view and the tree view.
#include <string>
#include <vector>

#include "ui/commonctrls.h"
#include "ui/control.h"
#include "ui/window_hooks.h"

namespace vrin {

enum class ScrollBarKind { Horizontal, Vertical };

// A scroll bar control. Its parent reflects WM_HSCROLL / WM_VSCROLL to it as CN_HSCROLL /
// CN_VSCROLL (see WinControl::windowProc); the bar moves its Position by the request and
// reports the change through onChange.
class ScrollBar : public WinControl {
 public:
  explicit ScrollBar(Component* owner) : WinControl(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Fixed once the window exists: the direction is part of its style.
  ScrollBarKind kind = ScrollBarKind::Horizontal;
  int Min() const { return min_; }
  void SetMin(int value) { SetParams(position_, value, max_); }
  int Max() const { return max_; }
  void SetMax(int value) { SetParams(position_, min_, value); }
  int PageSize() const { return page_; }
  void SetPageSize(int value);
  int Position() const { return position_; }
  void SetPosition(int value) { SetParams(value, min_, max_); }
  // A range upside down is refused with an error; the position is kept inside the range.
  void SetParams(int position, int min, int max);
  int SmallChange = 1;
  int LargeChange = 1;
  NotifyEvent onChange;

  // One scroll request (an SB_ code; trackPosition for SB_THUMBTRACK / SB_THUMBPOSITION),
  // as the reflected notification brings it.
  void scroll(int code, int trackPosition);

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  void apply();
  int min_ = 0, max_ = 100, page_ = 0, position_ = 0;
  WindowHook hook_;
};

enum class ScrollStyle { None, Horizontal, Vertical, Both };

// A multi-line edit.
class Memo : public Edit {
 public:
  explicit Memo(Component* owner) : Edit(owner) {}
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Fixed once the window exists.
  ScrollStyle scrollBars = ScrollStyle::None;
  bool wordWrap = true;
  void setLines(const std::vector<std::string>& lines);
  int lineCount() const;

 protected:
  CreateParams createParams() override;
};

// A list view in report style: columns with a header, one row per item.
class ListView : public WinControl {
 public:
  explicit ListView(Component* owner) : WinControl(owner) { setColor(clWindow); }
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  struct Column {
    std::string caption;
    int width = 80;
  };
  void setColumns(const std::vector<Column>& columns);
  // The row's first text is the item, the others its sub-items.
  int addItem(const std::vector<std::string>& texts);
  int count() const;
  HWND header() const;

 protected:
  CreateParams createParams() override;
  void handleCreated() override;

 private:
  void applyColumns();
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> pending_;
};

class TreeView : public WinControl {
 public:
  explicit TreeView(Component* owner) : WinControl(owner) { setColor(clWindow); }
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  // Adds a node below `parent` (nullptr: at the root); the window must exist.
  HTREEITEM addItem(HTREEITEM parent, const std::string& text);
  void expand(HTREEITEM item);
  int count() const;

 protected:
  CreateParams createParams() override;
};

}  // namespace vrin
