// The skin data component against the real system: the program's own skin from the
// executable's resources (or its committed file), skin files, damaged and older skins, and the
// GDI glue checked pixel for pixel against the portable drawing routines.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"
#include "skin/pure/skin_draw.h"
#include "skin/pure/skin_load.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/application.h"

using namespace vrin;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;
using vrin::test::runSoon;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kSkinFile = sourcePath("resources/skin/vrin.skn");

bool haveSkinResource() { return FindResourceA(moduleInstance(), "VRINSKIN", MAKEINTRESOURCEA(10)) != nullptr; }

// The stored property as the program's window definition gives it: from the resource when the
// program's resources carry the skin, else built the same way from the committed file.
Bytes storedSkinStream() {
  if (haveSkinResource()) return skinStreamResource("VRINSKIN");
  return writeSkinStream(readFile(kSkinFile));
}

// Records the skin messages instead of showing them.
class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = skinMessageHandler();
    messages().clear();
    skinMessageHandler() = [](const std::string& text) { messages().push_back(text); };
  }
  void TearDown() override { skinMessageHandler() = saved_; }
  static std::vector<std::string>& messages() {
    static std::vector<std::string> m;
    return m;
  }

 private:
  SkinMessageFn saved_ = nullptr;
};

Bytes decompressed(const Bytes& compressed) { return decompressSkin(compressed.data(), compressed.size()); }

// The committed skin with its container version changed.
Bytes skinOfVersion(std::uint32_t version) {
  Bytes container = decompressed(readFile(kSkinFile));
  for (int k = 0; k < 4; ++k) container[k] = std::uint8_t(version >> (8 * k));
  return lzhCompress(container);
}

COLORREF brushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  GetObjectW(brush, sizeof lb, &lb);
  return lb.lbColor;
}

std::wstring windowText(HWND h) {
  wchar_t buf[256] = {};
  GetWindowTextW(h, buf, 256);
  return buf;
}

}  // namespace

TEST_F(SkinDataTest, PublishedPropertiesAndDefaults) {
  SkinData skin(nullptr);
  EXPECT_EQ(skin.className(), "TSkinData");
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_FALSE(skin.Active());
  EXPECT_EQ(skin.DisableTag(), 99);
  EXPECT_EQ(skin.SkinControls(), 0x1FFFFu);
  EXPECT_EQ(skin.SkinFormtype(), sfMainform);
  EXPECT_EQ(skin.SkinStore(), "(none)");
  EXPECT_EQ(skin.FaceBrush(), nullptr);
  EXPECT_TRUE(skin.IconImage().empty());
  EXPECT_EQ(skin.WriteSkinStream(), (Bytes{0, 0, 0, 0}));

  // The settings store reaches them by name.
  skin.setProperty("DisableTag", PropValue::ofInt(5));
  skin.setProperty("SkinControls", PropValue::ofInt(skinControl(xcMainMenu) | skinControl(xcTab) | (1 << 20)));
  skin.setProperty("SkinFormtype", PropValue::ofInt(sfDialog));
  skin.setProperty("SkinStore", PropValue::ofText("anything"));
  EXPECT_EQ(skin.DisableTag(), 5);
  EXPECT_EQ(skin.SkinControls(), skinControl(xcMainMenu) | skinControl(xcTab));  // bits past xcTab dropped
  EXPECT_EQ(skin.getProperty("SkinFormtype").integer, sfDialog);
  EXPECT_EQ(skin.getProperty("SkinStore").text, "(none)");
  const PropInfo* controls = skin.classInfo().findProperty("SkinControls");
  ASSERT_NE(controls, nullptr);
  ASSERT_EQ(controls->names.size(), 17u);
  EXPECT_EQ(controls->names.front(), "xcMainMenu");
  EXPECT_EQ(controls->names.back(), "xcTab");
  EXPECT_EQ(skin.classInfo().findProperty("SkinFormtype")->names,
            (StringList{"sfMainform", "sfOnlyThisForm", "sfDialog"}));
}

