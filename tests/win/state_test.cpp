// The settings components on a real form and in Wine's registry: what restoring and saving
// do to the components and to the keys, when the form's hooks save, and the errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/component_state.h"
#include "state/registry_store.h"
#include "support/win_test_util.h"
#include "ui/application.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

using namespace vrin;

namespace {

std::vector<std::string> gReported;
void captureReport(std::exception_ptr e) { gReported.push_back(exceptionText(e)); }

// A form class of its own, so the default section can be seen.
class ProbeForm : public Form {
 public:
  ProbeForm() : Form(nullptr) {}
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info{"TStateProbeForm", &Form::staticClassInfo(), {}};
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
};

// A non-visual component with an integer property.
class Counter : public Component {
 public:
  explicit Counter(Component* owner) : Component(owner) {}
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info{"TCounter",
                                &Component::staticClassInfo(),
                                {intProp<Counter>("Value", &Counter::value, &Counter::setValue)}};
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }
  int value() const { return value_; }
  void setValue(int v) { value_ = v; }
  int value_ = 0;
};

// The registry store, recording the order of its writes.
class RecordingStore : public RegistryStore {
 public:
  using RegistryStore::RegistryStore;
  void writeStoreString(const std::string& section, const std::string& item, const std::string& value) override {
    writes.push_back(section + "/" + item);
    RegistryStore::writeStoreString(section, item, value);
  }
  std::vector<std::string> writes;
};

std::wstring w(const std::string& s) { return widen(s); }

bool keyExists(HKEY root, const std::string& path) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, w(path).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// "<type>:<text>" of a value, or "missing".
std::string valueOf(const std::string& path, const std::string& name, HKEY root = HKEY_CURRENT_USER) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(root, w(path).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "missing";
  wchar_t data[512] = {};
  DWORD type = 0, size = sizeof data - sizeof(wchar_t);
  LONG r = RegQueryValueExW(k, w(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return "missing";
  if (type != REG_SZ) return "type" + std::to_string(type);
  return "sz:" + narrow(data);
}

void putString(const std::string& path, const std::string& name, const std::string& value) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, w(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  std::wstring v = w(value);
  RegSetValueExW(k, w(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                 DWORD((v.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
}

std::string uniqueKeyName() {
  return "VrinTest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
}

// A form laid out like the history window's stored part, loaded the way the program's
// definition is: components created and set, then each completes its loading, then OnCreate.
struct Scene {
  std::string key = uniqueKeyName();
  std::string section = key + "\\TForm1";
  ProbeForm* form = new ProbeForm;
  ComponentState* state = nullptr;
  RecordingStore* store = nullptr;
  ComboBox* touche = nullptr;
  MenuItem* option1 = nullptr;
  MenuItem* Beep1 = nullptr;
  Counter* counter = nullptr;

  int ownCreates = 0, ownCloseQueries = 0, ownDestroys = 0, restores = 0, saves = 0;
  bool allowClose = true;
  bool failCreate = false;
  bool restoreInCreate = false;

  Scene() {
    gReported.clear();
    form->setName("Form1");
    form->onCreate = NotifyEvent::of<&Scene::ownCreate>(this);
    form->onCloseQuery = CloseQueryEvent::of<&Scene::ownCloseQuery>(this);
    form->onDestroy = NotifyEvent::of<&Scene::ownDestroy>(this);
    form->onClose = CloseEvent::of<&Scene::ownClose>(this);

    touche = new ComboBox(form);
    touche->setName("touche");
    touche->setParent(form);
    StringList letters;
    for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
    touche->setItems(letters);
    touche->setItemIndex(5);
    option1 = new MenuItem(form);
    option1->setName("option1");
    Beep1 = new MenuItem(form);
    Beep1->setName("Beep1");
    Beep1->setChecked(true);
    counter = new Counter(form);
    counter->setName("Counter1");

    state = new ComponentState(form);
    state->setName("ComponentState1");
    store = new RecordingStore(form);
    store->setName("RegistryStore1");
    store->setKeyName(key);
    state->setStorage(store);
    state->setSection("TForm1");
    state->setStoredProperties({"touche.ItemIndex", "option1.Checked", "Beep1.Checked", "Counter1.Value"});
    state->onRestoreState = NotifyEvent::of<&Scene::restored>(this);
    state->onSaveState = NotifyEvent::of<&Scene::saved>(this);
  }
  ~Scene() {
    delete form;
    RegDeleteTreeW(HKEY_CURRENT_USER, w(key).c_str());
  }

  void load() {
    form->handle();
    form->beginLoading();
    for (Component* c : form->components()) c->beginLoading();
    for (Component* c : std::vector<Component*>(form->components())) c->endLoading();
    form->endLoading();
    form->doCreate();
  }
  void destroyForm() {
    delete form;
    form = nullptr;
  }

  void ownCreate(Component*) {
    ++ownCreates;
    if (failCreate) throw Error("Cannot Register DLL !");
    if (restoreInCreate) state->restoreState();
  }
  void ownCloseQuery(Component*, bool& canClose) {
    ++ownCloseQueries;
    canClose = allowClose;
  }
  void ownClose(Component*, CloseAction& action) { action = CloseAction::Hide; }
  void ownDestroy(Component*) { ++ownDestroys; }
  void restored(Component*) { ++restores; }
  void saved(Component*) { ++saves; }
};

class StateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    exceptionReporter() = &captureReport;
  }
};

}  // namespace

TEST_F(StateTest, FirstStartRestoresNothingAndMakesOnlyTheKey) {
  Scene s;
  s.restoreInCreate = true;  // the form restores itself, then the hook restores again
  s.load();
  EXPECT_EQ(s.ownCreates, 1);
  EXPECT_EQ(s.restores, 2);
  EXPECT_TRUE(s.state->restored());
  EXPECT_EQ(s.touche->itemIndex(), 5);
  EXPECT_FALSE(s.option1->checked());
  EXPECT_TRUE(s.Beep1->checked());
  EXPECT_EQ(s.counter->value(), 0);
  // Every open makes the key; the section only comes with the first save.
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, s.key));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, s.section));
  EXPECT_EQ(s.store->openCount(), 0);
  EXPECT_TRUE(gReported.empty());
}

