#include "engine/zip_document.h"

#include <memory>
#include <new>

#include "engine/inner_name_pattern.h"
#include "engine/xml_text.h"
#include "engine/zip_reader.h"
#include "platform/shutdown.h"

namespace quillmor {
namespace {

constexpr uint32_t kDosDirectoryAttribute = 0x10;

bool IsDirectory(const ZipEntry& entry) {
  return (!entry.name.empty() && entry.name.back() == '/') || (entry.externalAttributes & kDosDirectoryAttribute);
}

bool IsReadable(const ZipEntry& entry) {
  return (entry.method == kZipMethodStored || entry.method == kZipMethodDeflate) &&
         !(entry.flags & (kZipFlagEncrypted | kZipFlagStrongEncryption | kZipFlagPatchedData)) && !entry.overlapping;
}

}  // namespace

bool ScanZipArchive(ReadableFile& file, std::span<const std::string> innerPatterns, ZipTextMatcher& matcher,
                    uint64_t budget) {
  ZipDirectory directory;
  if (!ReadZipDirectory(file, directory)) return false;
  for (const ZipEntry& entry : directory.entries) {
    if (ShuttingDown() || !matcher.SearchIsCurrent()) return false;
    if (IsDirectory(entry) || !IsReadable(entry)) continue;
    if (!MatchesAnyInnerPattern(NormalizeInnerName(entry.name), innerPatterns)) continue;
    if (entry.uncompressedSize == 0 || entry.uncompressedSize > kMaxZipEntrySize) continue;
    // Counted before the work, whether the entry turns out readable or not.
    if (entry.uncompressedSize > budget) return false;
    budget -= entry.uncompressedSize;

    // One entry's buffer at a time, of its exact size; the text is made in it.
    const auto size = static_cast<size_t>(entry.uncompressedSize);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
    if (!buffer) continue;
    const std::span<uint8_t> bytes(reinterpret_cast<uint8_t*>(buffer.get()), size);
    if (ExtractZipEntry(file, directory, entry, bytes) != ZipExtractResult::kOk) continue;
    const std::string_view text = XmlToTextInPlace(std::span(buffer.get(), size));
    if (!text.empty() && matcher.MatchText(text)) return true;
  }
  return false;
}

bool ScanZipDocument(Env& env, std::u16string_view path, std::span<const std::string> innerPatterns,
                     ZipTextMatcher& matcher) {
  if (path.starts_with(u"\\\\")) return false;  // network paths are not read
  const std::unique_ptr<ReadableFile> file = env.files->OpenForRead(path);
  if (!file) return false;
  return ScanZipArchive(*file, innerPatterns, matcher);
}

}  // namespace quillmor
