#include "app/core/non_ntfs_refresh.h"

#include <gtest/gtest.h>

namespace quillmor {
namespace {

constexpr uint32_t Drives(std::u16string_view letters) {
  uint32_t mask = 0;
  for (const char16_t c : letters) mask |= 1u << (c - u'A');
  return mask;
}

TEST(NonNtfsRefreshTest, GoneDrivesAndWhetherAWalkRemains) {
  const struct {
    const char* name;
    std::vector<NonNtfsCandidate> volumes;
    uint32_t drives;
    std::vector<size_t> gone;
    bool refresh;
  } cases[] = {
      {"no volumes", {}, Drives(u"C"), {}, false},
      {"journal-kept NTFS only", {{true, u"C:", u"NTFS", false}}, Drives(u"C"), {}, false},
      {"a FAT stick", {{true, u"C:", u"NTFS", false}, {true, u"E:", u"FAT32", false}}, Drives(u"CE"), {}, true},
      {"NTFS walked (no journal)", {{true, u"C:", u"NTFS", true}}, Drives(u"C"), {}, true},
      {"file system without case", {{true, u"C:", u"ntfs", false}}, Drives(u"C"), {}, false},
      {"lower-case letter", {{true, u"e:", u"exFAT", false}}, Drives(u"E"), {}, true},
      {"the stick is gone", {{true, u"C:", u"NTFS", false}, {true, u"E:", u"FAT32", false}}, Drives(u"C"), {1}, false},
      {"unavailable volumes are left alone", {{false, u"E:", u"FAT32", false}}, 0, {}, false},
      {"no letter", {{true, u"", u"FAT32", false}, {true, u"1:", u"FAT32", false}}, ~0u, {0, 1}, false},
      {"Z: counts", {{true, u"Z:", u"FAT", false}}, Drives(u"Z"), {}, true},
  };
  for (const auto& c : cases) {
    const NonNtfsRefreshPlan plan = PlanNonNtfsRefresh(c.volumes, c.drives);
    EXPECT_EQ(plan.gone, c.gone) << c.name;
    EXPECT_EQ(plan.refresh, c.refresh) << c.name;
  }
}

}  // namespace
}  // namespace quillmor
