#include "core/archive/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace core {

ByteStream::ByteStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

std::size_t ByteStream::Read(void* buffer, std::size_t count) {
  const std::size_t delivered = std::min(count, bytes_.size() - position_);
  if (delivered != 0) std::memcpy(buffer, bytes_.data() + position_, delivered);
  position_ += delivered;
  return delivered;
}

void ByteStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
}

void ByteStream::WriteByte(std::uint8_t byte) {
  if (position_ == bytes_.size()) {
    bytes_.push_back(byte);
  } else {
    bytes_[position_] = byte;
  }
  ++position_;
}

void ByteStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

void ByteStream::Seek(std::size_t position) { position_ = std::min(position, bytes_.size()); }

std::vector<std::uint8_t> ByteStream::TakeBytes() {
  position_ = 0;
  return std::exchange(bytes_, {});
}

}  // namespace core
