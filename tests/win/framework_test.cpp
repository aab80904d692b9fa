// The framework against the real window system: registry errors, the confirmation dialog,
// menus (rebuild, owner-draw routing), forms and their close protocol, the window-hook registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/graphics.h"
#include "ui/imagelist.h"
#include "ui/menus.h"
#include "ui/registry.h"
#include "ui/stdctrls.h"
#include "ui/window_hooks.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::runSoon;

namespace {

const char kTestKey[] = "Software\\VrinFrameworkTest";

std::string errorText(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

std::wstring windowText(HWND h) {
  wchar_t buf[256] = {};
  GetWindowTextW(h, buf, 256);
  return buf;
}

}  // namespace

TEST(RegistryAccessor, WritesReadsListsAndDeletes) {
  Registry reg;
  reg.deleteKey(std::string("\\") + kTestKey);
  ASSERT_TRUE(reg.openKey(std::string(kTestKey) + "\\Sub", true));
  reg.writeString("Beep1.Checked", "True");
  reg.writeString("Accent", "clé");
  EXPECT_TRUE(reg.valueExists("Beep1.Checked"));
  EXPECT_EQ(reg.readString("Beep1.Checked"), "True");
  EXPECT_EQ(reg.readString("Accent"), "clé");
  EXPECT_EQ(reg.readString("Missing"), "");
  auto names = reg.valueNames();
  EXPECT_EQ(names.size(), 2u);
  EXPECT_TRUE(reg.deleteValue("Accent"));
  EXPECT_FALSE(reg.valueExists("Accent"));
  reg.closeKey();
  EXPECT_TRUE(reg.keyExists(std::string(kTestKey) + "\\Sub"));
  EXPECT_TRUE(reg.deleteKey(kTestKey));
  EXPECT_FALSE(reg.keyExists(kTestKey));
}

TEST(RegistryAccessor, RaisesTheFrameworkErrorsWithTheirExactTexts) {
  Registry reg;
  ASSERT_TRUE(reg.openKey(kTestKey, true));
  DWORD number = 5;
  RegSetValueExW(reg.currentKey(), L"touche.ItemIndex", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
  EXPECT_EQ(errorText([&] { reg.readString("touche.ItemIndex"); }),
            "Type de données incorrect pour 'touche.ItemIndex'");
  reg.closeKey();

  // A key opened for reading only refuses the write.
  ASSERT_TRUE(reg.openKeyReadOnly(kTestKey));
  EXPECT_EQ(errorText([&] { reg.writeString("option1.Checked", "True"); }),
            "Echec à la définition des données pour 'option1.Checked'");
  reg.closeKey();

  // A name longer than the registry allows cannot be created.
  std::string tooLong = std::string(kTestKey) + "\\" + std::string(300, 'k');
  EXPECT_EQ(errorText([&] { reg.createKey(tooLong); }), "Echec à la création de la clé " + tooLong);
  reg.deleteKey(kTestKey);
}

TEST(ConfirmationDialog, ShowsItsTextsAndReturnsTheAnswer) {
  std::wstring caption, yes, no, text;
  bool yesIsDefault = false;
  runSoon([&] {
    HWND dlg = FindWindowW(L"TMessageForm", nullptr);
    ASSERT_NE(dlg, nullptr);
    caption = windowText(dlg);
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      int id = GetDlgCtrlID(c);
      if (id == IDYES) {
        yes = windowText(c);
        yesIsDefault = (GetWindowLongW(c, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
      } else if (id == IDNO) {
        no = windowText(c);
      } else if (windowText(c).size() > 1) {
        text = windowText(c);
      }
    }
    SendMessageW(GetDlgItem(dlg, IDNO), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(confirm("Do you want to continue ?"), mrNo);
  EXPECT_EQ(caption, L"Confirmation");
  EXPECT_EQ(yes, L"&Oui");
  EXPECT_EQ(no, L"&Non");
  EXPECT_TRUE(yesIsDefault);
  EXPECT_EQ(text, L"Do you want to continue ?");
  EXPECT_EQ(FindWindowW(L"TMessageForm", nullptr), nullptr);

  runSoon([] { SendMessageW(GetDlgItem(FindWindowW(L"TMessageForm", nullptr), IDYES), BM_CLICK, 0, 0); });
  EXPECT_EQ(confirm("again"), mrYes);
  // Enter takes the default button.
  runSoon([] {
    HWND dlg = FindWindowW(L"TMessageForm", nullptr);
    SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  });
  EXPECT_EQ(confirm("third"), mrYes);
}

namespace {

struct MenuProbe : Component {
  explicit MenuProbe() : Component(nullptr) {}
  std::vector<std::string> calls;
  void measure(Component*, Canvas&, int& w, int& h) {
    calls.push_back("measure " + std::to_string(w) + "x" + std::to_string(h));
    w += 33;
  }
  void draw(Component*, Canvas& c, const RECT& r, bool selected) {
    calls.push_back(std::string("draw") + (selected ? " selected" : ""));
    c.brushColor = 0x0000FF;  // red, as a plain colour
    c.fillRect(r);
  }
  void advanced(Component*, Canvas&, const RECT&, UINT state) {
    calls.push_back("advanced " + std::to_string(state & ODS_SELECTED));
  }
  void click(Component*) { calls.push_back("click"); }
};

std::wstring menuText(HMENU m, int pos) {
  wchar_t buf[128] = {};
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_STRING;
  mii.dwTypeData = buf;
  mii.cch = 128;
  GetMenuItemInfoW(m, UINT(pos), TRUE, &mii);
  return buf;
}

}  // namespace

TEST(Menus, ChangesRebuildTheNativeMenu) {
  Component owner(nullptr);
  auto* menu = new PopupMenu(&owner);
  auto* a = new MenuItem(&owner);
  a->setCaption("&Enable Vrin");
  auto* sep = new MenuItem(&owner);
  sep->setCaption("-");
  auto* b = new MenuItem(&owner);
  b->setCaption("E&xit");
  menu->items().add(a);
  menu->items().add(sep);
  menu->items().add(b);
  HMENU h = menu->handle();
  ASSERT_EQ(GetMenuItemCount(h), 3);
  EXPECT_EQ(menuText(h, 0), L"&Enable Vrin");

  a->setCaption("&Disable Vrin");
  b->setVisible(false);
  h = menu->handle();
  EXPECT_EQ(GetMenuItemCount(h), 2);
  EXPECT_EQ(menuText(h, 0), L"&Disable Vrin");
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(h, 1, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_SEPARATOR);

  a->setChecked(true);
  EXPECT_TRUE(GetMenuState(menu->handle(), a->command(), MF_BYCOMMAND) & MF_CHECKED);

  // Freeing an item takes it out of its parent and of the native menu.
  delete a;
  EXPECT_EQ(menu->items().count(), 2);
  EXPECT_EQ(GetMenuItemCount(menu->handle()), 1);
}

TEST(Menus, OwnerDrawMessagesReachTheItemHandlers) {
  Component owner(nullptr);
  MenuProbe probe;
  auto* images = new ImageList(&owner, 16, 16);
  auto* menu = new PopupMenu(&owner);
  menu->setImages(images);
  menu->setOwnerDraw(true);
  auto* item = new MenuItem(&owner);
  item->setCaption("Show &History");
  item->onMeasureItem = MenuMeasureEvent::of<&MenuProbe::measure>(&probe);
  item->onDrawItem = MenuDrawEvent::of<&MenuProbe::draw>(&probe);
  item->onAdvancedDrawItem = MenuAdvancedDrawEvent::of<&MenuProbe::advanced>(&probe);
  item->onClick = NotifyEvent::of<&MenuProbe::click>(&probe);
  menu->items().add(item);
  HMENU h = menu->handle();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_DATA;
  GetMenuItemInfoW(h, 0, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);

  HWND window = PopupMenu::ownerWindow();
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = item->command();
  mis.itemData = mii.dwItemData;
  SendMessageW(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  // Host default: image 16 + 15, height 16 + 3, then 7 + the text width; the handler adds 33.
  ASSERT_EQ(probe.calls.size(), 1u);
  EXPECT_EQ(probe.calls[0].rfind("measure ", 0), 0u);
  EXPECT_EQ(mis.itemHeight, 19u);
  EXPECT_GT(mis.itemWidth, 16u + 15 + 7 + 33);

  Bitmap target(60, 19);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = item->command();
  dis.itemState = ODS_SELECTED;
  dis.hDC = target.dc();
  dis.rcItem = RECT{0, 0, 60, 19};
  dis.itemData = mii.dwItemData;
  SendMessageW(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  ASSERT_EQ(probe.calls.size(), 3u);
  EXPECT_EQ(probe.calls[1], "draw selected");
  EXPECT_EQ(probe.calls[2], "advanced " + std::to_string(ODS_SELECTED));
  GdiFlush();
  EXPECT_EQ(target.pixels()[5 * 60 + 30] & 0xFFFFFF, 0xFF0000u);  // red as 0x00RRGGBB

  // A command id reaches the item's click; a stale item pointer is never followed.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(item->command(), 0), 0);
  EXPECT_EQ(probe.calls.back(), "click");
  UINT stale = item->command();
  delete item;
  dis.itemData = reinterpret_cast<ULONG_PTR>(item);
  EXPECT_FALSE(Menu::drawMenuItem(dis));
  EXPECT_FALSE(MenuItem::dispatchCommand(stale));
}

// An item whose drawing fails: the menu paints on, nothing is reported (a report would
// open a box inside the menu's modal loop), and the DC is left as it was found.
TEST(Menus, PaintingErrorsAreAbsorbedWithoutAReport) {
  static int reports;
  reports = 0;
  ExceptionReporter saved = exceptionReporter();
  exceptionReporter() = [](std::exception_ptr) { ++reports; };
  Component owner(nullptr);
  auto* menu = new PopupMenu(&owner);
  menu->setOwnerDraw(true);
  auto* item = new MenuItem(&owner);
  item->setCaption("Broken");
  item->onDrawItem = MenuDrawEvent::fn([](Component*, Canvas&, const RECT&, bool) { throw Error("no paint"); });
  menu->items().add(item);
  menu->handle();

  Bitmap target(40, 16);
  HGDIOBJ fontBefore = GetCurrentObject(target.dc(), OBJ_FONT);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.itemID = item->command();
  dis.hDC = target.dc();
  dis.rcItem = RECT{0, 0, 40, 16};
  dis.itemData = reinterpret_cast<ULONG_PTR>(item);
  EXPECT_EQ(SendMessageW(PopupMenu::ownerWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(GetCurrentObject(target.dc(), OBJ_FONT), fontBefore);
  exceptionReporter() = saved;
}

namespace {

// Watches this program's calls of DeleteObject, through its import entry, for a font
// deleted while it is selected in one DC.
class DeleteObjectSpy {
 public:
  explicit DeleteObjectSpy(HDC dc) {
    watched_ = dc;
    deletedWhileSelected_ = 0;
    real_ = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "DeleteObject")));
    slot_ = importSlot(reinterpret_cast<void*>(real_));
    if (slot_) write(reinterpret_cast<void*>(&hook));
  }
  ~DeleteObjectSpy() {
    if (slot_) write(reinterpret_cast<void*>(real_));
  }
  DeleteObjectSpy(const DeleteObjectSpy&) = delete;
  DeleteObjectSpy& operator=(const DeleteObjectSpy&) = delete;
  bool active() const { return slot_ != nullptr; }
  static int deletedWhileSelected() { return deletedWhileSelected_; }

 private:
  using Fn = BOOL(WINAPI*)(HGDIOBJ);
  static BOOL WINAPI hook(HGDIOBJ object) {
    if (object && GetCurrentObject(watched_, OBJ_FONT) == object) ++deletedWhileSelected_;
    return real_(object);
  }
  static void** importSlot(void* target) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d)
      for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t)
        if (reinterpret_cast<void*>(t->u1.Function) == target) return reinterpret_cast<void**>(&t->u1.Function);
    return nullptr;
  }
  void write(void* value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), old, &old);
  }
  static inline HDC watched_ = nullptr;
  static inline Fn real_ = nullptr;
  static inline int deletedWhileSelected_ = 0;
  void** slot_ = nullptr;
};

}  // namespace

TEST(Canvas, AFontIsKeptForAColourChangeAndNeverDeletedWhileSelected) {
  MemoryDC dc;
  DeleteObjectSpy spy(dc.get());
  ASSERT_TRUE(spy.active());
  HGDIOBJ stock = GetCurrentObject(dc.get(), OBJ_FONT);
  HFONT first = nullptr;
  {
    Canvas canvas(dc.get());
    canvas.font.assign(FontSpec{"Tahoma", -11, clBlack});
    canvas.apply();
    first = static_cast<HFONT>(GetCurrentObject(dc.get(), OBJ_FONT));
    EXPECT_EQ(first, canvas.font.handle());

    FontSpec f = canvas.font.desc();
    f.color = clWhite;
    canvas.font.assign(f);  // the colour is no part of the GDI font
    EXPECT_EQ(canvas.font.handle(), first);
    canvas.apply();
    EXPECT_EQ(GetTextColor(dc.get()), RGB(255, 255, 255));

    f.height = -15;
    canvas.font.assign(f);  // a new font; the old stays while selected
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), first);
    EXPECT_EQ(GetObjectType(first), DWORD(OBJ_FONT));
    canvas.apply();
    EXPECT_NE(GetCurrentObject(dc.get(), OBJ_FONT), first);
    EXPECT_EQ(GetObjectType(first), 0u);  // released once replaced, not leaked
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), stock);
  EXPECT_EQ(DeleteObjectSpy::deletedWhileSelected(), 0);
}

