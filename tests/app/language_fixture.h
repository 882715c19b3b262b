// Tests of localised texts run with a known language installed and leave
// none behind.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "settings/localisation.h"

namespace quillmor {

class LanguageTest : public ::testing::Test {
 protected:
  LanguageTest() { Install(u"en-us", false); }
  ~LanguageTest() override { InstallActiveLanguage(u"", nullptr, false); }

  void Install(std::u16string_view code, bool chinese) {
    InstallActiveLanguage(std::u16string(code), std::make_shared<const StringTable>(StringTableOf(code)), chinese);
  }
  void InstallTable(StringTable table) {
    InstallActiveLanguage(u"xx-yy", std::make_shared<const StringTable>(std::move(table)), false);
  }
};

}  // namespace quillmor
