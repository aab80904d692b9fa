#pragma once
// The program's skin with the two menu sections a test adds (tests/fixtures/skins/menus.ini)
// and their pictures, drawn here so a test knows every pixel of them.
#include <sstream>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/image.h"
#include "skin/pure/skin_container.h"
#include "support/source_files.h"

namespace vrin::test {

using Bytes = std::vector<std::uint8_t>;

// The test skin's pictures (tests/fixtures/skins/menus.ini says what they are).
namespace menuskin {
constexpr Pixel kItemEdge = rgb(0, 128, 0), kSelectedEdge = rgb(128, 0, 0), kSelectedFill = rgb(255, 200, 200),
                kSeparatorInk = rgb(0, 0, 160), kUnusedFrame = rgb(128, 128, 128);
constexpr Pixel kBackEdge = rgb(0, 0, 255), kBackFill = rgb(255, 255, 0);
constexpr int kItemFrame = 24, kItemHeight = 20;
}  // namespace menuskin
using namespace menuskin;

inline void frameInto(Image& image, int left, int width, int border, Pixel edge, Pixel fill) {
  for (int y = 0; y < image.height; ++y)
    for (int x = left; x < left + width; ++x) {
      const bool onEdge = x - left < border || x >= left + width - border || y < border || y >= image.height - border;
      image.at(x, y) = onEdge ? edge : fill;
    }
}

inline Bytes menuItemPicture() {
  Image strip(5 * kItemFrame, kItemHeight);
  frameInto(strip, 0, kItemFrame, 2, kItemEdge, kKeyColour);
  // Frame 2, the separator: the key colour with a line low in the frame.
  frameInto(strip, kItemFrame, kItemFrame, 0, kKeyColour, kKeyColour);
  for (int x = kItemFrame; x < 2 * kItemFrame; ++x) strip.at(x, 16) = strip.at(x, 17) = kSeparatorInk;
  frameInto(strip, 2 * kItemFrame, kItemFrame, 2, kUnusedFrame, kUnusedFrame);
  frameInto(strip, 3 * kItemFrame, kItemFrame, 2, kSelectedEdge, kSelectedFill);
  frameInto(strip, 4 * kItemFrame, kItemFrame, 2, kUnusedFrame, kUnusedFrame);
  return encodeBmp24(strip);
}

inline Bytes menuBackgroundPicture() {
  Image back(30, 30);
  frameInto(back, 0, 30, 3, kBackEdge, kBackFill);
  return encodeBmp24(back);
}

// The program's skin sources plus the two menu sections and their pictures.
inline Bytes menuTestSkin() {
  std::vector<SkinEntry> entries;
  const Bytes names = readFile(sourcePath("resources/skin/index.txt"));
  std::istringstream index(std::string(names.begin(), names.end()));
  for (std::string name; std::getline(index, name);) {
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    Bytes bytes = readFile(sourcePath("resources/skin/" + name));
    if (name == "vrinset.ini") {
      const Bytes extra = readFile(sourcePath("tests/fixtures/skins/menus.ini"));
      bytes.push_back('\n');
      bytes.insert(bytes.end(), extra.begin(), extra.end());
    }
    entries.push_back({name, std::move(bytes)});
  }
  entries.push_back({"menuitem.bmp", menuItemPicture()});
  entries.push_back({"menuback.bmp", menuBackgroundPicture()});
  return packSkin(entries);
}

}  // namespace vrin::test