TEST_F(SkinDataTest, LoadsTheProgramsSkinWhileTheWindowDefinitionIsRead) {
  if (!haveSkinResource()) std::printf("[ note ] no VRINSKIN resource linked; using %s\n", kSkinFile.c_str());
  const Bytes stream = storedSkinStream();
  ASSERT_GT(stream.size(), 4u);

  Component form(nullptr);
  auto* skin = new SkinData(&form);
  skin->beginLoading();
  skin->setName("SkinData1");
  skin->SetActive(true);
  skin->ReadSkinStream(stream);
  EXPECT_FALSE(skin->NoSkin()) << skin->LoadError();  // loaded at once, before loading completes
  skin->endLoading();
  EXPECT_TRUE(skin->Active());
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(skin->WriteSkinStream(), stream);

  ASSERT_EQ(skin->SysButtons().size(), 9u);
  const int actions[] = {-1, 2, 1, 0, 3, -1, 7, 8, 9};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(skin->SysButtons()[i].Action, actions[i]) << i;
  // The window frame's sizes: each border picture holds two frames.
  EXPECT_EQ(skin->BorderTop().Image.height / skin->BorderTop().FrameCount, 23);
  EXPECT_EQ(skin->BorderLeft().Image.width / skin->BorderLeft().FrameCount, 3);
  EXPECT_EQ(skin->BorderRight().Image.width / skin->BorderRight().FrameCount, 3);
  EXPECT_EQ(skin->BorderBottom().Image.height / skin->BorderBottom().FrameCount, 3);
  EXPECT_EQ(skin->Buttons().FrameCount, 5);
  ASSERT_NE(skin->Tabs(), nullptr);
  EXPECT_FALSE(skin->Tabs()->SecondImage.empty());
  EXPECT_NE(skin->Scrollbar(), nullptr);
  EXPECT_EQ(skin->MenuItem(), nullptr);
  EXPECT_TRUE(skin->CustomColours().empty());

  // Every picture has its DIB section with the same pixels; pictures of other skins have none.
  const Bitmap* top = skin->PictureBitmap(skin->BorderTop().Image);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->width(), 294);
  EXPECT_EQ(top->height(), 46);
  EXPECT_EQ(top->toImage(), skin->BorderTop().Image);
  const Bitmap* mdi = skin->PictureBitmap(skin->SysButtons()[6].Image);
  ASSERT_NE(mdi, nullptr);
  EXPECT_EQ(mdi->toImage(), skin->SysButtons()[6].Image);
  EXPECT_EQ(skin->PictureBitmap(skin->SysButtons()[4].Image), nullptr);  // the icon button has none
  const Image copy = skin->BorderTop().Image;
  EXPECT_EQ(skin->PictureBitmap(copy), nullptr);
  // 4 borders, title-bar and MDI buttons but the icon one (8), buttons + check + radio,
  // tabs + border, menu bar, progress, toolbars, and the five scroll-bar elements.
  EXPECT_EQ(skin->PictureBitmapCount(), 4u + 8u + 3u + 2u + 1u + 1u + 1u + 5u);

  // The button-face brush has the palette's colour.
  ASSERT_NE(skin->FaceBrush(), nullptr);
  EXPECT_EQ(brushColour(skin->FaceBrush()), RGB(235, 235, 235));

  // The owner frees it with the rest.
  form.destroyComponents();
  EXPECT_EQ(form.componentCount(), 0);
}

TEST_F(SkinDataTest, EmbeddedResourceHoldsTheCommittedSkin) {
  if (!haveSkinResource()) GTEST_SKIP() << "the program's resources carry no VRINSKIN yet";
  EXPECT_EQ(skinStreamResource("VRINSKIN"), writeSkinStream(readFile(kSkinFile)));
  EXPECT_THROW(skinStreamResource("NOSUCHSKIN"), Error);
}

