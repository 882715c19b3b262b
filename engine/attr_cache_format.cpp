#include "engine/attr_cache_format.h"

namespace quillmor {
namespace {

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

bool AttrCacheReader::ReadHeader(uint32_t& sectionCount) {
  if (!Available(kAttrCacheHeaderBytes)) return false;
  const std::byte* p = file_.data() + position_;
  if (Get32(p) != kAttrCacheMagic || Get32(p + 4) != kAttrCacheVersion) return false;
  sectionCount = Get32(p + 8);
  position_ += kAttrCacheHeaderBytes;
  return true;
}

bool AttrCacheReader::ReadSectionHeader(AttrCacheSectionHeader& out) {
  if (!Available(kAttrCacheSectionHeaderBytes)) return false;
  const std::byte* p = file_.data() + position_;
  out.driveLetter = static_cast<char16_t>(Get16(p));
  out.journalId = Get64(p + 2);
  out.entryCount = Get32(p + 10);
  position_ += kAttrCacheSectionHeaderBytes;
  return true;
}

bool AttrCacheReader::ReadEntry(uint64_t& fileRef, AttrEntry& out) {
  if (!Available(kAttrCacheEntryBytes)) return false;
  const std::byte* p = file_.data() + position_;
  fileRef = Get64(p);
  out.size = Get64(p + 8);
  out.lastWriteTime = Get64(p + 16);
  out.creationTime = Get64(p + 24);
  out.known = p[32] != std::byte{0} ? 1 : 0;
  position_ += kAttrCacheEntryBytes;
  return true;
}

void AttrCacheReader::SkipEntries(uint32_t count) {
  // At most 33 * (2^32 - 1) per call, far from overflowing 64 bits.
  position_ += kAttrCacheEntryBytes * count;
}

uint64_t AttrCacheReader::EntriesLeft() const {
  return position_ < file_.size() ? (file_.size() - position_) / kAttrCacheEntryBytes : 0;
}

}  // namespace quillmor
