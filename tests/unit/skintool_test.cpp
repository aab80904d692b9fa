// skintool through its real command line (the path comes from the tool's own CMake file).
#include <gtest/gtest.h>

#ifdef VRIN_SKINTOOL_PATH

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/lzhuf.h"
#include "skin/pure/skin_container.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

void writeText(const fs::path& p, const std::string& s) { writeAll(p, Bytes(s.begin(), s.end())); }

std::string readText(const fs::path& p) {
  const Bytes b = readAll(p);
  return std::string(b.begin(), b.end());
}

class SkinTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("skintool_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool; returns its exit code and leaves its output in out_ and err_.
  int run(const std::string& args) {
    const std::string cmd = std::string("'") + VRIN_SKINTOOL_PATH + "' " + args + " >'" + (dir_ / "stdout").string() +
                            "' 2>'" + (dir_ / "stderr").string() + "'";
    const int status = std::system(cmd.c_str());
    out_ = readText(dir_ / "stdout");
    err_ = readText(dir_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string q(const fs::path& p) const { return "'" + p.string() + "'"; }

  fs::path dir_;
  std::string out_, err_;
};

TEST_F(SkinTool, PackListUnpackRoundTrip) {
  const fs::path src = dir_ / "src";
  fs::create_directories(src);
  const Bytes top = vrin::encodeBmp24(vrin::Image(294, 46, vrin::rgb(10, 20, 30)));
  const Bytes close = vrin::encodeBmp24(vrin::Image(96, 23, vrin::kKeyColour));
  const std::string ini = "[Form]\r\nCaptionColor=0\r\n";
  writeAll(src / "top.bmp", top);
  writeAll(src / "close.bmp", close);
  writeText(src / "Skin.INI", ini);
  // CR LF endings, a blank line and padding are all fine.
  writeText(src / "index.txt", "top.bmp\r\n\r\n  Skin.INI \r\nclose.bmp");

  ASSERT_EQ(run("pack " + q(src) + " " + q(dir_ / "skin.lzh")), 0) << err_;
  vrin::SkinReader reader;
  ASSERT_TRUE(reader.load(readAll(dir_ / "skin.lzh")));
  EXPECT_EQ(reader.names(), (std::vector<std::string>{"top.bmp", "skin.ini", "close.bmp"}));
  EXPECT_EQ(reader.entry("top.bmp"), top);
  EXPECT_EQ(reader.entry("skin.ini"), Bytes(ini.begin(), ini.end()));

  ASSERT_EQ(run("list " + q(dir_ / "skin.lzh")), 0) << err_;
  EXPECT_NE(out_.find("top.bmp"), std::string::npos) << out_;
  EXPECT_NE(out_.find("294x46x24"), std::string::npos) << out_;
  EXPECT_NE(out_.find("96x23x24"), std::string::npos) << out_;
  EXPECT_NE(out_.find("skin.ini"), std::string::npos) << out_;
  EXPECT_NE(out_.find(std::to_string(ini.size())), std::string::npos) << out_;
  EXPECT_NE(out_.find("3 entries"), std::string::npos) << out_;

  ASSERT_EQ(run("unpack " + q(dir_ / "skin.lzh") + " " + q(dir_ / "out")), 0) << err_;
  EXPECT_EQ(readAll(dir_ / "out" / "top.bmp"), top);
  EXPECT_EQ(readAll(dir_ / "out" / "close.bmp"), close);
  EXPECT_EQ(readText(dir_ / "out" / "skin.ini"), ini);
  EXPECT_EQ(readText(dir_ / "out" / "index.txt"), "top.bmp\nskin.ini\nclose.bmp\n");

  // Packing the unpacked folder gives the same skin again (names now stored in lower case).
  ASSERT_EQ(run("pack " + q(dir_ / "out") + " " + q(dir_ / "again.lzh")), 0) << err_;
  vrin::SkinReader again;
  ASSERT_TRUE(again.load(readAll(dir_ / "again.lzh")));
  EXPECT_EQ(again.names(), reader.names());
  EXPECT_EQ(again.sizes(), reader.sizes());
  EXPECT_EQ(again.dataBlock(), reader.dataBlock());
}

TEST_F(SkinTool, CompressAndDecompressAnyFile) {
  Bytes data;
  for (int i = 0; i < 30000; ++i) data.push_back(std::uint8_t((i * i) >> 5));
  writeAll(dir_ / "plain", data);
  ASSERT_EQ(run("compress " + q(dir_ / "plain") + " " + q(dir_ / "packed")), 0) << err_;
  EXPECT_EQ(vrin::lzhDecompress(readAll(dir_ / "packed")), data);
  ASSERT_EQ(run("decompress " + q(dir_ / "packed") + " " + q(dir_ / "back")), 0) << err_;
  EXPECT_EQ(readAll(dir_ / "back"), data);
  // A stream whose last match overruns its size still decompresses to exactly that size.
  writeAll(dir_ / "overrun", Bytes{3, 0, 0, 0, 0x93});
  ASSERT_EQ(run("decompress " + q(dir_ / "overrun") + " " + q(dir_ / "three")), 0) << err_;
  EXPECT_EQ(readText(dir_ / "three"), "   ");
}

TEST_F(SkinTool, BadInputFailsWithAMessage) {
  EXPECT_EQ(run(""), 2);
  EXPECT_NE(err_.find("usage"), std::string::npos);
  EXPECT_EQ(run("frobnicate a b"), 2);
  EXPECT_NE(err_.find("frobnicate"), std::string::npos);
  EXPECT_EQ(run("list"), 2);

  EXPECT_EQ(run("list " + q(dir_ / "missing.lzh")), 1);
  EXPECT_NE(err_.find("missing.lzh"), std::string::npos) << err_;

  writeAll(dir_ / "tiny", Bytes{1, 2});
  EXPECT_EQ(run("decompress " + q(dir_ / "tiny") + " " + q(dir_ / "x")), 1);
  EXPECT_NE(err_.find("LZH"), std::string::npos) << err_;
  writeAll(dir_ / "huge", Bytes{0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(run("decompress " + q(dir_ / "huge") + " " + q(dir_ / "x")), 1);
  EXPECT_NE(err_.find("limit"), std::string::npos) << err_;

  // Another container version.
  Bytes old = vrin::writeSkinContainer({{"a.bmp", {1}}});
  old[0] = 0x1F;
  writeAll(dir_ / "old.lzh", vrin::lzhCompress(old));
  EXPECT_EQ(run("list " + q(dir_ / "old.lzh")), 1);
  EXPECT_NE(err_.find("This is Older Skin File"), std::string::npos) << err_;

  // An entry name that would escape the output folder: nothing is written.
  writeAll(dir_ / "evil.lzh", vrin::packSkin({{"ok.bmp", {1}}, {"../escaped", {2}}}));
  EXPECT_EQ(run("unpack " + q(dir_ / "evil.lzh") + " " + q(dir_ / "out")), 1);
  EXPECT_FALSE(fs::exists(dir_ / "escaped"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "ok.bmp"));

  // Index problems: a file that is not there, a path in place of a name, an empty index.
  fs::create_directories(dir_ / "src");
  writeText(dir_ / "src" / "index.txt", "nothere.bmp\n");
  EXPECT_EQ(run("pack " + q(dir_ / "src") + " " + q(dir_ / "o.lzh")), 1);
  EXPECT_NE(err_.find("nothere.bmp"), std::string::npos) << err_;
  writeText(dir_ / "src" / "index.txt", "sub/x.bmp\n");
  EXPECT_EQ(run("pack " + q(dir_ / "src") + " " + q(dir_ / "o.lzh")), 1);
  EXPECT_NE(err_.find("line 1"), std::string::npos) << err_;
  writeText(dir_ / "src" / "index.txt", "\r\n\r\n");
  EXPECT_EQ(run("pack " + q(dir_ / "src") + " " + q(dir_ / "o.lzh")), 1);
  EXPECT_FALSE(fs::exists(dir_ / "o.lzh"));
}

}  // namespace

#endif  // VRIN_SKINTOOL_PATH
