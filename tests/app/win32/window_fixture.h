// The real main window over an in-memory computer: NTFS drives are simulated
// volumes, other drives live in a memory file system, and the configuration
// directory sits in that file system's current directory. The clock, the text
// conversion and message posting are the machine's, since the window's timers
// and posted messages are real. Message boxes are recorded and answered.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_env.h"
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/shell_launcher.h"
#include "platform/sim/fake_system_info.h"
#include "platform/sim/memory_file_system.h"
#include "platform/sim/mounted_file_system.h"
#include "platform/sim/simulated_ntfs_volume.h"

namespace quillmor {

class RecordingMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::u16string text;
    std::u16string title;
    UINT type = 0;
  };

  int Show(HWND owner, std::u16string_view text, std::u16string_view title, UINT type) override;

  std::vector<Shown> shown;
  int answer = IDOK;  // the button every box answers with
};

// Records what the window asks the shell to start, and answers.
class RecordingShell : public ShellLauncher {
 public:
  bool Execute(HWND owner, const ShellRequest& request) override;
  std::vector<ShellRequest> requests;
  bool answer = true;
};

class WindowFixture : public ::testing::Test {
 protected:
  static constexpr uint64_t kRoot = SimulatedNtfsVolume::kRootRef;

  WindowFixture();
  ~WindowFixture() override;

  void MountNtfs(char16_t letter, SimulatedNtfsVolume& volume);
  // A drive indexed by walking it ("exFAT" unless said otherwise).
  void AddWalkedDrive(char16_t letter, const char16_t* fileSystem = u"exFAT", const char16_t* label = u"");

  // Reads window.ini as the entry point does, at `state->systemDpi` (a test
  // may write one into the configuration directory first), creates the main
  // window and shows it (unless `hidden`). Call once per test.
  HWND Open(bool hidden = false);
  // Opens the window and waits until every drive is indexed (the start-up
  // ended with WMU_VOLUMES_SYNCED) and the view it led to has settled.
  HWND OpenReady();

  // Dispatches this thread's messages until `done` holds or `timeoutMs`
  // passes; true when it holds.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000);
  // Dispatches messages for `ms` milliseconds.
  void PumpFor(int ms);

  MainWindow& Window() { return *MainWindowOf(hwnd); }
  std::u16string Title();
  bool WaitForTitle(std::u16string_view title, int timeoutMs = 20000);
  // Replaces the search box's text, as typing or a paste does.
  void TypeQuery(std::u16string_view text);
  // A key pressed in the search box (WM_KEYDOWN then WM_KEYUP).
  void PressKeyInSearchBox(UINT key);
  // Types `text` (and presses Enter, not waiting for the typing delay, when
  // `enter`), waits until its results have settled (the filter pass has
  // reported) and returns the count the title gives.
  int64_t SearchAndWait(std::u16string_view text, bool enter = false);
  // The count of a settled title ("... | Hits: n"), or -1.
  int64_t SettledCount();
  // The current search's final results have been handled and the filter
  // pass they started has reported: the title is the one a user keeps.
  bool Settled();

  // The path of `name` in the configuration directory.
  static std::u16string ConfigPath(std::u16string_view name);

  // Destroys the window as the tray menu's exit does and waits for the end.
  void Exit();

  FakeSystemInfo system;
  MemoryFileSystem memory;
  MountedFileSystem files{memory};
  SimulatedVolumeDevices devices;
  RecordingMessageBoxes boxes;
  AppEnv appEnv;
  std::unique_ptr<AppState> state;
  HWND hwnd = nullptr;
  SimulatedNtfsVolume ntfsC, ntfsD;

 private:
  // What PumpUntil saw go to the window, to tell a settled title from a late
  // one of an earlier search.
  void Observe(const MSG& message);
  uint64_t finalResultsGeneration_ = 0;  // of the last current final WMU_SEARCH_RESULTS
  bool filterResultsAfterFinal_ = false;
  bool volumesSynced_ = false;
};

}  // namespace quillmor
