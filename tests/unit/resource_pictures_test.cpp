// The committed pictures under resources/: what the skin engine and the program expect of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/image.h"
#include "skin/pure/skin_draw.h"

namespace {

using vrin::Image;

const std::filesystem::path kResources = std::filesystem::path(VRIN_SOURCE_DIR) / "resources";

std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Image loadBmp(const std::filesystem::path& path) {
  const std::vector<std::uint8_t> bytes = readFile(path);
  return vrin::decodeBmp(bytes.data(), bytes.size());
}

Image skin(const std::string& name) { return loadBmp(kResources / "skin" / name); }

struct Listed {
  const char* name;
  int width, height;
};
// The skin's pictures, in container order.
const Listed kSkinPictures[] = {
    {"top.bmp", 294, 46},      {"bottom.bmp", 10, 6},     {"left.bmp", 6, 50},
    {"right.bmp", 6, 50},      {"menu.bmp", 15, 36},      {"dialog.bmp", 128, 128},
    {"buttons.bmp", 230, 22},  {"check.bmp", 68, 18},     {"radio.bmp", 68, 18},
    {"pbars.bmp", 80, 14},     {"taborder.bmp", 12, 12},  {"tabs.bmp", 114, 18},
    {"arrows.bmp", 368, 16},   {"hscroll.bmp", 64, 16},   {"vscroll.bmp", 64, 16},
    {"hscroll2.bmp", 144, 16}, {"vscroll2.bmp", 48, 48},  {"toolbars.bmp", 190, 27},
    {"rollup2.bmp", 90, 23},   {"min.bmp", 90, 23},       {"max.bmp", 90, 23},
    {"close.bmp", 96, 23},     {"rollup3.bmp", 90, 23},   {"mac-mdi.bmp", 180, 14},
};

bool isKey(vrin::Pixel p) { return (p & 0xFFFFFF) == vrin::kKeyColour; }
// What a window region built with tolerance 1 would also cut away.
bool nearKey(vrin::Pixel p) { return vrin::red(p) == 255 && vrin::blue(p) == 255 && vrin::green(p) <= 1; }

int countKey(const Image& img) {
  int n = 0;
  for (vrin::Pixel p : img.pixels) n += isKey(p);
  return n;
}

// Key pixels that cannot be reached from the picture's edge through other key pixels: holes
// punched into a shape.
int enclosedKeyPixels(const Image& img) {
  std::vector<char> seen(img.pixels.size(), 0);
  std::vector<std::pair<int, int>> todo;
  for (int x = 0; x < img.width; ++x) todo.push_back({x, 0}), todo.push_back({x, img.height - 1});
  for (int y = 0; y < img.height; ++y) todo.push_back({0, y}), todo.push_back({img.width - 1, y});
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (!img.contains(x, y) || !isKey(img.at(x, y))) continue;
    char& s = seen[std::size_t(y) * img.width + x];
    if (s) continue;
    s = 1;
    todo.push_back({x + 1, y}), todo.push_back({x - 1, y}), todo.push_back({x, y + 1}), todo.push_back({x, y - 1});
  }
  int enclosed = 0;
  for (std::size_t i = 0; i < img.pixels.size(); ++i) enclosed += isKey(img.pixels[i]) && !seen[i];
  return enclosed;
}

std::vector<Image> frames(const Image& strip, int count, bool stacked = false) {
  std::vector<Image> out;
  for (int k = 1; k <= count; ++k) out.push_back(vrin::cutFrame(strip, count, k, stacked));
  return out;
}

TEST(ResourcePictures, SkinPicturesHaveTheListedNamesSizesAndDepth) {
  std::set<std::string> listed;
  for (const Listed& p : kSkinPictures) {
    SCOPED_TRACE(p.name);
    listed.insert(p.name);
    const std::vector<std::uint8_t> bytes = readFile(kResources / "skin" / p.name);
    const vrin::BmpInfo info = vrin::peekBmp(bytes.data(), bytes.size());
    EXPECT_EQ(info.width, p.width);
    EXPECT_EQ(info.height, p.height);
    EXPECT_EQ(info.bitsPerPixel, 24);
    const Image img = vrin::decodeBmp(bytes.data(), bytes.size());
    EXPECT_EQ(img.width, p.width);
    EXPECT_EQ(img.height, p.height);
  }
  // Nothing else lies beside them that a packer could pick up by mistake.
  for (const auto& entry : std::filesystem::directory_iterator(kResources / "skin"))
    if (entry.path().extension() == ".bmp") EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path();
}

TEST(ResourcePictures, PicturesDrawnOpaqueCarryNoKeyColour) {
  // These elements are copied without transparency, so magenta would show on screen.
  for (const char* name : {"menu.bmp", "dialog.bmp", "taborder.bmp", "tabs.bmp", "arrows.bmp", "hscroll.bmp",
                           "vscroll.bmp", "hscroll2.bmp", "vscroll2.bmp", "toolbars.bmp", "bottom.bmp"}) {
    SCOPED_TRACE(name);
    const Image img = skin(name);
    for (vrin::Pixel p : img.pixels) ASSERT_FALSE(nearKey(p));
  }
}

