#pragma once
// The skin's byte layers: the stored `SkinStream` property (length + compressed skin), the
// compressed skin (see core/lzhuf.h) and the container of named entries inside it.
//
// Container layout, all integers 32-bit little-endian:
//   version (20000), T = name-list length, two reserved words,
//   T bytes of names each ended by CR LF, one size per name, then the entries back to back.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/lzhuf.h"

namespace vrin {

struct SkinError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr std::uint32_t kSkinVersion = 20000;
inline constexpr std::size_t kMaxSkinEntries = 1001;
// Shown (by the caller) when a container carries another version.
inline constexpr char kOlderSkinMessage[] = "This is Older Skin File\rPlease update to new version !";

struct SkinEntry {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

class SkinReader {
 public:
  // Decompresses a compressed skin (size header + LZHUF stream) and reads the container.
  // Returns false when the version is not kSkinVersion (the caller shows kOlderSkinMessage).
  // Throws SkinError for a damaged container and LzhError for an unusable stream. Unless it
  // returns true, the reader is left empty.
  bool load(const std::uint8_t* compressed, std::size_t size, std::uint32_t sizeLimit = kLzhDefaultSizeLimit);
  bool load(const std::vector<std::uint8_t>& compressed);
  // The same for an already decompressed container.
  bool loadContainer(const std::uint8_t* data, std::size_t size);
  bool loadContainer(const std::vector<std::uint8_t>& data);

  // Clears `out`, then fills it with the first entry whose name equals `name` in lower case.
  // Returns false (and leaves `out` empty) when there is none.
  bool getEntry(std::string_view name, std::vector<std::uint8_t>& out) const;
  std::vector<std::uint8_t> entry(std::string_view name) const;

  // Clears `out`, then takes the first entry whose name contains `fragment` (compared as given,
  // so pass lower case, e.g. ".ini"); on a match sets `name` to the entry's name. `name` is
  // untouched when nothing matches.
  bool findEntry(std::string_view fragment, std::vector<std::uint8_t>& out, std::string& name) const;

  const std::vector<std::string>& names() const { return names_; }
  const std::vector<std::uint32_t>& sizes() const { return sizes_; }
  std::size_t count() const { return names_.size(); }
  const std::vector<std::uint8_t>& dataBlock() const { return data_; }

  std::uint32_t version() const { return header_[0]; }
  std::uint32_t nameListLength() const { return header_[1]; }
  std::uint32_t reserved1() const { return header_[2]; }
  std::uint32_t reserved2() const { return header_[3]; }

 private:
  void clear();
  void copyEntry(std::size_t index, std::vector<std::uint8_t>& out) const;

  std::uint32_t header_[4] = {0, 0, 0, 0};
  std::vector<std::string> names_;
  std::vector<std::uint32_t> sizes_;
  std::vector<std::size_t> offsets_;
  std::vector<std::uint8_t> data_;
};

// Builds a container from entries, in the given order. Throws SkinError for more than
// kMaxSkinEntries entries, a name holding CR LF, or an entry over 4 GB.
std::vector<std::uint8_t> writeSkinContainer(const std::vector<SkinEntry>& entries, std::uint32_t reserved1 = 0,
                                             std::uint32_t reserved2 = 0);
// writeSkinContainer, compressed: the content of a skin file.
std::vector<std::uint8_t> packSkin(const std::vector<SkinEntry>& entries);

// The stored property: a signed 32-bit length L, then L bytes (nothing when L <= 0).
std::vector<std::uint8_t> writeSkinStream(const std::vector<std::uint8_t>& compressed);
// Reads the property value starting at `data`; `consumed` receives the bytes used. Throws
// SkinError when the length field or the L bytes it announces are not all there.
std::vector<std::uint8_t> readSkinStream(const std::uint8_t* data, std::size_t size, std::size_t* consumed = nullptr);

}  // namespace vrin
