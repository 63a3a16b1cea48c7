// Runs the built skinpack on files in a scratch folder and checks its exit
// status, its messages and the files it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_writer.h"

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

void WriteText(const fs::path& path, std::string_view text) { WriteBytes(path, Bytes(text.begin(), text.end())); }

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

  std::string P(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
};

Bytes Sample(std::string_view kind) {
  std::mt19937 random(2024);
  Bytes data;
  if (kind == "one byte") data = {0x7F};
  if (kind == "text") {
    for (int i = 0; i < 300; ++i) {
      const std::string line = "[Button" + std::to_string(i % 17) + "]\r\nImage=btn" + std::to_string(i) + ".bmp\r\n";
      data.insert(data.end(), line.begin(), line.end());
    }
  }
  if (kind == "bitmap") {
    data = {'B', 'M'};
    data.resize(54, 0);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 96; ++x) {
        data.push_back(static_cast<std::uint8_t>(x * 2));
        data.push_back(static_cast<std::uint8_t>(y * 3));
        data.push_back(x < 3 && y < 3 ? 0xFF : 0x80);
      }
    }
  }
  if (kind == "runs") {
    for (int i = 0; i < 100; ++i) data.insert(data.end(), 60, static_cast<std::uint8_t>(i % 3));
  }
  if (kind == "beyond the window") {
    for (int i = 0; i < 20000; ++i) data.push_back(static_cast<std::uint8_t>(i % 5000 < 2500 ? random() % 8 : i % 251));
  }
  if (kind == "many symbols") {
    for (int i = 0; i < 150000; ++i) data.push_back(static_cast<std::uint8_t>(random() % 200));
  }
  return data;
}

TEST_F(SkinpackTest, CompressAndDecompressRoundTrip) {
  for (const char* kind : {"empty", "one byte", "text", "bitmap", "runs", "beyond the window", "many symbols"}) {
    const Bytes data = Sample(kind);
    WriteBytes(P("in.bin"), data);
    ASSERT_EQ(Run({"compress", P("in.bin"), P("packed.lzh")}).exitCode, 0) << kind;
    EXPECT_EQ(ReadBytes(P("packed.lzh")), core::LzhCompress(data)) << kind;
    const Result result = Run({"decompress", P("packed.lzh"), P("out.bin")});
    ASSERT_EQ(result.exitCode, 0) << kind << result.err;
    EXPECT_EQ(ReadBytes(P("out.bin")), data) << kind;
  }
}

TEST_F(SkinpackTest, PackListVerifyExtract) {
  fs::create_directories(dir / "skin");
  WriteText(dir / "skin" / "Btn.bmp", "BMbutton");
  WriteText(dir / "skin" / "aaa.bmp", "BMfirst");
  WriteText(dir / "skin" / "Skin.ini", "[Form]\r\n");
  fs::create_directories(dir / "skin" / "sub");  // folders inside are not entries

  Result result = Run({"pack", P("skin"), "-o", P("out.skin")});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  result = Run({"list", P("out.skin")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "8\tskin.ini\n7\taaa.bmp\n8\tbtn.bmp\n3 entries, 23 bytes\n");

  result = Run({"verify", P("out.skin")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("ok, 3 entries, definition skin.ini"), std::string::npos) << result.out;

  result = Run({"extract", P("out.skin"), P("unpacked/deeper")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadText(dir / "unpacked" / "deeper" / "btn.bmp"), "BMbutton");
  EXPECT_EQ(ReadText(dir / "unpacked" / "deeper" / "skin.ini"), "[Form]\r\n");

  // Files named one by one: the definition still goes first.
  result = Run({"pack", P("skin/Btn.bmp"), P("skin/Skin.ini"), "-o", P("two.skin")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Run({"list", P("two.skin")}).out, "8\tskin.ini\n8\tbtn.bmp\n2 entries, 16 bytes\n");
}

TEST_F(SkinpackTest, PackRefusesWhatCannotMakeASkin) {
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  WriteText(dir / "a" / "x.bmp", "x");
  WriteText(dir / "b" / "X.BMP", "y");
  WriteText(dir / "a" / "one.ini", "");
  WriteText(dir / "b" / "two.ini", "");

  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"pack", P("a/x.bmp"), "-o", P("o.skin")}, "no skin definition"},
      {{"pack", P("a"), P("b"), "-o", P("o.skin")}, "more than one definition"},
      {{"pack", P("a"), P("b/X.BMP"), "-o", P("o.skin")}, "same entry name"},
      {{"pack", P("a"), P("missing.bmp"), "-o", P("o.skin")}, "no such file or folder"},
  };
  for (const Case& c : cases) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.exitCode, 1) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
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
  WriteText(P("text.skin"), "[Form]\r\nthis is a definition, not an archive\r\n");
  Bytes oldVersion = writer.BuildContainer();
  oldVersion[0] = 0x10;
  WriteBytes(P("old.skin"), core::LzhCompress(oldVersion));
  WriteBytes(P("short.skin"), {0x01, 0x00});
  Bytes pastEnd = writer.BuildContainer();
  pastEnd[16 + 21 + 4] = 0xFF;  // low byte of the second size: 4000 becomes 4095
  WriteBytes(P("pastend.skin"), core::LzhCompress(pastEnd));

  ASSERT_EQ(Run({"verify", P("good.skin")}).exitCode, 0);
  struct Case {
    const char* file;
    const char* message;
  };
  const Case cases[] = {
      {"missing.skin", "no such file"},
      {"truncated.skin", "truncated"},
      {"text.skin", "not a compressed stream"},
      {"old.skin", "not a skin archive of version 20000"},
      {"short.skin", "shorter than its 4-byte size field"},
      {"pastend.skin", "damaged"},
  };
  for (const Case& c : cases) {
    for (const char* command : {"list", "verify", "extract"}) {
      std::vector<std::string> args = {command, P(c.file)};
      if (std::string(command) == "extract") args.push_back(P("unpacked"));
      const Result result = Run(args);
      EXPECT_EQ(result.exitCode, 1) << command << " " << c.file;
      EXPECT_NE(result.err.find(c.message), std::string::npos) << command << " " << c.file << ": " << result.err;
    }
  }
  EXPECT_FALSE(fs::exists(dir / "unpacked" / "noise.bmp"));

  const Result truncated = Run({"decompress", P("truncated.skin"), P("out.bin")});
  EXPECT_EQ(truncated.exitCode, 1);
  EXPECT_NE(truncated.err.find("truncated"), std::string::npos) << truncated.err;
  EXPECT_FALSE(fs::exists(dir / "out.bin"));
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

  const Result result = Run({"extract", P("evil.skin"), P("out")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("not a plain file name"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(dir / "escape.bmp"));
  EXPECT_FALSE(fs::exists(dir / "out" / "sub"));
  EXPECT_EQ(ReadText(dir / "out" / "skin.ini"), "i");
}

TEST_F(SkinpackTest, CommandLineErrors) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("skinpack pack DIR|FILES... -o OUT.skin"), std::string::npos);

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"unpack"}, {"pack", P("x")}, {"pack", "-o"}, {"list"}, {"extract", P("a")}, {"compress", P("a")}}) {
    const Result result = Run(args);
    EXPECT_EQ(result.exitCode, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(result.err.find("usage:"), std::string::npos);
  }
}

}  // namespace
