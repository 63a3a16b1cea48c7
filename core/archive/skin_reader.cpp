#include "core/archive/skin_reader.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "core/archive/lzh.h"

namespace core {

namespace {

std::uint32_t ReadLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (at + i < bytes.size()) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  }
  return value;
}

// Lines end at CR LF, a lone CR or a lone LF; a final line without a break
// counts, an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

void StderrMessageSink::ShowMessage(std::string_view text) {
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

std::string LowerCaseName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

TSkinReader::TSkinReader(ISkinMessageSink* messages) {
  static StderrMessageSink fallback;
  messages_ = messages != nullptr ? messages : &fallback;
}

void TSkinReader::Reset() {
  names_.clear();
  sizes_.clear();
  decoder_.reset();
  stream_.clear();
  dataAt_ = 0;
  header_ = {};
}

namespace {

// The decoded size from the source's size field (a missing or partial one
// reads as zero), the source left after it; refused when the bit stream
// after it could never produce that many bytes.
std::uint32_t ReadDecodedSize(ByteStream& source) {
  source.Seek(0);
  std::array<std::uint8_t, 4> sizeField{};
  source.Read(sizeField.data(), sizeField.size());
  const std::uint32_t decodedSize = ReadLittleEndian32(sizeField, 0);
  const std::uint64_t streamBytes = source.Size() - source.Position();
  const std::uint64_t mostPossible = LzhMaxDecodedSize(streamBytes);
  if (decodedSize > mostPossible) {
    throw ESkinArchiveError("Skin archive is damaged: it claims " + std::to_string(decodedSize) +
                            " bytes but its " + std::to_string(streamBytes) +
                            " bytes of compressed data can hold at most " + std::to_string(mostPossible));
  }
  return decodedSize;
}

}  // namespace

void TSkinReader::Decompress(ByteStream& source, ByteStream& target) {
  target.Clear();
  const std::uint32_t decodedSize = ReadDecodedSize(source);
  const std::span<const std::uint8_t> stream = source.Bytes().subspan(source.Position());
  TLZH decoder;
  target = ByteStream(decoder.Decode(decodedSize, stream));
  target.Seek(target.Size());
  // The source is left where reading it a byte at a time would leave it.
  const std::uint64_t fetched = TLZH::BytesFetched(decoder.BitsUsed());
  source.Seek(source.Position() + static_cast<std::size_t>(std::min<std::uint64_t>(fetched, stream.size())));
}

std::span<const std::uint8_t> TSkinReader::DecodedUpTo(std::uint64_t end) const {
  if (!decoder_) return {};
  return decoder_->DecodeTo(end);
}

std::size_t TSkinReader::DecodedBytes() const { return decoder_ ? decoder_->Decoded().size() : 0; }

bool TSkinReader::LoadArchive(ByteStream& source) {
  Reset();
  try {
    const std::uint32_t decodedSize = ReadDecodedSize(source);
    const std::span<const std::uint8_t> rest = source.Bytes().subspan(source.Position());
    stream_.assign(rest.begin(), rest.end());
    source.Seek(source.Size());
    decoder_ = std::make_unique<TLzhPrefixDecoder>(decodedSize, stream_);

    // What is decoded so far; every test below is made on as much as the
    // whole archive would give it, so the verdicts are those of a reader
    // that decodes everything first.
    std::span<const std::uint8_t> bytes = DecodedUpTo(HeaderSize);
    for (std::size_t i = 0; i < header_.size(); ++i) header_[i] = ReadLittleEndian32(bytes, 4 * i);
    // Missing bytes read as zero, but a version word needs all four of its own.
    if (bytes.size() < 4 || header_[0] != ArchiveVersion) {
      messages_->ShowMessage(OlderVersionMessage);
      Reset();
      return false;
    }
    if (bytes.size() < HeaderSize) throw ESkinArchiveError("Skin archive is damaged: its header is incomplete");
    const std::uint64_t nameListLength = header_[1];
    bytes = DecodedUpTo(HeaderSize + nameListLength);
    if (nameListLength > bytes.size() - HeaderSize) {
      throw ESkinArchiveError("Skin archive is damaged: its name list (" + std::to_string(nameListLength) +
                              " bytes) runs past the end of the archive");
    }
    const auto nameList = std::string_view(reinterpret_cast<const char*>(bytes.data()) + HeaderSize,
                                           static_cast<std::size_t>(nameListLength));
    names_ = SplitLines(LowerCaseName(nameList));
    if (names_.size() > MaxEntries) {
      throw ESkinArchiveError("Skin archive is damaged: it lists " + std::to_string(names_.size()) +
                              " entries, more than the " + std::to_string(MaxEntries) + " a skin may hold");
    }
    const std::uint64_t sizesAt = HeaderSize + nameListLength;
    const std::uint64_t dataAt = sizesAt + 4 * static_cast<std::uint64_t>(names_.size());
    bytes = DecodedUpTo(dataAt);
    if (dataAt > bytes.size()) throw ESkinArchiveError("Skin archive is damaged: its size table is incomplete");

    std::uint64_t total = 0;
    sizes_.reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i) {
      sizes_.push_back(ReadLittleEndian32(bytes, static_cast<std::size_t>(sizesAt + 4 * i)));
      total += sizes_.back();
    }
    // The archive decodes to at least its decoded size: only entries that
    // reach past it (into the rest of a last match) need it all decoded to
    // be judged.
    if (dataAt + total > decodedSize) {
      bytes = decoder_->DecodeAll();
      if (total > bytes.size() - dataAt) {
        throw ESkinArchiveError("Skin archive is damaged: its entries need " + std::to_string(total) +
                                " bytes but it holds " + std::to_string(bytes.size() - dataAt));
      }
    }
    dataAt_ = dataAt;
  } catch (...) {
    Reset();
    throw;
  }
  return true;
}

template <typename Match>
std::span<const std::uint8_t> TSkinReader::First(Match matches, std::string* name) const {
  std::uint64_t offset = dataAt_;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (matches(names_[i])) {
      // LoadArchive made sure that every entry lies inside the archive.
      const std::span<const std::uint8_t> decoded = DecodedUpTo(offset + sizes_[i]);
      if (name != nullptr) *name = names_[i];
      return decoded.subspan(static_cast<std::size_t>(offset), sizes_[i]);
    }
    offset += sizes_[i];
  }
  return {};
}

namespace {

void CopyInto(ByteStream& target, std::span<const std::uint8_t> entry) {
  target.Clear();
  if (entry.empty()) return;
  target.Write(entry.data(), entry.size());
  target.Seek(0);
}

}  // namespace

std::span<const std::uint8_t> TSkinReader::Entry(std::string_view name) const {
  const std::string wanted = LowerCaseName(name);
  return First([&wanted](const std::string& entry) { return entry == wanted; }, nullptr);
}

void TSkinReader::ExtractFile(std::string_view name, ByteStream& target) const { CopyInto(target, Entry(name)); }

void TSkinReader::ExtractFirstMatching(std::string_view fragment, ByteStream& target, std::string& name) const {
  CopyInto(target,
           First([fragment](const std::string& entry) { return entry.find(fragment) != std::string::npos; }, &name));
}

}  // namespace core
