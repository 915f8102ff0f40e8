// Text conversions between the layer's UTF-8 and the system's ANSI code page,
// which the Win32 "A" functions expect. Used only by the *_win.cpp files.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>

namespace platform::win {

// UTF-16 from text in the given code page. `strict` fails on invalid input
// instead of putting replacement characters in.
inline std::optional<std::wstring> toWide(const std::string &text, UINT codePage, bool strict)
{
    if (text.empty())
        return std::wstring();
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

// Text in the given code page from UTF-16. `strict` fails when a character has
// no exact equivalent in the code page, instead of putting '?' or a look-alike
// ("best fit") in its place.
inline std::optional<std::string> fromWide(const std::wstring &wide, UINT codePage, bool strict)
{
    if (wide.empty())
        return std::string();
    // The UTF-8 code page takes neither the best-fit flag nor the default
    // character report, and every character has an equivalent in it; a
    // system whose ANSI code page is UTF-8 fails the call with them.
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
    if (utf8)
        codePage = CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *reportDefault = utf8 ? nullptr : &usedDefault;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, reportDefault);
    if (length <= 0 || (strict && usedDefault))
        return std::nullopt;
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// A path for an A function. Empty optional when the path cannot be written in
// the ANSI code page: a character replaced by '?' (a wildcard) or by a
// look-alike (a slash, say) could name another file than the one meant; and
// when it holds a zero byte, where the function would end it ("..\0").
inline std::optional<std::string> ansiPath(const std::string &utf8)
{
    if (utf8.find('\0') != std::string::npos)
        return std::nullopt;
    if (GetACP() == CP_UTF8) {
        if (!toWide(utf8, CP_UTF8, true))
            return std::nullopt;
        return utf8;
    }
    const auto wide = toWide(utf8, CP_UTF8, true);
    if (!wide)
        return std::nullopt;
    return fromWide(*wide, CP_ACP, true);
}

// A text for display (a message, parameters): characters the code page lacks
// become '?'.
inline std::string ansiText(const std::string &utf8)
{
    const auto wide = toWide(utf8, CP_UTF8, false);
    if (!wide)
        return {};
    return fromWide(*wide, CP_ACP, false).value_or(std::string());
}

// UTF-8 from a text an A function returned.
inline std::string fromAnsi(const std::string &ansi)
{
    const auto wide = toWide(ansi, CP_ACP, false);
    if (!wide)
        return {};
    return fromWide(*wide, CP_UTF8, false).value_or(std::string());
}

// Whether a code page writes every character in one byte, from what the
// system says of it (GetCPInfo). Bytes alone cannot tell: in UTF-8 each byte
// 0x80 .. 0xFF on its own decodes to one replacement character.
inline bool isSingleByte(const CPINFO &info)
{
    return info.MaxCharSize == 1;
}

// Switches off the system's "There is no disk in the drive" boxes while it
// lives, so that probing an empty drive is silent; restores the old mode.
class QuietDriveErrors {
public:
    QuietDriveErrors() : oldMode_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(oldMode_ | SEM_FAILCRITICALERRORS); }
    ~QuietDriveErrors() { SetErrorMode(oldMode_); }
    QuietDriveErrors(const QuietDriveErrors &) = delete;
    QuietDriveErrors &operator=(const QuietDriveErrors &) = delete;

private:
    UINT oldMode_;
};

} // namespace platform::win
