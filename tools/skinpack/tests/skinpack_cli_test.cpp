// Runs the built skinpack on files in a scratch folder and checks its exit
// status, its messages and the files it writes.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"
#include "core/skindef/alpha_picture.h"
#include "core/skindef/tests/bmp_builder.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes ReadBytes(const fs::path& path) {
  const std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class SkinpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::path(SKINPACK_SCRATCH) / info->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
  }

  Result Run(const std::vector<std::string>& args) {
    std::string command = ShellQuoted(SKINPACK_PATH);
    for (const std::string& arg : args) command += " " + ShellQuoted(arg);
    command += " >" + ShellQuoted((dir / "stdout.txt").string()) + " 2>" + ShellQuoted((dir / "stderr.txt").string());
    const int status = std::system(command.c_str());
    Result result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(dir / "stdout.txt");
    result.err = ReadText(dir / "stderr.txt");
    return result;
  }

  Result RunOk(const std::vector<std::string>& args) {
    Result result = Run(args);
    EXPECT_EQ(result.exitCode, 0) << args.front() << ": " << result.err;
    return result;
  }

  // A failing run: the exit status, and the message somewhere in stderr.
  void ExpectFailure(const std::vector<std::string>& args, const char* message, int exitCode = 1) {
    SCOPED_TRACE(args.empty() ? "no arguments" : args.front());
    const Result result = Run(args);
    EXPECT_EQ(result.exitCode, exitCode) << message;
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, message, result.err);
  }

  std::string P(const std::string& name) const { return (dir / name).string(); }

  // Writes a file in the scratch folder, making its folders first.
  void Write(const std::string& name, std::string_view text) {
    fs::create_directories((dir / name).parent_path());
    WriteBytes(dir / name, Bytes(text.begin(), text.end()));
  }

  fs::path dir;
};

// A PNG file of straight 0xAARRGGBB pixels, with or without its alpha.
Bytes Png(int width, int height, const std::vector<std::uint32_t>& pixels, bool alpha) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t p : pixels) {
    for (int i = 0; i < (alpha ? 4 : 3); ++i) bytes.push_back(static_cast<std::uint8_t>(p >> (8 * i)));
  }
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, bytes.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, bytes.data(), 0, nullptr));
  return out;
}

// Text, binary data and a file large enough for many tree rebuilds; the
// method's own cases go through the LZH tests.
std::vector<std::pair<const char*, Bytes>> Samples() {
  Bytes text, bitmap = {'B', 'M'}, manySymbols;
  for (int i = 0; i < 300; ++i) {
    const std::string line = "[Button" + std::to_string(i % 17) + "]\r\nImage=btn" + std::to_string(i) + ".bmp\r\n";
    text.insert(text.end(), line.begin(), line.end());
  }
  bitmap.resize(54, 0);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 96; ++x) {
      bitmap.insert(bitmap.end(), {static_cast<std::uint8_t>(x * 2), static_cast<std::uint8_t>(y * 3),
                                   static_cast<std::uint8_t>(x < 3 && y < 3 ? 0xFF : 0x80)});
    }
  }
  std::mt19937 random(2024);
  for (int i = 0; i < 150000; ++i) manySymbols.push_back(static_cast<std::uint8_t>(random() % 200));
  return {{"empty", {}}, {"one byte", {0x7F}}, {"text", text}, {"bitmap", bitmap}, {"many symbols", manySymbols}};
}

TEST_F(SkinpackTest, CompressAndDecompressRoundTrip) {
  for (const auto& [kind, data] : Samples()) {
    WriteBytes(P("in.bin"), data);
    RunOk({"compress", P("in.bin"), P("packed.lzh")});
    EXPECT_EQ(ReadBytes(P("packed.lzh")), core::LzhCompress(data)) << kind;
    RunOk({"decompress", P("packed.lzh"), P("out.bin")});
    EXPECT_EQ(ReadBytes(P("out.bin")), data) << kind;
    // Onto itself: the input must be read before the output replaces it.
    RunOk({"decompress", P("packed.lzh"), P("packed.lzh")});
    EXPECT_EQ(ReadBytes(P("packed.lzh")), data) << kind;
  }
}

