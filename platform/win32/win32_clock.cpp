#include "platform/win32/windows_api.h"

#include "platform/win32/win32_clock.h"

#include <chrono>

namespace quillmor {
namespace {

LocalTime FromSystemTime(const SYSTEMTIME& t) {
  return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

FILETIME ToFileTime(uint64_t value) { return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)}; }

uint64_t FromFileTime(FILETIME ft) { return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }

}  // namespace

uint64_t Win32Clock::SteadyNanoseconds() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

uint64_t Win32Clock::TickCount64() { return ::GetTickCount64(); }

LocalTime Win32Clock::LocalNow() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return FromSystemTime(t);
}

void Win32Clock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint64_t Win32Clock::UtcNowFileTime() {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  return FromFileTime(ft);
}

bool Win32Clock::FileTimeToLocal(uint64_t fileTime, LocalTime& out) {
  const FILETIME ft = ToFileTime(fileTime);
  SYSTEMTIME utc;
  SYSTEMTIME local;
  if (!::FileTimeToSystemTime(&ft, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return false;
  out = FromSystemTime(local);
  return true;
}

bool Win32Clock::LocalToFileTime(const LocalTime& t, uint64_t& fileTime) {
  // Windows refuses a day the month lacks; Wine lets 29 February through in
  // any year.
  if (!IsValidLocalTime(t)) return false;
  const SYSTEMTIME local{t.year, t.month, 0, t.day, t.hour, t.minute, t.second, t.milliseconds};
  SYSTEMTIME utc;
  FILETIME ft;
  if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &ft)) return false;
  fileTime = FromFileTime(ft);
  return true;
}

}  // namespace quillmor
