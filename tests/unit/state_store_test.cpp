// The settings filer over an in-memory store: which values are written, in which order and
// under which names, and how stored texts come back into the components.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "core/text.h"
#include "state/pure/state_store.h"

using namespace vrin;

namespace {

// Sections and items are matched ignoring case, like registry keys and values.
class MemoryStore : public AbstractStore {
 public:
  explicit MemoryStore(Component* owner = nullptr) : AbstractStore(owner) {}

  std::string readStoreString(const std::string& section, const std::string& item,
                              const std::string& defaultValue) override {
    if (failingReads.count(item)) throw Error("unreadable " + item);
    reads.push_back(section + "/" + item);
    auto s = data.find(lowerCase(section));
    if (s == data.end()) return defaultValue;
    auto v = s->second.find(lowerCase(item));
    return v == s->second.end() ? defaultValue : v->second;
  }
  void writeStoreString(const std::string& section, const std::string& item, const std::string& value) override {
    if (failingWrites.count(item)) throw Error("cannot write " + item);
    writes.push_back(section + "/" + item + "=" + value);
    data[lowerCase(section)][lowerCase(item)] = value;
  }
  void eraseStoreSection(const std::string& section) override {
    erased.push_back(section);
    data.erase(lowerCase(section));
  }
  void put(const std::string& section, const std::string& item, const std::string& value) {
    data[lowerCase(section)][lowerCase(item)] = value;
  }

  std::map<std::string, std::map<std::string, std::string>> data;
  std::vector<std::string> writes, reads, erased;
  std::set<std::string> failingReads, failingWrites;
  int opens = 0, closes = 0;
  bool failOpen = false;

 protected:
  void doOpenStore() override {
    if (failOpen) throw Error("no store");
    ++opens;
  }
  void doCloseStore() override { ++closes; }
};

// A component with a property of every kind the filer handles.
class Gadget : public Component {
 public:
  explicit Gadget(Component* owner, const std::string& name) : Component(owner) { setName(name); }
  static const ClassInfo& staticClassInfo() {
    static const ClassInfo info{
        "TGadget",
        &Component::staticClassInfo(),
        {intProp<Gadget>("ItemIndex", &Gadget::itemIndex, &Gadget::setItemIndex),
         boolProp<Gadget>("Checked", &Gadget::checked, &Gadget::setChecked),
         enumProp<Gadget, Mode>("Mode", {"mdOff", "mdOn", "mdAuto"}, &Gadget::mode, &Gadget::setMode),
         stringProp<Gadget>("Caption", &Gadget::caption, &Gadget::setCaption),
         setProp<Gadget>("Style", {"fsBold", "fsItalic", "fsUnderline"}, &Gadget::style, &Gadget::setStyle),
         listProp<Gadget>("Lines", &Gadget::lines, &Gadget::setLines),
         intProp<Gadget>("Fragile", &Gadget::fragile, &Gadget::setFragile),
         rawProp("Letter", TypeKind::Char, &Gadget::letter),
         rawProp("Wide", TypeKind::WideChar, &Gadget::wide),
         floatProp("Ratio", FloatType::Double),
         PropInfo{"OnClick", TypeKind::Method, {}, FloatType::Double, nullptr, nullptr}}};
    return info;
  }
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  enum class Mode { Off, On, Auto };
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int v) { itemIndex_ = v; }
  bool checked() const { return checked_; }
  void setChecked(bool v) { checked_ = v; }
  Mode mode() const { return mode_; }
  void setMode(Mode m) { mode_ = m; }
  std::string caption() const { return caption_; }
  void setCaption(const std::string& v) { caption_ = v; }
  std::uint32_t style() const { return style_; }
  void setStyle(std::uint32_t v) { style_ = v; }
  StringList lines() const { return lines_; }
  void setLines(const StringList& v) { lines_ = v; }
  int fragile() const { return fragile_; }
  void setFragile(int) { throw Error("refused"); }

  int itemIndex_ = 5;
  bool checked_ = false;
  Mode mode_ = Mode::Off;
  std::string caption_ = "Vrin";
  std::uint32_t style_ = 0;
  StringList lines_;
  int fragile_ = 1;
  std::int64_t letter = 'F';
  std::int64_t wide = 0x20AC;
  double ratio = 0.5;