TEST(Menus, AutoCheckAndRadioGroups) {
  Component owner(nullptr);
  auto* menu = new PopupMenu(&owner);
  auto* a = new MenuItem(&owner);
  auto* b = new MenuItem(&owner);
  a->setRadioItem(true);
  b->setRadioItem(true);
  menu->items().add(a);
  menu->items().add(b);
  a->setChecked(true);
  b->setChecked(true);
  EXPECT_FALSE(a->checked());
  auto* c = new MenuItem(&owner);
  c->setAutoCheck(true);
  menu->items().add(c);
  c->click();
  EXPECT_TRUE(c->checked());
  c->setEnabled(false);
  c->click();
  EXPECT_TRUE(c->checked());
}

namespace {
struct FormProbe {
  int closeQueries = 0;
  bool allow = true;
  CloseAction action = CloseAction::Hide;
  void query(Component*, bool& can) {
    ++closeQueries;
    can = allow;
  }
  void onClose(Component*, CloseAction& a) { a = action; }
};
}  // namespace

TEST(Forms, CloseAsksFirstThenDoesWhatOnCloseSays) {
  Form form(nullptr);
  form.setCaption("Probe");
  form.borderStyle = BorderStyle::ToolWindow;
  form.formStyle = FormStyle::StayOnTop;
  form.setClientSize(495, 272);
  FormProbe probe;
  form.onCloseQuery = CloseQueryEvent::of<&FormProbe::query>(&probe);
  form.onClose = CloseEvent::of<&FormProbe::onClose>(&probe);
  HWND h = form.handle();
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 495);
  EXPECT_EQ(client.bottom, 272);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  EXPECT_STREQ(cls, L"TForm");

  form.show();
  EXPECT_TRUE(IsWindowVisible(h));
  probe.allow = false;
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(probe.closeQueries, 1);
  EXPECT_TRUE(IsWindowVisible(h));
  probe.allow = true;
  probe.action = CloseAction::None;
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(h));
  probe.action = CloseAction::Hide;
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_EQ(probe.closeQueries, 3);
}

