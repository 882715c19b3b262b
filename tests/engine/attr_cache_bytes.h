// Attribute cache files spelled out byte by byte, independently of the
// encoder under test.
#pragma once

#include <cstdint>
#include <string>

namespace quillmor {

class CacheFileBytes {
 public:
  CacheFileBytes& Header(uint32_t sectionCount, uint32_t version = 1) {
    bytes_ += "HCSV";
    return U32(version).U32(sectionCount);
  }
  CacheFileBytes& Section(char16_t driveLetter, uint64_t journalId, uint32_t entryCount) {
    return U16(driveLetter).U64(journalId).U32(entryCount);
  }
  CacheFileBytes& Entry(uint64_t fileRef, uint64_t size, uint64_t lastWrite, uint64_t creation, uint8_t known = 1) {
    U64(fileRef).U64(size).U64(lastWrite).U64(creation);
    bytes_.push_back(static_cast<char>(known));
    return *this;
  }
  CacheFileBytes& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  CacheFileBytes& U16(uint16_t v) {
    for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
  }
  CacheFileBytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
  }
  CacheFileBytes& U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return *this;
  }
  std::string bytes_;
};

}  // namespace quillmor
