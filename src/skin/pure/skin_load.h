#pragma once
// From a compressed skin (the content of a skin file, or the stored property's bytes) to the
// skin's settings: decompress, read the container, parse its settings entry with the
// container's pictures. Portable, so the whole road is tested natively; the Win32 side turns
// the result into bitmaps and brushes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/lzhuf.h"
#include "skin/pure/skin_settings.h"

namespace vrin {

enum class SkinLoadStatus {
  Loaded,        // settings parsed
  OlderVersion,  // the container is not version 20000: the caller shows kOlderSkinMessage
  Damaged,       // unusable bytes; `error` says why
};

struct SkinLoadResult {
  SkinLoadStatus status = SkinLoadStatus::Damaged;
  std::string error;         // why a Damaged skin was refused
  std::string settingsName;  // the container entry the settings came from (lower case)
  SkinSettings settings;     // meaningful only when Loaded
};

// Decompresses a compressed skin (32-bit size, then the LZHUF stream). The decoder itself
// reads missing input as zero bits; here a stream that ends before its announced size is
// produced counts as damaged (LzhError), since what the decoder makes up past the end is
// garbage that would otherwise pass for pictures. A complete stream is read at most one
// byte past its end (the decoder keeps 9 to 16 bits buffered), so more than that means the
// stream was cut short.
std::vector<std::uint8_t> decompressSkin(const std::uint8_t* data, std::size_t size,
                                         std::uint32_t sizeLimit = kLzhDefaultSizeLimit);

// The whole load. Never throws for bad bytes: the status tells. A container without a
// settings entry (no name containing ".ini") is damaged: it describes no skin.
SkinLoadResult loadSkin(const std::uint8_t* data, std::size_t size);
SkinLoadResult loadSkin(const std::vector<std::uint8_t>& compressed);

}  // namespace vrin