TEST_F(SkinDataTest, SkinFileReplacesTheStoredSkin) {
  SkinData skin(nullptr);
  skin.SetSkinFile(kSkinFile);
  EXPECT_EQ(skin.SkinFile(), kSkinFile);
  EXPECT_FALSE(skin.NoSkin()) << skin.LoadError();
  EXPECT_EQ(skin.CompressedSkin(), readFile(kSkinFile));
  EXPECT_EQ(skin.SysButtons().size(), 9u);

  // A file that is not there only marks the skin unloaded; the elements stay.
  skin.SetSkinFile(sourcePath("resources/skin/missing.skn"));
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_EQ(skin.SysButtons().size(), 9u);
  EXPECT_EQ(skin.CompressedSkin(), readFile(kSkinFile));
  // A folder is not a skin file either.
  skin.setProperty("SkinFile", PropValue::ofText(sourcePath("resources/skin")));
  EXPECT_TRUE(skin.NoSkin());
  // Loading the kept compressed skin again brings it back.
  EXPECT_TRUE(skin.LoadSkin());
  EXPECT_FALSE(skin.NoSkin());
}

TEST_F(SkinDataTest, DamagedSkinsLeaveNoSkin) {
  const Bytes good = readFile(kSkinFile);
  ASSERT_GT(good.size(), 1000u);
  std::vector<Bytes> damaged;
  for (std::size_t cut : {std::size_t(1), std::size_t(2), std::size_t(50), good.size() / 2, good.size() - 4,
                          good.size() - 3})
    damaged.emplace_back(good.begin(), good.end() - std::ptrdiff_t(cut));
  Bytes huge = good;
  huge[3] = 0x7F;  // announces 2 GB
  damaged.push_back(huge);
  Bytes noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * 37 + (i >> 3));
  noise[0] = 0x10, noise[1] = 0x27, noise[2] = 0, noise[3] = 0;
  damaged.push_back(noise);
  // A container without a settings entry describes no skin.
  damaged.push_back(packSkin({{"top.bmp", Bytes(10, 1)}}));

  for (std::size_t i = 0; i < damaged.size(); ++i) {
    messages().clear();
    Component form(nullptr);
    auto* skin = new SkinData(&form);
    skin->beginLoading();
    skin->SetActive(true);
    EXPECT_NO_THROW(skin->ReadSkinStream(writeSkinStream(damaged[i]))) << i;
    skin->endLoading();
    EXPECT_TRUE(skin->NoSkin()) << i;
    EXPECT_FALSE(skin->LoadError().empty()) << i;
    EXPECT_FALSE(skin->Active()) << i;  // nothing to switch on
    EXPECT_EQ(skin->FaceBrush(), nullptr) << i;
    EXPECT_EQ(skin->PictureBitmapCount(), 0u) << i;
    // Noise decodes to a container of some other version, which is told as an older skin;
    // the other damage is refused quietly.
    EXPECT_EQ(messages().size(), damaged[i] == noise ? 1u : 0u) << i;
  }

  // A property value shorter than its length field says is an error of the definition.
  SkinData skin(nullptr);
  Bytes shortValue = writeSkinStream(good);
  shortValue.pop_back();
  EXPECT_THROW(skin.ReadSkinStream(shortValue), SkinError);
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_TRUE(skin.CompressedSkin().empty());
  // L = 0: no skin stored, nothing loaded.
  skin.ReadSkinStream(Bytes{0, 0, 0, 0});
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_TRUE(skin.LoadError().empty());

  // A damaged skin after a good one keeps the good one's elements but reports no skin.
  skin.ReadSkinStream(writeSkinStream(good));
  ASSERT_FALSE(skin.NoSkin());
  skin.ReadSkinStream(writeSkinStream(damaged[2]));
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_EQ(skin.SysButtons().size(), 9u);
}

