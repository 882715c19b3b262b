#include "search/byte_needle.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLMOR_BYTE_NEEDLE_SSE2 1
#endif

namespace quillmor {
namespace {

// How common a byte is in text, higher for more common: space, English
// letters by frequency, line ends and punctuation, capitals, digits. Bytes
// not listed (controls, NUL, bytes of non-ASCII characters) count as rare. A
// rough order: it only has to keep the filter off bytes that occur
// everywhere.
int Commonness(char byte) {
  static constexpr std::string_view kByFrequency =
      "ZXQJKVYU:;!?/()\"'-\r9876543210OGLNFEWRHPDBCMIAST,.\nzqjxkvbywgpfmucdlhrsnioate ";
  const size_t at = kByFrequency.find(byte);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace

ByteNeedle::ByteNeedle(std::string bytes) : bytes_(std::move(bytes)) {
  const size_t m = bytes_.size();
  if (m == 0) return;
  // The rarest byte (leftmost on a tie), then the rarest byte of another
  // value (rightmost on a tie, so that the two lie apart); the last byte
  // when every byte is the same.
  size_t rarest = 0;
  for (size_t k = 1; k < m; ++k) {
    if (Commonness(bytes_[k]) < Commonness(bytes_[rarest])) rarest = k;
  }
  size_t other = m - 1;
  bool found = false;
  for (size_t k = 0; k < m; ++k) {
    if (bytes_[k] == bytes_[rarest]) continue;
    if (!found || Commonness(bytes_[k]) <= Commonness(bytes_[other])) other = k;
    found = true;
  }
  firstOffset_ = std::min(rarest, other);
  secondOffset_ = std::max(rarest, other);
  first_ = bytes_[firstOffset_];
  second_ = bytes_[secondOffset_];
}

bool ByteNeedle::Verify(const char* at, uint32_t mask) const {
  while (mask != 0) {
    const int k = std::countr_zero(mask);
    if (std::memcmp(at + k, bytes_.data(), bytes_.size()) == 0) return true;
    mask &= mask - 1;
  }
  return false;
}

bool ByteNeedle::FoundIn(std::string_view haystack) const {
  const size_t m = bytes_.size();
  const size_t n = haystack.size();
  if (m == 0 || m > n) return false;
  const char* p = haystack.data();
  if (m == 1) return std::memchr(p, static_cast<unsigned char>(first_), n) != nullptr;

  const size_t count = n - m + 1;  // positions the needle may start at
  size_t i = 0;
#ifdef QUILLMOR_BYTE_NEEDLE_SSE2
  // Every load ends before p + n: a block of positions i..i+15 reads up to
  // i + 15 + secondOffset_ <= count - 1 + m - 1 = n - 1.
  const __m128i first = _mm_set1_epi8(first_);
  const __m128i second = _mm_set1_epi8(second_);
  const auto lanes = [&](const char* at) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + firstOffset_));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + secondOffset_));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
  };
  // Two blocks per step: one branch for 32 positions.
  for (; i + 32 <= count; i += 32) {
    const uint32_t mask = lanes(p + i) | lanes(p + i + 16) << 16;
    if (mask != 0 && Verify(p + i, mask)) return true;
  }
  if (count >= 16) {
    for (; i + 16 <= count; i += 16) {
      const uint32_t mask = lanes(p + i);
      if (mask != 0 && Verify(p + i, mask)) return true;
    }
    if (i < count) {
      // A last block ending at the last position; positions already tested
      // are masked off.
      const size_t start = count - 16;
      const uint32_t mask = lanes(p + start) & (0xFFFFu << (i - start));
      return mask != 0 && Verify(p + start, mask);
    }
    return false;
  }
#endif
  for (; i < count; ++i) {
    if (p[i + firstOffset_] == first_ && p[i + secondOffset_] == second_ && std::memcmp(p + i, bytes_.data(), m) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace quillmor
