#include "bench/volume_generator.h"

#include <deque>
#include <random>
#include <string>
#include <vector>

namespace quillmor {
namespace {

const char16_t* const kWords[] = {
    u"report",  u"Quarterly",    u"invoice",       u"budget",      u"notes",        u"Meeting",     u"draft",
    u"final",   u"backup",       u"photo",         u"Holiday",     u"project",      u"design",      u"client",
    u"summary", u"data",         u"export",        u"config",      u"index",        u"main",        u"utils",
    u"test",    u"readme",       u"LICENSE",       u"setup",       u"install",      u"resources",   u"Screenshot",
    u"scan",    u"contract",     u"Übersicht",     u"résumé",      u"年度报告",     u"写真",        u"archive",
    u"music",   u"presentation", u"documentation", u"application", u"Installation", u"translations"};
const char16_t* const kExtensions[] = {u".txt", u".docx", u".pdf", u".jpg", u".png", u".xlsx", u".js",  u".cpp",
                                       u".h",   u".json", u".dll", u".mp3", u".zip", u".log",  u".xml", u".html"};
const char16_t* const kDirectoryWords[] = {u"src",      u"docs",  u"Pictures", u"node_modules", u"2019", u"2023",
                                           u"Projects", u"build", u"assets",   u"Downloads",    u"lib",  u"cache"};

template <typename T, size_t N>
const T& Pick(std::mt19937_64& rng, const T (&items)[N]) {
  return items[rng() % N];
}

std::u16string FileName(std::mt19937_64& rng) {
  std::u16string name;
  switch (rng() % 4) {
    case 0:  // IMG_20190612_083211.jpg
      name = u"IMG_2019" + std::u16string(1, static_cast<char16_t>(u'0' + rng() % 10)) + u"612_0" +
             std::u16string(1, static_cast<char16_t>(u'0' + rng() % 10)) + u"3211";
      break;
    case 1:  // Quarterly report 2019 (3)
      name = std::u16string(Pick(rng, kWords)) + u" " + Pick(rng, kWords) + u" " + std::u16string(1, u'0' + rng() % 10);
      break;
    case 2:  // design-resources
      name = std::u16string(Pick(rng, kWords)) + u"-" + Pick(rng, kWords);
      break;
    default:  // budget_final_v2
      name = std::u16string(Pick(rng, kWords)) + u"_" + Pick(rng, kWords) + u"_v" +
             std::u16string(1, static_cast<char16_t>(u'1' + rng() % 9));
      break;
  }
  return name + Pick(rng, kExtensions);
}

std::u16string DirectoryName(std::mt19937_64& rng) {
  if (rng() % 2) return Pick(rng, kDirectoryWords);
  return std::u16string(Pick(rng, kWords)) + u" " + Pick(rng, kDirectoryWords);
}

}  // namespace

GeneratedVolume GenerateRealisticVolume(SimulatedNtfsVolume& volume, size_t records, uint64_t seed) {
  std::mt19937_64 rng(seed);
  GeneratedVolume out;
  volume.ReserveFiles(records);
  std::deque<uint64_t> directories = {SimulatedNtfsVolume::kRootRef};
  size_t made = 1;  // the root
  while (made < records) {
    const uint64_t parent = directories.front();
    directories.pop_front();
    // Fan-out: most directories hold a handful of entries, a few hold hundreds.
    const size_t children = (rng() % 10 == 0) ? 50 + rng() % 400 : 2 + rng() % 20;
    for (size_t i = 0; i < children && made < records; ++i, ++made) {
      const bool directory = rng() % 100 < 12;
      const std::u16string name = directory ? DirectoryName(rng) : FileName(rng);
      out.nameUnits += name.size();
      const uint64_t ref = volume.AddExistingFile(parent, name, directory);
      if (directory) {
        directories.push_back(ref);
        ++out.directories;
      } else {
        ++out.files;
      }
    }
    if (directories.empty()) directories.push_back(SimulatedNtfsVolume::kRootRef);
  }
  return out;
}

}  // namespace quillmor
