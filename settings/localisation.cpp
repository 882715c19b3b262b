#include "settings/localisation.h"

#include <array>
#include <atomic>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

#include "settings/localisation_table.h"
#include "settings/perf_log.h"
#include "settings/settings_file.h"

namespace quillmor {
namespace {

struct BuiltInLanguage {
  std::u16string_view code;
  std::span<const LocalisedText> (*overlay)();
};

// English comes with no overlay: its table is the base of all the others.
constexpr BuiltInLanguage kBuiltInLanguages[] = {
    {u"zh-cn", ChineseSimplifiedTexts},
    {u"en-us", nullptr},
    {u"de-de", GermanTexts},
    {u"ja-jp", JapaneseTexts},
    {u"fr-fr", FrenchTexts},
    {u"ko-kr", KoreanTexts},
    {u"es-es", SpanishTexts},
    {u"ru-ru", RussianTexts},
    {u"no-no", NorwegianTexts},
    {u"ar-sa", ArabicTexts},
};

constexpr std::array<std::u16string_view, std::size(kBuiltInLanguages)> kBuiltInCodes = [] {
  std::array<std::u16string_view, std::size(kBuiltInLanguages)> codes{};
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = kBuiltInLanguages[i].code;
  return codes;
}();

// Keys older language files and call sites may still use.
constexpr std::pair<std::u16string_view, std::u16string_view> kKeyAliases[] = {
    {u"app.name", u"App_Name"},
    {u"menu.homepage", u"Menu_Homepage"},
    {u"menu.language", u"Menu_Language"},
    {u"menu.features", u"Menu_Features"},
    {u"dialog.title.error", u"MsgTitle_Error"},
    {u"dialog.title.information", u"MsgTitle_Information"},
};

struct BuiltInTables {
  std::unordered_map<std::u16string, StringTable, TextHash, std::equal_to<>> byCode;
  std::unordered_map<std::u16string_view, std::u16string_view> aliases;
  std::vector<std::u16string_view> keys;
  const StringTable* english = nullptr;
  const StringTable* chinese = nullptr;
};

// Built once and never destroyed: detached background tasks may still
// translate while the process exits.
const BuiltInTables& Tables() {
  static const BuiltInTables* tables = [] {
    auto* built = new BuiltInTables;
    BuiltInTables& t = *built;
    StringTable english;
    for (const LocalisedText& entry : EnglishTexts()) {
      english.insert_or_assign(std::u16string(entry.key), std::u16string(entry.text));
      t.keys.push_back(entry.key);
    }
    for (const BuiltInLanguage& language : kBuiltInLanguages) {
      StringTable table = english;
      if (language.overlay != nullptr) {
        for (const LocalisedText& entry : language.overlay()) {
          table.insert_or_assign(std::u16string(entry.key), std::u16string(entry.text));
        }
      }
      t.byCode.emplace(std::u16string(language.code), std::move(table));
    }
    t.english = &t.byCode.find(u"en-us")->second;
    t.chinese = &t.byCode.find(u"zh-cn")->second;
    for (const auto& [from, to] : kKeyAliases) t.aliases.emplace(from, to);
    return built;
  }();
  return *tables;
}

// What a Translate call reads about the current language, replaced as a whole.
struct ActiveLanguage {
  std::u16string code;
  std::shared_ptr<const StringTable> table;
  bool chinese = false;
};

// The current language. The mutex is held only to copy or swap the pointer:
// readers keep their copy (and its table) alive while they use it, and a new
// language is built aside before it is swapped in. (libstdc++ 12's
// std::atomic<std::shared_ptr> unlocks its loads with relaxed order, which
// leaves a formal race with the next store.)
class ActiveSlot {
 public:
  ActiveSlot() {
    auto initial = std::make_shared<ActiveLanguage>();
    initial->table = std::make_shared<const StringTable>();
    language_ = std::move(initial);
  }
  std::shared_ptr<const ActiveLanguage> Load() {
    std::lock_guard lock(mutex_);
    return language_;
  }
  // Publishes change(copy of the current language); the old one is released
  // outside the lock.
  template <typename Change>
  void Update(Change change) {
    std::shared_ptr<const ActiveLanguage> old;
    std::lock_guard lock(mutex_);
    auto next = std::make_shared<ActiveLanguage>(*language_);
    change(*next);
    old = std::exchange(language_, std::move(next));
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<const ActiveLanguage> language_;  // Guarded by mutex_. Never null.
};

ActiveSlot& Active() {
  static ActiveSlot* slot = new ActiveSlot;  // never destroyed, as the tables
  return *slot;
}

// The timing log of the running program, for the missing-key lines.
std::atomic<Env*> g_logEnv{nullptr};

struct ReportedMissingKeys {
  std::mutex mutex;
  std::unordered_set<std::u16string, TextHash, std::equal_to<>> keys;  // Guarded by mutex.
};

void ReportMissingKey(std::u16string_view key, std::u16string_view code) {
  static ReportedMissingKeys* reported = new ReportedMissingKeys;  // never destroyed, as the tables
  Env* env = g_logEnv.load();
  if (env == nullptr) return;  // reported once a log exists
  {
    std::lock_guard lock(reported->mutex);
    if (!reported->keys.emplace(key).second) return;
  }
  std::u16string line = u"i18n missing_key=";
  line += key;
  line += u" lang=";
  line += code;
  LogMetric(*env, line);
}

const std::u16string* Find(const StringTable& table, std::u16string_view key) {
  const auto it = table.find(key);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace

std::span<const std::u16string_view> BuiltInLanguageCodes() { return kBuiltInCodes; }

std::span<const std::u16string_view> LocalisationKeys() { return Tables().keys; }

std::u16string NormaliseLanguageCode(std::u16string_view code) {
  std::u16string lower = LowerAscii(TrimSettingsBlanks(code));
  if (lower.size() == 2) {
    for (std::u16string_view builtIn : kBuiltInCodes) {
      if (builtIn.starts_with(lower)) return std::u16string(builtIn);
    }
  }
  return lower;
}

const StringTable& StringTableOf(std::u16string_view code) {
  const BuiltInTables& tables = Tables();
  const auto it = tables.byCode.find(NormaliseLanguageCode(code));
  return it == tables.byCode.end() ? *tables.english : it->second;
}

void InitLocalisation(Env& env) {
  Tables();
  g_logEnv.store(&env);
}

std::u16string Translate(std::u16string_view key, std::u16string_view zhDefault, std::u16string_view enDefault) {
  const BuiltInTables& tables = Tables();
  std::u16string_view lookupKey = key;
  if (const auto alias = tables.aliases.find(key); alias != tables.aliases.end()) lookupKey = alias->second;

  // Holding the snapshot keeps its table alive while the text is copied.
  const std::shared_ptr<const ActiveLanguage> active = Active().Load();
  const std::u16string* found = Find(*active->table, lookupKey);
  if (found == nullptr) found = Find(*tables.english, lookupKey);
  if (found == nullptr) found = Find(*tables.chinese, lookupKey);
  std::u16string_view text;
  if (found != nullptr) {
    text = *found;
  } else {
    ReportMissingKey(lookupKey, active->code);
    text = lookupKey;
  }
  if (text == key) return std::u16string(active->chinese ? zhDefault : enDefault);
  return std::u16string(text);
}

void InstallActiveLanguage(std::u16string code, std::shared_ptr<const StringTable> table, bool chinese) {
  if (!table) table = std::make_shared<const StringTable>();
  Active().Update([&](ActiveLanguage& language) {
    language.code = std::move(code);
    language.table = std::move(table);
    language.chinese = chinese;
  });
}

void SetChineseLanguageFlag(bool chinese) {
  Active().Update([&](ActiveLanguage& language) { language.chinese = chinese; });
}

std::u16string CurrentLanguageCode() { return Active().Load()->code; }

bool IsChineseLanguage() { return Active().Load()->chinese; }

std::shared_ptr<const StringTable> ActiveStringTable() { return Active().Load()->table; }

bool CountsAsChinese(const StringTable& table, std::u16string_view code) {
  const std::u16string* value = Find(table, u"LanguageIsChinese");
  if (value == nullptr) return code.starts_with(u"zh");
  const std::u16string lower = LowerAscii(*value);
  return lower == u"1" || lower == u"true" || lower == u"yes";
}

}  // namespace quillmor
