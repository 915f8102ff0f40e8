// Catalogue records on a Windows whose ANSI code page is UTF-8 (65001), which
// this program's manifest asks for: a field's bytes are UTF-8 text, a
// character of several bytes is one character.
#include "catalogue/catalogue.h"
#include "catalogue_fixture.h"
#include "platform/text.h"

#include "quorvia_doctest.h"

#include <optional>
#include <string>
#include <vector>

using catalogue::GameRecord;
using fixture::record;

TEST_CASE("decodeRecordInUtf8CodePage")
{
    REQUIRE_MESSAGE(platform::ansiCodePage() == "UTF-8", "the manifest did not give the process the UTF-8 code page");
    const struct {
        const char *name;
        std::string bytes;
        GameRecord expected;
    } rows[] = {
        {"e acute", record("Caf\xC3\xA9", "CAF\xC3\x89"), {"Café", "CAFÉ", "GO.EXE", "", ""}},
        {"euro sign and quotes", record("5 \xE2\x82\xAC", "GAME", "GO.EXE", "-\xE2\x80\x9Cq\xE2\x80\x9D"),
         {"5 €", "GAME", "GO.EXE", "-“q”", ""}},
        {"CJK between spaces", record("  \xE4\xB8\xAD\xE6\x96\x87  "), {"中文", "GAME", "GO.EXE", "", ""}},
        {"a Windows-1252 byte is no character", record("Caf\xE9"), {"Caf\xEF\xBF\xBD", "GAME", "GO.EXE", "", ""}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        REQUIRE(row.bytes.size() == std::size_t(catalogue::recordSize));
        const GameRecord got = catalogue::decodeRecord(row.bytes);
        CHECK(got.name == row.expected.name);
        CHECK(got.folder == row.expected.folder);
        CHECK(got.program == row.expected.program);
        CHECK(got.parameters == row.expected.parameters);
        CHECK(got.hddFlag == row.expected.hddFlag);
    }
    CHECK(catalogue::decodeNames(record("Caf\xC3\xA9") + record("\xC3\x89t\xC3\xA9"))
          == std::vector<std::string>({"Café", "Été"}));
}

// A record written in the code page reads back as the same text; a field is
// counted in bytes, so a name of 18 two-byte characters fills its 36.
TEST_CASE("encodeRecordInUtf8CodePage")
{
    REQUIRE(platform::ansiCodePage() == "UTF-8");
    std::string wide;
    for (int i = 0; i < 18; ++i)
        wide += "\xC3\xA9";
    const GameRecord game{wide, "CAF\xC3\x89", "GO.EXE", "", "1"};
    const std::optional<std::string> bytes = catalogue::encodeRecord(game);
    REQUIRE(bytes);
    CHECK(bytes->substr(0, 36) == wide);
    CHECK(catalogue::decodeRecord(*bytes).name == wide);
    CHECK(catalogue::decodeRecord(*bytes).folder == "CAF\xC3\x89");

    std::string error;
    CHECK(!catalogue::encodeRecord({wide + "\xC3\xA9", "GAME", "GO.EXE", "", ""}, &error));
    CHECK(error.find("wider than the field") != std::string::npos);
}
