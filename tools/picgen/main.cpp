// picgen: draws every picture Vrin ships, with code, so the pictures can be remade exactly.
//
// Regenerate (from the repository root, after building the native preset):
//     cmake --build build/native -j2 --target picgen
//     build/native/bin/picgen resources
// It writes resources/images/* and resources/skin/*.bmp; running it again gives the same
// bytes. Everything is 24 bits per pixel; magenta (255, 0, 255) marks what is transparent.
//
// resources/images/
//   imagelist.bmp  112 x 16: the image list's seven 16 x 16 pictures, left to right:
//                  0 blocking off (grey shield struck through in red), 1 blocking on (green
//                  shield with a white tick), 2 web site (globe), 3 exit (door with an arrow
//                  leaving), 4 history (clock), 5 clean (broom), 6 clean options (broom and gear).
//   vrin.ico       window icon: the "blocking on" shield, 32 x 32 and 16 x 16, 256 colours.
//   tray_on.ico, tray_off.ico  the tray's two states, 16 x 16 and 32 x 32, 256 colours.
//
// resources/skin/ (frames side by side unless said otherwise; frame numbers from 1):
//   top.bmp 294x46     caption: 2 frames stacked, 294 x 23 (active, inactive); rounded top-left
//                      corner continues the left picture, top-right the right one.
//   left.bmp, right.bmp 6x50  borders: 2 frames of 3 x 50 (active, inactive); rows 0-22 are
//                      beside the caption, the top corners are cut with magenta.
//   bottom.bmp 10x6    bottom border: 2 frames stacked, 10 x 3 (active, inactive).
//   menu.bmp 15x36     menu bar: 2 frames stacked, 15 x 18 (active, inactive).
//   dialog.bmp 128x128 tileable dialog background.
//   buttons.bmp 230x22 push button: 5 frames of 46 x 22: normal, pressed, disabled, hot/focused,
//                      default.
//   check.bmp 68x18    4 frames of 17 x 18: unchecked, checked, disabled, indeterminate.
//   radio.bmp 68x18    4 frames of 17 x 18: off, on, disabled off, disabled on.
//   pbars.bmp 80x14    progress: 2 frames of 40 x 14: trough, filled part.
//   taborder.bmp 12x12 the tab page's border (outer cells of a nine-cell grid).
//   tabs.bmp 114x18    5 frames of 22 x 18 (+4 spare columns): tab, selected, disabled, hot,
//                      selected again.
//   arrows.bmp 368x16  23 frames of 16 x 16: left, right, up, down arrow and a blank button,
//                      each normal, pressed, hot, disabled (1-20); 21 size grip, 22 corner,
//                      23 track colour.
//   hscroll.bmp, vscroll.bmp 64x16  track: 4 frames of 16 x 16: track, pressed, hot, disabled.
//   hscroll2.bmp 144x16, vscroll2.bmp 48x48  thumb: 3 frames (48 x 16 / 16 x 48): normal,
//                      pressed, hot.
//   toolbars.bmp 190x27 5 frames of 38 x 27: normal, pressed, disabled, hot, checked.
//   rollup2.bmp, min.bmp, max.bmp, rollup3.bmp 90x23 (6 frames of 15 x 23), close.bmp 96x23
//                      (6 frames of 16 x 23): normal, pressed, hot, inactive window, disabled,
//                      normal (spare). rollup3 is the "roll down" state.
//   mac-mdi.bmp 180x14 maximised MDI child's minimise, restore, close: 4 frames of 15 x 14
//                      each: normal, pressed, inactive, hot.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "ico.h"
#include "icons.h"
#include "skin.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: picgen <resources folder>\n");
    return 2;
  }
  try {
    const std::filesystem::path root = argv[1];
    const std::filesystem::path images = root / "images", skin = root / "skin";
    std::filesystem::create_directories(images);
    std::filesystem::create_directories(skin);

    using picgen::Glyph;
    writeFile(images / "imagelist.bmp", vrin::encodeBmp24(picgen::imageListStrip()));
    auto icon = [](Glyph g) {
      return picgen::encodeIco({picgen::iconPicture(g, 32), picgen::iconPicture(g, 16)});
    };
    writeFile(images / "vrin.ico", icon(Glyph::BlockingOn));
    writeFile(images / "tray_on.ico", icon(Glyph::BlockingOn));
    writeFile(images / "tray_off.ico", icon(Glyph::BlockingOff));

    for (const picgen::NamedPicture& p : picgen::skinPictures())
      writeFile(skin / p.name, vrin::encodeBmp24(p.image));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "picgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
