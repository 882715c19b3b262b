#include "settings/recent_opens.h"

#include <algorithm>

#include "platform/utf.h"
#include "settings/config_directory.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

constexpr std::u16string_view kFileName = u"recent.ini";
// recent.ini lines are read through a buffer one character longer than the
// longest line.
constexpr size_t kLineBufferChars = kMaxRecentLineChars + 1;

bool SameFile(const RecentOpen& entry, const std::optional<RecentItem>& item, const std::u16string& normalisedPath) {
  if (item && entry.item && *item == *entry.item) return true;
  return NormalisedRecentPath(entry.path) == normalisedPath;
}

// Drops each entry that names the same file as an earlier one.
void DropLaterDuplicates(std::vector<RecentOpen>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::u16string path = NormalisedRecentPath(entries[i].path);
    const std::optional<RecentItem> item = entries[i].item;
    entries.erase(std::remove_if(entries.begin() + static_cast<ptrdiff_t>(i) + 1, entries.end(),
                                 [&](const RecentOpen& e) { return SameFile(e, item, path); }),
                  entries.end());
  }
}

}  // namespace

std::u16string NormalisedRecentPath(std::u16string_view path) {
  std::u16string normalised = LowerAscii(path);
  std::replace(normalised.begin(), normalised.end(), u'/', u'\\');
  return normalised;
}

void RecentOpenList::Load(Env& env) {
  std::vector<std::u16string> lines;
  ReadSettingsLines(*env.files, ConfigFilePath(env, kFileName), kLineBufferChars, lines);
  std::vector<RecentOpen> loaded;
  for (const std::u16string& line : lines) {
    if (loaded.size() == kMaxEntries) break;
    const size_t tab = line.find(u'\t');
    if (tab == std::u16string::npos || tab + 1 == line.size()) continue;
    loaded.push_back(RecentOpen{std::nullopt, ParseSettingsUnsigned64(std::u16string_view(line).substr(0, tab)),
                                line.substr(tab + 1)});
  }
  std::lock_guard lock(mutex_);
  entries_.swap(loaded);
}

bool RecentOpenList::Save(Env& env) {
  const std::u16string path = ConfigFilePath(env, kFileName);
  std::lock_guard lock(mutex_);
  std::u16string text;
  for (const RecentOpen& entry : entries_) {
    if (entry.path.empty()) continue;
    const std::u16string tick = U16(std::to_string(entry.tick));
    // A longer line would come back from the reader in pieces, the first
    // with a cut-off path: better not to remember the entry at all.
    if (tick.size() + 1 + entry.path.size() > kMaxRecentLineChars) continue;
    text += tick;
    text += u'\t';
    text += entry.path;
    text += u'\n';
  }
  return WriteSettingsFile(*env.files, path, text);
}

void RecentOpenList::RecordOpen(Env& env, std::optional<RecentItem> item, std::u16string_view path) {
  if (path.empty()) return;
  {
    std::lock_guard lock(mutex_);
    const std::u16string normalised = NormalisedRecentPath(path);
    std::erase_if(entries_, [&](const RecentOpen& e) { return SameFile(e, item, normalised); });
    entries_.insert(entries_.begin(), RecentOpen{item, env.clock->TickCount64(), std::u16string(path)});
    if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
  }
  Save(env);
}

void RecentOpenList::Clear(Env& env) {
  {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }
  Save(env);
}

bool RecentOpenList::RenameEntries(Env& env, std::optional<RecentItem> item, std::u16string_view oldPath,
                                   std::u16string_view newPath) {
  if (newPath.empty()) return false;
  bool changed = false;
  {
    std::lock_guard lock(mutex_);
    const std::u16string normalisedOld = NormalisedRecentPath(oldPath);
    for (RecentOpen& entry : entries_) {
      if (!SameFile(entry, item, normalisedOld)) continue;
      if (item) entry.item = item;
      entry.path = std::u16string(newPath);
      changed = true;
    }
    if (changed) DropLaterDuplicates(entries_);
  }
  if (changed) Save(env);
  return changed;
}

void RecentOpenList::UpdateUnchanged(const std::vector<std::pair<RecentOpen, RecentOpen>>& updates) {
  std::lock_guard lock(mutex_);
  for (const auto& [before, after] : updates) {
    const auto entry = std::find(entries_.begin(), entries_.end(), before);
    if (entry != entries_.end()) *entry = after;
  }
}

std::vector<RecentOpen> RecentOpenList::Entries() const {
  std::lock_guard lock(mutex_);
  return entries_;
}

}  // namespace quillmor
