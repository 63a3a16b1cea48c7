#include "core/archive/skin_writer.h"

#include <stdexcept>

#include "core/archive/lzh_encoder.h"
#include "core/archive/skin_reader.h"

namespace core {

void AppendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void TSkinWriter::AddEntry(std::string_view name, std::span<const std::uint8_t> contents) {
  if (name.empty()) throw std::invalid_argument("an entry needs a name");
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    throw std::invalid_argument("entry name \"" + std::string(name) + "\" holds a line break or NUL");
  }
  if (entries_.size() == TSkinReader::MaxEntries) {
    throw std::length_error("a skin archive holds at most " + std::to_string(TSkinReader::MaxEntries) + " entries");
  }
  if (!FitsSizeField(contents.size())) {
    throw std::length_error("entry \"" + std::string(name) + "\" is 4 GB or larger");
  }
  entries_.push_back({std::string(name), {contents.begin(), contents.end()}});
}

std::vector<std::uint8_t> TSkinWriter::BuildContainer() const {
  std::string names;
  for (const Entry& entry : entries_) names += entry.name + "\r\n";

  std::vector<std::uint8_t> out;
  AppendLittleEndian32(out, TSkinReader::ArchiveVersion);
  AppendLittleEndian32(out, static_cast<std::uint32_t>(names.size()));
  AppendLittleEndian32(out, 0);
  AppendLittleEndian32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const Entry& entry : entries_) AppendLittleEndian32(out, static_cast<std::uint32_t>(entry.contents.size()));
  for (const Entry& entry : entries_) out.insert(out.end(), entry.contents.begin(), entry.contents.end());
  return out;
}

std::vector<std::uint8_t> TSkinWriter::BuildArchive() const { return LzhCompress(BuildContainer()); }

}  // namespace core
