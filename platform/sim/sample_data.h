// Deterministic test and benchmark data of the kinds a decoder meets:
// English-like prose, random bytes, long runs and repeats far apart.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmor::testing {

// A small fast generator with the same sequence on every platform.
class SampleRandom {
 public:
  explicit SampleRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }

 private:
  uint64_t state_;
};

// Sentences of common words with capitals, punctuation, numbers and
// paragraphs; word frequencies roughly like prose, so it compresses as text
// does (about 3:1 with zlib).
inline std::string EnglishLikeText(size_t size, uint64_t seed = 1) {
  static constexpr std::string_view kWords[] = {
      "the",       "of",         "and",        "to",       "a",        "in",       "is",        "it",        "you",
      "that",      "he",         "was",        "for",      "on",       "are",      "with",      "as",        "his",
      "they",      "be",         "at",         "one",      "have",     "this",     "from",      "or",        "had",
      "by",        "hot",        "word",       "but",      "what",     "some",     "we",        "can",       "out",
      "other",     "were",       "all",        "there",    "when",     "up",       "use",       "your",      "how",
      "said",      "an",         "each",       "she",      "which",    "do",       "their",     "time",      "if",
      "will",      "way",        "about",      "many",     "then",     "them",     "write",     "would",     "like",
      "so",        "these",      "her",        "long",     "make",     "thing",    "see",       "him",       "two",
      "has",       "look",       "more",       "day",      "could",    "go",       "come",      "did",       "number",
      "sound",     "no",         "most",       "people",   "my",       "over",     "know",      "water",     "than",
      "call",      "first",      "who",        "may",      "down",     "side",     "been",      "now",       "find",
      "any",       "new",        "work",       "part",     "take",     "get",      "place",     "made",      "live",
      "where",     "after",      "back",       "little",   "only",     "round",    "man",       "year",      "came",
      "show",      "every",      "good",       "me",       "give",     "our",      "under",     "name",      "very",
      "through",   "just",       "form",       "sentence", "great",    "think",    "say",       "help",      "low",
      "line",      "differ",     "turn",       "cause",    "much",     "mean",     "before",    "move",      "right",
      "boy",       "old",        "too",        "same",     "tell",     "does",     "set",       "three",     "want",
      "air",       "well",       "also",       "play",     "small",    "end",      "put",       "home",      "read",
      "hand",      "port",       "large",      "spell",    "add",      "even",     "land",      "here",      "must",
      "big",       "high",       "such",       "follow",   "act",      "why",      "ask",       "men",       "change",
      "went",      "light",      "kind",       "off",      "need",     "house",    "picture",   "try",       "us",
      "again",     "animal",     "point",      "mother",   "world",    "near",     "build",     "self",      "earth",
      "father",    "head",       "stand",      "own",      "page",     "should",   "country",   "found",     "answer",
      "school",    "grow",       "study",      "still",    "learn",    "plant",    "cover",     "food",      "sun",
      "four",      "between",    "state",      "keep",     "eye",      "never",    "last",      "let",       "thought",
      "city",      "tree",       "cross",      "farm",     "hard",     "start",    "might",     "story",     "saw",
      "far",       "sea",        "draw",       "left",     "late",     "run",      "quarterly", "committee", "invoice",
      "agreement", "schedule",   "department", "analysis", "customer", "delivery", "document",  "measure",   "response",
      "question",  "government", "different",  "important"};
  constexpr size_t kNumWords = sizeof(kWords) / sizeof(kWords[0]);
  SampleRandom random(seed);
  std::string text;
  text.reserve(size + 64);
  bool startOfSentence = true;
  while (text.size() < size) {
    // Skewed choice: common words far more often than rare ones.
    const uint32_t r = random.Below(1u << 16);
    const size_t index = (static_cast<uint64_t>(r) * r >> 16) * kNumWords >> 16;
    std::string word(kWords[index]);
    if (startOfSentence) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    text += word;
    startOfSentence = false;
    const uint32_t p = random.Below(100);
    if (p < 7) {
      text += ". ";
      startOfSentence = true;
      if (random.Below(8) == 0) text += "\n\n";
    } else if (p < 12) {
      text += ", ";
    } else if (p < 13) {
      text += ' ';
      text += std::to_string(random.Below(10000));
      text += ' ';
    } else {
      text += ' ';
    }
  }
  text.resize(size);
  return text;
}

inline std::string RandomBytes(size_t size, uint64_t seed = 2) {
  SampleRandom random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random.Next() >> 56);
  return bytes;
}

// Runs of one byte, from a few bytes to many thousands.
inline std::string LongRuns(size_t size, uint64_t seed = 3) {
  SampleRandom random(seed);
  std::string bytes;
  while (bytes.size() < size)
    bytes.append(1 + random.Below(random.Below(4) == 0 ? 20000 : 40), "ab \0x"[random.Below(5)]);
  bytes.resize(size);
  return bytes;
}

// Blocks of random bytes that come back 20 to 32 KiB later: matches at the
// longest distances the format allows.
inline std::string LongDistanceRepeats(size_t size, uint64_t seed = 4) {
  SampleRandom random(seed);
  std::string bytes = RandomBytes(32768, seed);
  while (bytes.size() < size) {
    const size_t distance = 20000 + random.Below(32768 - 20000 + 1);
    const size_t length = 3 + random.Below(600);
    const size_t from = bytes.size() - distance;
    for (size_t i = 0; i < length; ++i) bytes.push_back(bytes[from + i]);
    bytes.push_back(static_cast<char>(random.Next()));
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace quillmor::testing