TEST(ResourcePictures, KeyedPicturesAreCutOnlyAroundTheirShapes) {
  struct Keyed {
    const char* name;
    int frames;
  };
  // Frame counts as the skin engine derives them (title buttons: 90 x 23 and 96 x 23 are
  // wider than 3.8 to 1, so 6 frames; check and radio: 68 div 16 = 4).
  for (const Keyed& k : {Keyed{"rollup2.bmp", 6}, {"min.bmp", 6}, {"max.bmp", 6}, {"close.bmp", 6},
                         {"rollup3.bmp", 6}, {"mac-mdi.bmp", 12}, {"buttons.bmp", 5}, {"check.bmp", 4},
                         {"radio.bmp", 4}, {"pbars.bmp", 2}}) {
    const Image img = skin(k.name);
    int f = 0;
    for (const Image& frame : frames(img, k.frames)) {
      SCOPED_TRACE(std::string(k.name) + " frame " + std::to_string(++f));
      const int keys = countKey(frame);
      EXPECT_GT(keys, 0);
      EXPECT_LT(keys, frame.width * frame.height);
      EXPECT_EQ(enclosedKeyPixels(frame), 0) << "magenta hole inside the shape";
      for (vrin::Pixel p : frame.pixels) ASSERT_TRUE(isKey(p) || !nearKey(p));
    }
  }
}

TEST(ResourcePictures, StateFramesLookDifferent) {
  struct States {
    const char* name;
    int frames, distinct;  // the first `distinct` frames must all differ
  };
  // Title buttons: normal, pressed, hot, inactive. Push button: normal, pressed, disabled,
  // hot. Check: unchecked, checked, disabled, indeterminate. Radio: off, on, disabled off and
  // on. Arrows: each arrow's normal and pressed frames (1, 2, 5, 6, 9, 10, 13, 14) among the first 16.
  for (const States& s : {States{"rollup2.bmp", 6, 4}, {"min.bmp", 6, 4}, {"max.bmp", 6, 4},
                          {"close.bmp", 6, 4}, {"buttons.bmp", 5, 4}, {"check.bmp", 4, 4},
                          {"radio.bmp", 4, 4}, {"arrows.bmp", 23, 16}, {"hscroll2.bmp", 3, 3},
                          {"vscroll2.bmp", 3, 3}, {"mac-mdi.bmp", 12, 12}}) {
    SCOPED_TRACE(s.name);
    const std::vector<Image> fs = frames(skin(s.name), s.frames);
    for (int a = 0; a < s.distinct; ++a)
      for (int b = a + 1; b < s.distinct; ++b) EXPECT_NE(fs[a], fs[b]) << "frames " << a + 1 << " and " << b + 1;
  }
  const std::vector<Image> tabFrames = frames(skin("tabs.bmp"), 5);
  EXPECT_NE(tabFrames[0], tabFrames[1]) << "a selected tab must stand out";
  const std::vector<Image> bar = frames(skin("pbars.bmp"), 2);
  EXPECT_NE(bar[0], bar[1]);
}

TEST(ResourcePictures, WindowBordersMeetTheCaptionWithoutSeams) {
  const Image top = skin("top.bmp"), left = skin("left.bmp"), right = skin("right.bmp"), bottom = skin("bottom.bmp");
  for (int frame = 1; frame <= 2; ++frame) {
    SCOPED_TRACE(frame);
    const Image t = vrin::cutFrame(top, 2, frame, true);  // 294 x 23: the caption height
    const Image l = vrin::cutFrame(left, 2, frame, false);
    const Image r = vrin::cutFrame(right, 2, frame, false);
    const Image b = vrin::cutFrame(bottom, 2, frame, true);
    ASSERT_EQ(t.height, 23);
    ASSERT_EQ(l.width, 3);
    // Only the rounded top corners are cut away, and they are.
    EXPECT_TRUE(isKey(l.at(0, 0)));
    EXPECT_TRUE(isKey(r.at(r.width - 1, 0)));
    for (int y = 0; y < t.height; ++y)
      for (int x = 0; x < t.width; ++x)
        if (isKey(t.at(x, y))) EXPECT_TRUE(y < 6 && (x < 6 || x >= t.width - 6)) << x << "," << y;
    for (const Image* side : {&l, &r})
      for (int y = 6; y < side->height; ++y)
        for (int x = 0; x < side->width; ++x) EXPECT_FALSE(isKey(side->at(x, y))) << x << "," << y;
    EXPECT_EQ(countKey(b), 0);
    // Beside the caption the borders continue its colours row by row.
    for (int y = 6; y < 21; ++y) {
      EXPECT_EQ(l.at(2, y), t.at(0, y)) << y;
      EXPECT_EQ(r.at(0, y), t.at(t.width - 1, y)) << y;
    }
    // The stretched middle of the caption (between the fixed 37 and 71 pixel ends) is the same
    // in every column, so stretching it shows no pattern.
    for (int y = 0; y < t.height; ++y)
      for (int x = 37; x < t.width - 71; ++x) ASSERT_EQ(t.at(x, y), t.at(37, y)) << x << "," << y;
  }
  EXPECT_NE(vrin::cutFrame(top, 2, 1, true), vrin::cutFrame(top, 2, 2, true)) << "active and inactive captions";
}

