#include "engine/folded_path_writer.h"

#include <algorithm>

#include "index/name_pool.h"

namespace quillmor {
namespace {

void AppendName(PageVector<char16_t>& units, const FileRecord& record) {
  units.push_back(u'\\');
  units.insert(units.end(), record.lowerName(), record.lowerName() + record.nameLength);
}

}  // namespace

FoldedPathWriter::FoldedPathWriter() : heads_(kHeadSlots) {}

void FoldedPathWriter::Reset() {
  if (++stamp_ == 0) {
    std::fill(heads_.begin(), heads_.end(), Head{});
    drive_ = Head{};
    stamp_ = 1;
  }
}

TextSortKeys::Key FoldedPathWriter::Append(const VolumeIndex& volume, uint32_t recordIndex,
                                           PageVector<char16_t>& units) {
  const FileRecord& record = volume.records[recordIndex];
  // The first step of BuildPath's walk: the parent, unless there is none or
  // it is the root.
  uint64_t parent = 0;
  const bool hasParent = volume.refToIndex.Find(record.parentRef, parent) && parent != kNoRecord &&
                         volume.records[parent].fileRef != volume.records[parent].parentRef;
  Head* head = nullptr;
  if (!hasParent) {
    head = &drive_;
    if (drive_.stamp != stamp_) {
      drive_ = Head{0, stamp_, static_cast<uint32_t>(volume.drive.size()), units.size(), 0};
      for (char16_t unit : volume.drive) units.push_back(FoldAsciiCase(unit));
    }
  } else if (Head& known = heads_[parent % kHeadSlots]; known.stamp == stamp_ && known.index == parent) {
    // The rest of the walk is the parent's own.
    head = &known;
  } else {
    const int chainLength = volume.CollectPathChain(recordIndex, chain_);
    const size_t offset = units.size();
    for (char16_t unit : volume.drive) units.push_back(FoldAsciiCase(unit));
    for (int k = chainLength; k > 1; --k) AppendName(units, *chain_[k - 1]);
    const Head written{parent, stamp_, static_cast<uint32_t>(units.size() - offset), offset, chainLength - 1};
    // A walk cut at the ancestor limit wrote a head that is not the
    // parent's own path (that one would reach one ancestor farther), so
    // it serves this record only.
    if (chainLength <= VolumeIndex::kMaxPathAncestors) known = written;
    const size_t tail = units.size();
    AppendName(units, record);
    return {written.offset, tail, written.length, static_cast<uint32_t>(units.size() - tail)};
  }
  const size_t tail = units.size();
  AppendName(units, record);
  return {head->offset, tail, head->length, static_cast<uint32_t>(units.size() - tail)};
}

}  // namespace quillmor