TEST_F(StateTest, SavingWritesStringValuesInListOrder) {
  Scene s;
  s.load();
  s.touche->setItemIndex(2);
  s.option1->setChecked(true);
  s.Beep1->setChecked(false);
  s.counter->setValue(-42);
  s.state->saveState();
  EXPECT_EQ(s.store->writes, (std::vector<std::string>{"TForm1/touche.ItemIndex", "TForm1/option1.Checked",
                                                        "TForm1/Beep1.Checked", "TForm1/Counter1.Value"}));
  EXPECT_EQ(valueOf(s.section, "touche.ItemIndex"), "sz:2");
  EXPECT_EQ(valueOf(s.section, "option1.Checked"), "sz:True");
  EXPECT_EQ(valueOf(s.section, "Beep1.Checked"), "sz:False");
  EXPECT_EQ(valueOf(s.section, "Counter1.Value"), "sz:-42");
  EXPECT_TRUE(s.state->saved());
  EXPECT_EQ(s.saves, 1);
  EXPECT_EQ(s.store->openCount(), 0);

  // A second form over the same key gets the values back.
  Scene t;
  t.store->setKeyName(s.key);
  t.load();
  EXPECT_EQ(t.touche->itemIndex(), 2);
  EXPECT_TRUE(t.option1->checked());
  EXPECT_FALSE(t.Beep1->checked());
  EXPECT_EQ(t.counter->value(), -42);
}

TEST_F(StateTest, NothingIsSavedBeforeTheFirstRestore) {
  Scene s;
  s.failCreate = true;  // the form's own creation handler fails: no restore follows
  s.load();
  EXPECT_EQ(gReported, std::vector<std::string>{"Cannot Register DLL !"});
  EXPECT_FALSE(s.state->restored());
  s.state->saveState();
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, s.section));
  EXPECT_EQ(s.saves, 0);

  // An inactive state saves when asked, restored or not.
  s.state->setActive(false);
  s.state->saveState();
  EXPECT_EQ(valueOf(s.section, "touche.ItemIndex"), "sz:5");
}

TEST_F(StateTest, RestoringSkipsWhatItCannotReadAndTakesTheRest) {
  Scene s;
  putString(s.section, "option1.Checked", "true");
  putString(s.section, "Beep1.Checked", "maybe");
  putString(s.section, "Counter1.Value", "abc");
  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, w(s.section).c_str(), 0, KEY_ALL_ACCESS, &k), ERROR_SUCCESS);
  DWORD three = 3;
  RegSetValueExW(k, L"touche.ItemIndex", 0, REG_DWORD, reinterpret_cast<BYTE*>(&three), sizeof three);
  RegCloseKey(k);
  s.counter->setValue(9);
  s.load();
  EXPECT_EQ(s.touche->itemIndex(), 5);   // not a string: left alone, silently
  EXPECT_TRUE(s.option1->checked());     // "true" is a boolean name
  EXPECT_TRUE(s.Beep1->checked());       // "maybe" is not
  EXPECT_EQ(s.counter->value(), 0);      // not a number gives 0
  EXPECT_TRUE(gReported.empty());
}

