#pragma once
// Menus and menu items, with owner drawing: WM_MEASUREITEM and WM_DRAWITEM reach the
// item's OnMeasureItem, OnDrawItem and OnAdvancedDrawItem; changes to an item tell its
// menu (MenuChanged), which rebuilds the native menu before it is next shown.
#include <memory>
#include <string>
#include <vector>

#include "ui/graphics.h"
#include "ui/pure/component.h"
#include "ui/pure/shortcut.h"

namespace vrin {

class Menu;
class ImageList;

enum class MenuBreak { None, Break, BarBreak };
enum class BiDiMode { LeftToRight, RightToLeft, RightToLeftNoAlign, RightToLeftReadingOnly };

using MenuMeasureEvent = Event<void(Component*, Canvas&, int& width, int& height)>;
using MenuDrawEvent = Event<void(Component*, Canvas&, const RECT&, bool selected)>;
using MenuAdvancedDrawEvent = Event<void(Component*, Canvas&, const RECT&, UINT state)>;
using MenuChangeEvent = Event<void(Component*, Component* source, bool rebuild)>;

class MenuItem : public Component {
 public:
  explicit MenuItem(Component* owner);
  ~MenuItem() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string caption() const { return caption_; }
  void setCaption(const std::string& c);
  std::string hint() const { return hint_; }
  void setHint(const std::string& h) { hint_ = h; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool v);
  bool checked() const { return checked_; }
  void setChecked(bool v);
  bool autoCheck() const { return autoCheck_; }
  void setAutoCheck(bool v) { autoCheck_ = v; }
  bool radioItem() const { return radioItem_; }
  void setRadioItem(bool v);
  bool isDefault() const { return default_; }
  void setDefault(bool v);
  bool visible() const { return visible_; }
  void setVisible(bool v);
  MenuBreak menuBreak() const { return break_; }
  void setBreak(MenuBreak b);
  int imageIndex() const { return imageIndex_; }
  void setImageIndex(int i);
  Bitmap& bitmap() { return bitmap_; }
  ShortCut shortCut() const { return shortCut_; }
  void setShortCut(ShortCut s);
  ImageList* subMenuImages = nullptr;
  bool isLine() const { return caption_ == "-"; }

  // Sub-items: owned by this item's owner (so they can be found by name), parented here.
  const std::vector<MenuItem*>& items() const { return items_; }
  int count() const { return int(items_.size()); }
  MenuItem* item(int i) const { return items_.at(std::size_t(i)); }
  void add(MenuItem* item);
  void insert(int index, MenuItem* item);
  void remove(MenuItem* item);
  int indexOf(const MenuItem* item) const;
  MenuItem* parent() const { return parent_; }
  Menu* menu() const;
  ImageList* imageList() const;  // SubMenuImages of the nearest ancestor, else the menu's
  UINT command() const { return command_; }

  // What a user's choice does: auto-check, then OnClick.
  void click();
  // Tells the menu that this item changed.
  void changed(bool rebuild);

  NotifyEvent onClick;
  MenuMeasureEvent onMeasureItem;
  MenuDrawEvent onDrawItem;
  MenuAdvancedDrawEvent onAdvancedDrawItem;

  // The host's owner-draw work for this item.
  void measureItem(Canvas& canvas, int& width, int& height);
  void drawItem(Canvas& canvas, const RECT& rect, UINT state);
  // The host's default look of an owner-drawn item (used when it has no draw handler).
  void defaultDraw(Canvas& canvas, const RECT& rect, UINT state);

  // Finds the live item behind a command id or an owner-draw item pointer.
  static MenuItem* fromCommand(UINT command);
  static MenuItem* fromItemData(ULONG_PTR data);
  static bool dispatchCommand(UINT command);

 private:
  friend class Menu;
  std::string caption_, hint_;
  bool enabled_ = true, checked_ = false, autoCheck_ = false, radioItem_ = false, default_ = false, visible_ = true;
  MenuBreak break_ = MenuBreak::None;
  int imageIndex_ = -1;
  Bitmap bitmap_;
  ShortCut shortCut_ = 0;
  std::vector<MenuItem*> items_;
  MenuItem* parent_ = nullptr;
  Menu* menu_ = nullptr;  // set on the root item only
  UINT command_ = 0;
};

class Menu : public Component {
 public:
  explicit Menu(Component* owner);
  ~Menu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  MenuItem& items() { return *root_; }
  ImageList* images() const { return images_; }
  void setImages(ImageList* images);
  bool ownerDraw() const { return ownerDraw_; }
  void setOwnerDraw(bool v);
  BiDiMode biDiMode = BiDiMode::LeftToRight;
  bool parentBiDiMode = true;
  // Right-to-left when the system has Middle-East support and the mode asks for it.
  bool isRightToLeft() const;

  // Called for every change of an item; the base marks the native menu for rebuilding
  // and fires OnChange.
  virtual void menuChanged(MenuItem* source, bool rebuild);
  MenuChangeEvent onChange;
  HMENU handle();
  void rebuildHandle();
  // Whether items are made owner-drawn: asked for, or pictures must be drawn.
  bool drawsItems() const;

  // Routing from window procedures.
  static bool drawMenuItem(DRAWITEMSTRUCT& dis);
  static bool measureMenuItem(HWND hwnd, MEASUREITEMSTRUCT& mis);

  void loaded() override;
  bool isPopup() const { return popup_; }

 protected:
  void notification(Component* component, Operation operation) override;
  bool popup_ = true;

 private:
  void fill(HMENU menu, MenuItem& parent);
  MenuItem* root_ = nullptr;
  ImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  HMENU handle_ = nullptr;
  bool dirty_ = true;
};

class PopupMenu : public Menu {
 public:
  explicit PopupMenu(Component* owner);
  ~PopupMenu() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Shows the menu at a screen point and runs the chosen item's click before it returns.
  virtual void popup(int x, int y);
  Component* popupComponent = nullptr;
  // Whether the owner of the menu (a control, the tray icon) pops it up by itself.
  bool autoPopup = true;
  NotifyEvent onPopup;
  // The hidden window that receives the menu's owner-draw and command messages.
  static HWND ownerWindow();
};

class MainMenu : public Menu {
 public:
  explicit MainMenu(Component* owner) : Menu(owner) { popup_ = false; }
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

// The system's menu font (the non-client metrics).
FontSpec systemMenuFont();

}  // namespace vrin