TEST_F(SkinDataTest, OlderSkinShowsTheMessageOnce) {
  SkinData skin(nullptr);
  skin.ReadSkinStream(writeSkinStream(skinOfVersion(19999)));
  EXPECT_TRUE(skin.NoSkin());
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_TRUE(skin.SysButtons().empty());
  // Version 20000 written the same way loads.
  skin.ReadSkinStream(writeSkinStream(skinOfVersion(20000)));
  EXPECT_FALSE(skin.NoSkin());
  EXPECT_EQ(messages().size(), 1u);
}

TEST(SkinMessage, DefaultShowsAMessageBoxCaptionedWithTheTitle) {
  application().setTitle("Vrin");
  std::wstring caption, text;
  bool closed = false;
  // The box is modal: look for it from a timer that its own loop runs.
  std::function<void()> look = [&] {
    HWND box = FindWindowW(L"#32770", L"Vrin");
    if (!box) {
      runSoon(look, 50);
      return;
    }
    caption = windowText(box);
    text = windowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    closed = true;
  };
  runSoon(look, 50);
  SkinData skin(nullptr);
  skin.ReadSkinStream(writeSkinStream(skinOfVersion(1)));
  EXPECT_TRUE(pumpUntil([&] { return closed; }, 10000));
  EXPECT_TRUE(skin.NoSkin());
  EXPECT_EQ(caption, L"Vrin");
  EXPECT_NE(text.find(L"This is Older Skin File"), std::wstring::npos);
  EXPECT_NE(text.find(L"Please update to new version !"), std::wstring::npos);
}

// ---- GDI glue

namespace {

// A target whose every pixel differs from its neighbours, so misplaced pixels show.
Image pattern(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = rgb(x * 7, y * 11, (x ^ y) * 3);
  return img;
}

Image programPicture(const char* name) {
  const Bytes bytes = readFile(sourcePath(std::string("resources/skin/") + name));
  return decodeBmp(bytes.data(), bytes.size());
}

}  // namespace

TEST(SkinGdi, OneBlitPutsTheComposedGridOnTheDC) {
  const Image strip = programPicture("buttons.bmp");
  ASSERT_FALSE(strip.empty());
  for (int frame = 1; frame <= 5; frame += 2) {
    const Image grid = composeGrid(77, 31, strip, {10, 10, 10, 10}, false, frame == 3, 5, frame);
    Bitmap target;
    target.fromImage(pattern(100, 50));
    drawImage(target.dc(), 13, 9, grid);
    Image expected = pattern(100, 50);
    drawOpaque(expected, {13, 9, 13 + 77, 9 + 31}, grid);
    EXPECT_EQ(target.toImage(), expected) << "frame " << frame;
  }
  // Clipped at the target's edges.
  const Image grid = composeGrid(40, 40, strip, {10, 10, 10, 10}, false, false, 5, 2);
  Bitmap target;
  target.fromImage(pattern(30, 30));
  drawImage(target.dc(), -5, 12, grid);
  Image expected = pattern(30, 30);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (expected.contains(x - 5, y + 12)) expected.at(x - 5, y + 12) = grid.at(x, y);
  EXPECT_EQ(target.toImage(), expected);
}

