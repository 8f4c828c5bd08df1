#pragma once
// Splits RTF bytes into groups, control words, control symbols, text and binary data.
// Nothing is trusted: a control word has at most 32 letters, a parameter is clamped to 32
// bits, a \bin block must lie within the data. Text runs and skipped groups are found with
// a wide scan, so that megabytes of picture data cost little.

#include <cstddef>
#include <cstdint>
#include <string_view>

class RtfTokenizer {
public:
  enum class Kind { End, GroupOpen, GroupClose, Word, Symbol, Text, Hex, Binary };
  static constexpr int MaxWordLetters = 32;

  struct Token {
    Kind kind = Kind::End;
    std::string_view word;  // Word: its letters (empty when too long); Text, Binary: the bytes
    std::int32_t param = 0;
    bool hasParam = false;
    char symbol = 0;    // Symbol: the character after the backslash
    unsigned char hex = 0;
  };

  RtfTokenizer(const char* data, std::size_t size) : data_(data), pos_(0), size_(size) {}

  Token Next();
  // After a GroupOpen: moves past the group's matching close (or to the end of the data).
  // Answers false when the data ended first.
  bool SkipGroup();

  // Past line ends and blanks, moves over `text` when the data goes on with it.
  bool SkipIf(std::string_view text);

  std::size_t Offset() const { return pos_; }
  const char* Data() const { return data_; }
  // A \bin block reached past the end of the data.
  bool Truncated() const { return truncated_; }

private:
  Token ReadControl();
  std::size_t FindSpecial(std::size_t from) const;

  const char* data_;
  std::size_t pos_;
  std::size_t size_;
  bool truncated_ = false;
};
