// An Env made of the in-memory fakes: a manual clock, a recording window
// poster and fake system facts, with the platform's real code-page converter
// (its answers are fixed by the code pages). Tests set `env.volumes` and
// `env.files` to what they need.
#pragma once

#include "platform/env.h"
#include "platform/sim/fake_system_info.h"
#include "platform/sim/manual_clock.h"
#include "platform/sim/recording_window_poster.h"

namespace quillmor {

struct TestEnv {
  TestEnv() {
    env.clock = &clock;
    env.windows = &poster;
    env.system = &system;
    env.text = DefaultEnv().text;
  }
  TestEnv(const TestEnv&) = delete;
  TestEnv& operator=(const TestEnv&) = delete;

  ManualClock clock;
  RecordingWindowPoster poster;
  FakeSystemInfo system;
  Env env;
};

}  // namespace quillmor