TEST_F(StateTest, EveryCloseRequestTheFormAllowsSaves) {
  Scene s;
  s.load();
  s.form->show();
  s.option1->setChecked(true);
  s.allowClose = false;
  s.form->close();
  EXPECT_EQ(s.ownCloseQueries, 1);
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, s.section));

  s.allowClose = true;
  SendMessageW(s.form->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(s.ownCloseQueries, 2);
  EXPECT_FALSE(IsWindowVisible(s.form->handle()));
  EXPECT_EQ(valueOf(s.section, "option1.Checked"), "sz:True");

  // Log-off asks too.
  s.touche->setItemIndex(0);
  EXPECT_TRUE(SendMessageW(s.form->handle(), WM_QUERYENDSESSION, 0, 0));
  EXPECT_EQ(valueOf(s.section, "touche.ItemIndex"), "sz:0");
  EXPECT_EQ(s.saves, 2);
}

TEST_F(StateTest, DestructionSavesOnlyWhenNothingWasSavedSinceTheLastRestore) {
  {
    Scene s;
    s.load();
    s.counter->setValue(7);
    s.destroyForm();
    EXPECT_EQ(valueOf(s.section, "Counter1.Value"), "sz:7");
    EXPECT_EQ(s.ownDestroys, 1);  // the form's own handler still runs
  }
  {
    Scene s;
    s.load();
    s.counter->setValue(1);
    s.form->close();  // saves 1
    s.counter->setValue(2);
    s.destroyForm();  // already saved since the restore: 2 is not written
    EXPECT_EQ(valueOf(s.section, "Counter1.Value"), "sz:1");
    EXPECT_EQ(s.ownDestroys, 1);
  }
  {
    Scene s;
    s.load();
    s.form->close();
    s.state->restoreState();  // a restore clears the saved flag
    s.counter->setValue(3);
    s.destroyForm();
    EXPECT_EQ(valueOf(s.section, "Counter1.Value"), "sz:3");
  }
}

TEST_F(StateTest, SaveErrorsShowTheFrameworksTextsAndStopTheSave) {
  {
    // A value name beyond the registry's limit cannot be written.
    Scene s;
    std::string longName(20000, 'n');
    s.load();
    s.option1->setName(longName);  // entries follow renames
    s.form->close();
    EXPECT_EQ(gReported, std::vector<std::string>{"Echec à la définition des données pour '" + longName + ".Checked'"});
    EXPECT_EQ(valueOf(s.section, "touche.ItemIndex"), "sz:5");
    EXPECT_EQ(valueOf(s.section, "Beep1.Checked"), "missing");  // the save stopped there
    EXPECT_FALSE(s.state->saved());
  }
  {
    // A section name beyond the limit cannot be made.
    Scene s;
    std::string longSection(300, 'k');
    s.state->setSection(longSection);
    s.load();
    s.form->close();
    EXPECT_EQ(gReported, std::vector<std::string>{"Echec à la création de la clé " + longSection});
    gReported.clear();
    s.destroyForm();  // nothing saved since the restore: tries again, and says so again
    EXPECT_EQ(gReported, std::vector<std::string>{"Echec à la création de la clé " + longSection});
  }
}

TEST_F(StateTest, HooksComeAndGoWithTheStateComponent) {
  Scene s;
  NotifyEvent ownCreate = s.form->onCreate;
  CloseQueryEvent ownQuery = s.form->onCloseQuery;
  NotifyEvent ownDestroy = s.form->onDestroy;
  s.load();
  EXPECT_FALSE(s.form->onCreate == ownCreate);
  EXPECT_FALSE(s.form->onCloseQuery == ownQuery);
  EXPECT_FALSE(s.form->onDestroy == ownDestroy);
  delete s.state;
  s.state = nullptr;
  EXPECT_TRUE(s.form->onCreate == ownCreate);
  EXPECT_TRUE(s.form->onCloseQuery == ownQuery);
  EXPECT_TRUE(s.form->onDestroy == ownDestroy);
  s.form->close();
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, s.section));
  EXPECT_EQ(s.ownCloseQueries, 1);
}

TEST_F(StateTest, ComponentsThatGoAwayAreForgotten) {
  Scene s;
  s.load();
  EXPECT_EQ(s.state->storedProperties().size(), 4u);
  delete s.option1;
  EXPECT_EQ(s.state->storedProperties(),
            (StringList{"touche.ItemIndex", "Beep1.Checked", "Counter1.Value"}));
  s.state->saveState();
  EXPECT_EQ(valueOf(s.section, "option1.Checked"), "missing");

  // Renamed components are stored under their new names.
  s.counter->setName("Counter2");
  s.state->saveState();
  EXPECT_EQ(valueOf(s.section, "Counter2.Value"), "sz:0");

  // Without its store the state turns inactive.
  delete s.store;
  s.store = nullptr;
  EXPECT_EQ(s.state->storage(), nullptr);
  EXPECT_FALSE(s.state->active());
}

