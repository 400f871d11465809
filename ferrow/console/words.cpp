#include "words.h"

#include <limits>

namespace ferrow {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t position = 0;
    while (words.size() < maxWords) {
        while (position < line.size() && isSeparator(line[position])) {
            ++position;
        }
        if (position == line.size()) {
            break;
        }
        const std::size_t start = position;
        while (position < line.size() && !isSeparator(line[position])) {
            ++position;
        }
        words.emplace_back(line.substr(start, position - start));
    }
    return words;
}

std::optional<std::string> wordAt(const std::vector<std::string>& words, std::size_t index) {
    return index < words.size() ? std::optional<std::string>(words[index]) : std::nullopt;
}

bool matchesKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() < keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (upper(word[i]) != upper(keyword[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> leadingInteger(std::string_view word) {
    std::size_t position = 0;
    while (position < word.size() && (word[position] == ' ' || word[position] == '\t')) {
        ++position;
    }
    bool negative = false;
    if (position < word.size() && (word[position] == '+' || word[position] == '-')) {
        negative = word[position] == '-';
        ++position;
    }
    if (position == word.size() || word[position] < '0' || word[position] > '9') {
        return std::nullopt;
    }
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; position < word.size() && word[position] >= '0' && word[position] <= '9'; ++position) {
        magnitude = std::min<std::int64_t>(magnitude * 10 + (word[position] - '0'), limit + 1);
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, limit);
    return static_cast<std::int32_t>(value);
}

} // namespace ferrow
