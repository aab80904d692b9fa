// skintool: builds and inspects the program's compressed skins.
//
//   skintool pack DIR OUT        the files named in DIR/index.txt (one per line, in order)
//                                -> compressed skin OUT
//   skintool unpack IN DIR       every entry of IN -> DIR, plus DIR/index.txt
//   skintool list IN             name, size and, for bitmaps, width x height x bits
//   skintool compress IN OUT     any file -> size header + LZHUF stream
//   skintool decompress IN OUT   the reverse
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read " + path.string());
  return data;
}

void writeFile(const fs::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + path.string());
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Entry names become file names on unpack and come from file names on pack: keep them plain.
std::string nameProblem(const std::string& name) {
  if (name.empty()) return "empty name";
  if (name == "." || name == "..") return "\"" + name + "\" is not a file name";
  for (unsigned char c : name) {
    if (c < 32 || c == 127) return "control character in \"" + name + "\"";
    if (c == '/' || c == '\\' || c == ':') return "path separator in \"" + name + "\"";
  }
  return {};
}

std::vector<std::string> readIndex(const fs::path& indexPath) {
  const Bytes raw = readFile(indexPath);
  std::vector<std::string> names;
  std::string line;
  int lineNo = 0;
  auto take = [&] {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      const auto last = line.find_last_not_of(" \t");
      const std::string name = line.substr(first, last - first + 1);
      const std::string problem = nameProblem(name);
      if (!problem.empty())
        throw std::runtime_error(indexPath.string() + " line " + std::to_string(lineNo) + ": " + problem);
      names.push_back(name);
    }
    line.clear();
  };
  for (std::uint8_t c : raw) {
    if (c == '\n')
      take();
    else
      line.push_back(char(c));
  }
  if (!line.empty()) take();
  if (names.empty()) throw std::runtime_error(indexPath.string() + " names no files");
  return names;
}

int pack(const fs::path& dir, const fs::path& out) {
  std::vector<vrin::SkinEntry> entries;
  for (const std::string& name : readIndex(dir / "index.txt")) entries.push_back({name, readFile(dir / name)});
  const Bytes packed = vrin::packSkin(entries);
  writeFile(out, packed);
  std::cout << "packed " << entries.size() << " entries into " << out.string() << " (" << packed.size()
            << " bytes)\n";
  return 0;
}

// Loads a compressed skin; a container of another version is an error here.
vrin::SkinReader loadSkin(const fs::path& in) {
  vrin::SkinReader reader;
  if (!reader.load(readFile(in))) {
    std::string message = vrin::kOlderSkinMessage;
    for (char& c : message)
      if (c == '\r') c = ' ';
    throw std::runtime_error(in.string() + ": " + message);
  }
  return reader;
}

int unpack(const fs::path& in, const fs::path& dir) {
  const vrin::SkinReader reader = loadSkin(in);
  for (const std::string& name : reader.names()) {
    const std::string problem = nameProblem(name);
    if (!problem.empty()) throw std::runtime_error(in.string() + ": entry not writable as a file: " + problem);
  }
  fs::create_directories(dir);
  std::set<std::string> seen;
  std::string index;
  for (const std::string& name : reader.names()) {
    if (!seen.insert(name).second) {
      // Lookups only ever find the first entry of a name.
      std::cerr << "skintool: skipping second entry named " << name << "\n";
      continue;
    }
    writeFile(dir / name, reader.entry(name));
    index += name + "\n";
  }
  writeFile(dir / "index.txt", Bytes(index.begin(), index.end()));
  std::cout << "unpacked " << seen.size() << " entries into " << dir.string() << "\n";
  return 0;
}

int list(const fs::path& in) {
  const vrin::SkinReader reader = loadSkin(in);
  const auto& names = reader.names();
  const auto& sizes = reader.sizes();
  std::set<std::string> seen;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::printf("%-20s %10u", names[i].c_str(), unsigned(sizes[i]));
    if (seen.insert(names[i]).second) {
      const Bytes bytes = reader.entry(names[i]);
      if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        try {
          const vrin::BmpInfo info = vrin::peekBmp(bytes.data(), bytes.size());
          std::printf("  %dx%dx%d", info.width, info.height, info.bitsPerPixel);
        } catch (const vrin::BmpError& e) {
          std::printf("  (bad bitmap: %s)", e.what());
        }
      }
    } else {
      std::printf("  (hidden by an earlier entry of this name)");
    }
    std::printf("\n");
  }
  std::printf("%zu entries, %zu data bytes\n", names.size(), reader.dataBlock().size());
  return 0;
}

int compress(const fs::path& in, const fs::path& out) {
  const Bytes data = readFile(in);
  const Bytes packed = vrin::lzhCompress(data);
  writeFile(out, packed);
  std::cout << data.size() << " -> " << packed.size() << " bytes\n";
  return 0;
}

int decompress(const fs::path& in, const fs::path& out) {
  const Bytes packed = readFile(in);
  Bytes data = vrin::lzhDecompress(packed);
  // The decoder finishes its last match even past the announced size; the file holds the size.
  const std::size_t announced = std::size_t(packed[0]) | std::size_t(packed[1]) << 8 | std::size_t(packed[2]) << 16 |
                                std::size_t(packed[3]) << 24;
  if (data.size() > announced) data.resize(announced);
  writeFile(out, data);
  std::cout << packed.size() << " -> " << data.size() << " bytes\n";
  return 0;
}

const char kUsage[] =
    "usage: skintool pack DIR OUT | unpack IN DIR | list IN | compress IN OUT | decompress IN OUT\n"
    "  pack        packs the files named in DIR/index.txt (one per line, in order) into a compressed skin\n"
    "  unpack      writes every entry of a compressed skin, and an index.txt, to DIR\n"
    "  list        shows each entry's name, size and, for bitmaps, width x height x bits\n"
    "  compress    LZHUF-compresses any file (32-bit size, then the bit stream)\n"
    "  decompress  the reverse\n";

int run(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& cmd = args[0];
  if (cmd != "pack" && cmd != "unpack" && cmd != "list" && cmd != "compress" && cmd != "decompress")
    throw UsageError("unknown command \"" + cmd + "\"");
  auto need = [&](std::size_t n) {
    if (args.size() != n + 1) throw UsageError(cmd + " takes " + std::to_string(n) + " argument(s)");
  };
  if (cmd == "list") {
    need(1);
    return list(args[1]);
  }
  need(2);
  if (cmd == "pack") return pack(args[1], args[2]);
  if (cmd == "unpack") return unpack(args[1], args[2]);
  if (cmd == "compress") return compress(args[1], args[2]);
  return decompress(args[1], args[2]);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "skintool: " << e.what() << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "skintool: " << e.what() << "\n";
    return 1;
  }
}
