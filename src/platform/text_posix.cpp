// The ANSI code page on POSIX: always Windows-1252, the code page of the
// discs' catalogue and description files, decoded by a table of our own.
#include "text.h"

#include <array>

namespace platform {
namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Bytes 0x80 .. 0x9F; every other byte is the code point of its own value.
// Five bytes are left undefined by the code page.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, kUndefined, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,  // 88
    kUndefined, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178,  // 98
};

char32_t decodeByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t(byte);
}

// The byte of a code point, or -1 when the code page has none.
int encodeCodePoint(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    if (c == kUndefined)
        return -1;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text at `i`, advancing `i`; -1 for a sequence
// that is not well-formed (overlong, a surrogate, past U+10FFFF, cut short).
long nextCodePoint(std::string_view text, std::size_t &i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80)
        return lead;
    int length;
    char32_t c;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 1, c = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 2, c = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 3, c = lead & 0x07, least = 0x10000;
    else
        return -1;
    for (int k = 0; k < length; ++k, ++i) {
        if (i >= text.size())
            return -1;
        const unsigned char next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return -1;
    return long(c);
}

} // namespace

std::string ansiCodePage()
{
    return "windows-1252";
}

bool ansiCodePageIsSingleByte()
{
    return true;
}

std::string fromAnsi(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        appendUtf8(text, decodeByte(static_cast<unsigned char>(byte)));
    return text;
}

std::optional<std::string> toAnsi(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long c = nextCodePoint(text, i);
        const int byte = c < 0 ? -1 : encodeCodePoint(char32_t(c));
        if (byte < 0)
            return std::nullopt;
        bytes += char(byte);
    }
    return bytes;
}

} // namespace platform
