// The component model: ownership, names, free notification, published properties, delegates.
#include <gtest/gtest.h>

#include <vector>

#include "ui/pure/component.h"
#include "ui/pure/shortcut.h"

using namespace vrin;

namespace {

std::vector<std::string>* gLog = nullptr;

class Probe : public Component {
 public:
  explicit Probe(Component* owner, std::string label) : Component(owner), label_(std::move(label)) {}
  ~Probe() override {
    if (gLog) gLog->push_back("free " + label_);
  }
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info{
        "TProbe",
        &Component::staticClassInfo(),
        {intProp<Probe>("Count", &Probe::count, &Probe::setCount),
         boolProp<Probe>("Checked", &Probe::checked, &Probe::setChecked),
         stringProp<Probe>("Caption", &Probe::caption, &Probe::setCaption),
         enumProp<Probe, Mode>("Mode", {"mdOff", "mdOn", "mdAuto"}, &Probe::mode, &Probe::setMode),
         setProp<Probe>("Flags", {"fA", "fB", "fC"}, &Probe::flags, &Probe::setFlags),
         listProp<Probe>("Lines", &Probe::lines, &Probe::setLines)}};
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  enum class Mode { Off, On, Auto };
  int count() const { return count_; }
  void setCount(int v) { count_ = v; }
  bool checked() const { return checked_; }
  void setChecked(bool v) { checked_ = v; }
  std::string caption() const { return caption_; }
  void setCaption(const std::string& v) { caption_ = v; }
  Mode mode() const { return mode_; }
  void setMode(Mode m) { mode_ = m; }
  std::uint32_t flags() const { return flags_; }
  void setFlags(std::uint32_t f) { flags_ = f; }
  StringList lines() const { return lines_; }
  void setLines(const StringList& l) { lines_ = l; }

  Component* watched = nullptr;
  int loadedCalls = 0;
  void handler(Component* sender) { lastSender = sender; }
  void other(Component*) {}
  Component* lastSender = nullptr;

 protected:
  void loaded() override { ++loadedCalls; }
  void notification(Component* c, Operation op) override {
    Component::notification(c, op);
    if (op == Operation::Remove && c == watched) watched = nullptr;
  }

 private:
  std::string label_;
  int count_ = 0;
  bool checked_ = false;
  std::string caption_;
  Mode mode_ = Mode::Off;
  std::uint32_t flags_ = 0;
  StringList lines_;
};

}  // namespace

TEST(Component, OwnerFreesOwnedComponentsLastCreatedFirst) {
  std::vector<std::string> log;
  gLog = &log;
  {
    auto* root = new Probe(nullptr, "root");
    new Probe(root, "a");
    auto* b = new Probe(root, "b");
    new Probe(b, "b1");
    new Probe(root, "c");
    EXPECT_EQ(root->componentCount(), 3);
    delete root;
  }
  gLog = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"free root", "free c", "free b", "free b1", "free a"}));
}

TEST(Component, DeletingAnOwnedComponentRemovesItFromItsOwner) {
  Probe root(nullptr, "root");
  auto* a = new Probe(&root, "a");
  a->setName("A1");
  delete a;
  EXPECT_EQ(root.componentCount(), 0);
  EXPECT_EQ(root.findComponent("A1"), nullptr);
}

TEST(Component, NamesAreUniqueAmongSiblingsAndFoundIgnoringCase) {
  Probe root(nullptr, "root");
  auto* a = new Probe(&root, "a");
  auto* b = new Probe(&root, "b");
  a->setName("ListBox1");
  EXPECT_EQ(root.findComponent("listbox1"), a);
  EXPECT_THROW(b->setName("LISTBOX1"), Error);
  EXPECT_EQ(b->name(), "");
  a->setName("LISTBOX1");  // renaming itself in another case is fine
  EXPECT_EQ(a->name(), "LISTBOX1");
  EXPECT_EQ(root.findComponent(""), nullptr);
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
  Probe watcher(nullptr, "w");
  auto* target = new Probe(nullptr, "t");
  watcher.watched = target;
  watcher.freeNotification(target);
  delete target;
  EXPECT_EQ(watcher.watched, nullptr);

  // The watcher going first must not leave the target calling into freed memory.
  auto* early = new Probe(nullptr, "e");
  Probe survivor(nullptr, "s");
  early->freeNotification(&survivor);
  delete early;
  auto* again = new Probe(nullptr, "again");
  survivor.freeNotification(again);
  delete again;
}

TEST(Component, LoadingEndsWithTheLoadCompletionStep) {
  Probe p(nullptr, "p");
  p.beginLoading();
  EXPECT_TRUE(p.loading());
  p.endLoading();
  EXPECT_FALSE(p.loading());
  EXPECT_EQ(p.loadedCalls, 1);
  EXPECT_FALSE(p.designing());
}

