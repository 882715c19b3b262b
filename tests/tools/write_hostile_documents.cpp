// Writes the hostile office documents the command-line test searches beside
// a real one: write-hostile-documents DIR.
//   real.docx     a document whose text holds "needle"
//   overlap.docx  65,535 directory entries over one Deflate stream of 50 MiB
//                 of zeros (3.7 MB on disk)
//   lying.docx    a sparse 1 GiB file whose end record claims a central
//                 directory of nearly all of it
#include <cstdio>
#include <fstream>
#include <string>

#include "engine/crc32.h"
#include "tests/engine/deflate_writer.h"
#include "tests/engine/zip_builder.h"

namespace {

using namespace quillmor::testing;

constexpr uint64_t kBombBytes = 50ull << 20;
constexpr int kBombEntries = 65535;
constexpr uint64_t kLyingFileBytes = 1ull << 30;

bool Write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

std::string RealDocument() {
  TestArchive a;
  a.entries.push_back({.name = "[Content_Types].xml", .data = XmlPart("types")});
  a.entries.push_back({.name = "word/document.xml", .data = XmlPart("a needle in a document")});
  return BuildArchive(a).bytes;
}

// One local header and stream, and a central directory whose every entry
// names them.
std::string OverlappingDocument() {
  const std::string zeros(kBombBytes, '\0');
  const std::vector<uint8_t> stream = FixedDeflate(zeros);
  const uint32_t crc = quillmor::Crc32({reinterpret_cast<const uint8_t*>(zeros.data()), zeros.size()});
  const std::string name = "word/document.xml";

  std::string out;
  Put32(out, 0x04034B50);
  Put16(out, 20);
  Put16(out, 0);
  Put16(out, 8);
  Put32(out, 0);
  Put32(out, crc);
  Put32(out, static_cast<uint32_t>(stream.size()));
  Put32(out, static_cast<uint32_t>(kBombBytes));
  Put16(out, static_cast<uint16_t>(name.size()));
  Put16(out, 0);
  out += name;
  out.append(stream.begin(), stream.end());

  const uint64_t directoryOffset = out.size();
  for (int i = 0; i < kBombEntries; ++i) {
    const std::string entryName = "p/" + std::to_string(i) + ".xml";
    Put32(out, 0x02014B50);
    Put16(out, 20);
    Put16(out, 20);
    Put16(out, 0);
    Put16(out, 8);
    Put32(out, 0);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(stream.size()));
    Put32(out, static_cast<uint32_t>(kBombBytes));
    Put16(out, static_cast<uint16_t>(entryName.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, 0);
    Put32(out, 0);  // every entry's local header is the first
    out += entryName;
  }
  const uint64_t directorySize = out.size() - directoryOffset;
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, kBombEntries);
  Put16(out, kBombEntries);
  Put32(out, static_cast<uint32_t>(directorySize));
  Put32(out, static_cast<uint32_t>(directoryOffset));
  Put16(out, 0);
  return out;
}

// The end record alone, at the end of a file that is otherwise a hole.
bool WriteLyingDocument(const std::string& path) {
  std::string end;
  Put32(end, 0x06054B50);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, 1000);
  Put16(end, 1000);
  Put32(end, static_cast<uint32_t>(kLyingFileBytes - 22));  // all that comes before
  Put32(end, 0);
  Put16(end, 0);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fseek(file, static_cast<long>(kLyingFileBytes - end.size()), SEEK_SET) == 0 &&
                  std::fwrite(end.data(), 1, end.size(), file) == end.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write-hostile-documents DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = Write(dir + "/real.docx", RealDocument()) && Write(dir + "/overlap.docx", OverlappingDocument()) &&
                  WriteLyingDocument(dir + "/lying.docx");
  if (!ok) std::fprintf(stderr, "write-hostile-documents: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
