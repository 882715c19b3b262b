// Rate limits shared by threads: a time stamp (GetTickCount64 milliseconds)
// that callers move forward by compare-and-swap to claim a turn, so that at
// most one of them acts per interval however many ask at once.
#pragma once

#include <atomic>
#include <cstdint>

namespace quillmor {

// Whether at least `minGapMs` have passed from the stamp to `now`. A stamp
// ahead of `now` has not passed.
inline bool GapPassed(const std::atomic<uint64_t>& stamp, uint64_t now, uint64_t minGapMs) {
  const uint64_t last = stamp.load();
  return now >= last && now - last >= minGapMs;
}

// Claims a turn: true when at least `minGapMs` have passed and this caller
// replaced the stamp it read with `now`; false when it is too soon or another
// caller claimed the turn first.
inline bool ClaimTurn(std::atomic<uint64_t>& stamp, uint64_t now, uint64_t minGapMs) {
  uint64_t last = stamp.load();
  return now >= last && now - last >= minGapMs && stamp.compare_exchange_strong(last, now);
}

}  // namespace quillmor