TEST(SkinGdi, TransparentBlitLeavesTheKeyColourOut) {
  // The close button's frames are cut out of magenta; a three-slice of them keeps the key.
  const Image strip = programPicture("close.bmp");
  const Image slice = composeThreeSlice(50, 23, strip, false, 6, 2, 5, 5);
  std::size_t keyed = 0;
  for (Pixel p : slice.pixels) keyed += p == kKeyColour;
  ASSERT_GT(keyed, 0u);
  ASSERT_LT(keyed, slice.pixels.size());

  Bitmap target;
  target.fromImage(pattern(64, 40));
  drawImageTransparent(target.dc(), 7, 11, slice);
  Image expected = pattern(64, 40);
  drawTransparent(expected, {7, 11, 7 + 50, 11 + 23}, slice);
  EXPECT_EQ(target.toImage(), expected);

  // Another key, and the DC's colours are put back.
  Image two(3, 1);
  two.at(0, 0) = rgb(1, 2, 3);
  two.at(1, 0) = rgb(9, 9, 9);
  two.at(2, 0) = kKeyColour;
  Bitmap small;
  small.fromImage(Image(3, 1, rgb(100, 100, 100)));
  SetBkColor(small.dc(), RGB(10, 20, 30));
  SetTextColor(small.dc(), RGB(40, 50, 60));
  drawImageTransparent(small.dc(), 0, 0, two, rgb(1, 2, 3));
  const Image got = small.toImage();
  EXPECT_EQ(got.at(0, 0), rgb(100, 100, 100));
  EXPECT_EQ(got.at(1, 0), rgb(9, 9, 9));
  EXPECT_EQ(got.at(2, 0), kKeyColour);
  EXPECT_EQ(GetBkColor(small.dc()), RGB(10, 20, 30));
  EXPECT_EQ(GetTextColor(small.dc()), RGB(40, 50, 60));
}

TEST(SkinGdi, RegionsFromPicturesLeaveTheKeyColourOut) {
  // Rounded corners cut out in magenta, and one pixel inside just within the tolerance.
  Image picture(20, 10, rgb(10, 20, 30));
  for (int k = 0; k < 3; ++k)
    for (int j = 0; j < 3 - k; ++j) {
      picture.at(j, k) = kKeyColour;
      picture.at(19 - j, k) = kKeyColour;
      picture.at(j, 9 - k) = kKeyColour;
      picture.at(19 - j, 9 - k) = kKeyColour;
    }
  picture.at(10, 5) = rgb(255, 1, 255);  // within tolerance 1: cut away
  picture.at(11, 5) = rgb(255, 2, 255);  // outside it: kept
  GdiObject<HRGN> region = regionFromImage(picture, 5, 7, 1, 1, 1);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.get(), 5, 7));
  EXPECT_FALSE(PtInRegion(region.get(), 5 + 19, 7 + 9));
  EXPECT_TRUE(PtInRegion(region.get(), 5 + 3, 7));
  EXPECT_FALSE(PtInRegion(region.get(), 5 + 10, 7 + 5));
  EXPECT_TRUE(PtInRegion(region.get(), 5 + 11, 7 + 5));
  for (int y = -1; y <= 10; ++y)
    for (int x = -1; x <= 20; ++x) {
      const Pixel p = picture.contains(x, y) ? picture.at(x, y) : kKeyColour;
      const bool inside = !(red(p) == 255 && green(p) <= 1 && blue(p) == 255);
      ASSERT_EQ(PtInRegion(region.get(), x + 5, y + 7) != 0, inside) << x << "," << y;
    }
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 7);
  EXPECT_EQ(box.right, 25);
  EXPECT_EQ(box.bottom, 17);

  // All magenta: an empty region.
  GdiObject<HRGN> none = regionFromImage(Image(8, 8, kKeyColour), 0, 0, 1, 1, 1);
  ASSERT_TRUE(none);
  EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);

  // Stripes make 5000 rectangles: three batches, ORed into one region.
  Image stripes(100, 100, rgb(0, 0, 0));
  for (int y = 0; y < 100; ++y)
    for (int x = 1; x < 100; x += 2) stripes.at(x, y) = kKeyColour;
  ASSERT_EQ(regionRects(stripes, 0, 0, 1, 1, 1).size(), 3u);
  GdiObject<HRGN> striped = regionFromImage(stripes, 0, 0, 1, 1, 1);
  for (int y = 0; y < 100; y += 7)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(PtInRegion(striped.get(), x, y) != 0, x % 2 == 0) << x << "," << y;
  EXPECT_TRUE(PtInRegion(striped.get(), 98, 99));
}
