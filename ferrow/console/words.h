#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferrow {

// At most this many words are taken from a line; the rest of a longer line is ignored.
inline constexpr std::size_t maxWords = 20;

// Splits at spaces, tabs, CR and LF.
std::vector<std::string> splitWords(std::string_view line);

// The word at index, nothing when the line has fewer words.
std::optional<std::string> wordAt(const std::vector<std::string>& words, std::size_t index);

// True when word begins with keyword, compared without regard to case over the keyword's
// length (so "quitting" matches QUIT and "qui" does not).
bool matchesKeyword(std::string_view word, std::string_view keyword);

// The leading decimal integer of word (optional sign, then digits), or nothing when the word
// does not start with one. Values beyond 32 bits are held at the nearest limit.
std::optional<std::int32_t> leadingInteger(std::string_view word);

} // namespace ferrow
