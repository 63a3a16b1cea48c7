// TSkinWriter: builds skin archives, the reverse of TSkinReader. Entries keep
// the order in which they are added; the reader finds the definition as the
// first entry whose name contains ".ini", so it is usually added first.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class TSkinWriter {
 public:
  // Raises std::invalid_argument for a name that the name list cannot carry
  // (empty, or holding a line break or NUL) and std::length_error beyond the
  // 1,001 entries a reader accepts or for entries of 4 GB or more.
  void AddEntry(std::string_view name, std::span<const std::uint8_t> contents);

  std::size_t Count() const { return entries_.size(); }

  // The decoded archive: header, name list (each name followed by CR LF),
  // sizes, contents.
  std::vector<std::uint8_t> BuildContainer() const;

  // The container compressed, with its decoded-size field: the bytes of a
  // skin file.
  std::vector<std::uint8_t> BuildArchive() const;

 private:
  struct Entry {
    std::string name;
    std::vector<std::uint8_t> contents;
  };
  std::vector<Entry> entries_;
};

void AppendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace core
