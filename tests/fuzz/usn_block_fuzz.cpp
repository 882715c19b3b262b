// Journal and enumeration blocks come straight from the kernel, or from a
// damaged volume: parsing one must never read past it.
#include <cstring>
#include <memory>

#include "index/journal_monitor.h"
#include "index/usn_block.h"
#include "platform/sim/test_env.h"
#include "platform/usn_layout.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size heap copy, so AddressSanitizer sees any read past the end.
  auto block = std::make_unique<std::byte[]>(size);
  if (size != 0) std::memcpy(block.get(), data, size);
  const std::span<const std::byte> bytes(block.get(), size);

  static TestEnv t;
  static VolumeIndex volume(t.env);
  std::unique_lock lock(volume.recordsLock);
  volume.ClearForBuild();
  ForEachUsnRecord(
      bytes, [&](const usn::RecordView& r) { ApplyJournalRecord(volume, r); }, [] { return false; });
  for (size_t i = 0; i < volume.records.size(); ++i) volume.BuildPath(i);
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  std::vector<uint8_t> block(8, 0);
  const std::u16string names[] = {u"a.txt", u"", u"directory name"};
  uint64_t ref = 0x0001000000000010ull;
  for (const auto& name : names) {
    std::vector<uint8_t> record(usn::RecordV2Length(name.size()));
    usn::RecordFields f;
    f.fileReferenceNumber = ref++;
    f.parentFileReferenceNumber = 0x0005000000000005ull;
    f.reason = 0x100;
    usn::WriteRecordV2(f, name, reinterpret_cast<std::byte*>(record.data()));
    block.insert(block.end(), record.begin(), record.end());
  }
  return {block};
}
