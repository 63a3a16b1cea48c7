// TSkinReader: unpacks a skin archive into memory and hands out entries by
// name. An archive is a 32-bit decoded size and an LZHUF bit stream; decoded,
// it is a 16-byte header (version 20000, name-list length L, two unused
// words), L bytes of entry names one per line, one 32-bit size per name and
// the entry contents back to back. All numbers are little-endian.
//
// The stream is decoded only as far as the entries asked for reach: a
// program that reads a skin's definition and 1x pictures never decodes the
// density variants packed after them.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/byte_stream.h"
#include "core/archive/lzh.h"

namespace core {

// Raised for archives whose structure cannot be right: a decoded size the
// input cannot possibly produce, a name list longer than the archive, more
// entries than the size table holds, or sizes that run past the data.
class ESkinArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the reader reports an archive of the wrong version. The Windows side
// shows the text in a message dialog.
class ISkinMessageSink {
 public:
  virtual ~ISkinMessageSink() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

// The default sink writes the text and a line break to stderr.
class StderrMessageSink : public ISkinMessageSink {
 public:
  void ShowMessage(std::string_view text) override;
};

class TSkinReader {
 public:
  static constexpr std::uint32_t ArchiveVersion = 20000;
  static constexpr std::size_t MaxEntries = 1001;
  static constexpr std::size_t HeaderSize = 16;
  static constexpr std::string_view OlderVersionMessage =
      "This is Older Skin File\rPlease update to new version !";

  // The sink must outlive the reader; without one, StderrMessageSink is used.
  explicit TSkinReader(ISkinMessageSink* messages = nullptr);

  // Indexes an archive, replacing what was loaded before: the stream is
  // kept and decoded as far as the header, the name list and the sizes; the
  // entries are decoded as they are asked for. A wrong version word is
  // reported through the sink and gives false (an archive too short to hold
  // one counts as such); a damaged archive raises ESkinArchiveError and
  // leaves the reader empty.
  bool LoadArchive(ByteStream& source);

  // Decoded archive into target (cleared first). A missing or partial size
  // field reads as zero bytes. Raises ESkinArchiveError when the decoded size
  // exceeds what the source's bit stream could produce (6 bytes per bit), so
  // a hostile size is refused before anything is allocated for it.
  void Decompress(ByteStream& source, ByteStream& target);

  // The first entry named name (compared without regard to case) into
  // target, rewound; target stays empty when there is none. Decodes the
  // archive as far as that entry's end, if it is not yet.
  void ExtractFile(std::string_view name, ByteStream& target) const;

  // The first entry whose lower-case name contains fragment (compared as
  // given, so it must be lower case) into target, and its name into name;
  // when nothing matches, target stays empty and name is left alone.
  void ExtractFirstMatching(std::string_view fragment, ByteStream& target, std::string& name) const;

  // The first entry named name, as ExtractFile finds and decodes it, read in
  // place: a view of the decoded archive, which stays in one buffer while the
  // reader holds this archive (until the next LoadArchive or the reader's
  // end). Empty when there is none.
  std::span<const std::uint8_t> Entry(std::string_view name) const;

  std::size_t Count() const { return names_.size(); }
  const std::vector<std::string>& Names() const { return names_; }
  const std::vector<std::uint32_t>& Sizes() const { return sizes_; }

  // How many bytes of the decoded archive have been decoded so far.
  std::size_t DecodedBytes() const;

 private:
  template <typename Match>
  std::span<const std::uint8_t> First(Match matches, std::string* name) const;
  std::span<const std::uint8_t> DecodedUpTo(std::uint64_t end) const;
  void Reset();

  ISkinMessageSink* messages_;
  std::vector<std::string> names_;
  std::vector<std::uint32_t> sizes_;
  std::vector<std::uint8_t> stream_;  // the bit stream, which the decoder reads
  // Decoding on demand changes no entry's contents, so a const reader may.
  mutable std::unique_ptr<TLzhPrefixDecoder> decoder_;
  std::uint64_t dataAt_ = 0;  // where the first entry starts in the decoded archive
  std::array<std::uint32_t, 4> header_{};
};

// Lower-cases ASCII letters only, as entry names are compared.
std::string LowerCaseName(std::string_view name);

}  // namespace core
