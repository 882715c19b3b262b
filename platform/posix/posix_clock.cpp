#include "platform/posix/posix_clock.h"

#include <time.h>

#include <chrono>
#include <thread>

namespace quillmor {
namespace {

constexpr int64_t kUnixEpochSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01
constexpr uint64_t kTicksPerSecond = 10'000'000;
// FileTimeToSystemTime refuses FILETIMEs with the top bit set.
constexpr uint64_t kLargestFileTime = 0x7FFF'FFFF'FFFF'FFFFull;

timespec Now(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return ts;
}

LocalTime FromTm(const tm& t, uint32_t milliseconds) {
  LocalTime out;
  out.year = static_cast<uint16_t>(t.tm_year + 1900);
  out.month = static_cast<uint16_t>(t.tm_mon + 1);
  out.dayOfWeek = static_cast<uint16_t>(t.tm_wday);
  out.day = static_cast<uint16_t>(t.tm_mday);
  out.hour = static_cast<uint16_t>(t.tm_hour);
  out.minute = static_cast<uint16_t>(t.tm_min);
  out.second = static_cast<uint16_t>(t.tm_sec);
  out.milliseconds = static_cast<uint16_t>(milliseconds);
  return out;
}

}  // namespace

uint64_t PosixClock::SteadyNanoseconds() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

uint64_t PosixClock::TickCount64() {
  // CLOCK_BOOTTIME counts from boot and keeps counting in suspend, as
  // GetTickCount64 does.
  const timespec ts = Now(CLOCK_BOOTTIME);
  return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1'000'000;
}

LocalTime PosixClock::LocalNow() {
  const timespec ts = Now(CLOCK_REALTIME);
  tm t{};
  localtime_r(&ts.tv_sec, &t);
  return FromTm(t, static_cast<uint32_t>(ts.tv_nsec / 1'000'000));
}

void PosixClock::Sleep(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

uint64_t PosixClock::UtcNowFileTime() {
  const timespec ts = Now(CLOCK_REALTIME);
  return static_cast<uint64_t>(ts.tv_sec + kUnixEpochSeconds) * kTicksPerSecond +
         static_cast<uint64_t>(ts.tv_nsec) / 100;
}

bool PosixClock::FileTimeToLocal(uint64_t fileTime, LocalTime& out) {
  if (fileTime > kLargestFileTime) return false;
  const time_t seconds = static_cast<time_t>(fileTime / kTicksPerSecond) - kUnixEpochSeconds;
  tm t{};
  if (localtime_r(&seconds, &t) == nullptr) return false;
  out = FromTm(t, static_cast<uint32_t>(fileTime % kTicksPerSecond / 10'000));
  return true;
}

bool PosixClock::LocalToFileTime(const LocalTime& local, uint64_t& fileTime) {
  // mktime would quietly roll 31 April over into May.
  if (!IsValidLocalTime(local)) return false;
  tm t{};
  t.tm_year = local.year - 1900;
  t.tm_mon = local.month - 1;
  t.tm_mday = local.day;
  t.tm_hour = local.hour;
  t.tm_min = local.minute;
  t.tm_sec = local.second;
  t.tm_isdst = -1;  // let the time zone decide whether summer time applies
  t.tm_wday = -1;   // mktime sets it on success; -1 is also a valid result
  const time_t seconds = mktime(&t);
  if (t.tm_wday < 0) return false;
  const int64_t sinceEpoch = static_cast<int64_t>(seconds) + kUnixEpochSeconds;
  if (sinceEpoch < 0) return false;
  fileTime = static_cast<uint64_t>(sinceEpoch) * kTicksPerSecond + local.milliseconds * 10'000ull;
  return true;
}

}  // namespace quillmor
