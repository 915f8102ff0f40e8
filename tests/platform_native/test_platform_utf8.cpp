// The Windows platform layer in a process whose ANSI code page is UTF-8
// (65001), which its manifest asks for: texts pass through unchanged, and
// the code page is never judged single-byte.
#include "quorvia_doctest.h"

#include "platform/files.h"
#include "platform/text.h"
#include "platform/win_text.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace std::string_literals;

TEST_CASE("utf8CodePage")
{
    REQUIRE_MESSAGE(GetACP() == CP_UTF8, "the manifest did not give the process the UTF-8 code page");
    CHECK_EQ(platform::ansiCodePage(), "UTF-8");
    CHECK(!platform::ansiCodePageIsSingleByte());

    const struct {
        const char *name;
        std::string bytes;
        std::string text;
    } decoded[] = {
        {"e acute is two bytes", "Caf\xC3\xA9", "Café"},
        {"euro sign and CJK", "\xE2\x82\xAC \xE4\xB8\xAD", "€ 中"},
        {"a Windows-1252 byte alone is no character", "Caf\xE9", "Caf\xEF\xBF\xBD"},
        {"zero byte kept", "a\0b"s, "a\0b"s},
    };
    for (const auto &row : decoded) {
        CAPTURE(row.name);
        CHECK_EQ(platform::fromAnsi(row.bytes), row.text);
        CHECK_EQ(platform::win::fromAnsi(row.bytes), row.text);
    }
    CHECK_EQ(platform::toAnsi("Café €"), std::optional<std::string>("Café €"));
    CHECK_EQ(platform::toAnsi("caf\xC3"), std::nullopt);

    // Messages and parameters for the A functions: nothing lost, nothing
    // replaced by '?'.
    CHECK_EQ(platform::win::ansiText("Café € 中"), "Café € 中");
    CHECK_EQ(platform::win::ansiPath("C:\\Café\\中"), std::optional<std::string>("C:\\Café\\中"));
}

// Files named outside ASCII on the scratch drive, as the other Windows
// platform tests use it.
TEST_CASE("utf8FileNames")
{
    const char *letter = std::getenv("QUORVIA_TEST_DRIVE");
    if (!letter || !*letter) {
        MESSAGE("skipped: QUORVIA_TEST_DRIVE names no scratch drive");
        return;
    }
    const std::string folder = std::string(1, letter[0]) + ":\\UTF8";
    const std::string name = "Caf\xC3\xA9 \xE4\xB8\xAD.txt";  // "Café 中.txt"
    REQUIRE((platform::exists(folder) || platform::createFolder(folder)));
    const std::string source = folder + "\\plain.txt";
    HANDLE file = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CloseHandle(file);

    CHECK_EQ(platform::copyFile(source, folder + "\\" + name), platform::CopyResult::Copied);
    CHECK(platform::isOrdinaryFile(folder + "\\" + name));
    CHECK_EQ(platform::ordinaryFiles(folder), std::optional<std::vector<std::string>>({name, "plain.txt"}));
    DeleteFileA((folder + "\\" + name).c_str());
    DeleteFileA(source.c_str());
    RemoveDirectoryA(folder.c_str());
}
