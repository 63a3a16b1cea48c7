// A small growable byte buffer with a read/write position, the in-memory
// stream the archive code reads from and writes to. Reading past the end
// delivers fewer bytes; writing past the end extends the buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace core {

class ByteStream {
 public:
  ByteStream() = default;
  explicit ByteStream(std::vector<std::uint8_t> bytes);

  // Copies up to count bytes from the position on; returns how many it copied.
  std::size_t Read(void* buffer, std::size_t count);
  void Write(const void* buffer, std::size_t count);
  void WriteByte(std::uint8_t byte);
  void Clear();
  void Reserve(std::size_t capacity) { bytes_.reserve(capacity); }

  // Positions beyond the end are clamped to the end.
  void Seek(std::size_t position);
  std::size_t Position() const { return position_; }
  std::size_t Size() const { return bytes_.size(); }

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::vector<std::uint8_t> TakeBytes();

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace core