TEST(Controls, AlignmentFillsTheClientAreaInOrder) {
  Form form(nullptr);
  form.setClientSize(495, 272);
  auto* top = new Panel(&form);
  top->setParent(&form);
  top->setBounds(0, 0, 10, 33);
  top->setAlign(Align::Top);
  auto* list = new ListBox(&form);
  list->setParent(&form);
  list->setAlign(Align::Client);
  auto* status = new StatusBar(&form);
  status->setParent(&form);
  status->setBounds(0, 0, 10, 19);
  status->setPanels({{50, "Killed popups:0"}});
  form.handle();
  EXPECT_EQ(top->width(), 495);
  EXPECT_EQ(list->top(), 33);
  EXPECT_EQ(list->height(), 272 - 33 - 19);
  EXPECT_EQ(status->top(), 253);
  EXPECT_EQ(status->panelText(0), "Killed popups:0");

  list->add("http://a.example/");
  list->add("http://a.example/");
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemIndex(), -1);
  list->setItemIndex(1);
  EXPECT_EQ(list->item(1), "http://a.example/");
  EXPECT_THROW(list->item(2), Error);
  list->clear();
  EXPECT_EQ(list->count(), 0);

  auto* combo = new ComboBox(&form);
  combo->setParent(top);
  combo->setItems({"A", "B", "C"});
  combo->setItemIndex(1);
  EXPECT_EQ(combo->selectedText(), "B");
  combo->setItemIndex(26);
  EXPECT_EQ(combo->itemIndex(), -1);
  EXPECT_EQ(combo->selectedText(), "");
}

