// The category table, reading catalogue files and building a game's paths.
#include "catalogue/catalogue.h"
#include "catalogue_fixture.h"
#include "platform/text.h"
#include "startup/modMain.h"

#include "quorvia_doctest.h"

#include <optional>
#include <string>
#include <vector>

using catalogue::GameRecord;
using fixture::record;
using namespace std::string_literals;
using Names = std::vector<std::string>;

namespace {

// A catalogue file in a temporary folder, named by its DOS path.
struct CatalogueFiles {
    fixture::TempFolder dir;

    std::string catalogueWith(const std::string &bytes, const std::string &name = "QAR1.PAL")
    {
        REQUIRE(dir.isValid());
        REQUIRE(fixture::writeFile(dir.filePath(name), bytes));
        REQUIRE(!dir.dosPath().empty());
        return dir.dosPath() + name;
    }
};

} // namespace

// Without a converter for the ANSI code page every name with a byte above
// 0x7F would come out wrong.
TEST_CASE("codePageConverterExists")
{
    CHECK(!platform::ansiCodePage().empty());
    for (int b = 0x20; b < 0x100; ++b) {
        CAPTURE(b);
        CHECK(!platform::fromAnsi(std::string(1, char(b))).empty());
    }
}

TEST_CASE("decodeRecord")
{
    const struct {
        const char *name;
        std::string bytes;
        GameRecord expected;
    } rows[] = {
        {"every field at full width", "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNFFFFFFFFPPPPPPPPPPPPAAAAAAAAAAAA1",
         {std::string(36, 'N'), std::string(8, 'F'), std::string(12, 'P'), std::string(12, 'A'), "1"}},
        {"ordinary record", record("Chess Master", "CHESS", "CHESS.EXE", "-w", "0"),
         {"Chess Master", "CHESS", "CHESS.EXE", "-w", "0"}},
        {"all blank", std::string(69, ' '), {}},
        {"spaces before and after a word", record("   Chess   ", " CHESS", "  GO.EXE ", "  -w  ", "1"),
         {"Chess", "CHESS", "GO.EXE", "-w", "1"}},
        {"tab kept", record("\tChess\t"), {"\tChess\t", "GAME", "GO.EXE", "", ""}},
        {"zero byte kept", record("Chess\0"s), {"Chess\0"s, "GAME", "GO.EXE", "", ""}},
        {"flag of a space", record("Chess", "GAME", "GO.EXE", "", " "), {"Chess", "GAME", "GO.EXE", "", ""}},
        {"0xE9 is e acute", record("Caf\xE9", "CAF\xC9"), {"Café", "CAFÉ", "GO.EXE", "", ""}},
        {"0x80 is the euro sign, not a control character", record("5 \x80", "GAME", "GO.EXE", "-\x93q\x94"),
         {"5 €", "GAME", "GO.EXE", "-“q”", ""}},
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
}

TEST_CASE_FIXTURE(CatalogueFiles, "readNames")
{
    const std::string three = record("Alpha") + record("Beta") + record("Gamma");
    const struct {
        const char *name;
        std::string file;
        Names names;
    } rows[] = {
        {"0 bytes", "", {}},
        {"68 bytes", std::string(68, 'x'), {}},
        {"69 x 3 bytes", three, {"Alpha", "Beta", "Gamma"}},
        {"69 x 3 + 1 bytes", three + "D", {"Alpha", "Beta", "Gamma"}},
        {"69 x 3 + 68 bytes", three + record("Delta").substr(0, 68), {"Alpha", "Beta", "Gamma"}},
        {"blank, spaced and accented names", record("") + record("  Two Words  ") + record("\xC9t\xE9"),
         {"", "Two Words", "Été"}},
        {"unsafe folder or program does not hide the name",
         record("Alpha", "..") + record("Beta", "GAME", "..\\..\\X.EXE"), {"Alpha", "Beta"}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::optional<Names> got = catalogue::readNames(catalogueWith(row.file));
        REQUIRE(got);
        CHECK(*got == row.names);
    }
}

TEST_CASE_FIXTURE(CatalogueFiles, "unreadableCatalogue")
{
    REQUIRE(dir.isValid());
    std::filesystem::create_directory(dir.filePath("FOLDER.PAL"));
    const char missing = fixture::missingDriveLetter();
    REQUIRE(missing != 0);
    const struct {
        const char *name;
        std::string path;
    } rows[] = {
        {"missing file", dir.dosPath() + "NOFILE.PAL"},
        {"a folder", dir.dosPath() + "FOLDER.PAL"},
        {"drive not in the table", std::string(1, missing) + ":\\QAR1.PAL"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(!catalogue::readNames(row.path));
        CHECK(!catalogue::readRecord(row.path, 1));
    }
}

TEST_CASE_FIXTURE(CatalogueFiles, "readRecord")
{
    const std::string three = record("Alpha", "A") + record("Beta", "B") + record("Gamma", "C");
    const struct {
        const char *name;
        std::string file;
        int n;
        std::optional<std::string> recordName;  // none: the read fails
    } rows[] = {
        {"first", three, 1, "Alpha"},
        {"last", three, 3, "Gamma"},
        {"beyond the last", three, 4, std::nullopt},
        {"trailing fragment is not a record", three + record("Delta").substr(0, 68), 4, std::nullopt},
        {"zero", three, 0, std::nullopt},
        {"negative", three, -1, std::nullopt},
        {"empty file", "", 1, std::nullopt},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::optional<GameRecord> got = catalogue::readRecord(catalogueWith(row.file), row.n);
        CHECK(bool(got) == bool(row.recordName));
        if (got && row.recordName)
            CHECK(got->name == *row.recordName);
    }
}

// A folder or program name that would make the copy and run commands reach
// outside the game's folder makes the record unreadable.
TEST_CASE_FIXTURE(CatalogueFiles, "unsafeNames")
{
    const struct {
        const char *name;
        std::string folder;
        std::string program;
        bool safe;
    } rows[] = {
        {"plain", "CHESS", "CHESS.EXE", true},
        {"program in a sub-folder", "CHESS", "BIN\\GO.EXE", true},
        {"program in a sub-folder, slash", "CHESS", "BIN/GO.EXE", true},
        {"dots inside names", "A..B", "A..B\\...\\X", true},
        {"dots at the ends of a folder", "..GAME.", "GO.EXE", true},
        {"folder with a zero byte after its name", "GAME\0.."s, "GO.EXE", true},
        {"folder ..", "..", "GO.EXE", false},
        {"folder .", ".", "GO.EXE", false},
        {"folder ..\\..\\..", "..\\..\\..", "GO.EXE", false},
        {"folder with backslash", "A\\B", "GO.EXE", false},
        {"folder with slash", "A/B", "GO.EXE", false},
        {"folder with colon", "C:", "GO.EXE", false},
        {"folder .. ended by a zero byte", "..\0"s, "GO.EXE", false},
        // These leave the game's folder at the category folder itself.
        {"folder blank", "", "GO.EXE", false},
        {"folder cut to nothing by a zero byte", "\0GAME"s, "GO.EXE", false},
        {"folder ...", "...", "GO.EXE", false},
        {"folder of dots and spaces", ". . .", "GO.EXE", false},
        {"folder of dots and spaces up to a zero byte", ". \0GAME"s, "GO.EXE", false},
        {"program from the root", "CHESS", "\\GO.EXE", false},
        {"program from the root, slash", "CHESS", "/GO.EXE", false},
        {"program with colon", "CHESS", "C:GO.EXE", false},
        {"program in the parent", "CHESS", "..\\GO.EXE", false},
        {"program climbing from a sub-folder", "CHESS", "BIN\\..\\..\\X", false},
        {"program climbing, slashes", "CHESS", "BIN/../../X", false},
        {"program ending in ..", "CHESS", "BIN\\..", false},
        {"program .. ended by a zero byte", "CHESS", "BIN\\..\0\\GO"s, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string path = catalogueWith(record("Good") + record("Tested", row.folder, row.program));
        const std::optional<GameRecord> got = catalogue::readRecord(path, 2);
        CHECK(bool(got) == row.safe);
        if (got) {
            CHECK(got->folder == row.folder);
            CHECK(got->program == row.program);
        }
        CHECK(catalogue::readRecord(path, 1));

        std::string why;
        CHECK(bool(catalogue::encodeRecord(GameRecord{"Tested", row.folder, row.program, "", ""}, &why)) == row.safe);
    }
}

// Record numbers are 16-bit: the first 32,767 records are the catalogue.
TEST_CASE_FIXTURE(CatalogueFiles, "moreThan32767Records")
{
    std::string file;
    file.reserve(32768 * catalogue::recordSize);
    for (int n = 1; n <= 32768; ++n)
        file += record(std::to_string(n));
    const std::string path = catalogueWith(file, "BIG.PAL");

    const std::optional<Names> names = catalogue::readNames(path);
    REQUIRE(names);
    CHECK(names->size() == 32767u);
    CHECK(names->front() == "1");
    CHECK(names->back() == "32767");

    const std::optional<GameRecord> last = catalogue::readRecord(path, 32767);
    REQUIRE(last);
    CHECK(last->name == "32767");
    CHECK(!catalogue::readRecord(path, 32768));
}

TEST_CASE("lookup")
{
    const struct {
        const char *key;
        const char *file;  // null: not a key
        const char *folder;
    } rows[] = {
        {"3D", "QAR1.PAL", "3D"},
        {"Adv", "QAR3.PAL", "ADV"},
        {"Arcade", "QAR4.PAL", "ARCADE"},
        {"Educate", "QAR7.PAL", "EDUCATE"},
        {"Strategy", "QAR8.PAL", "STRATEGY"},
        {"adv", nullptr, "ADV"},  // keys are case-sensitive
        {"", nullptr, ""},
    };
    for (const auto &row : rows) {
        CAPTURE(row.key);
        modMain::gAppPath = "C:\\Menu\\";
        const catalogue::Category *category = catalogue::lookup(row.key);
        CHECK((category != nullptr) == (row.file != nullptr));
        if (category && row.file) {
            CHECK(std::string(category->file) == row.file);
            CHECK(catalogue::cataloguePath(row.key) == "C:\\Menu\\"s + row.file);
        } else {
            CHECK(catalogue::cataloguePath(row.key).empty());
        }
        CHECK(catalogue::categoryFolder(row.key) == row.folder);
    }
}

TEST_CASE("paths")
{
    const struct {
        const char *name;
        const char *cdRoot;
        const char *appPath;
        const char *category;
        const char *folder;
        const char *program;
        // game folder, description, program, copy folder, marker, copy program
        std::vector<std::string> paths;
    } rows[] = {
        {"board game", "E:\\", "C:\\Menu\\", "Board", "CHESS", "CHESS.EXE",
         {"E:\\BOARD\\CHESS", "E:\\BOARD\\CHESS\\QAR.TXT", "E:\\BOARD\\CHESS\\CHESS.EXE", "C:\\Menu\\BOARD\\CHESS",
          "C:\\Menu\\BOARD\\CHESS\\QAR.TXT", "C:\\Menu\\BOARD\\CHESS\\CHESS.EXE"}},
        {"key upper-cased, names kept as stored", "D:\\", "C:\\Q\\", "Adv", "Quest", "bin\\go.exe",
         {"D:\\ADV\\Quest", "D:\\ADV\\Quest\\QAR.TXT", "D:\\ADV\\Quest\\bin\\go.exe", "C:\\Q\\ADV\\Quest",
          "C:\\Q\\ADV\\Quest\\QAR.TXT", "C:\\Q\\ADV\\Quest\\bin\\go.exe"}},
        {"program at a drive root keeps the doubled backslash", "E:\\", "E:\\\\", "3D", "RACER", "RACE.EXE",
         {"E:\\3D\\RACER", "E:\\3D\\RACER\\QAR.TXT", "E:\\3D\\RACER\\RACE.EXE", "E:\\\\3D\\RACER",
          "E:\\\\3D\\RACER\\QAR.TXT", "E:\\\\3D\\RACER\\RACE.EXE"}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        modMain::gCdRoot = row.cdRoot;
        modMain::gAppPath = row.appPath;
        modMain::gGameCategory = row.category;
        modMain::gGameFolder = row.folder;
        modMain::gGameProgram = row.program;
        CHECK(catalogue::gameFolder() == row.paths[0]);
        CHECK(catalogue::descriptionFile() == row.paths[1]);
        CHECK(catalogue::gameProgram() == row.paths[2]);
        CHECK(catalogue::copyFolder() == row.paths[3]);
        CHECK(catalogue::copyMarker() == row.paths[4]);
        CHECK(catalogue::copyProgram() == row.paths[5]);
    }
}
