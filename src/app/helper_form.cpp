#include "app/helper_form.h"

#include <shellapi.h>

#include <utility>

#include "app/product.h"
#include "app/registration.h"
#include "menus/tray_menu_settings.h"
#include "ui/application.h"

namespace vrin {

HelperForm* HelperFormInstance = nullptr;

const ClassInfo& HelperForm::staticClassInfo() {
  static const ClassInfo info{kFormClass, &Form::staticClassInfo(), {}};
  return info;
}

HelperForm::HelperForm(Component* owner) : Form(owner) {
  HelperFormInstance = this;
  showHistoryMessage_ = RegisterWindowMessageA(kShowHistoryMessage);
  define();
}

HelperForm::~HelperForm() {
  if (HelperFormInstance == this) HelperFormInstance = nullptr;
}

MenuItem* HelperForm::addItem(MenuItem& parent, const char* name, const std::string& caption, int image) {
  auto* item = new MenuItem(this);
  item->beginLoading();
  if (name) item->setName(name);
  item->setCaption(caption);
  item->setImageIndex(image);
  parent.add(item);
  return item;
}

// The window's definition, applied in order: every component is created and given its
// settings, then each completes its loading in the same order, then FormCreate runs.
void HelperForm::define() {
  beginLoading();
  setName("HelperForm");
  setCaption(kAppTitle);
  borderStyle = BorderStyle::ToolWindow;
  formStyle = FormStyle::StayOnTop;
  position = Position::ScreenCenter;
  setBounds(381, 281, 0, 0);
  setClientSize(495, 272);
  setColor(clBtnFace);
  setFont(FontSpec{"MS Sans Serif", -11, clWindowText, 0, DEFAULT_CHARSET, 0});
  icon().loadFromResource("MAINICON", 32);
  onCreate = NotifyEvent::of<&HelperForm::FormCreate>(this);
  onClose = CloseEvent::of<&HelperForm::FormClose>(this);

  Panel1 = new Panel(this);
  Panel1->setName("Panel1");
  Panel1->setParent(this);
  Panel1->setBounds(0, 0, 495, 33);
  Panel1->setAlign(Align::Top);

  Label1 = new Label(this);
  Label1->setName("Label1");
  Label1->setParent(Panel1);
  Label1->setBounds(16, 8, 158, 13);
  Label1->setCaption("Key ShortCut to Clear: [CTRL] + ");

  touche = new ComboBox(this);
  touche->setName("touche");
  touche->setParent(Panel1);
  touche->setBounds(176, 4, 41, 21);
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  touche->setItems(letters);
  touche->setItemIndex(5);
  touche->setHint("Press this shortcut to close all Internet explorer instances\n"
                  "and clear all traces of your navigation !");

  ListBox1 = new ListBox(this);
  ListBox1->setName("ListBox1");
  ListBox1->setParent(this);
  ListBox1->setBounds(0, 33, 495, 220);
  ListBox1->setAlign(Align::Client);
  ListBox1->itemHeight = 13;

  StatusBar1 = new StatusBar(this);
  StatusBar1->setName("StatusBar1");
  StatusBar1->setParent(this);
  StatusBar1->setBounds(0, 253, 495, 19);
  StatusBar1->setPanels({{50, "Killed popups:0"}});

  ImageList1 = new ImageList(this, 16, 16);
  ImageList1->setName("ImageList1");
  ImageList1->addStrip("IMAGELIST", RGB(255, 0, 255));

  SideBarPopupMenu1 = new SideBarPopupMenu(this);
  SideBarPopupMenu1->beginLoading();
  SideBarPopupMenu1->setName("SideBarPopupMenu1");
  applyTrayMenuSettings(*SideBarPopupMenu1, ImageList1, kWebSiteName);
  MenuItem& tray = SideBarPopupMenu1->items();
  submenu2 = addItem(tray, "submenu2", "Show &History", 4);
  submenu2->onClick = NotifyEvent::of<&HelperForm::submenu2Click>(this);
  Clear1 = addItem(tray, "Clear1", "&Clear traces now !", 5);
  Clear1->onClick = NotifyEvent::of<&HelperForm::Clear1Click>(this);
  submenu1 = addItem(tray, "submenu1", "&Desactivate Vrin ", 0);
  submenu1->onClick = NotifyEvent::of<&HelperForm::submenu1Click>(this);
  N1 = addItem(tray, nullptr, "", -1);
  Beep1 = addItem(tray, "Beep1", "Beep on killed popup", -1);
  Beep1->setChecked(true);
  Beep1->onClick = NotifyEvent::of<&HelperForm::Beep1Click>(this);
  Clearoptions1 = addItem(tray, "Clearoptions1", "Clear options", 6);
  option1 = addItem(*Clearoptions1, "option1", "Clear cache", -1);
  option2 = addItem(*Clearoptions1, "option2", "Delete cookies", -1);
  option3 = addItem(*Clearoptions1, "option3", "Clear history", -1);
  option4 = addItem(*Clearoptions1, "option4", "Clear viewed documents", -1);
  option6 = addItem(*Clearoptions1, "option6", "Clear media viewed files", -1);
  option5 = addItem(*Clearoptions1, "option5", "Automatic clear at windows session", -1);
  // Every option toggles on click, the media list's included: otherwise it could never be chosen.
  for (MenuItem* o : {option1, option2, option3, option4, option6, option5}) o->setAutoCheck(true);
  submenu3 = addItem(tray, "submenu3", kWebSiteCaption, 2);
  submenu3->onClick = NotifyEvent::of<&HelperForm::submenu3Click>(this);
  submenu4 = addItem(tray, "submenu4", "E&xit", 3);
  submenu4->onClick = NotifyEvent::of<&HelperForm::submenu4Click>(this);

  PopupMenu1 = new PopupMenu(this);
  PopupMenu1->beginLoading();
  PopupMenu1->setName("PopupMenu1");
  MenuItem& context = PopupMenu1->items();
  Gotothislink1 = addItem(context, "Gotothislink1", "Go to this link", -1);
  Gotothislink1->onClick = NotifyEvent::of<&HelperForm::Gotothislink1Click>(this);
  Clearall1 = addItem(context, "Clearall1", "Clear all", -1);
  Clearall1->onClick = NotifyEvent::of<&HelperForm::Clearall1Click>(this);
  HideVrin1 = addItem(context, "HideVrin1", "Hide Vrin", -1);
  HideVrin1->onClick = NotifyEvent::of<&HelperForm::HideVrin1Click>(this);
  PopupMenu1->onPopup = NotifyEvent::of<&HelperForm::PopupMenu1Popup>(this);
  ListBox1->setPopupMenu(PopupMenu1);
  ListBox1->onDblClick = NotifyEvent::of<&HelperForm::ListBox1DblClick>(this);

  BrowserCache1 = new BrowserCache(this);
  BrowserCache1->setName("BrowserCache1");
  BrowserCache1->setFilterOptions(filterBit(FilterOption::NORMAL_ENTRY) | filterBit(FilterOption::STICKY_ENTRY) |
                                  filterBit(FilterOption::COOKIE_ENTRY) | filterBit(FilterOption::URLHISTORY_ENTRY) |
                                  filterBit(FilterOption::TRACK_OFFLINE_ENTRY) |
                                  filterBit(FilterOption::TRACK_ONLINE_ENTRY));
  BrowserCache1->setSearchPattern(SearchPattern::spAll);
  BrowserHistory1 = new BrowserHistory(this);
  BrowserHistory1->setName("BrowserHistory1");
  BrowserHistory1->setSortField(SortFieldOption::sfTitle);
  BrowserHistory1->setSearchField(SearchFieldOption::seBoth);
  BrowserHistory1->setSortDirection(SortDirectionOption::sdAscending);

  HotKey1 = new HotKey(this);
  HotKey1->setName("HotKey1");
  HotKey1->SetKey(0);
  HotKey1->onHotKey = NotifyEvent::of<&HelperForm::HotKey1HotKey>(this);

  PlaceTray1 = new TrayIcon(this);
  PlaceTray1->beginLoading();
  PlaceTray1->setName("PlaceTray1");
  PlaceTray1->SetIconList(ImageList1);
  PlaceTray1->SetCycleInterval(0);
  PlaceTray1->SetHint(kAppTitle);
  PlaceTray1->SetShowHint(true);
  PlaceTray1->SetIconIndex(0);
  PlaceTray1->setPopupMenu(SideBarPopupMenu1);
  PlaceTray1->setStartMinimized(true);
  PlaceTray1->setMinimizeToTray(true);
  PlaceTray1->onClick = NotifyEvent::of<&HelperForm::PlaceTray1Click>(this);

  pop = new BalloonHint(this);
  pop->beginLoading();
  pop->setName("pop");
  pop->setCustomAnimationTime(300);
  pop->setDefaultHeader("Vrin killed popup");
  pop->setOptions({boShowCloseBtn, boCustomAnimation});

  // The skin is stored in the program; it is decoded as its stream is read.
  SkinData1 = new SkinData(this);
  SkinData1->beginLoading();
  SkinData1->setName("SkinData1");
  SkinData1->SetActive(true);
  SkinData1->SetDisableTag(99);
  SkinData1->SetSkinControls(kAllSkinControls);
  SkinData1->SetSkinFormtype(sfMainform);
  SkinData1->ReadSkinStream(skinStreamResource("VRINSKIN"));

  ComponentState1 = new ComponentState(this);
  ComponentState1->setName("ComponentState1");
  RegistryStore1 = new RegistryStore(this);
  RegistryStore1->setName("RegistryStore1");
  RegistryStore1->setKeyName("Vrin");
  ComponentState1->setSection("TForm1");
  ComponentState1->setStorage(RegistryStore1);
  ComponentState1->setStoredProperties({"touche.ItemIndex", "option1.Checked", "option2.Checked", "option3.Checked",
                                        "option4.Checked", "option5.Checked", "option6.Checked", "Beep1.Checked",
                                        "PlaceTray1.IconIndex"});

  handle();  // the window and its controls exist before the components complete loading
  for (Component* c : components()) c->beginLoading();
  for (Component* c : std::vector<Component*>(components())) c->endLoading();
  endLoading();
  doCreate();
}

// ---- Handlers

void HelperForm::FormCreate(Component*) {
  // 1. Folders.
  SystemFolder = systemFolder();
  CurrentFolder = currentFolder();

  // 2. The start balloon, whether blocking is on or off.
  ShowAlert("Vrin is active. All popup windows will be removed automatically!");

  // 3. The user's choices, before anything below reads them.
  ComponentState1->restoreState();

  // 4. Register the browser helper.
  if (!fileExists(SystemFolder + kRegisterProgram)) throw Error("Cannot Register DLL !");
  std::string folder = helperFolder(SystemFolder, CurrentFolder);
  if (!folder.empty()) startProgram(registerCommandLine(SystemFolder, folder, false));

  // 5. Failures here end the block silently, as start-up must go on.
  try {
    ApplyBlockingState();
    if (option5->checked()) Clear1Click(this);
    // Without a letter the text converts to no key at all.
    HotKey1->SetKey(TextToShortCut("Ctrl+" + touche->selectedText()));
  } catch (...) {
  }
}

CleanOptions HelperForm::CleanChoices() const {
  CleanOptions o;
  o.cache = option1->checked();
  o.cookies = option2->checked();
  o.history = option3->checked();
  o.recentDocuments = option4->checked();
  o.automatic = option5->checked();
  o.mediaList = option6->checked();
  return o;
}

void HelperForm::Clear1Click(Component*) { TraceCleaner::run(CleanChoices()); }

void HelperForm::HotKey1HotKey(Component*) { TraceCleaner::panic(CleanChoices()); }

POINT HelperForm::BalloonAnchor() {
  return POINT{GetSystemMetrics(SM_CXSCREEN) - left() - 100, GetSystemMetrics(SM_CYSCREEN) - top() - 50};
}

void HelperForm::QueueAlert(const std::string& text) {
  pendingAlert_ = text;
  if (!alertPosted_) alertPosted_ = PostMessageW(handle(), kShowPendingAlert, 0, 0);
  if (!alertPosted_) ShowAlert(std::exchange(pendingAlert_, std::string()));
}

void HelperForm::ShowAlert(const std::string& text) {
  pop->ShowBalloon(this, BalloonAnchor(), "Vrin alert", text, 2000, ikInformation, -1);
}

void HelperForm::FormClose(Component*, CloseAction& action) {
  // Closing only hides the window; the program lives on in the tray.
  action = CloseAction::None;
  hide();
}

void HelperForm::submenu2Click(Component*) {
  show();
  ListBox1->setVisible(true);
}

void HelperForm::PlaceTray1Click(Component*) { show(); }

void HelperForm::HideVrin1Click(Component*) { close(); }

void HelperForm::submenu3Click(Component*) {
  int remembered = submenu1->imageIndex();
  submenu1->setImageIndex(1);
  ShellExecuteA(handle(), "open", kWebSiteAddress, nullptr, nullptr, SW_SHOW);
  submenu1->setImageIndex(remembered);
}

void HelperForm::submenu4Click(Component*) {
  try {
    std::string system = systemFolder();
    std::string current = currentFolder();
    if (!fileExists(system + kRegisterProgram)) throw Error("Cannot UnRegister DLL !");
    std::string folder = helperFolder(system, current);
    if (!folder.empty()) startProgram(registerCommandLine(system, folder, true));
    application().terminate();
  } catch (...) {
    // A failed Exit is absorbed on purpose: the window hides and the program stays.
    close();
  }
}

LRESULT HelperForm::windowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KILLEDPOPUP) {
    KilledPopup(lp);
    return DefWindowProcW(handle(), msg, wp, lp);
  }
  if (msg == kShowPendingAlert) {
    alertPosted_ = false;
    if (!pendingAlert_.empty()) ShowAlert(std::exchange(pendingAlert_, std::string()));
    return 0;
  }
  if (msg == showHistoryMessage_ && showHistoryMessage_) {
    submenu2Click(this);
    return 0;
  }
  return Form::windowProc(msg, wp, lp);
}

}  // namespace vrin
