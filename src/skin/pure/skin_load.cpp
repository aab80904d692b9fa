#include "skin/pure/skin_load.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string_view>

#include "skin/pure/skin_container.h"

namespace vrin {

std::vector<std::uint8_t> decompressSkin(const std::uint8_t* data, std::size_t size, std::uint32_t sizeLimit) {
  return lzhDecompress(data, size, sizeLimit, true);
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