TEST(ResourcePictures, ImageListHoldsSevenPicturesOnTheKey) {
  const std::vector<std::uint8_t> bytes = readFile(kResources / "images" / "imagelist.bmp");
  const vrin::BmpInfo info = vrin::peekBmp(bytes.data(), bytes.size());
  EXPECT_EQ(info.bitsPerPixel, 24);
  const Image strip = vrin::decodeBmp(bytes.data(), bytes.size());
  ASSERT_EQ(strip.width, 7 * 16);
  ASSERT_EQ(strip.height, 16);
  const std::vector<Image> cells = frames(strip, 7);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const Image& c = cells[std::size_t(i)];
    EXPECT_TRUE(isKey(c.at(0, 0)) && isKey(c.at(15, 0))) << "corners show the menu behind";
    const int keys = countKey(c);
    EXPECT_GT(keys, 16) << "a background around the shape";
    EXPECT_GT(256 - keys, 64) << "a shape that can be seen";
    EXPECT_EQ(enclosedKeyPixels(c), 0) << "magenta inside the shape";
    for (vrin::Pixel p : c.pixels) ASSERT_TRUE(isKey(p) || !nearKey(p));
    for (int j = 0; j < i; ++j) EXPECT_NE(c, cells[std::size_t(j)]) << "same as picture " << j;
  }
}

struct IcoImage {
  int size, bits, colours;
  bool someTransparent, someOpaque;
};

// Reads an icon file's directory and each image's header and mask, checking that every part
// lies inside the file.
std::vector<IcoImage> readIco(const std::vector<std::uint8_t>& f) {
  auto u16 = [&](std::size_t at) { return at + 2 <= f.size() ? unsigned(f[at] | f[at + 1] << 8) : ~0u; };
  auto u32 = [&](std::size_t at) { return at + 4 <= f.size() ? std::uint32_t(u16(at) | u16(at + 2) << 16) : ~0u; };
  EXPECT_EQ(u16(0), 0u);
  EXPECT_EQ(u16(2), 1u) << "icon type";
  std::vector<IcoImage> out;
  for (unsigned i = 0; i < u16(4) && i < 16; ++i) {
    const std::size_t e = 6 + 16 * std::size_t(i);
    const std::uint32_t size = u32(e + 8), offset = u32(e + 12);
    if (std::size_t(offset) + size > f.size() || size < 40) {
      ADD_FAILURE() << "image " << i << " lies outside the file";
      continue;
    }
    IcoImage img{f[e] ? f[e] : 256, int(u16(offset + 14)), 0, false, false};
    EXPECT_EQ(int(f[e + 1] ? f[e + 1] : 256), img.size) << "square";
    EXPECT_EQ(int(u32(offset + 8)), 2 * img.size) << "colour and mask heights together";
    img.colours = int(u32(offset + 32)) ? int(u32(offset + 32)) : 1 << img.bits;
    const std::size_t n = std::size_t(img.size);
    const std::size_t xorBytes = (n * std::size_t(img.bits) + 31) / 32 * 4 * n;
    const std::size_t andStride = (n + 31) / 32 * 4;
    const std::size_t maskAt = offset + 40 + 4 * std::size_t(img.colours) + xorBytes;
    EXPECT_EQ(maskAt + andStride * n, std::size_t(offset) + size) << "colours, pixels and mask fill the entry";
    for (std::size_t y = 0; y < n && maskAt + andStride * n <= f.size(); ++y)
      for (std::size_t x = 0; x < n; ++x) {
        const bool transparent = f[maskAt + y * andStride + x / 8] & (0x80 >> (x % 8));
        (transparent ? img.someTransparent : img.someOpaque) = true;
      }
    out.push_back(img);
  }
  return out;
}

TEST(ResourcePictures, IconsHoldA32And16Picture256Colours) {
  for (const char* name : {"vrin.ico", "tray_on.ico", "tray_off.ico"}) {
    SCOPED_TRACE(name);
    const std::vector<IcoImage> images = readIco(readFile(kResources / "images" / name));
    ASSERT_EQ(images.size(), 2u);
    std::set<int> sizes;
    for (const IcoImage& img : images) {
      sizes.insert(img.size);
      EXPECT_EQ(img.bits, 8);
      EXPECT_EQ(img.colours, 256);
      EXPECT_TRUE(img.someTransparent);
      EXPECT_TRUE(img.someOpaque);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
  }
  EXPECT_NE(readFile(kResources / "images" / "tray_on.ico"), readFile(kResources / "images" / "tray_off.ico"));
}

}  // namespace
