// Raw DEFLATE decoding (RFC 1951: no zlib or gzip wrapper) into a buffer the
// caller owns. The whole output stays in that buffer, so back-references may
// reach anything produced before them (at most 32,768 bytes back, as the
// format allows). The decoder never reads or writes outside the spans it is
// given, whatever the input bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillmor {

enum class InflateError {
  kNone,
  kTruncated,             // the input ended before the final block did
  kBadBlockType,          // block type 3
  kStoredLengthMismatch,  // a stored block's LEN and NLEN are not complements
  kBadCodeLengths,        // a code-length sequence that describes no valid prefix code
  kInvalidSymbol,         // a length symbol 286/287 or a distance symbol 30/31
  kDistanceTooFar,        // a back-reference before the start of the output
  kOutputFull,            // the stream needs more room than the output has
};

// A short English description of an error, for logs and test messages.
const char* InflateErrorText(InflateError error);

struct InflateResult {
  InflateError error = InflateError::kNone;
  size_t produced = 0;  // bytes written to the output (also on failure)
  bool ok() const { return error == InflateError::kNone; }
};

// Supplies the compressed bytes piece by piece, for input that is read from a
// file in chunks. The decoder asks for the next piece only when it has used
// up the previous one.
class InflateInput {
 public:
  virtual ~InflateInput() = default;
  // The next piece of input; an empty span at the end of the input. A piece
  // stays valid until the next call.
  virtual std::span<const uint8_t> Next() = 0;
};

// Decodes one raw DEFLATE stream, up to the end of its final block, into
// `output`. Bytes after the final block are ignored. Succeeds only for a
// complete, well-formed stream whose whole output fits.
InflateResult InflateRaw(std::span<const uint8_t> input, std::span<uint8_t> output);
InflateResult InflateRaw(InflateInput& input, std::span<uint8_t> output);

}  // namespace quillmor
