// File contents reach the code-page decoder as they are: any bytes must
// decode without reading past them, and what decodes must encode back to
// bytes that decode to the same text. File names are any bytes too, and must
// come back exactly.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/file_name_bytes.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static constexpr uint32_t kCodePages[] = {936, 1252, 65001, 0};
  const uint32_t codePage = kCodePages[data[0] % 4];
  // An exact-size heap copy, so AddressSanitizer sees any read past the end.
  auto copy = std::make_unique<char[]>(size - 1);
  if (size > 1) std::memcpy(copy.get(), data + 1, size - 1);
  const std::string_view bytes(copy.get(), size - 1);

  TextCodec& codec = *DefaultEnv().text;
  std::u16string text;
  if (!codec.ToUtf16(codePage, bytes, text)) std::abort();
  if (text.size() > bytes.size()) std::abort();  // never more units than bytes
  std::string encoded;
  if (!codec.FromUtf16(codePage, text, encoded)) std::abort();
  std::u16string again;
  if (!codec.ToUtf16(codePage, encoded, again) || again != text) std::abort();

  const std::u16string name = FileNameFromBytes(bytes);
  if (name.size() > bytes.size() || FileNameToBytes(name) != bytes) std::abort();
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  return {
      {0, 'a', 0xD6, 0xD0, 0x81, 0x30, 0xA2, 0xAB, 0xFF, 0x80, 0xD6},
      {1, 'c', 'a', 'f', 0xE9, 0x81, 0x80},
      {2, 0xE4, 0xB8, 0xAD, 0xED, 0xA0, 0x80, 0xF0, 0x9F, 0x98, 0x80},
  };
}
