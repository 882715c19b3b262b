// Names laid out as the name pool lays them out (name, 0, lower-case copy, 0),
// each in a heap block of exactly that size, so that AddressSanitizer reports
// any read a scan makes outside an entry. In a real pool the neighbours are
// other entries and such a read would go unnoticed.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "index/file_record.h"
#include "index/name_pool.h"

namespace quillmor {

class ExactNameEntries {
 public:
  // A record whose name is stored alone; valid while this object lives.
  FileRecord Add(std::u16string_view name) {
    const size_t n = name.size();
    auto entry = std::make_unique<char16_t[]>(2 * n + 2);
    for (size_t i = 0; i < n; ++i) {
      entry[i] = name[i];
      entry[n + 1 + i] = FoldAsciiCase(name[i]);
    }
    FileRecord record;
    record.SetName({entry.get(), n});
    entries_.push_back(std::move(entry));
    return record;
  }

 private:
  std::vector<std::unique_ptr<char16_t[]>> entries_;
};

}  // namespace quillmor
