#pragma once
// The LZHUF decoder as it was before the table-driven rewrite, kept only so the benchmark can
// time both in one run and check that they agree byte for byte.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace baseline {

class LzhDecoder {
 public:
  using ReadFn = std::function<void(std::uint8_t* buffer, std::size_t wanted, std::size_t& got)>;
  using WriteFn = std::function<void(const std::uint8_t* buffer, std::size_t count)>;

  void decode(std::uint32_t size, const ReadFn& read, const WriteFn& write);

 private:
  void startModel();
  void rebuildTree();
  void update(int symbol);
  int decodeSymbol();
  int decodeDistance();
  int getBit();
  int getByte();
  void fillBits();

  std::vector<std::uint16_t> freq_;
  std::vector<std::uint16_t> prnt_;
  std::vector<std::uint16_t> son_;
  std::vector<std::uint8_t> ring_;
  std::uint16_t bitBuf_ = 0;
  std::uint8_t bitCount_ = 0;
  const ReadFn* read_ = nullptr;
};

// Size header + bit stream -> everything the decoder produced.
std::vector<std::uint8_t> lzhDecompress(const std::vector<std::uint8_t>& data);

}  // namespace baseline