// A child asked for its window before its form has one: making the form makes the child's
// window, and the child must not make a second one beside it that nobody paints.
TEST(Controls, AChildAskedFirstGetsOneWindow) {
  Form form(nullptr);
  auto* list = new ListBox(&form);
  list->setParent(&form);
  EXPECT_FALSE(form.handleAllocated());
  HWND own = list->handle();
  int windows = 0;
  for (HWND w = GetWindow(form.handle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++windows;
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(WinControl::fromHandle(GetWindow(form.handle(), GW_CHILD)), list);
  EXPECT_EQ(GetWindow(form.handle(), GW_CHILD), own);
}

// ---- Device-context holders

TEST(DcHolders, BufferedPaintTouchesOnlyItsAreaAndSavedStateComesBack) {
  Bitmap target(40, 30);
  ASSERT_FALSE(target.empty());
  HDC dc = target.dc();
  RECT all{0, 0, 40, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  {
    BufferedPaint buffer(dc, RECT{10, 5, 30, 25});
    ASSERT_TRUE(buffer.buffered());
    // Painted in the target's coordinates, wider than the area: only the area arrives.
    RECT wide{0, 0, 40, 30};
    FillRect(buffer.get(), &wide, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 15, 10), RGB(255, 255, 255));  // nothing reaches the target before the end
  }
  EXPECT_EQ(GetPixel(dc, 10, 5), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 29, 24), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 9, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 30, 24), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 15, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 15, 25), RGB(255, 255, 255));

  // An empty area paints straight onto the target.
  EXPECT_EQ(BufferedPaint(dc, RECT{5, 5, 5, 9}).get(), dc);

  const COLORREF before = GetTextColor(dc);
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  {
    SavedDC saved(dc);
    SetTextColor(dc, RGB(1, 2, 3));
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
  }
  EXPECT_EQ(GetTextColor(dc), before);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
}

