// window.ini, hotkey.ini and recent.ini are text a user may edit or a crash
// may leave half-written: reading any bytes must neither fail nor misbehave,
// and what is saved from the result must read back the same.
#include <cstdlib>
#include <string>

#include "platform/sim/memory_file_system.h"
#include "platform/sim/test_env.h"
#include "settings/hotkey_settings.h"
#include "settings/recent_opens.h"
#include "settings/window_settings.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

namespace {

constexpr char16_t kConfig[] = u"C:\\Docs\\Quillmor\\config";

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckWindowSettingsRoundTrip(Env& env, int32_t dpi) {
  WindowSettings first;
  LoadWindowSettings(env, dpi, first);
  Check(first.sizeRange.size() <= kMaxSizeRangeChars);
  Check(first.viewMode >= 0 && first.viewMode <= 2 && first.sizeUnit >= 0 && first.sizeUnit <= 3);
  for (int32_t width : first.columnWidths) Check(width >= 0);

  LiveWindowValues live;
  live.normalWidth = first.width;
  live.normalHeight = first.height;
  live.columnWidths = first.columnWidths;
  WindowSettings saved = first;
  if (!SaveWindowSettings(env, dpi, live, saved)) return;
  WindowSettings second;
  LoadWindowSettings(env, dpi, second);
  Check(second.width == first.width && second.height == first.height);
  Check(second.columnWidths == first.columnWidths);
  Check(second.sizeRange == first.sizeRange && second.timeStart == first.timeStart && second.timeEnd == first.timeEnd &&
        second.darkTheme == first.darkTheme && second.sidebarLayout == first.sidebarLayout &&
        second.viewMode == first.viewMode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TestEnv t;
  MemoryFileSystem files;
  t.env.files = &files;
  t.system.documents = u"C:\\Docs";
  files.AddDirectories(kConfig);
  const std::u16string config = kConfig;

  files.AddFile(config + u"\\window.ini", bytes);
  CheckWindowSettingsRoundTrip(t.env, size % 2 == 0 ? 96 : 144);

  files.AddFile(config + u"\\hotkey.ini", bytes);
  HotkeySettings hotkeys;
  LoadHotkeySettings(t.env, hotkeys);
  FormatHotkey(t.system, hotkeys.modifiers, hotkeys.key);

  files.AddFile(config + u"\\recent.ini", bytes);
  RecentOpenList recent;
  recent.Load(t.env);
  const std::vector<RecentOpen> loaded = recent.Entries();
  Check(loaded.size() <= RecentOpenList::kMaxEntries);
  recent.Save(t.env);
  RecentOpenList again;
  again.Load(t.env);
  // Every entry whose line fits comes back, in order; the others are left out.
  std::vector<RecentOpen> kept;
  for (const RecentOpen& entry : loaded) {
    Check(!entry.path.empty());
    if (std::to_string(entry.tick).size() + 1 + entry.path.size() <= kMaxRecentLineChars) kept.push_back(entry);
  }
  const std::vector<RecentOpen> reloaded = again.Entries();
  Check(reloaded.size() == kept.size());
  for (size_t i = 0; i < kept.size(); ++i) {
    Check(reloaded[i].path == kept[i].path && reloaded[i].tick == kept[i].tick);
  }
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  const std::string seeds[] = {
      "\xEF\xBB\xBFwidth=1200\r\nheight=800\r\ncol0=60\r\ncol5=400\r\nsizeRange=1-100\r\nthemeMode=light\r\n"
      "filterLayout=topbar\r\nviewMode=2\r\ntimeStart=20240101\r\n",
      "modifiers=6\nkey=79\nfg_modifiers=1\nfg_key=90\n",
      "12\tC:\\docs\\a.txt\n99\tD:\\\xE4\xB8\xAD.txt\n\tno stamp\nno tab\n",
      std::string(300, 'a') + "=1\ncol3=45\n",
  };
  std::vector<std::vector<uint8_t>> out;
  for (const std::string& s : seeds) out.emplace_back(s.begin(), s.end());
  return out;
}
