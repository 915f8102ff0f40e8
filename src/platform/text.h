// Text in the system's ANSI code page: record fields and description files
// are in it, the program's texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name of the system's ANSI code page: "windows-1252" on POSIX, the
// system's own ("windows-<ACP>") on Windows.
std::string ansiCodePage();

// True when every character of the ANSI code page is one byte, so that text
// in it can be decoded byte by byte: always on POSIX (Windows-1252); on
// Windows what the system says of its code page. A UTF-8 code page (65001)
// is multi-byte, as are the East Asian ones.
bool ansiCodePageIsSingleByte();

// Bytes of the ANSI code page as UTF-8. A byte the code page leaves
// undefined becomes U+FFFD.
std::string fromAnsi(std::string_view bytes);

// UTF-8 text in the ANSI code page. Empty optional when a character has no
// exact equivalent there (no look-alike is put in its place) or the text is
// not valid UTF-8.
std::optional<std::string> toAnsi(std::string_view text);

} // namespace platform
