#include "skin/pure/skin_load.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string_view>

#include "core/skin_container.h"

namespace vrin {

std::vector<std::uint8_t> decompressSkin(const std::uint8_t* data, std::size_t size, std::uint32_t sizeLimit) {
  if (size < 4) throw LzhError("LZH : compressed data is shorter than its 4-byte size header");
  const std::uint32_t n = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                          std::uint32_t(data[3]) << 24;
  if (n > sizeLimit)
    throw LzhError("LZH : decoded size " + std::to_string(n) + " exceeds the limit of " + std::to_string(sizeLimit) +
                   " bytes");
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(n) + lzh::kMaxMatch);
  std::size_t pos = 4;
  std::size_t pastEnd = 0;
  LzhDecoder decoder;
  decoder.decode(
      n,
      [&](std::uint8_t* buffer, std::size_t wanted, std::size_t& got) {
        got = std::min(wanted, size - pos);
        std::copy_n(data + pos, got, buffer);
        pos += got;
        pastEnd += wanted - got;
        // Stop at once rather than decode the rest of the announced size from zero bits.
        if (pastEnd > 1)
          throw LzhError("LZH : compressed data ends after " + std::to_string(out.size()) + " of the " +
                         std::to_string(n) + " bytes it announces");
      },
      [&](const std::uint8_t* buffer, std::size_t count) { out.insert(out.end(), buffer, buffer + count); });
  return out;
}

SkinLoadResult loadSkin(const std::uint8_t* data, std::size_t size) {
  SkinLoadResult result;
  try {
    const std::vector<std::uint8_t> container = decompressSkin(data, size);
    SkinReader reader;
    if (!reader.loadContainer(container)) {
      result.status = SkinLoadStatus::OlderVersion;
      return result;
    }
    std::vector<std::uint8_t> ini;
    if (!reader.findEntry(".ini", ini, result.settingsName)) {
      result.error = "the skin holds no settings entry (.ini)";
      return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(ini.data()), ini.size());
    result.settings = parseSkinSettings(text, [&reader](const std::string& name) { return reader.entry(name); });
    result.status = SkinLoadStatus::Loaded;
  } catch (const std::bad_alloc&) {
    result.error = kLzhNoMemoryMessage;
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

SkinLoadResult loadSkin(const std::vector<std::uint8_t>& compressed) {
  return loadSkin(compressed.data(), compressed.size());
}

}  // namespace vrin