 private:
  static PropInfo rawProp(const char* name, TypeKind kind, std::int64_t Gadget::*field) {
    return {name, kind, {}, FloatType::Double,
            [field](const Component& c) { return PropValue::ofInt(static_cast<const Gadget&>(c).*field); },
            [field](Component& c, const PropValue& v) { static_cast<Gadget&>(c).*field = v.integer; }};
  }
  static PropInfo floatProp(const char* name, FloatType ft) {
    return {name, TypeKind::Float, {}, ft,
            [](const Component& c) { return PropValue::ofFloat(static_cast<const Gadget&>(c).ratio); },
            [](Component& c, const PropValue& v) { static_cast<Gadget&>(c).ratio = v.number; }};
  }
};

// The owner with its components, the store and resolved entries.
struct Scene {
  Component form;
  Gadget* touche = new Gadget(&form, "touche");
  Gadget* option1 = new Gadget(&form, "option1");
  MemoryStore store;
  StoredEntries entries;

  explicit Scene(const StringList& lines) {
    entries = makeStoredEntries(lines);
    resolveStoredEntries(form, entries);
  }
  void save() {
    DataFiler filer(&store, "TForm1");
    filer.saveProperties(entries);
  }
  void restore() {
    DataFiler filer(&store, "TForm1");
    filer.restoreProperties(entries);
  }
};

}  // namespace

TEST(StateStore, SavesEveryKindInEntryOrderUnderCanonicalNames) {
  Scene s({"option1.checked", "touche . ItemIndex", "touche.Mode", "touche.Caption", "touche.Style",
           "touche.Letter", "touche.Wide", "touche.Ratio", "option1.NoSuchProperty", "option1.OnClick"});
  s.touche->caption_ = "  padded  ";
  s.touche->style_ = 0b101;
  s.touche->ratio = 1.0 / 3;
  s.save();
  EXPECT_EQ(s.store.writes, (std::vector<std::string>{
                                "TForm1/option1.Checked=False",
                                "TForm1/touche.ItemIndex=5",
                                "TForm1/touche.Mode=mdOff",
                                "TForm1/touche.Caption=padded",  // written trimmed
                                "TForm1/touche.Style=[fsBold,fsUnderline]",
                                "TForm1/touche.Letter=F",
                                "TForm1/touche.Wide=€",
                                "TForm1/touche.Ratio=0.333333333333333",
                            }));
}

TEST(StateStore, EmptyTextsAreWrittenOnlyForStringLikeKinds) {
  Scene s({"touche.Caption", "touche.Wide", "touche.Letter", "touche.Mode"});
  s.touche->caption_ = "";
  s.touche->wide = 0;
  s.touche->letter = 0;
  s.touche->mode_ = static_cast<Gadget::Mode>(9);  // names nothing
  s.save();
  EXPECT_EQ(s.store.writes, (std::vector<std::string>{"TForm1/touche.Caption=", "TForm1/touche.Wide="}));
}

TEST(StateStore, RestoresStoredTextsByKind) {
  Scene s({"touche.ItemIndex", "option1.Checked", "touche.Mode", "touche.Caption", "touche.Style", "touche.Letter",
           "touche.Wide", "touche.Ratio"});
  s.store.put("TForm1", "touche.ItemIndex", " 12 ");
  s.store.put("TForm1", "option1.Checked", "true");
  s.store.put("TForm1", "touche.Mode", "MDAUTO");
  s.store.put("TForm1", "touche.Caption", "  Hello  ");
  s.store.put("TForm1", "touche.Style", "[fsItalic, fsWavy]");
  s.store.put("TForm1", "touche.Letter", "Zed");
  s.store.put("TForm1", "touche.Wide", "");
  s.store.put("TForm1", "touche.Ratio", "2.5E-3");
  s.restore();
  EXPECT_EQ(s.touche->itemIndex_, 12);
  EXPECT_TRUE(s.option1->checked_);
  EXPECT_EQ(s.touche->mode_, Gadget::Mode::Auto);
  EXPECT_EQ(s.touche->caption_, "Hello");
  EXPECT_EQ(s.touche->style_, 0b10u);
  EXPECT_EQ(s.touche->letter, 'Z');
  EXPECT_EQ(s.touche->wide, 0);
  EXPECT_DOUBLE_EQ(s.touche->ratio, 0.0025);
  // Every read asked for the item under the component's own name.
  EXPECT_EQ(s.store.reads.front(), "TForm1/touche.ItemIndex");
}

