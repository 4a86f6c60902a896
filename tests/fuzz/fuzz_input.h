#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorveno::fuzzing {

// Takes values one after the other from the bytes of a fuzz input. Past the
// end every value is zero or empty, so any input, even an empty one, gives a
// complete set of values.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // `bytes` bytes, least significant first.
  std::uint64_t TakeUnsigned(int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint64_t{TakeByte()} << (8 * i);
    return value;
  }

  // A text whose length is given by the byte before it, cut at the end of
  // the input.
  std::string TakeText() {
    const std::size_t length = TakeByte();
    return TakeBytes(length);
  }

  std::string TakeRest() { return TakeBytes(size_); }

  // A single-precision real r with 0 <= r < 1, from 24 bits.
  float TakeDraw() { return static_cast<float>(TakeUnsigned(3)) / 16777216.0f; }

 private:
  std::uint8_t TakeByte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }

  std::string TakeBytes(std::size_t wanted) {
    const std::size_t taken = wanted < size_ ? wanted : size_;
    std::string bytes(reinterpret_cast<const char*>(data_), taken);
    data_ += taken;
    size_ -= taken;
    return bytes;
  }

  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace quorveno::fuzzing
