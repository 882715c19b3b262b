#include "engine/attr_cache_format.h"

#include <algorithm>

namespace quillmor {
namespace {

// How much of the file is read at a time: large enough that a section of a
// million entries takes a few hundred reads, small enough to hold anywhere.
constexpr uint64_t kReadBlockBytes = 256 * 1024;

void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}

// The caller has checked the bounds.
uint16_t Get16(const std::byte* p) {
  return static_cast<uint16_t>(std::to_integer<uint16_t>(p[0]) | (std::to_integer<uint16_t>(p[1]) << 8));
}
uint32_t Get32(const std::byte* p) { return Get16(p) | (static_cast<uint32_t>(Get16(p + 2)) << 16); }
uint64_t Get64(const std::byte* p) { return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32); }

}  // namespace

std::string EncodeAttrCache(std::span<const AttrCacheSection> sections) {
  uint64_t entries = 0;
  for (const AttrCacheSection& s : sections) entries += s.entries.size();
  std::string out;
  out.reserve(kAttrCacheHeaderBytes + kAttrCacheSectionHeaderBytes * sections.size() + kAttrCacheEntryBytes * entries);

  Put32(out, kAttrCacheMagic);
  Put32(out, kAttrCacheVersion);
  Put32(out, static_cast<uint32_t>(sections.size()));
  for (const AttrCacheSection& s : sections) {
    Put16(out, s.driveLetter);
    Put64(out, s.journalId);
    Put32(out, static_cast<uint32_t>(s.entries.size()));
    for (const auto& [fileRef, entry] : s.entries) {
      Put64(out, fileRef);
      Put64(out, entry.size);
      Put64(out, entry.lastWriteTime);
      Put64(out, entry.creationTime);
      out.push_back(1);
    }
  }
  return out;
}

const std::byte* AttrCacheReader::Take(size_t bytes) {
  if (position_ > size_ || size_ - position_ < bytes) return nullptr;
  if (position_ < blockStart_ || position_ - blockStart_ + bytes > block_.size()) {
    block_.resize(static_cast<size_t>(std::min<uint64_t>(kReadBlockBytes, size_ - position_)));
    block_.resize(file_.Read(position_, block_));
    blockStart_ = position_;
    if (block_.size() < bytes) return nullptr;  // cut short since it was opened
  }
  const std::byte* p = block_.data() + (position_ - blockStart_);
  position_ += bytes;
  return p;
}

bool AttrCacheReader::ReadHeader(uint32_t& sectionCount) {
  std::byte header[kAttrCacheHeaderBytes];
  if (position_ != 0 || size_ < sizeof header || file_.Read(0, header) != sizeof header) return false;
  if (Get32(header) != kAttrCacheMagic || Get32(header + 4) != kAttrCacheVersion) return false;
  sectionCount = Get32(header + 8);
  position_ = blockStart_ = sizeof header;
  return true;
}

bool AttrCacheReader::ReadSectionHeader(AttrCacheSectionHeader& out) {
  const std::byte* p = Take(kAttrCacheSectionHeaderBytes);
  if (p == nullptr) return false;
  out.driveLetter = static_cast<char16_t>(Get16(p));
  out.journalId = Get64(p + 2);
  out.entryCount = Get32(p + 10);
  return true;
}

bool AttrCacheReader::ReadEntry(uint64_t& fileRef, AttrEntry& out) {
  const std::byte* p = Take(kAttrCacheEntryBytes);
  if (p == nullptr) return false;
  fileRef = Get64(p);
  out.size = Get64(p + 8);
  out.lastWriteTime = Get64(p + 16);
  out.creationTime = Get64(p + 24);
  out.known = p[32] != std::byte{0} ? 1 : 0;
  return true;
}

void AttrCacheReader::SkipEntries(uint32_t count) {
  // At most 33 * (2^32 - 1) per call, far from overflowing 64 bits.
  position_ += kAttrCacheEntryBytes * count;
}

uint64_t AttrCacheReader::EntriesLeft() const {
  return position_ < size_ ? (size_ - position_) / kAttrCacheEntryBytes : 0;
}

}  // namespace quillmor
