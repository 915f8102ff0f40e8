// A text without the white space at its two ends: how a game's name appears
// in titles and messages. UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modMain {

namespace detail {
// White space as the toolkits count it: the controls TAB to CR, the space,
// NEL, the no-break space and the other Unicode spaces and separators.
inline bool isWhiteSpace(char32_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The code point that begins at `at`, and its length in bytes. A byte that
// does not begin a valid sequence counts as one character that is no space.
inline char32_t codePointAt(std::string_view text, std::size_t at, std::size_t &length)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 1;
    if (lead < 0x80)
        return lead;
    const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (need == 0 || at + need > text.size())
        return 0xFFFD;
    char32_t c = lead & (0x3F >> (need - 1));
    for (std::size_t i = 1; i < need; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    length = need;
    return c;
}
} // namespace detail

inline std::string trimmed(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t length;
        if (!detail::isWhiteSpace(detail::codePointAt(text, begin, length)))
            break;
        begin += length;
    }
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t start = end - 1;
        while (start > begin && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        std::size_t length;
        const char32_t c = detail::codePointAt(text, start, length);
        if (start + length != end || !detail::isWhiteSpace(c))
            break;
        end = start;
    }
    return std::string(text.substr(begin, end - begin));
}

} // namespace modMain