TEST(StateStore, BadTextsFollowTheirKindsRules) {
  Scene s({"touche.ItemIndex", "option1.Checked", "touche.Mode", "touche.Ratio", "touche.Style"});
  s.option1->checked_ = true;
  s.touche->style_ = 0b111;
  s.store.put("TForm1", "touche.ItemIndex", "abc");       // not a number: 0 (letter A)
  s.store.put("TForm1", "option1.Checked", "maybe");      // names no boolean: unchanged
  s.store.put("TForm1", "touche.Mode", "mdSometimes");    // unchanged
  s.store.put("TForm1", "touche.Ratio", "half");          // unchanged
  s.store.put("TForm1", "touche.Style", "[fsUnknown]");   // the whole set is replaced
  s.restore();
  EXPECT_EQ(s.touche->itemIndex_, 0);
  EXPECT_TRUE(s.option1->checked_);
  EXPECT_EQ(s.touche->mode_, Gadget::Mode::Off);
  EXPECT_DOUBLE_EQ(s.touche->ratio, 0.5);
  EXPECT_EQ(s.touche->style_, 0u);
}

TEST(StateStore, NothingStoredLeavesEveryPropertyExactlyAsItIs) {
  Scene s({"touche.ItemIndex", "touche.Caption", "touche.Ratio", "option1.Checked", "touche.Lines"});
  s.touche->caption_ = " with blanks ";
  s.touche->ratio = 0.1234567890123456789;  // more digits than the stored text keeps
  s.touche->lines_ = {"kept"};
  s.restore();
  EXPECT_EQ(s.touche->itemIndex_, 5);
  EXPECT_EQ(s.touche->caption_, " with blanks ");
  EXPECT_EQ(s.touche->ratio, 0.1234567890123456789);
  EXPECT_FALSE(s.option1->checked_);
  EXPECT_EQ(s.touche->lines_, StringList{"kept"});
  EXPECT_TRUE(s.store.writes.empty());
}

TEST(StateStore, StringListsUseTheirOwnSection) {
  Scene s({"touche.Lines", "option1.Lines"});
  s.touche->lines_ = {"first", " second ", ""};
  s.store.put("TForm1.option1.Lines", "Count", "4");
  s.save();
  EXPECT_EQ(s.store.erased, (std::vector<std::string>{"TForm1.touche.Lines", "TForm1.option1.Lines"}));
  EXPECT_EQ(s.store.writes, (std::vector<std::string>{
                                "TForm1.touche.Lines/Count=3",
                                "TForm1.touche.Lines/Item0=first",
                                "TForm1.touche.Lines/Item1= second ",
                                "TForm1.touche.Lines/Item2=",
                            }));
  EXPECT_EQ(s.store.data.count("tform1.option1.lines"), 0u);  // an empty list leaves an erased section

  s.touche->lines_.clear();
  s.option1->lines_ = {"unchanged"};
  s.store.put("TForm1.option1.Lines", "Count", "2");
  s.store.put("TForm1.option1.Lines", "Item1", "only the second");
  s.restore();
  EXPECT_EQ(s.touche->lines_, (StringList{"first", " second ", ""}));
  EXPECT_EQ(s.option1->lines_, (StringList{"", "only the second"}));

  // A count of nothing, of garbage or beyond reason keeps the list.
  for (const char* count : {"0", "-3", "many", "100000000"}) {
    s.store.put("TForm1.option1.Lines", "Count", count);
    s.restore();
    EXPECT_EQ(s.option1->lines_, (StringList{"", "only the second"})) << count;
  }
}

TEST(StateStore, OneUnreadablePropertyDoesNotStopTheOthers) {
  Scene s({"touche.ItemIndex", "touche.Fragile", "option1.Checked", "touche.Caption"});
  s.store.put("TForm1", "touche.ItemIndex", "3");
  s.store.put("TForm1", "touche.Fragile", "7");  // its setter refuses
  s.store.put("TForm1", "option1.Checked", "True");
  s.store.put("TForm1", "touche.Caption", "after");
  s.store.failingReads.insert("option1.Checked");
  s.restore();
  EXPECT_EQ(s.touche->itemIndex_, 3);
  EXPECT_FALSE(s.option1->checked_);
  EXPECT_EQ(s.touche->caption_, "after");
}

