// The XML of document parts is untrusted: converting it in place must stay
// inside the buffer and never grow the text.
#include <cstring>
#include <memory>

#include "engine/xml_text.h"
#include "tests/fuzz/fuzz_target.h"

using namespace quillmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto buffer = std::make_unique<char[]>(size);
  if (size != 0) std::memcpy(buffer.get(), data, size);
  const std::string_view text = XmlToTextInPlace({buffer.get(), size});
  if (text.size() > size ||
      (!text.empty() && (text.data() < buffer.get() || text.data() + text.size() > buffer.get() + size)) ||
      (!text.empty() && (text.front() == ' ' || text.back() == ' '))) {
    __builtin_trap();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> QuillmorFuzzSeeds() {
  const std::string xml =
      "<?xml version=\"1.0\"?><w:p><w:t xml:space=\"preserve\"> a &lt;b&gt; &#x4E2D;&#65;&amp;&unknown; </w:t>"
      "<![CDATA[x<y]]z]]>\xC2\xA0\xE6\xAC\xA0&#1114111;&#xFFFFFFFFFFFF;</w:p>";
  return {std::vector<uint8_t>(xml.begin(), xml.end())};
}
