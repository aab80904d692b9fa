// The skin container reader on arbitrary bytes, both as a plain container and as a compressed
// skin. A container it accepts must come back unchanged through the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"

namespace {

// Inputs are read as compressed skins too; their size header is bounded far below the
// library's default so a forged header costs little time. A plain container starts with
// 20000, which as a size is over this bound: it is refused at once on that path.
constexpr std::uint32_t kFuzzSizeLimit = 16 * 1024;

void exercise(const vrin::SkinReader& reader) {
  std::vector<std::uint8_t> out;
  std::string name;
  std::size_t total = 0;
  for (std::size_t i = 0; i < reader.count(); ++i) {
    reader.getEntry(reader.names()[i], out);
    total += out.size();
  }
  reader.findEntry(".ini", out, name);
  reader.findEntry("", out, name);
  if (total > reader.dataBlock().size() * (reader.count() + 1)) std::abort();
}

void checkRoundTrip(const vrin::SkinReader& reader) {
  std::vector<vrin::SkinEntry> entries;
  for (std::size_t i = 0; i < reader.count(); ++i) {
    vrin::SkinEntry e{reader.names()[i], {}};
    std::size_t offset = 0;
    for (std::size_t k = 0; k < i; ++k) offset += reader.sizes()[k];
    e.bytes.assign(reader.dataBlock().begin() + std::ptrdiff_t(offset),
                   reader.dataBlock().begin() + std::ptrdiff_t(offset + reader.sizes()[i]));
    entries.push_back(std::move(e));
  }
  vrin::SkinReader again;
  if (!again.loadContainer(vrin::writeSkinContainer(entries, reader.reserved1(), reader.reserved2()))) std::abort();
  if (again.names() != reader.names() || again.sizes() != reader.sizes()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vrin::SkinReader reader;
  try {
    if (reader.loadContainer(data, size)) {
      exercise(reader);
      checkRoundTrip(reader);
    }
  } catch (const vrin::SkinError&) {
  }
  if (reader.count() != 0 && reader.version() != vrin::kSkinVersion) std::abort();

  try {
    if (reader.load(data, size, kFuzzSizeLimit)) exercise(reader);
  } catch (const vrin::SkinError&) {
  } catch (const vrin::LzhError&) {
  }

  try {
    std::size_t used = 0;
    const auto stored = vrin::readSkinStream(data, size, &used);
    if (used > size || used != 4 + stored.size()) std::abort();
  } catch (const vrin::SkinError&) {
  }
  return 0;
}