TEST(StateStore, ASaveErrorStopsTheSaveAndTravelsUp) {
  Scene s({"touche.ItemIndex", "option1.Checked", "touche.Caption"});
  s.store.failingWrites.insert("option1.Checked");
  EXPECT_THROW(s.save(), Error);
  EXPECT_EQ(s.store.writes, std::vector<std::string>{"TForm1/touche.ItemIndex=5"});
}

TEST(StateStore, EntriesResolveAmongTheOwnersComponentsAndFollowRenames) {
  Component form;
  auto* a = new Gadget(&form, "touche");
  auto* b = new Gadget(&form, "Beep1");
  Gadget stranger(nullptr, "Stranger");
  StoredEntries entries =
      makeStoredEntries({"TOUCHE.ItemIndex", "nodot", "Ghost.Checked", "Beep1.Checked", ".Caption", "Stranger.Tag",
                         " Beep1 . Caption "});
  resolveStoredEntries(form, entries);
  ASSERT_EQ(storedEntryLines(entries), (StringList{"TOUCHE.ItemIndex", "Beep1.Checked", " Beep1 . Caption "}));
  EXPECT_EQ(entries[0].component, a);
  EXPECT_EQ(entries[1].component, b);
  EXPECT_EQ(entries[2].component, b);

  b->setName("Beep2");
  refreshStoredEntries(entries);
  EXPECT_EQ(storedEntryLines(entries), (StringList{"touche.ItemIndex", "Beep2.Checked", "Beep2.Caption"}));

  MemoryStore store;
  DataFiler filer(&store, "S");
  filer.saveProperties(entries);
  EXPECT_EQ(store.writes.at(1), "S/Beep2.Checked=False");

  forgetStoredComponent(entries, b);
  EXPECT_EQ(storedEntryLines(entries), StringList{"touche.ItemIndex"});
  entries.push_back({"loose.Tag", nullptr});  // never resolved: dropped at the next pass
  filer.saveProperties(entries);
  EXPECT_EQ(storedEntryLines(entries), StringList{"touche.ItemIndex"});
}

TEST(StateStore, PropertyListsSkipMethodsAndFindIgnoringCase) {
  Gadget g(nullptr, "g");
  PropertyList list(g);
  for (const auto& e : list.entries()) {
    EXPECT_NE(e.info.kind, TypeKind::Method);
    EXPECT_EQ(e.object, &g);
  }
  EXPECT_EQ(list.entries().size(), Gadget::staticClassInfo().allProperties().size() - 1);
  ASSERT_NE(list.find("itemindex"), nullptr);
  EXPECT_EQ(list.find("itemindex")->info.name, "ItemIndex");
  EXPECT_NE(list.find("NAME"), nullptr);  // inherited
  EXPECT_EQ(list.find("OnClick"), nullptr);
}

TEST(StateStore, OpeningIsCountedAndAFailedOpenIsNotCounted) {
  MemoryStore store;
  store.openStore();
  store.openStore();
  EXPECT_EQ(store.opens, 1);
  store.closeStore();
  EXPECT_EQ(store.closes, 0);
  store.closeStore();
  EXPECT_EQ(store.closes, 1);
  store.closeStore();  // one close too many is ignored
  EXPECT_EQ(store.openCount(), 0);
  EXPECT_EQ(store.closes, 1);

  store.failOpen = true;
  EXPECT_THROW(store.openStore(), Error);
  EXPECT_EQ(store.openCount(), 0);
  store.failOpen = false;
  {
    StoreOpenScope scope(&store);
    EXPECT_EQ(store.opens, 2);
  }
  EXPECT_EQ(store.closes, 2);
}

TEST(StateStore, AFilerWithoutAStoreReadsEmptyAndWritesNothing) {
  DataFiler filer(nullptr, "TForm1");
  EXPECT_EQ(filer.readString("TForm1", "x", "default"), "");
  filer.writeString("TForm1", "x", "v");
  filer.eraseSection("TForm1");
  filer.setItemPrefix("touche.");
  EXPECT_EQ(filer.itemName("ItemIndex"), "touche.ItemIndex");

  // Restoring then reads the empty text for every item.
  Component form;
  auto* g = new Gadget(&form, "touche");
  StoredEntries entries = makeStoredEntries({"touche.ItemIndex", "touche.Caption", "touche.Checked"});
  resolveStoredEntries(form, entries);
  g->checked_ = true;
  filer.restoreProperties(entries);
  EXPECT_EQ(g->itemIndex_, 0);
  EXPECT_EQ(g->caption_, "");
  EXPECT_TRUE(g->checked_);
}