TEST_F(SkinpackTest, PackListVerifyExtract) {
  Write("skin/Btn.bmp", "BMbutton");
  Write("skin/aaa.bmp", "BMfirst");
  Write("skin/Skin.ini", "[Form]\r\n");
  fs::create_directories(dir / "skin" / "sub");  // folders inside are not entries

  RunOk({"pack", P("skin"), "-o", P("out.skin")});
  EXPECT_EQ(RunOk({"list", P("out.skin")}).out, "8\tskin.ini\n7\taaa.bmp\n8\tbtn.bmp\n3 entries, 23 bytes\n");
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "ok, 3 entries, definition skin.ini",
                      RunOk({"verify", P("out.skin")}).out);
  RunOk({"extract", P("out.skin"), P("unpacked/deeper")});
  EXPECT_EQ(ReadText(dir / "unpacked" / "deeper" / "btn.bmp"), "BMbutton");
  EXPECT_EQ(ReadText(dir / "unpacked" / "deeper" / "skin.ini"), "[Form]\r\n");

  // Files named one by one: the definition still goes first.
  RunOk({"pack", P("skin/Btn.bmp"), P("skin/Skin.ini"), "-o", P("two.skin")});
  EXPECT_EQ(RunOk({"list", P("two.skin")}).out, "8\tskin.ini\n8\tbtn.bmp\n2 entries, 16 bytes\n");

  // Density variants after every picture, by density.
  Write("skin/Btn@2X.bmp", "2");
  Write("skin/aaa@1.5x.bmp", "3");
  Write("skin/aaa@2x.bmp", "4");
  RunOk({"pack", P("skin"), "-o", P("dense.skin")});
  EXPECT_EQ(RunOk({"list", P("dense.skin")}).out,
            "8\tskin.ini\n7\taaa.bmp\n8\tbtn.bmp\n1\taaa@1.5x.bmp\n1\taaa@2x.bmp\n1\tbtn@2x.bmp\n6 entries, 26 bytes\n");
}

// An author's PNG pictures go in as bitmaps: with alpha as 32-bit
// premultiplied pixels, without as 24-bit ones, magenta and all.
TEST_F(SkinpackTest, PackedPngPicturesComeOutPixelForPixel) {
  const std::vector<std::uint32_t> soft{0xFF102030, 0x80FF8040, 0x00FFFFFF, 0x01FF0000, 0xFFFF00FF, 0x40404040};
  const std::vector<std::uint32_t> keyed{0xFF00FF, 0x123456, 0xABCDEF, 0x000000};
  Write("skin/skin.ini", "[Form]\r\n");
  WriteBytes(dir / "skin" / "Soft.PNG", Png(3, 2, soft, true));
  WriteBytes(dir / "skin" / "keyed.png", Png(2, 2, keyed, false));
  RunOk({"pack", P("skin"), "-o", P("out.skin")});
  RunOk({"extract", P("out.skin"), P("out")});

  const Bytes softBmp = ReadBytes(dir / "out" / "soft.bmp");
  const auto layout = core::ParseBitmapFile(softBmp);
  ASSERT_TRUE(layout);
  const auto picture = core::ReadAlphaPicture(softBmp, *layout);
  ASSERT_TRUE(picture);
  std::vector<std::uint32_t> premultiplied;
  for (std::uint32_t p : soft) premultiplied.push_back(core::Premultiply(p));
  EXPECT_EQ(picture->pixels, premultiplied);

  const Bytes keyedBmp = ReadBytes(dir / "out" / "keyed.bmp");
  const auto keyedLayout = core::ParseBitmapFile(keyedBmp);
  ASSERT_TRUE(keyedLayout);
  EXPECT_EQ(keyedLayout->bitCount, 24);
  std::vector<std::uint32_t> back;
  for (int y = 1; y >= 0; --y)  // bottom-up rows of blue, green, red
    for (int x = 0; x < 2; ++x) {
      const std::size_t at = keyedLayout->pixelOffset + static_cast<std::size_t>(1 - y) * keyedLayout->stride + 3u * x;
      back.push_back(std::uint32_t{keyedBmp[at + 2]} << 16 | std::uint32_t{keyedBmp[at + 1]} << 8 | keyedBmp[at]);
    }
  EXPECT_EQ(back, (std::vector<std::uint32_t>{0xABCDEF, 0x000000, 0xFF00FF, 0x123456}));

  // The folder checks as it packs; a picture given twice, or a PNG that is
  // none, is refused by name.
  WriteBytes(dir / "skin" / "keyed.bmp", Png(1, 1, {0}, false));
  ExpectFailure({"pack", P("skin"), "-o", P("twice.skin")}, "have the same entry name");
  fs::remove(dir / "skin" / "keyed.bmp");
  Write("skin/broken.png", "not a picture");
  ExpectFailure({"pack", P("skin"), "-o", P("broken.skin")}, "broken.png\": not a PNG picture");
}

