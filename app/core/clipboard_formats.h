// What Quillmor hands other programs through the clipboard and drag and drop:
// the file drop list (CF_HDROP), the "Preferred DropEffect" value and the
// paths as text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillmor {

// The DROPFILES header: pFiles (the offset of the first path, 20), the drop
// point (0, 0), fNC (0) and fWide (1), each a 32-bit little-endian field.
inline constexpr uint32_t kDropFilesHeaderBytes = 20;

// "Preferred DropEffect": copy for Copy and for drag and drop, move for Cut.
inline constexpr uint32_t kDropEffectCopy = 1;
inline constexpr uint32_t kDropEffectMove = 2;
inline constexpr char16_t kPreferredDropEffectFormat[] = u"Preferred DropEffect";

// The bytes of a CF_HDROP block: the header, every path as UTF-16LE with its
// terminating zero, then one more zero: 20 + 2 x (the paths' lengths + one
// per path) + 2 bytes.
std::vector<uint8_t> DropFilesBlock(std::span<const std::u16string> paths);

// "Copy Full Path": the paths joined with CR LF, nothing after the last.
std::u16string PathListText(std::span<const std::u16string> paths);

}  // namespace quillmor
