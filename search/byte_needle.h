// Finding a byte string in large buffers of text: the inner loop of content
// search, run over every byte of every candidate file.
//
// Two bytes of the needle, the rarest in typical text, filter 16 positions
// at a time (one compare each, at their offsets in the needle), and only the
// positions where both match are compared in full. In text a pair of rare
// bytes at a fixed distance almost never occurs by chance, so the loop runs
// at the speed of two loads and two compares per 16 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor {

class ByteNeedle {
 public:
  ByteNeedle() = default;
  explicit ByteNeedle(std::string bytes);

  bool empty() const { return bytes_.empty(); }
  size_t size() const { return bytes_.size(); }
  const std::string& bytes() const { return bytes_; }

  // True when the needle occurs in `haystack`, byte for byte, at any offset.
  // An empty needle, or one longer than the haystack, never occurs.
  bool FoundIn(std::string_view haystack) const;

 private:
  // Whether the needle starts at one of the positions `mask` marks (bit k:
  // position at + k).
  bool Verify(const char* at, uint32_t mask) const;

  std::string bytes_;
  // The filter bytes and their offsets, firstOffset_ <= secondOffset_. They
  // differ in value when the needle has two different bytes.
  size_t firstOffset_ = 0, secondOffset_ = 0;
  char first_ = 0, second_ = 0;
};

}  // namespace quillmor