TEST_F(StateTest, StoredPropertiesResolveAtLoadAndLaterAtOnce) {
  Scene s;
  s.state->setStoredProperties({"touche . ItemIndex", "Ghost.Checked", "nodot", "Beep1.Checked"});
  EXPECT_EQ(s.state->storedProperties().size(), 4u);  // nothing is looked up before loading ends
  s.load();
  // The restore at creation rewrote them with the components' names.
  EXPECT_EQ(s.state->storedProperties(), (StringList{"touche.ItemIndex", "Beep1.Checked"}));
  s.state->setStoredProperties({"Counter1.Value", "Nobody.Value"});
  EXPECT_EQ(s.state->storedProperties(), StringList{"Counter1.Value"});
  // The list is a published property like the others.
  EXPECT_EQ(s.state->getProperty("StoredProperties").list, StringList{"Counter1.Value"});
  EXPECT_EQ(s.state->getProperty("Section").text, "TForm1");
}

TEST_F(StateTest, StorageAndEventsAreReachedByName) {
  Scene s;
  s.load();
  auto* other = new RecordingStore(s.form);
  other->setKeyName(s.key);
  s.state->setProperty("Storage", PropValue::ofObject(static_cast<AbstractStore*>(other)));
  EXPECT_EQ(objectValue<AbstractStore*>(s.state->getProperty("Storage"), "Storage"), other);
  int saves = 0;
  s.state->setProperty("OnSaveState", PropValue::ofObject(NotifyEvent::fn([&](Component*) { ++saves; })));
  s.state->setProperty("OnRestoreState", PropValue{});
  s.state->restoreState();
  s.state->saveState();
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(s.saves, 0);
  EXPECT_EQ(s.restores, 1);  // the one at creation, before the event was taken off
  EXPECT_EQ(other->writes.size(), 4u);
  EXPECT_TRUE(s.store->writes.empty());
}

TEST_F(StateTest, SectionDefaultsToTheFormsClassName) {
  Scene s;
  s.state->setSection("");
  EXPECT_EQ(s.state->section(), "TStateProbeForm");
  s.load();
  s.state->saveState();
  EXPECT_EQ(valueOf(s.key + "\\TStateProbeForm", "Beep1.Checked"), "sz:True");
}

TEST_F(StateTest, RegistryStoreKeyNameRootAndErrors) {
  RecordingStore store(nullptr);
  store.setKeyName("\\\\" + uniqueKeyName() + "\\\\");
  EXPECT_EQ(store.keyName().find('\\'), std::string::npos);
  std::string key = store.keyName();
  store.setKeyName("");
  EXPECT_EQ(store.keyName(), "Software\\state_test");
  EXPECT_EQ(store.getProperty("RegistryRoot").integer, rrCurrentUser);

  // The local machine root still makes the key below the current user.
  store.setKeyName(key);
  store.setRegistryRoot(rrLocalMachine);
  store.openStore();
  store.writeStoreString("S", "v", "machine");
  store.closeStore();
  EXPECT_EQ(valueOf(key + "\\S", "v", HKEY_LOCAL_MACHINE), "sz:machine");
  EXPECT_EQ(valueOf(key + "\\S", "v"), "missing");
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, key));
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, w(key).c_str());

  // Reads outside an explicit open open the store themselves; other types raise.
  store.setRegistryRoot(rrCurrentUser);
  putString(key + "\\S", "text", "x");
  EXPECT_EQ(store.readStoreString("S", "text", "d"), "x");
  EXPECT_EQ(store.readStoreString("S", "absent", "d"), "d");
  EXPECT_EQ(store.readStoreString("NoSection", "text", "d"), "d");
  HKEY k = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, w(key + "\\S").c_str(), 0, KEY_ALL_ACCESS, &k);
  DWORD one = 1;
  RegSetValueExW(k, L"number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), sizeof one);
  RegCloseKey(k);
  try {
    store.readStoreString("S", "number", "d");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Type de données incorrect pour 'number'");
  }
  store.eraseStoreSection("S");
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, key + "\\S"));
  EXPECT_EQ(store.openCount(), 0);
  RegDeleteTreeW(HKEY_CURRENT_USER, w(key).c_str());
}

TEST_F(StateTest, AStateComponentNeedsAFormForOwner) {
  Counter plain(nullptr);
  try {
    new ComponentState(&plain);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "A settings state component must be owned by a form");
  }
  EXPECT_EQ(plain.componentCount(), 0);
  EXPECT_THROW(new ComponentState(nullptr), Error);
}
