// The ANSI code page on Windows: the system's own, converted by the system.
#include "text.h"
#include "win_text.h"

namespace platform {

std::string ansiCodePage()
{
    const UINT codePage = GetACP();
    // A system set to use UTF-8 for the A functions reports the UTF-8 code
    // page, which text codecs know by that name rather than as windows-65001.
    if (codePage == CP_UTF8)
        return "UTF-8";
    return "windows-" + std::to_string(codePage);
}

bool ansiCodePageIsSingleByte()
{
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && win::isSingleByte(info);
}

std::string fromAnsi(std::string_view bytes)
{
    const auto wide = win::toWide(std::string(bytes), CP_ACP, false);
    if (!wide)
        return {};
    return win::fromWide(*wide, CP_UTF8, false).value_or(std::string());
}

std::optional<std::string> toAnsi(std::string_view text)
{
    const auto wide = win::toWide(std::string(text), CP_UTF8, true);
    if (!wide)
        return std::nullopt;
    // No look-alike ("best fit") and no default character in place of one the
    // code page lacks. A system whose code page is UTF-8 is named as such,
    // since that code page takes neither flag.
    return win::fromWide(*wide, GetACP() == CP_UTF8 ? CP_UTF8 : CP_ACP, true);
}

} // namespace platform