// The checker's findings by line, from a folder and from its archive; only
// an error fails the command.
TEST_F(SkinpackTest, CheckReportsByLineAndFailsOnErrorsOnly) {
  // A name and a caption band, the least a skin may have.
  const std::string whole = "[TitlebarSkin]\r\nSkinName=S\r\n[Personality]\r\nTop=top.bmp\r\n";
  core::testing::BmpLayout top;
  top.width = 4;
  top.height = 20;
  top.pixels.assign(16 * 20, 0);
  Write("skin/skin.ini", whole + "[Tabs]\r\nImage=tabs.bmp\r\n");
  WriteBytes(dir / "skin" / "top.bmp", core::testing::MakeBmp(top));
  const Result missing = Run({"check", P("skin")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "skin.ini:6: error: bitmap tabs.bmp is missing\n" + P("skin") + ": 1 error, 0 warnings\n");
  Write("skin/skin.ini", whole + "[Tabs]\r\nImag=tabs.bmp\r\n");
  RunOk({"pack", P("skin"), "-o", P("out.skin")});
  EXPECT_EQ(RunOk({"check", P("out.skin")}).out, "skin.ini:6: warning: unknown key Imag in [Tabs]; did you mean Image?\n" +
                                                     P("out.skin") + ": 0 errors, 1 warning\n");
}

// A new skin is named after its folder, passes the check, and packs; an
// existing folder with something in it is left alone.
TEST_F(SkinpackTest, NewStartsASkinThatChecksClean) {
  for (const char* from : {"default", "dark", "flat", "meridian", "meridian_dark"}) {
    SCOPED_TRACE(from);
    const std::string folder = P(std::string("skins/Mine_") + from);
    RunOk({"new", folder, "--from", from});
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, std::string("\nSkinName=Mine_") + from + "\n",
                        ReadText(fs::path(folder) / "skin.ini"));
    EXPECT_EQ(RunOk({"check", folder}).out, folder + ": 0 errors, 0 warnings\n");
    RunOk({"pack", folder, "-o", folder + ".skin"});
    ExpectFailure({"new", folder}, "exists and is not an empty folder");
  }
  ExpectFailure({"new", P("x"), "--from", "neon"}, "--from takes default, dark, flat, meridian or meridian_dark", 2);
}

TEST_F(SkinpackTest, PackRefusesWhatCannotMakeASkin) {
  Write("a/x.bmp", "x");
  Write("b/X.BMP", "y");
  Write("a/one.ini", "");
  Write("b/two.ini", "");
  ExpectFailure({"pack", P("a/x.bmp"), "-o", P("o.skin")}, "no skin definition");
  ExpectFailure({"pack", P("a"), P("b"), "-o", P("o.skin")}, "more than one definition");
  ExpectFailure({"pack", P("a"), P("b/X.BMP"), "-o", P("o.skin")}, "same entry name");
  ExpectFailure({"pack", P("a"), P("missing.bmp"), "-o", P("o.skin")}, "no such file or folder");
  EXPECT_FALSE(fs::exists(dir / "o.skin"));
}

