// skin_load_bench SKIN... [--repeat N]: what the skin checker's verdict adds
// to loading a skin, in one run: the load as it was (the archive decoded and
// the definition parsed, every picture decoded), the check alone (the same
// rules as `skinpack check`, over the decoded archive), and the load as the
// engine does it now (LoadSkin: both). Best of N (default 10), milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/archive/skin_reader.h"
#include "core/skindef/skin_check.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_definition.h"
#include "tests/support/best_of.h"

namespace {

struct TDecoded {
  core::TSkinReader Reader;
  std::string Name, Definition;
};

void Decode(const std::vector<std::uint8_t>& bytes, TDecoded& out) {
  core::ByteStream archive(bytes);
  out.Reader.LoadArchive(archive);
  core::ByteStream text;
  out.Reader.ExtractFirstMatching(".ini", text, out.Name);
  out.Definition.assign(text.Bytes().begin(), text.Bytes().end());
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 10;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--repeat" && i + 1 < argc)
      repeat = std::max(1, std::atoi(argv[++i]));
    else
      files.push_back(argv[i]);
  }
  if (files.empty()) {
    std::fputs("usage: skin_load_bench SKIN... [--repeat N]\n", stderr);
    return 2;
  }
  for (const std::string& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const double before = BestSeconds(repeat, [&] {
      TDecoded d;
      Decode(bytes, d);
      skin::ParseDefinition(d.Definition, d.Reader);
    });
    TDecoded decoded;
    Decode(bytes, decoded);
    std::size_t findings = 0;
    const double check = BestSeconds(repeat, [&] {
      findings = core::CheckSkin(core::SkinSourceOf(decoded.Reader, decoded.Name, decoded.Definition)).size();
    });
    const double now = BestSeconds(repeat, [&] {
      skin::TSkinData data(nullptr);
      data.SetSkinStream(bytes);
      data.LoadSkin();
    });
    std::printf("%s: load without the check %7.2f ms | check alone %6.2f ms (%zu findings) | LoadSkin %7.2f ms, "
                "%.2fx the load without the check\n",
                file.c_str(), before * 1000, check * 1000, findings, now * 1000, now / before);
  }
  return 0;
}
