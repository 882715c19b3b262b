// The timing log, "perf_metrics.log" in the configuration directory: one
// time-stamped line per event, a leading word and name=value fields.
#pragma once

#include <string_view>

#include "platform/env.h"

namespace quillmor {

// Appends "[yyyy-mm-dd hh:mm:ss.mmm] text" in local time. Thread-safe;
// failures are silent.
void LogMetric(Env& env, std::u16string_view text);

}  // namespace quillmor
