#include "ico.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace picgen {
namespace {

struct Entry {
  vrin::Pixel colour;
  long count;
};

unsigned channelOf(vrin::Pixel p, int ch) { return ch == 0 ? vrin::red(p) : ch == 1 ? vrin::green(p) : vrin::blue(p); }

struct Range {
  std::size_t begin, end;
};

// The channel with the widest spread inside a range, and that spread.
std::pair<int, unsigned> widest(const std::vector<Entry>& e, Range r) {
  int best = 0;
  unsigned bestSpread = 0;
  for (int ch = 0; ch < 3; ++ch) {
    unsigned lo = 255, hi = 0;
    for (std::size_t i = r.begin; i < r.end; ++i) {
      lo = std::min(lo, channelOf(e[i].colour, ch));
      hi = std::max(hi, channelOf(e[i].colour, ch));
    }
    if (ch == 0 || hi - lo > bestSpread) best = ch, bestSpread = hi - lo;
  }
  return {best, bestSpread};
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<vrin::Pixel> quantize(const vrin::Image& image, int maxColours, std::vector<std::uint8_t>& indices) {
  if (maxColours < 2 || maxColours > 256) throw std::invalid_argument("palette size must be 2 to 256");
  std::map<vrin::Pixel, long> counts;
  for (vrin::Pixel p : image.pixels)
    if (p != vrin::kKeyColour) ++counts[p];
  std::vector<Entry> entries;
  for (const auto& [colour, count] : counts) entries.push_back({colour, count});

  std::vector<vrin::Pixel> palette{vrin::rgb(0, 0, 0)};  // index 0: the transparent pixels
  const std::size_t room = std::size_t(maxColours) - 1;
  if (entries.size() <= room) {
    for (const Entry& e : entries) palette.push_back(e.colour);
  } else {
    std::vector<Range> ranges{{0, entries.size()}};
    while (ranges.size() < room) {
      int pick = -1, channel = 0;
      unsigned bestSpread = 0;
      for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (ranges[i].end - ranges[i].begin < 2) continue;
        const auto [ch, spread] = widest(entries, ranges[i]);
        if (pick < 0 || spread > bestSpread) pick = int(i), channel = ch, bestSpread = spread;
      }
      if (pick < 0) break;
      Range r = ranges[std::size_t(pick)];
      std::stable_sort(entries.begin() + long(r.begin), entries.begin() + long(r.end),
                       [channel](const Entry& a, const Entry& b) {
                         const unsigned ca = channelOf(a.colour, channel), cb = channelOf(b.colour, channel);
                         return ca != cb ? ca < cb : a.colour < b.colour;
                       });
      long total = 0;
      for (std::size_t i = r.begin; i < r.end; ++i) total += entries[i].count;
      long acc = 0;
      std::size_t split = r.begin + 1;
      for (std::size_t i = r.begin; i + 1 < r.end; ++i) {
        acc += entries[i].count;
        split = i + 1;
        if (acc * 2 >= total) break;
      }
      ranges[std::size_t(pick)] = {r.begin, split};
      ranges.push_back({split, r.end});
    }
    for (const Range& r : ranges) {
      double sr = 0, sg = 0, sb = 0, n = 0;
      for (std::size_t i = r.begin; i < r.end; ++i) {
        const double w = double(entries[i].count);
        sr += vrin::red(entries[i].colour) * w;
        sg += vrin::green(entries[i].colour) * w;
        sb += vrin::blue(entries[i].colour) * w;
        n += w;
      }
      palette.push_back(vrin::rgb(unsigned(sr / n + 0.5), unsigned(sg / n + 0.5), unsigned(sb / n + 0.5)));
    }
  }

  indices.assign(image.pixels.size(), 0);
  std::map<vrin::Pixel, std::uint8_t> nearest;
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const vrin::Pixel p = image.pixels[i];
    if (p == vrin::kKeyColour) continue;
    auto it = nearest.find(p);
    if (it == nearest.end()) {
      long best = -1;
      std::uint8_t bestIndex = 1;
      for (std::size_t j = 1; j < palette.size(); ++j) {
        const long dr = long(vrin::red(p)) - long(vrin::red(palette[j]));
        const long dg = long(vrin::green(p)) - long(vrin::green(palette[j]));
        const long db = long(vrin::blue(p)) - long(vrin::blue(palette[j]));
        const long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < best) best = d, bestIndex = std::uint8_t(j);
      }
      it = nearest.emplace(p, bestIndex).first;
    }
    indices[i] = it->second;
  }
  return palette;
}

std::vector<std::uint8_t> encodeIco(const std::vector<vrin::Image>& pictures) {
  if (pictures.empty()) throw std::invalid_argument("an icon needs at least one picture");
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const vrin::Image& pic : pictures) {
    if (pic.width != pic.height || pic.width < 1 || pic.width > 256)
      throw std::invalid_argument("icon pictures must be square, 1 to 256 pixels");
    std::vector<std::uint8_t> indices;
    const std::vector<vrin::Pixel> palette = quantize(pic, 256, indices);
    const int n = pic.width;
    const std::size_t xorStride = (std::size_t(n) + 3) / 4 * 4;
    const std::size_t andStride = (std::size_t(n) + 31) / 32 * 4;
    std::vector<std::uint8_t> b;
    put32(b, 40);           // BITMAPINFOHEADER
    put32(b, std::uint32_t(n));
    put32(b, std::uint32_t(2 * n));  // colour rows and mask rows together
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);  // BI_RGB
    put32(b, std::uint32_t((xorStride + andStride) * std::size_t(n)));
    put32(b, 0);
    put32(b, 0);
    put32(b, 256);
    put32(b, 0);
    for (int i = 0; i < 256; ++i) {
      const vrin::Pixel p = i < int(palette.size()) ? palette[std::size_t(i)] : 0;
      b.push_back(std::uint8_t(vrin::blue(p)));
      b.push_back(std::uint8_t(vrin::green(p)));
      b.push_back(std::uint8_t(vrin::red(p)));
      b.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {  // bottom-up
      for (int x = 0; x < n; ++x) b.push_back(indices[std::size_t(y) * n + x]);
      b.resize(b.size() + xorStride - std::size_t(n), 0);
    }
    for (int y = n - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(andStride, 0);
      for (int x = 0; x < n; ++x)
        if (pic.at(x, y) == vrin::kKeyColour) row[std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
      b.insert(b.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(b));
  }
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // icon
  put16(out, unsigned(pictures.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const int n = pictures[i].width;
    out.push_back(std::uint8_t(n == 256 ? 0 : n));
    out.push_back(std::uint8_t(n == 256 ? 0 : n));
    out.push_back(0);  // 256 colours
    out.push_back(0);
    put16(out, 1);
    put16(out, 8);
    put32(out, std::uint32_t(bodies[i].size()));
    put32(out, offset);
    offset += std::uint32_t(bodies[i].size());
  }
  for (const auto& b : bodies) out.insert(out.end(), b.begin(), b.end());
  return out;
}

}  // namespace picgen
