#include "skin/pure/skin_container.h"

#include <algorithm>

#include "core/text.h"

namespace vrin {

namespace {

std::uint32_t readU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(std::uint8_t(v >> (8 * k)));
}

}  // namespace

void SkinReader::clear() {
  std::fill(std::begin(header_), std::end(header_), 0u);
  names_.clear();
  sizes_.clear();
  offsets_.clear();
  data_.clear();
}

bool SkinReader::load(const std::uint8_t* compressed, std::size_t size, std::uint32_t sizeLimit) {
  clear();
  const std::vector<std::uint8_t> container = lzhDecompress(compressed, size, sizeLimit);
  return loadContainer(container);
}

bool SkinReader::load(const std::vector<std::uint8_t>& compressed) {
  return load(compressed.data(), compressed.size());
}

bool SkinReader::loadContainer(const std::vector<std::uint8_t>& data) {
  return loadContainer(data.data(), data.size());
}

bool SkinReader::loadContainer(const std::uint8_t* data, std::size_t size) {
  clear();
  if (size < 4) throw SkinError("skin container too short: " + std::to_string(size) + " bytes");
  if (readU32(data) != kSkinVersion) return false;
  if (size < 16) throw SkinError("skin container header cut short");

  std::uint32_t header[4];
  for (int k = 0; k < 4; ++k) header[k] = readU32(data + 4 * k);
  const std::size_t nameLength = header[1];
  std::size_t pos = 16;
  if (nameLength > size - pos)
    throw SkinError("skin name list (" + std::to_string(nameLength) + " bytes) runs past the end of the container");

  // The list is lower-cased as a whole, then cut at each CR LF; a last CR LF ends the last
  // name rather than starting an empty one.
  const std::string list = lowerCase(std::string_view(reinterpret_cast<const char*>(data + pos), nameLength));
  pos += nameLength;
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < list.size()) {
    if (names.size() == kMaxSkinEntries)
      throw SkinError("skin container has more than " + std::to_string(kMaxSkinEntries) + " entries");
    const std::size_t end = list.find("\r\n", start);
    if (end == std::string::npos) {
      names.push_back(list.substr(start));
      break;
    }
    names.push_back(list.substr(start, end - start));
    start = end + 2;
  }

  const std::size_t count = names.size();
  if (count * 4 > size - pos) throw SkinError("skin size table runs past the end of the container");
  std::vector<std::uint32_t> sizes(count);
  std::vector<std::size_t> offsets(count);
  for (std::size_t i = 0; i < count; ++i) sizes[i] = readU32(data + pos + 4 * i);
  pos += count * 4;

  const std::size_t available = size - pos;
  std::uint64_t offset = 0;
  for (std::size_t i = 0; i < count; ++i) {
    offsets[i] = std::size_t(offset);
    offset += sizes[i];
    if (offset > available)
      throw SkinError("skin entry \"" + names[i] + "\" runs past the data present (" + std::to_string(offset) +
                      " > " + std::to_string(available) + " bytes)");
  }

  std::copy(std::begin(header), std::end(header), std::begin(header_));
  names_ = std::move(names);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  data_.assign(data + pos, data + size);
  return true;
}

void SkinReader::copyEntry(std::size_t index, std::vector<std::uint8_t>& out) const {
  const auto first = data_.begin() + std::ptrdiff_t(offsets_[index]);
  out.assign(first, first + std::ptrdiff_t(sizes_[index]));
}

bool SkinReader::getEntry(std::string_view name, std::vector<std::uint8_t>& out) const {
  out.clear();
  const std::string wanted = lowerCase(name);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) {
      copyEntry(i, out);
      return true;
    }
  }
  return false;
}

std::vector<std::uint8_t> SkinReader::entry(std::string_view name) const {
  std::vector<std::uint8_t> out;
  getEntry(name, out);
  return out;
}

bool SkinReader::findEntry(std::string_view fragment, std::vector<std::uint8_t>& out, std::string& name) const {
  out.clear();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(fragment) != std::string::npos) {
      copyEntry(i, out);
      name = names_[i];
      return true;
    }
  }
  return false;
}

std::vector<std::uint8_t> writeSkinContainer(const std::vector<SkinEntry>& entries, std::uint32_t reserved1,
                                             std::uint32_t reserved2) {
  if (entries.size() > kMaxSkinEntries)
    throw SkinError("a skin holds at most " + std::to_string(kMaxSkinEntries) + " entries, not " +
                    std::to_string(entries.size()));
  std::string list;
  std::uint64_t dataSize = 0;
  for (const SkinEntry& e : entries) {
    // Only CR LF ends a name when the list is read back.
    if (e.name.find("\r\n") != std::string::npos)
      throw SkinError("skin entry name may not hold CR LF: \"" + e.name + "\"");
    if (e.bytes.size() > 0xFFFFFFFFu) throw SkinError("skin entry \"" + e.name + "\" is over 4 GB");
    list += e.name;
    list += "\r\n";
    dataSize += e.bytes.size();
  }
  if (list.size() + 4 * entries.size() + dataSize + 16 > 0xFFFFFFFFu) throw SkinError("skin container over 4 GB");

  std::vector<std::uint8_t> out;
  out.reserve(16 + list.size() + 4 * entries.size() + std::size_t(dataSize));
  putU32(out, kSkinVersion);
  putU32(out, std::uint32_t(list.size()));
  putU32(out, reserved1);
  putU32(out, reserved2);
  out.insert(out.end(), list.begin(), list.end());
  for (const SkinEntry& e : entries) putU32(out, std::uint32_t(e.bytes.size()));
  for (const SkinEntry& e : entries) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  return out;
}

std::vector<std::uint8_t> packSkin(const std::vector<SkinEntry>& entries) {
  return lzhCompress(writeSkinContainer(entries));
}

std::vector<std::uint8_t> writeSkinStream(const std::vector<std::uint8_t>& compressed) {
  if (compressed.size() > 0x7FFFFFFFu) throw SkinError("compressed skin too large for the stored property");
  std::vector<std::uint8_t> out;
  out.reserve(4 + compressed.size());
  putU32(out, std::uint32_t(compressed.size()));
  out.insert(out.end(), compressed.begin(), compressed.end());
  return out;
}

std::vector<std::uint8_t> readSkinStream(const std::uint8_t* data, std::size_t size, std::size_t* consumed) {
  if (size < 4) throw SkinError("skin property cut short: no length");
  const std::int32_t length = std::int32_t(readU32(data));
  if (length <= 0) {
    if (consumed) *consumed = 4;
    return {};
  }
  if (std::size_t(length) > size - 4)
    throw SkinError("skin property announces " + std::to_string(length) + " bytes but holds " +
                    std::to_string(size - 4));
  if (consumed) *consumed = 4 + std::size_t(length);
  return std::vector<std::uint8_t>(data + 4, data + 4 + length);
}

}  // namespace vrin