// ---- The hook registry

namespace {
struct Trace {
  std::vector<std::string> calls;
  LRESULT afterSaw = -1;
};
bool first(void* t, HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_APP) static_cast<Trace*>(t)->calls.push_back("first");
  return false;
}
bool consume(void* t, HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_APP + 1) return false;
  static_cast<Trace*>(t)->calls.push_back("consume");
  result = 42;
  return true;
}
bool after(void* t, HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg == WM_APP || msg == WM_APP + 1) {
    static_cast<Trace*>(t)->calls.push_back("after");
    static_cast<Trace*>(t)->afterSaw = result;
  }
  return false;
}
}  // namespace

TEST(WndProcHookRegistry, RunsBeforeAndAfterListsAndUnhooksInAnyOrder) {
  Form form(nullptr);
  HWND h = form.handle();
  WndProcHook& hooks = WndProcHook::instance();
  Trace t;
  EXPECT_FALSE(hooks.RegisterWndProcHook(h, HookPhase::Before, nullptr, &t));
  EXPECT_FALSE(hooks.RegisterWndProcHook(HWND(nullptr), HookPhase::Before, &first, &t));
  ASSERT_TRUE(hooks.RegisterWndProcHook(h, HookPhase::Before, &first, &t));
  ASSERT_TRUE(hooks.RegisterWndProcHook(h, HookPhase::Before, &consume, &t));
  ASSERT_TRUE(hooks.RegisterWndProcHook(h, HookPhase::After, &after, &t));
  // Another hook of the framework on the same window, installed after ours.
  int outerSeen = 0;
  WindowHook outer;
  outer.install(h, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_APP) ++outerSeen;
    return false;
  });

  SendMessageW(h, WM_APP, 0, 0);
  EXPECT_EQ(t.calls, (std::vector<std::string>{"first", "after"}));
  EXPECT_EQ(t.afterSaw, 0);  // the window's own answer
  t.calls.clear();
  EXPECT_EQ(SendMessageW(h, WM_APP + 1, 0, 0), 42);
  EXPECT_EQ(t.calls, (std::vector<std::string>{"consume"}));  // ends everything, the after list too

  // Ours come off first, while the later hook stays: it still sees its messages.
  EXPECT_TRUE(hooks.UnregisterWndProcHook(h, HookPhase::Before, &consume, &t));
  EXPECT_FALSE(hooks.UnregisterWndProcHook(h, HookPhase::Before, &consume, &t));
  EXPECT_TRUE(hooks.UnregisterWndProcHook(h, HookPhase::Before, &first, &t));
  EXPECT_TRUE(hooks.hooked(h));
  EXPECT_TRUE(hooks.UnregisterWndProcHook(h, HookPhase::After, &after, &t));
  EXPECT_FALSE(hooks.hooked(h));
  t.calls.clear();
  SendMessageW(h, WM_APP, 0, 0);
  EXPECT_TRUE(t.calls.empty());
  EXPECT_EQ(outerSeen, 2);

  // A destroyed window takes its record with it.
  auto* doomed = new Form(nullptr);
  HWND d = doomed->handle();
  ASSERT_TRUE(hooks.RegisterWndProcHook(d, HookPhase::Before, &first, &t));
  ASSERT_TRUE(hooks.RegisterWndProcHook(d, HookPhase::After, &after, &t));
  EXPECT_EQ(hooks.handlerCount(d), 2);
  delete doomed;
  EXPECT_FALSE(hooks.hooked(d));
  EXPECT_EQ(hooks.handlerCount(d), 0);
}
