// libFuzzer target for the archive reader. The first byte chooses how the
// rest is used: as a compressed archive as it stands, or as a decoded
// archive that is compressed first, so that the fuzzer reaches the name
// list and size table without having to find valid bit streams.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"

namespace {

class QuietSink : public core::ISkinMessageSink {
 public:
  void ShowMessage(std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> archive(data + 1, data + size);
  if (data[0] & 1) archive = core::LzhCompress(archive);

  QuietSink sink;
  core::TSkinReader reader(&sink);
  core::ByteStream source(archive);
  bool loaded = false;
  try {
    loaded = reader.LoadArchive(source);
  } catch (const core::ESkinArchiveError&) {
    if (reader.Count() != 0) std::abort();
    return 0;
  }
  if (!loaded) return 0;

  core::ByteStream entry;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    reader.ExtractFile(reader.Names()[i], entry);
    // A duplicate name gives the first entry's bytes, which may differ in size.
    if (entry.Position() != 0) std::abort();
  }
  std::string name;
  reader.ExtractFirstMatching(".ini", entry, name);
  reader.ExtractFirstMatching("", entry, name);
  reader.ExtractFile("NOT THERE", entry);
  if (entry.Size() != 0) std::abort();
  return 0;
}
