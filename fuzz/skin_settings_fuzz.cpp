// Any settings text, with any bytes standing in for every picture it names: parsing never
// fails and the fixed parts of the result hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "skin/pure/skin_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Text up to the first NUL byte; the bytes after it are the content of every picture.
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = all.find('\0');
  const std::string_view text = all.substr(0, nul);
  std::vector<std::uint8_t> picture;
  if (nul != std::string_view::npos) picture.assign(data + nul + 1, data + size);

  const vrin::SkinSettings s = vrin::parseSkinSettings(
      text, [&](const std::string&) { return picture; });
  if (s.SysButtons.size() < 3) std::abort();
  const auto& mdi = s.SysButtons.back();
  if (mdi.Action != 9 || mdi.FrameCount != 4 || mdi.Align != 100) std::abort();
  if (s.Buttons.FrameCount != 5 || s.Title.FrameCount != 2) std::abort();
  if (s.Buttons.CheckFrames < 1 || s.Buttons.RadioFrames < 1) std::abort();
  if (s.Scrollbar && s.Scrollbar->FrameCount != 23) std::abort();
  for (const auto& b : s.SysButtons)
    if (b.Image.pixels.size() != std::size_t(b.Image.width) * std::size_t(b.Image.height))
      std::abort();
  return 0;
}
