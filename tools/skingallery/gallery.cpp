#include "gallery.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/image.h"
#include "ui/buttons.h"
#include "ui/commonctrls.h"
#include "ui/form.h"
#include "ui/imagelist.h"
#include "ui/menus.h"
#include "ui/scrollctrls.h"
#include "ui/stdctrls.h"

namespace vrin {
namespace {

// Framework controls in the other styles their window class offers.
class StyledComboBox : public ComboBox {
 public:
  StyledComboBox(Component* owner, DWORD type) : ComboBox(owner), type_(type) {}

 protected:
  CreateParams createParams() override {
    CreateParams cp = ComboBox::createParams();
    cp.style = (cp.style & ~DWORD(CBS_DROPDOWNLIST | CBS_DROPDOWN | CBS_SIMPLE)) | type_;
    return cp;
  }
  // A simple combo box leaves the strip below its list (its list keeps whole rows) unpainted.
  bool fillsBackground() const override { return type_ == CBS_SIMPLE; }

 private:
  DWORD type_;
};

class WideListBox : public ListBox {
 public:
  using ListBox::ListBox;

 protected:
  CreateParams createParams() override {
    CreateParams cp = ListBox::createParams();
    cp.style |= WS_HSCROLL;
    return cp;
  }
  void handleCreated() override {
    ListBox::handleCreated();
    SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, 600, 0);
  }
};

MenuItem* addItem(Component* owner, MenuItem& parent, const std::string& caption, bool enabled = true) {
  auto* item = new MenuItem(owner);
  item->setCaption(caption);
  item->setEnabled(enabled);
  parent.add(item);
  return item;
}

// The menu bar: items with accelerators, a submenu, a disabled item and a bar item whose menu
// reads right to left once the window exists (see rightToLeftMenu).
MainMenu* addGalleryMenu(Form* form) {
  auto* menu = new MainMenu(form);
  MenuItem* file = addItem(form, menu->items(), "&File");
  addItem(form, *file, "&Open skin...");
  addItem(form, *file, "-");
  addItem(form, *file, "E&xit")->onClick = NotifyEvent::fn([form](Component*) { form->close(); });
  MenuItem* edit = addItem(form, menu->items(), "&Edit");
  addItem(form, *edit, "&Copy");
  addItem(form, *addItem(form, *edit, "&More"), "&Deeper");
  addItem(form, *edit, "&Paste", false);
  addItem(form, *addItem(form, menu->items(), "&Off", false), "Never shown");
  addItem(form, *addItem(form, menu->items(), "&Right to left"), "Read from the right");
  form->setMenu(menu);
  return menu;
}

template <class C>
C* place(Form* form, int x, int y, int w, int h) {
  auto* c = new C(form);
  c->setAlign(Align::None);
  c->setParent(form);
  c->setBounds(x, y, w, h);
  return c;
}

void caption(Form* form, int x, int y, const char* text) {
  auto* label = place<Label>(form, x, y, 220, 14);
  label->setCaption(text);
}

// Pictures of the image list side by side on magenta, which (as the strip's bottom-left
// colour) the buttons leave out.
Image glyphStrip(ImageList* images, std::initializer_list<int> pictures) {
  const int n = int(pictures.size());
  Bitmap strip(16 * n, 16);
  if (strip.empty()) return {};
  std::fill(strip.pixels(), strip.pixels() + std::size_t(16) * n * 16, kKeyColour);
  int x = 0;
  for (int picture : pictures) {
    images->draw(strip.dc(), x, 0, picture);
    x += 16;
  }
  GdiFlush();
  return strip.toImage();
}

BitButton* bitButton(Form* form, const Image& glyph, ButtonLayout layout, int margin, int spacing, int x, int y,
                     int w, int h, const char* text) {
  auto* b = place<BitButton>(form, x, y, w, h);
  b->setCaption(text);
  b->setGlyph(glyph);
  b->SetLayout(layout);
  b->SetMargin(margin);
  b->SetSpacing(spacing);
  return b;
}

// An in-memory dialog template: the header, then one item per control, each DWORD-aligned.
class DialogTemplate {
 public:
  DialogTemplate(const wchar_t* title, short cx, short cy) {
    // Visible from the start: a dialog box otherwise waits for an empty message queue.
    add32(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
    add32(0);
    countAt_ = words_.size();
    words_.push_back(0);
    for (short v : {short(0), short(0), cx, cy}) words_.push_back(WORD(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the dialog class
    text(title);
    words_.push_back(8);
    text(L"MS Shell Dlg");
  }
  // Class atoms: 0x80 button, 0x81 edit, 0x84 scroll bar, 0x85 combo box.
  void item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* title = L"") {
    while (words_.size() % 2) words_.push_back(0);
    add32(WS_CHILD | WS_VISIBLE | style);
    add32(0);
    for (short v : {x, y, cx, cy}) words_.push_back(WORD(v));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    text(title);
    words_.push_back(0);  // no creation data
    ++words_[countAt_];
  }
  const DLGTEMPLATE* get() {
    words_.push_back(0);
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  void add32(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void text(const wchar_t* s) {
    for (; *s; ++s) words_.push_back(WORD(*s));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  std::size_t countAt_ = 0;
};

INT_PTR CALLBACK dialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: {
      const HWND combo = GetDlgItem(dialog, 20);
      for (const wchar_t* s : {L"First choice", L"Second choice", L"Third choice"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendMessageW(combo, CB_SETCURSEL, 0, 0);
      CheckDlgButton(dialog, 11, BST_CHECKED);
      CheckDlgButton(dialog, 12, BST_INDETERMINATE);
      CheckRadioButton(dialog, 13, 14, 13);
      SetDlgItemTextW(dialog, 21, L"Edit text");
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

INT_PTR showGalleryDialog(HWND owner) {
  DialogTemplate t(L"System dialog", 230, 150);
  t.item(0x80, BS_GROUPBOX, 6, 4, 108, 84, 10, L"Group box");
  t.item(0x80, BS_AUTOCHECKBOX | WS_TABSTOP, 12, 16, 96, 12, 11, L"Check box");
  t.item(0x80, BS_AUTO3STATE | WS_TABSTOP, 12, 32, 96, 12, 12, L"Three states");
  t.item(0x80, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 12, 48, 96, 12, 13, L"Radio one");
  t.item(0x80, BS_AUTORADIOBUTTON, 12, 64, 96, 12, 14, L"Radio two");
  t.item(0x85, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 122, 8, 100, 80, 20);
  t.item(0x81, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 122, 28, 100, 14, 21);
  t.item(0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, 122, 110, 48, 16, IDOK, L"OK");
  t.item(0x80, BS_PUSHBUTTON | WS_TABSTOP, 174, 110, 48, 16, IDCANCEL, L"Cancel");
  t.item(0x84, SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 218, 138, 12, 12, 30);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, &dialogProc, 0);
}

Form* makeGalleryForm() {
  auto* form = new Form(nullptr);
  form->setName("Gallery");
  form->setCaption("Skin gallery");
  MainMenu* menu = addGalleryMenu(form);
  form->setBounds(16, 16, 1000, 700);
  form->setClientSize(1000, 680);
  auto* images = new ImageList(form);
  images->addStrip("IMAGELIST", RGB(255, 0, 255));

  // Push buttons, bit buttons in every layout and the margin and spacing cases, speed buttons.
  caption(form, 8, 6, "Buttons, bit buttons, speed buttons");
  place<Button>(form, 8, 22, 110, 26)->setCaption("Normal");
  auto* byDefault = place<Button>(form, 8, 52, 110, 26);
  byDefault->setCaption("Default");
  byDefault->SetDefault(true);
  auto* disabled = place<Button>(form, 8, 82, 110, 26);
  disabled->setCaption("Disabled");
  disabled->setEnabled(false);
  const Image web = glyphStrip(images, {2});
  bitButton(form, web, ButtonLayout::GlyphLeft, -1, 4, 126, 22, 130, 28, "Glyph left");
  bitButton(form, web, ButtonLayout::GlyphRight, -1, 4, 126, 54, 130, 28, "Glyph right");
  bitButton(form, web, ButtonLayout::GlyphLeft, -1, -1, 126, 86, 130, 28, "Spread out");
  bitButton(form, web, ButtonLayout::GlyphLeft, 4, -1, 126, 118, 130, 28, "Margin 4");
  bitButton(form, web, ButtonLayout::GlyphTop, -1, 4, 264, 22, 96, 56, "Glyph top");
  bitButton(form, web, ButtonLayout::GlyphBottom, -1, 4, 264, 82, 96, 56, "Glyph bottom");
  // Up, disabled, pressed and down pictures.
  const Image states = glyphStrip(images, {1, 0, 5, 4});
  const char* const speedNames[] = {"Down", "Flat", "Off"};
  for (int i = 0; i < 3; ++i) {
    auto* speed = new SpeedButton(form);
    speed->setParent(form);
    speed->setBounds(8 + 38 * i, 116, 36, 32);
    speed->setGlyph(states);
    speed->SetNumGlyphs(4);
    speed->setCaption(speedNames[i]);
    speed->SetLayout(ButtonLayout::GlyphTop);
    speed->SetMargin(1);
    speed->SetSpacing(0);
    if (i == 0) {
      speed->SetGroupIndex(1);
      speed->SetDown(true);
    }
    if (i == 1) speed->SetFlat(true);
    if (i == 2) speed->setEnabled(false);
  }

  // Check boxes, radio buttons, a radio group and a group box.
  caption(form, 368, 6, "Check boxes, radio buttons");
  const struct {
    const char* text;
    CheckBoxState state;
    bool enabled, boxRight;
  } checks[] = {{"Checked", CheckBoxState::Checked, true, false},
                {"Indeterminate", CheckBoxState::Grayed, true, false},
                {"Disabled", CheckBoxState::Checked, false, false},
                {"Box on the right", CheckBoxState::Checked, true, true}};
  for (int i = 0; i < 4; ++i) {
    auto* check = place<CheckBox>(form, 368, 22 + 22 * i, 130, 20);
    check->setCaption(checks[i].text);
    check->SetAllowGrayed(true);
    check->SetState(checks[i].state);
    check->setEnabled(checks[i].enabled);
    check->SetAlignment(checks[i].boxRight ? CheckAlignment::LeftJustify : CheckAlignment::RightJustify);
  }
  auto* radioOn = place<RadioButton>(form, 368, 112, 130, 20);
  radioOn->setCaption("Radio, checked");
  radioOn->SetChecked(true);
  place<RadioButton>(form, 368, 134, 130, 20)->setCaption("Radio");
  auto* group = place<RadioGroup>(form, 264, 150, 236, 84);
  group->setCaption("Radio group");
  group->SetColumns(2);
  group->SetItems({"One", "Two", "Three", "Four"});
  group->SetItemIndex(1);
  place<GroupBox>(form, 8, 156, 248, 78)->setCaption("Group box");

  // Panels, edits and a list box with both bars.
  caption(form, 510, 6, "Panels");
  auto* panel = place<Panel>(form, 510, 22, 110, 80);
  panel->setText("Panel");
  auto* inner = place<Panel>(form, 630, 22, 110, 80);
  inner->setText("Second panel");
  caption(form, 750, 6, "Edit, memo, list box");
  auto* edit = place<Edit>(form, 750, 22, 240, 22);
  edit->setText("Edit");
  auto* list = place<WideListBox>(form, 750, 132, 240, 96);
  for (int i = 1; i <= 30; ++i)
    list->add("List item " + std::to_string(i) + " with a long text that needs the horizontal bar");
  list->setItemIndex(2);
  auto* memo = new Memo(form);
  memo->scrollBars = ScrollStyle::Both;
  memo->wordWrap = false;
  memo->setAlign(Align::None);
  memo->setParent(form);
  memo->setBounds(750, 48, 240, 80);
  std::vector<std::string> lines;
  for (int i = 1; i <= 20; ++i) lines.push_back("Memo line " + std::to_string(i) + ", long enough for the horizontal bar");
  memo->setLines(lines);

  // Combo boxes.
  caption(form, 8, 240, "Combo boxes");
  const std::vector<std::string> choices = {"First choice", "Second choice", "Third choice"};
  for (DWORD type : {DWORD(CBS_DROPDOWNLIST), DWORD(CBS_DROPDOWN), DWORD(CBS_SIMPLE)}) {
    const int y = type == CBS_DROPDOWNLIST ? 256 : type == CBS_DROPDOWN ? 284 : 312;
    auto* combo = new StyledComboBox(form, type);
    combo->setAlign(Align::None);
    combo->setParent(form);
    combo->setBounds(8, y, 150, type == CBS_SIMPLE ? 90 : 120);
    combo->setItems(choices);
    combo->setItemIndex(0);
  }

  // Progress bars: empty, a quarter, full, and Max 0.
  caption(form, 170, 240, "Progress: 0, 25 %, full, Max 0");
  const int positions[][2] = {{0, 100}, {25, 100}, {100, 100}, {0, 0}};
  for (int i = 0; i < 4; ++i) {
    auto* bar = place<ProgressBar>(form, 170, 256 + 20 * i, 220, 14);
    bar->SetMax(positions[i][1]);
    bar->SetPosition(positions[i][0]);
  }

  caption(form, 170, 340, "Header, tool bar");
  auto* header = place<Header>(form, 170, 356, 300, 22);
  header->setSections({{"Name", 120, SectionAlignment::Left},
                       {"Size", 80, SectionAlignment::Right},
                       {"Kind", 100, SectionAlignment::Centre}});
  // Three picture buttons, the middle one checked.
  auto* bar = place<ToolBar>(form, 170, 384, 300, 28);
  HWND barWindow = bar->handle();
  SendMessageW(barWindow, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(barWindow, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->handle()));
  TBBUTTON buttons[3]{};
  for (int i = 0; i < 3; ++i) {
    buttons[i].iBitmap = 2 + i;
    buttons[i].idCommand = 100 + i;
    buttons[i].fsState = TBSTATE_ENABLED | (i == 1 ? TBSTATE_CHECKED : 0);
    buttons[i].fsStyle = i == 1 ? BTNS_CHECK : BTNS_BUTTON;
    buttons[i].iString = -1;
  }
  SendMessageW(barWindow, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));

  // Tab controls with tabs on each side, and one with pictures.
  caption(form, 480, 240, "Tabs: top, bottom, left, right, pictures");
  const struct {
    TabPosition side;
    int x, y;
    bool pictures;
  } tabs[] = {{TabPosition::Top, 480, 256, false},   {TabPosition::Bottom, 650, 256, false},
              {TabPosition::Left, 820, 256, false},  {TabPosition::Right, 480, 372, false},
              {TabPosition::Top, 650, 372, true}};
  for (const auto& t : tabs) {
    auto* tab = new TabControl(form);
    tab->tabPosition = t.side;
    tab->setAlign(Align::None);
    tab->setParent(form);
    tab->setBounds(t.x, t.y, 160, 108);
    if (t.pictures) {
      tab->setImages(images);
      tab->setTabs({{"Web", 2}, {"Exit", 3}, {"None", -1}});
    } else {
      tab->setTabs({{"First"}, {"Second"}, {"Third"}});
    }
    tab->setTabIndex(1);
  }

  // The system dialog box.
  auto* opener = place<Button>(form, 830, 490, 160, 26);
  opener->setCaption("System dialog...");
  opener->onClick = NotifyEvent::fn([form](Component*) { showGalleryDialog(form->handle()); });

  // A list view with its header and both bars, a tree view, stand-alone scroll bars; below the
  // tab controls, not under them: Wine keeps asking a child that a sibling overlaps to paint.
  caption(form, 180, 472, "List view, tree view, scroll bars");
  auto* view = place<ListView>(form, 180, 490, 260, 118);
  view->setColumns({{"Name", 160}, {"Size", 90}, {"Kind", 120}});
  for (int i = 1; i <= 30; ++i) view->addItem({"Item " + std::to_string(i), std::to_string(i * 12) + " KB", "File"});
  auto* tree = place<TreeView>(form, 450, 490, 180, 118);
  tree->handle();  // nodes go straight into the window
  for (int i = 1; i <= 3; ++i) {
    HTREEITEM node = tree->addItem(nullptr, "Node " + std::to_string(i));
    for (int j = 1; j <= 4; ++j) tree->addItem(node, "Leaf " + std::to_string(i) + "." + std::to_string(j));
    tree->expand(node);
  }
  auto* across = place<ScrollBar>(form, 640, 490, 150, 17);
  across->kind = ScrollBarKind::Horizontal;
  across->SetPageSize(20);
  across->SetParams(30, 0, 100);
  auto* down = new ScrollBar(form);
  down->kind = ScrollBarKind::Vertical;
  down->setAlign(Align::None);
  down->setParent(form);
  down->setBounds(800, 490, 17, 118);
  down->SetParams(70, 0, 100);

  // Status bars, one with panels and one with a simple text, and a size grip above them.
  place<SizeGrip>(form, 982, 614, 18, 18);
  auto* status = place<StatusBar>(form, 0, 634, 1000, 22);
  status->setPanels({{160, "Lowered panel", StatusBar::Bevel::Lowered, StatusBar::Alignment::Left},
                     {160, "Raised panel", StatusBar::Bevel::Raised, StatusBar::Alignment::Centre},
                     {160, "No bevel", StatusBar::Bevel::None, StatusBar::Alignment::Right},
                     {160, "", StatusBar::Bevel::Lowered, StatusBar::Alignment::Left}});
  auto* simple = place<StatusBar>(form, 0, 658, 1000, 22);
  simple->SetSimplePanel(true);
  simple->SetSimpleText("A status bar with a simple text");

  form->handle();
  // Again now that the window has its menu bar.
  form->setClientSize(1000, 680);
  // The last bar item's menu reads right to left (the skin keeps the same menu handles).
  if (HMENU bar = menu->handle()) {
    if (HMENU rtl = GetSubMenu(bar, GetMenuItemCount(bar) - 1)) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(rtl, 0, TRUE, &info);
      info.fType |= MFT_RIGHTORDER;
      SetMenuItemInfoW(rtl, 0, TRUE, &info);
    }
  }
  return form;
}

}  // namespace vrin
