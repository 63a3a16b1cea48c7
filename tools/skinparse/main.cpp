// skinparse FILE.skin [REPEAT]: decompresses a skin archive, parses its
// definition with every picture, and prints the archive's sizes, the element
// slots filled and the time one parse takes (best of REPEAT, default 20).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/skin_reader.h"
#include "gui/classes.h"
#include "skin/data/skin_definition.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename... Slots>
int Filled(const Slots&... slots) {
  return (0 + ... + (slots ? 1 : 0));
}

int ElementCount(const skin::TSkinContent& c) {
  return Filled(c.Progress, c.MenuBar, c.GroupBoxEdge, c.GroupBox, c.Toolbars, c.Tabs, c.StatusBarEdges,
                c.ComboButton, c.SunkEdge, c.ExtraImages, c.Headerbar, c.MenuItem, c.MenuBackground, c.Scrollbar,
                c.HorzScroll, c.VertScroll, c.HorzScrollThumb, c.VertScrollThumb, c.TrackbarThumbHorz,
                c.TrackbarThumbVert, c.TrackbarThumbLeft, c.TrackbarThumbRight, c.TrackbarThumbUp,
                c.TrackbarThumbDown, c.UpDownHorz, c.UpDownVert);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: skinparse FILE.skin [REPEAT]\n", stderr);
    return 2;
  }
  const int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "skinparse: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};

  try {
    LARGE_INTEGER frequency, t0, t1, t2;
    QueryPerformanceFrequency(&frequency);
    core::TSkinReader reader;
    core::ByteStream decoded;
    core::ByteStream source(file);
    reader.Decompress(source, decoded);
    core::ByteStream archive(file);
    QueryPerformanceCounter(&t0);
    if (!reader.LoadArchive(archive)) return 1;
    QueryPerformanceCounter(&t1);
    const double decompress = Seconds(t0, t1, frequency);
    core::ByteStream entry;
    std::string name;
    reader.ExtractFirstMatching(".ini", entry, name);
    const std::string definition(entry.Bytes().begin(), entry.Bytes().end());

    double best = 1e9;
    std::unique_ptr<skin::TSkinContent> content;
    for (int i = 0; i < repeat; ++i) {
      QueryPerformanceCounter(&t1);
      content = skin::ParseDefinition(definition, reader);
      QueryPerformanceCounter(&t2);
      best = std::min(best, Seconds(t1, t2, frequency));
    }

    std::printf("archive      %zu bytes compressed, %zu bytes decompressed, %zu entries\n", file.size(),
                decoded.Size(), reader.Count());
    std::printf("definition   %s, skin \"%s\"\n", name.c_str(), content->SkinName.c_str());
    std::printf("elements     %d section elements, %zu caption buttons, %zu table colours\n", ElementCount(*content),
                content->SysButtonElements.size(), content->ColourTable.size());
    std::printf("decompress   %.3f ms\n", decompress * 1000.0);
    std::printf("parse        %.3f ms (best of %d)\n", best * 1000.0, repeat);
  } catch (const gui::Exception& e) {
    std::fprintf(stderr, "skinparse: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinparse: %s\n", e.what());
    return 1;
  }
  return 0;
}