TEST_F(SkinpackTest, BadArchivesGiveClearErrors) {
  core::TSkinWriter writer;
  writer.AddEntry("skin.ini", Bytes(3000, 'i'));
  Bytes random(4000);
  std::mt19937 generator(5);
  for (auto& byte : random) byte = static_cast<std::uint8_t>(generator());
  writer.AddEntry("noise.bmp", random);
  const Bytes good = writer.BuildArchive();
  WriteBytes(P("good.skin"), good);
  WriteBytes(P("truncated.skin"), Bytes(good.begin(), good.end() - 10));
  Write("text.skin", "[Form]\r\nthis is a definition, not an archive\r\n");
  Bytes oldVersion = writer.BuildContainer();
  oldVersion[0] = 0x10;
  WriteBytes(P("old.skin"), core::LzhCompress(oldVersion));
  WriteBytes(P("short.skin"), {0x01, 0x00});
  Bytes pastEnd = writer.BuildContainer();
  pastEnd[16 + 21 + 4] = 0xFF;  // low byte of the second size: 4000 becomes 4095
  WriteBytes(P("pastend.skin"), core::LzhCompress(pastEnd));

  RunOk({"verify", P("good.skin")});
  const std::pair<const char*, const char*> cases[] = {
      {"missing.skin", "no such file"},
      {"truncated.skin", "truncated"},
      {"text.skin", "not a compressed stream"},
      {"old.skin", "not a skin archive of version 20000"},
      {"short.skin", "shorter than its 4-byte size field"},
      {"pastend.skin", "damaged"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    ExpectFailure({"list", P(file)}, message);
    ExpectFailure({"verify", P(file)}, message);
    ExpectFailure({"extract", P(file), P("unpacked")}, message);
  }
  EXPECT_FALSE(fs::exists(dir / "unpacked" / "noise.bmp"));

  ExpectFailure({"decompress", P("truncated.skin"), P("out.bin")}, "truncated");
  EXPECT_FALSE(fs::exists(dir / "out.bin"));
  // A file that was there already stays as it was.
  Write("kept.bin", "kept");
  ExpectFailure({"decompress", P("truncated.skin"), P("kept.bin")}, "truncated");
  EXPECT_EQ(ReadText(dir / "kept.bin"), "kept");
  EXPECT_FALSE(fs::exists(dir / "kept.bin.part"));
  EXPECT_EQ(Run({"decompress", P("missing.bin"), P("out.bin")}).exitCode, 1);
  EXPECT_EQ(Run({"compress", P("missing.bin"), P("out.bin")}).exitCode, 1);
}

TEST_F(SkinpackTest, ExtractKeepsEntriesInsideTheFolder) {
  core::TSkinWriter writer;
  writer.AddEntry("skin.ini", Bytes{'i'});
  writer.AddEntry("../escape.bmp", Bytes{'e'});
  writer.AddEntry("sub/inner.bmp", Bytes{'s'});
  writer.AddEntry("SKIN.INI", Bytes{'2'});
  WriteBytes(P("evil.skin"), writer.BuildArchive());

  ExpectFailure({"extract", P("evil.skin"), P("out")}, "not a plain file name");
  EXPECT_FALSE(fs::exists(dir / "escape.bmp"));
  EXPECT_FALSE(fs::exists(dir / "out" / "sub"));
  EXPECT_EQ(ReadText(dir / "out" / "skin.ini"), "i");
}

TEST_F(SkinpackTest, CommandLineErrors) {
  EXPECT_PRED_FORMAT2(::testing::IsSubstring, "skinpack pack DIR|FILES... -o OUT.skin", RunOk({"--help"}).out);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"unpack"}, {"pack", P("x")}, {"pack", "-o"}, {"list"}, {"extract", P("a")}, {"compress", P("a")}}) {
    ExpectFailure(args, "usage:", 2);
  }
}

}  // namespace
