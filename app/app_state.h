// What the entry point prepares before the main window exists and what lives
// on after it: the engine and the result sets, the filters, the recent opens,
// the search state and the settings read at start-up. One per process in the
// program; window tests make one per test.
#pragma once

#include "app/app_env.h"
#include "app/window_view_state.h"
#include "engine/result_set.h"
#include "engine/search_engine.h"
#include "search/filter_state.h"
#include "search/search_session.h"
#include "settings/hotkey_settings.h"
#include "settings/recent_opens.h"
#include "settings/window_settings.h"

namespace quillmor {

struct AppState {
  explicit AppState(AppEnv& appEnv) : app(appEnv), env(appEnv.core), engine(env) {}
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  AppEnv& app;
  Env& env;
  SearchEngine engine;
  ResultSet results;
  FilterState filters;
  RecentOpenList recent;
  WindowSettings window;  // window.ini, pixels at `dpi` once loaded
  HotkeySettings hotkeys;
  // What background jobs share with the window. Jobs hold them after the
  // window is gone (a search or a filter pass that was running when it
  // closed), so they live here, as long as the jobs may run.
  WindowViewState view;
  SearchSession session{env, engine, results, view, recent, filters};

  HINSTANCE instance = nullptr;
  // The command line held "-hidden" or "/hidden" (autostart).
  bool startedHidden = false;
  // The system's user-interface language is Chinese.
  bool chineseUi = false;
  // The DPI the process started with; the window tracks its own afterwards.
  uint32_t systemDpi = 96;
};

}  // namespace quillmor