TEST(Properties, EveryKindReadAndWrittenByNameIgnoringCase) {
  Probe p(nullptr, "p");
  p.setProperty("count", PropValue::ofInt(42));
  EXPECT_EQ(p.count(), 42);
  EXPECT_EQ(p.getProperty("COUNT").integer, 42);

  p.setProperty("Checked", PropValue::ofInt(1));
  EXPECT_TRUE(p.checked());
  EXPECT_EQ(p.getProperty("Checked").integer, 1);

  p.setProperty("Caption", PropValue::ofText("héllo"));
  EXPECT_EQ(p.getProperty("caption").text, "héllo");

  p.setProperty("Mode", PropValue::ofInt(2));
  EXPECT_EQ(p.mode(), Probe::Mode::Auto);

  p.setProperty("Flags", PropValue::ofInt(0b101));
  EXPECT_EQ(p.flags(), 0b101u);

  p.setProperty("Lines", PropValue::ofList({"x", "y"}));
  EXPECT_EQ(p.getProperty("Lines").list, (StringList{"x", "y"}));

  p.setProperty("Tag", PropValue::ofInt(-7));  // inherited from the base class
  EXPECT_EQ(p.tag(), -7);
  EXPECT_THROW(p.getProperty("Nope"), Error);
  EXPECT_THROW(p.setProperty("Nope", PropValue::ofInt(1)), Error);
}

TEST(Properties, TablesAreInheritedAndCarryTheirNames) {
  const ClassInfo& info = Probe::staticClassInfo();
  EXPECT_TRUE(info.inheritsFrom(Component::staticClassInfo()));
  EXPECT_FALSE(Component::staticClassInfo().inheritsFrom(info));
  auto all = info.allProperties();
  ASSERT_GE(all.size(), 8u);
  EXPECT_EQ(all[0]->name, "Name");  // base class first
  const PropInfo* mode = info.findProperty("mode");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->kind, TypeKind::Enumeration);
  EXPECT_EQ(mode->names[1], "mdOn");
  EXPECT_EQ(info.findProperty("checked")->names, (StringList{"False", "True"}));
  EXPECT_EQ(info.findProperty("Flags")->kind, TypeKind::Set);
  EXPECT_EQ(info.findProperty("Lines")->kind, TypeKind::StringList);
}

TEST(Delegates, EqualWhenTheyBindTheSameObjectAndMethod) {
  Probe a(nullptr, "a"), b(nullptr, "b");
  auto e1 = NotifyEvent::of<&Probe::handler>(&a);
  auto e2 = NotifyEvent::of<&Probe::handler>(&a);
  auto e3 = NotifyEvent::of<&Probe::handler>(&b);
  auto e4 = NotifyEvent::of<&Probe::other>(&a);
  EXPECT_TRUE(e1 == e2);
  EXPECT_FALSE(e1 == e3);
  EXPECT_FALSE(e1 == e4);
  EXPECT_FALSE(e1 == NotifyEvent());
  EXPECT_TRUE(NotifyEvent() == NotifyEvent());
  e1(&b);
  EXPECT_EQ(a.lastSender, &b);
}

TEST(Delegates, AnExceptionLeavingAHandlerGoesToTheReporter) {
  static std::string reported;
  ExceptionReporter saved = exceptionReporter();
  exceptionReporter() = [](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      reported = ex.what();
    }
  };
  auto failing = NotifyEvent::fn([](Component*) { throw Error("Cannot Register DLL !"); });
  EXPECT_NO_THROW(failing(nullptr));
  EXPECT_EQ(reported, "Cannot Register DLL !");
  // call() lets the error travel to the caller instead.
  EXPECT_THROW(failing.call(nullptr), Error);
  exceptionReporter() = saved;
}

TEST(ShortCuts, TextAndValueConvertBothWays) {
  EXPECT_EQ(TextToShortCut("Ctrl+F"), ShortCut(scCtrl | 'F'));
  EXPECT_EQ(TextToShortCut("ctrl+a"), ShortCut(scCtrl | 'A'));
  EXPECT_EQ(ShortCutToText(ShortCut(scCtrl | 'Z')), "Ctrl+Z");
  EXPECT_EQ(ShortCutToText(ShortCut(scShift | scCtrl | scAlt | 0x70)), "Shift+Ctrl+Alt+F1");
  EXPECT_EQ(TextToShortCut("Shift+Ctrl+Alt+F1"), ShortCut(scShift | scCtrl | scAlt | 0x70));
  EXPECT_EQ(TextToShortCut("Ctrl+Del"), ShortCut(scCtrl | 0x2E));
  // A letter that is not there (an empty list selection) gives no shortcut.
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+FF"), 0);
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  for (unsigned vk = 0x08; vk <= 0xFF; ++vk) {
    std::string name = keyName(vk);
    if (!name.empty()) EXPECT_EQ(TextToShortCut("Ctrl+" + name), ShortCut(scCtrl | vk)) << name;
  }
}
