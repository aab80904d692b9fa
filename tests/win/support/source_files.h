#pragma once
// Files of the source tree (resources, skins) read by the Windows-side suites.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vrin::test {

// The source tree as Wine sees it (the Unix root is drive Z:).
inline std::string sourcePath(const std::string& relative) {
  std::string root = VRIN_SOURCE_DIR;
  if (!root.empty() && root[0] == '/') root = "Z:" + root;
  return root + "/" + relative;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace vrin::test
