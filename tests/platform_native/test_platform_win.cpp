// Tests of the Windows platform layer, run as a Windows program (under Wine in
// CI). QUORVIA_TEST_DRIVE names a drive letter whose root is an empty scratch
// folder: the tests build their fixtures there themselves.
#include "quorvia_doctest.h"

#include "platform/drives.h"
#include "platform/files.h"
#include "platform/foldercopy.h"
#include "platform/shell.h"
#include "platform/testing.h"
#include "platform/text.h"
#include "platform/win_text.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using platform::CopyResult;
using namespace std::string_literals;

namespace {

std::string gDrive;  // "Q:"

std::string onDrive(const std::string &rest)
{
    return gDrive + "\\" + rest;
}

// Fixture helpers, written with Win32 directly (ASCII paths only) so that they
// do not depend on the code under test.
bool writeFile(const std::string &path, const std::string &content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

bool makeFolder(const std::string &path)
{
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Removes a file or a folder with everything in it.
void removeAll(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(entry.cFileName, ".") && std::strcmp(entry.cFileName, ".."))
                removeAll(path + "\\" + entry.cFileName);
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// Gives a fixture file an attribute and makes sure the system kept it.
bool addAttribute(const std::string &path, DWORD attribute)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    SetFileAttributesA(path.c_str(), (attributes & ~DWORD(FILE_ATTRIBUTE_DIRECTORY)) | attribute);
    const DWORD now = GetFileAttributesA(path.c_str());
    return now != INVALID_FILE_ATTRIBUTES && (now & attribute);
}

// A file's bytes, or empty optional when it cannot be read.
std::optional<std::string> contentOf(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

// The names of the files in a folder, hidden ones included: what a copy left
// there.
std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes that differ from one offset to the next, so that a shifted or partly
// overwritten copy shows.
std::string pattern(size_t size, char seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7 + i / 251);
    return bytes;
}

std::optional<FILETIME> lastWriteOf(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return data.ftLastWriteTime;
}

// A drive letter the system does not have, or 0.
char unusedLetter()
{
    const DWORD mask = GetLogicalDrives();
    for (int i = 25; i >= 3; --i) {
        if (!(mask & (DWORD(1) << i)))
            return static_cast<char>('A' + i);
    }
    return 0;
}

// Starts a program with the given arguments and returns its exit code, or -1
// when it could not be run.
int runProgram(const std::string &program, const std::string &arguments)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// The probe program beside this one: it reports its own folder, or ends
// itself through the layer (see probe.cpp).
std::string probeProgram()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + "platform_probe.exe";
}

// Every test works on the scratch drive that QUORVIA_TEST_DRIVE names.
struct ScratchDrive {
    ScratchDrive()
    {
        const char *letter = std::getenv("QUORVIA_TEST_DRIVE");
        REQUIRE_MESSAGE((letter && std::strlen(letter) == 1 && std::isalpha(static_cast<unsigned char>(letter[0]))),
                        "QUORVIA_TEST_DRIVE must name a drive whose root is a scratch folder");
        gDrive = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])))) + ":";
        REQUIRE_MESSAGE(GetFileAttributesA((gDrive + "\\").c_str()) != INVALID_FILE_ATTRIBUTES,
                        "drive " << gDrive << " is not there");
    }
};

} // namespace

TEST_CASE_FIXTURE(ScratchDrive, "driveTableAndPaths")
{
    const char letter = gDrive[0];
    bool found = false;
    for (const platform::Drive &drive : platform::drives()) {
        if (drive.letter == letter) {
            found = true;
            CHECK_EQ(drive.folder, gDrive + "\\");
        }
    }
    CHECK(found);

    const std::string missing = unusedLetter() ? std::string(1, unusedLetter()) + ":\\GAME.EXE" : "";
    struct {
        const char *name;
        std::string dosPath;
        std::optional<std::string> host;
    } rows[] = {
        {"backslashes", onDrive("BOARD\\CHESS\\QAR.TXT"), onDrive("BOARD\\CHESS\\QAR.TXT")},
        {"forward slashes", gDrive + "/BOARD/CHESS", onDrive("BOARD\\CHESS")},
        {"root", gDrive + "\\", gDrive + "\\"},
        {"no drive letter", "BOARD\\CHESS", std::nullopt},
        {"drive the system lacks", missing, std::nullopt},
        // The system would cut the name at the zero byte.
        {"zero byte after dot-dot", onDrive("BOARD\\CHESS\\..\0\\QAR.TXT"s), std::nullopt},
        {"zero byte inside a name", onDrive("BOARD\\QAR.TXT\0.EXE"s), std::nullopt},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK_EQ(platform::toHostPath(row.dosPath), row.host);
    }

    struct {
        const char *name;
        std::string host;
        std::string dos;
    } back[] = {
        {"folder", onDrive("BOARD\\CHESS"), onDrive("BOARD\\CHESS")},
        {"trailing separator", onDrive("BOARD\\"), onDrive("BOARD")},
        {"root", gDrive + "\\", gDrive + "\\"},
        {"bare drive", gDrive, gDrive + "\\"},
        {"no drive letter", "BOARD", ""},
    };
    for (const auto &row : back) {
        CAPTURE(row.name);
        CHECK_EQ(platform::toDosPath(row.host), row.dos);
    }

    CHECK_EQ(platform::ansiCodePage(), "windows-" + std::to_string(GetACP()));
}

TEST_CASE_FIXTURE(ScratchDrive, "discMarkerProbe")
{
    const std::string marker = onDrive("PLAXOID.QAR");
    struct {
        const char *name;
        bool (*setUp)(const std::string &path);
        bool found;
    } rows[] = {
        {"marker file", [](const std::string &p) { return writeFile(p, ""); }, true},
        {"read-only marker",
         [](const std::string &p) { return writeFile(p, "x") && addAttribute(p, FILE_ATTRIBUTE_READONLY); }, true},
        {"marker is a folder", [](const std::string &p) { return makeFolder(p); }, false},
        {"hidden marker",
         [](const std::string &p) { return writeFile(p, "x") && addAttribute(p, FILE_ATTRIBUTE_HIDDEN); }, false},
        {"system marker",
         [](const std::string &p) { return writeFile(p, "x") && addAttribute(p, FILE_ATTRIBUTE_SYSTEM); }, false},
        {"no marker", [](const std::string &) { return true; }, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        removeAll(marker);
        const bool ready = row.setUp(marker);
        CHECK(ready);
        if (!ready)
            continue;
        CHECK_EQ(platform::isOrdinaryFile(marker), row.found);
        // Drive letters are probed in either case.
        CHECK_EQ(platform::isOrdinaryFile(gDrive + "\\plaxoid.qar"), row.found);
        // A name that goes on after a zero byte is no name of the marker.
        CHECK(!platform::isOrdinaryFile(marker + "\0.TXT"s));
    }
    removeAll(marker);

    {
        CAPTURE("drive the system lacks");
        CHECK(unusedLetter() != 0);
        if (unusedLetter() != 0)
            CHECK(!platform::isOrdinaryFile(std::string(1, unusedLetter()) + ":\\PLAXOID.QAR"));
    }
    {
        // The probe switches the "no disk" boxes off only while it runs.
        CAPTURE("error mode restored");
        const UINT before = SetErrorMode(0);
        platform::isOrdinaryFile(marker);
        CHECK_EQ(SetErrorMode(before), 0u);
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "readOnlyAttribute")
{
    const std::string folder = onDrive("RO");
    const std::string file = folder + "\\GAME.TXT";
    const std::string source = folder + "\\NEW.TXT";
    removeAll(folder);
    REQUIRE((makeFolder(folder) && writeFile(file, "old") && writeFile(source, "new")));

    CHECK(!platform::isReadOnly(file));
    CHECK(platform::setReadOnly(file, true));
    CHECK(platform::isReadOnly(file));
    CHECK((GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY));
    CHECK(platform::isOrdinaryFile(file));

    // A read-only file in the way is left alone, even where the system would
    // let the copy through.
    CHECK_EQ(platform::copyFile(source, file), CopyResult::DestinationReadOnly);
    CHECK_EQ(platform::readFile(file), std::string("old"));

    CHECK(platform::setReadOnly(file, false));
    CHECK(!platform::isReadOnly(file));
    CHECK((!(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY)));
    CHECK_EQ(platform::copyFile(source, file), CopyResult::Copied);
    CHECK_EQ(platform::readFile(file), std::string("new"));

    // Other attributes survive the change.
    const bool hidden = addAttribute(file, FILE_ATTRIBUTE_HIDDEN);
    CHECK(hidden);
    if (hidden) {
        CHECK(platform::setReadOnly(file, true));
        CHECK((GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_HIDDEN));
    }

    CHECK(!platform::setReadOnly(folder + "\\MISSING.TXT", true));
    CHECK(!platform::isReadOnly(folder + "\\MISSING.TXT"));
}

TEST_CASE_FIXTURE(ScratchDrive, "copyOneFile")
{
    const std::string folder = onDrive("COPY");
    const std::string source = folder + "\\SRC.DAT";
    const std::string content("game data\0with a zero byte", 26);
    removeAll(folder);
    REQUIRE((makeFolder(folder) && makeFolder(folder + "\\SUB") && writeFile(source, content)));

    CHECK_EQ(platform::copyFile(source, folder + "\\DST.DAT"), CopyResult::Copied);
    CHECK_EQ(platform::readFile(folder + "\\DST.DAT"), content);

    struct {
        const char *name;
        std::string destination;
    } sameFile[] = {
        {"same path", source},
        {"other case", gDrive + "\\copy\\src.dat"},
        {"forward slashes", gDrive + "/COPY/SRC.DAT"},
    };
    for (const auto &row : sameFile) {
        CAPTURE(row.name);
        CHECK_EQ(platform::copyFile(source, row.destination), CopyResult::SameFile);
        CHECK_EQ(platform::readFile(source), content);
    }

    struct {
        const char *name;
        std::string source;
        std::string destination;
    } failures[] = {
        {"missing source", folder + "\\NONE.DAT", folder + "\\OUT1.DAT"},
        {"missing destination folder", source, folder + "\\NOFOLDER\\OUT2.DAT"},
        {"destination is a folder", source, folder + "\\SUB"},
        {"source is a folder", folder + "\\SUB", folder + "\\OUT3.DAT"},
    };
    for (const auto &row : failures) {
        CAPTURE(row.name);
        CHECK_EQ(platform::copyFile(row.source, row.destination), CopyResult::Failed);
    }
    CHECK(!platform::exists(folder + "\\OUT1.DAT"));
    CHECK(!platform::exists(folder + "\\OUT3.DAT"));
    CHECK(platform::isFolder(folder + "\\SUB"));

    // A read-only source gives a read-only copy.
    const std::string locked = folder + "\\LOCKED.DAT";
    const bool lockedReady = writeFile(locked, "x") && addAttribute(locked, FILE_ATTRIBUTE_READONLY);
    CHECK(lockedReady);
    if (lockedReady) {
        CHECK_EQ(platform::copyFile(locked, folder + "\\LOCKCOPY.DAT"), CopyResult::Copied);
        CHECK(platform::isReadOnly(folder + "\\LOCKCOPY.DAT"));
    }

    // The copy has the source's time of last change, new or replacing.
    HANDLE file = CreateFileA(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME past{0x12345600u, 0x01c00000u};
    CHECK(file != INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) {
        CHECK(SetFileTime(file, nullptr, nullptr, &past));
        CloseHandle(file);
    }
    for (const char *name : {"DST.DAT", "TIMED.DAT"}) {
        CAPTURE(name);
        CHECK_EQ(platform::copyFile(source, folder + "\\" + name), CopyResult::Copied);
        const auto time = lastWriteOf(folder + "\\" + name);
        CHECK((time && time->dwLowDateTime == past.dwLowDateTime && time->dwHighDateTime == past.dwHighDateTime));
    }
    CHECK_EQ(namesIn(folder), std::vector<std::string>({"DST.DAT", "LOCKCOPY.DAT", "LOCKED.DAT", "SRC.DAT", "TIMED.DAT"}));
}

TEST_CASE_FIXTURE(ScratchDrive, "copyBreakingOffPartWay")
{
    // A source that gives its first 64 KB, then a read error (a scratched
    // disc, or one taken out): the old destination stays byte for byte, a
    // new one is not made, and no temporary file is left.
    const std::string folder = onDrive("BROKEN");
    const std::string old = pattern(200 * 1024, 'o');
    removeAll(folder);
    REQUIRE((makeFolder(folder) && makeFolder(folder + "\\TO") &&
               writeFile(folder + "\\BIG.DAT", pattern(1 << 20, 'n')) && writeFile(folder + "\\TO\\BIG.DAT", old)));
    for (const char *name : {"BIG.DAT", "NEW.DAT"}) {
        CAPTURE(name);
        long long given = 0;
        platform::testing::setCopyRead([&](std::intptr_t source, char *buffer, std::size_t size) -> long long {
            if (given >= 64 * 1024)
                return -1;
            DWORD got = 0;
            const DWORD wanted = static_cast<DWORD>(std::min<long long>(static_cast<long long>(size), 64 * 1024 - given));
            if (!ReadFile(reinterpret_cast<HANDLE>(source), buffer, wanted, &got, nullptr))
                return -1;
            given += got;
            return got;
        });
        const CopyResult result = platform::copyFile(folder + "\\BIG.DAT", folder + "\\TO\\" + name);
        platform::testing::setCopyRead({});
        CHECK_EQ(result, CopyResult::Failed);
        CHECK_EQ(given, 64 * 1024LL);
        const auto kept = contentOf(folder + "\\TO\\BIG.DAT");
        CHECK((kept && *kept == old));
        CHECK_EQ(namesIn(folder + "\\TO"), std::vector<std::string>({"BIG.DAT"}));
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "copyLongNames")
{
    // Any name the system accepts copies: the temporary copy's name does not
    // grow with the file's, and fits even in the deepest folder.
    const std::string folder = onDrive("LONG");
    removeAll(folder);
    REQUIRE((makeFolder(folder) && writeFile(folder + "\\SRC.DAT", "new")));
    const std::string longName = std::string(MAX_PATH - 1 - folder.size() - 5, 'n') + ".DAT";
    std::string deep;  // the deepest folder the system lets this test make
    for (size_t length = MAX_PATH - 3; length > folder.size() + 2 && deep.empty(); --length) {
        const std::string candidate = folder + "\\" + std::string(length - folder.size() - 1, 'd');
        if (CreateDirectoryA(candidate.c_str(), nullptr))
            deep = candidate;
    }
    CHECK(!deep.empty());
    CHECK_EQ(folder.size() + 1 + longName.size(), size_t(MAX_PATH - 1));
    struct {
        const char *name;
        std::string destination;
        bool replacing;
    } rows[] = {
        {"longest name, new", folder + "\\" + longName, false},
        {"longest name, replacing", folder + "\\" + longName, true},
        {"deepest folder, new", deep + "\\A", false},
        {"deepest folder, replacing", deep + "\\A", true},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        if (row.replacing)
            CHECK(writeFile(row.destination, "old"));
        CHECK_EQ(platform::copyFile(folder + "\\SRC.DAT", row.destination), CopyResult::Copied);
        CHECK_EQ(contentOf(row.destination), std::string("new"));
        const std::string in = row.destination.substr(0, row.destination.find_last_of('\\'));
        CHECK_EQ(namesIn(in).size(), size_t(in == folder ? 2 : 1));
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "createFolderOfDriveRoot")
{
    // A drive's root is never made, however it is written.
    for (const std::string &root : {gDrive + "\\", gDrive + "\\.", gDrive + "\\SUB\\..", gDrive + "/"}) {
        CAPTURE(root);
        CHECK(!platform::createFolder(root));
    }
    CHECK(!platform::exists(onDrive("SUB")));
}

TEST_CASE_FIXTURE(ScratchDrive, "folderListings")
{
    const std::string folder = onDrive("LIST");
    removeAll(folder);
    bool ready = makeFolder(folder) && makeFolder(folder + "\\EMPTY");
    for (const char *name : {"b.txt", "A.txt", "c.TXT", "hidden.txt", "system.sys"})
        ready = writeFile(folder + "\\" + name, name) && ready;
    for (const char *name : {"Sub", "aSub", "HideMe"})
        ready = makeFolder(folder + "\\" + name) && ready;
    ready = addAttribute(folder + "\\hidden.txt", FILE_ATTRIBUTE_HIDDEN) && ready;
    ready = addAttribute(folder + "\\system.sys", FILE_ATTRIBUTE_SYSTEM) && ready;
    ready = addAttribute(folder + "\\HideMe", FILE_ATTRIBUTE_HIDDEN) && ready;
    REQUIRE(ready);

    using Names = std::vector<std::string>;
    CHECK_EQ(platform::ordinaryFiles(folder), Names({"A.txt", "b.txt", "c.TXT"}));
    CHECK_EQ(platform::subfolders(folder), Names({"aSub", "EMPTY", "Sub"}));
    CHECK_EQ(platform::ordinaryFiles(folder + "\\"), Names({"A.txt", "b.txt", "c.TXT"}));

    struct {
        const char *name;
        std::string folder;
        std::optional<Names> files;
    } rows[] = {
        {"empty folder", folder + "\\EMPTY", Names()},
        {"missing folder", folder + "\\NONE", std::nullopt},
        {"a file, not a folder", folder + "\\b.txt", std::nullopt},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK_EQ(platform::ordinaryFiles(row.folder), row.files);
        CHECK_EQ(platform::subfolders(row.folder), row.files);
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "folderCopies")
{
    // A game folder with a subfolder, a read-only file and its description;
    // an earlier copy holds an old file and one of the player's own.
    const std::string source = onDrive("GAME"), copy = onDrive("COPY");
    removeAll(source);
    removeAll(copy);
    bool ready = makeFolder(source) && makeFolder(source + "\\DATA") && makeFolder(copy);
    for (const char *name : {"QAR.TXT", "GO.EXE", "ZZZ.DAT", "DATA\\LEVEL.DAT"})
        ready = writeFile(source + "\\" + name, name) && ready;
    ready = addAttribute(source + "\\DATA\\LEVEL.DAT", FILE_ATTRIBUTE_READONLY) && ready;
    ready = writeFile(copy + "\\GO.EXE", "old") && writeFile(copy + "\\MINE.SAV", "mine") && ready;
    REQUIRE(ready);

    std::vector<std::pair<int, int>> steps;
    CHECK(platform::copyFolder(source, copy, [&](int done, int total) { steps.emplace_back(done, total); }));
    CHECK_EQ(steps.size(), size_t(5));
    CHECK(steps.back() == std::make_pair(4, 4));
    CHECK_EQ(contentOf(copy + "\\GO.EXE"), std::optional<std::string>("GO.EXE"));
    CHECK_EQ(contentOf(copy + "\\MINE.SAV"), std::optional<std::string>("mine"));
    CHECK_EQ(contentOf(copy + "\\DATA\\LEVEL.DAT"), std::optional<std::string>("DATA\\LEVEL.DAT"));
    CHECK(platform::isReadOnly(copy + "\\DATA\\LEVEL.DAT"));
    CHECK_EQ(namesIn(copy), std::vector<std::string>({"GO.EXE", "MINE.SAV", "QAR.TXT", "ZZZ.DAT"}));

    const auto files = platform::folderFiles(copy);
    CHECK(files.has_value());
    if (files) {
        CHECK_EQ(files->size(), size_t(4));
        if (files->size() == 4)
            CHECK_EQ((*files)[0].name, std::string("GO.EXE"));
    }

    // The chooser's copy: one result per name; a name that is not plain
    // writes nothing.
    const std::string out = onDrive("OUT");
    removeAll(out);
    REQUIRE(makeFolder(out));
    const auto results = platform::copyNamedFiles(source, out, {"GO.EXE", "..\\GAME\\ZZZ.DAT", "MISSING.DAT"});
    CHECK(results == std::vector<CopyResult>({CopyResult::Copied, CopyResult::Failed, CopyResult::Failed}));
    CHECK_EQ(namesIn(out), std::vector<std::string>({"GO.EXE"}));
    removeAll(source);
    removeAll(copy);
    removeAll(out);
}

TEST_CASE_FIXTURE(ScratchDrive, "namesOutsideAscii")
{
    // Names pass through the ANSI code page both ways: a UTF-8 name made
    // through the layer is listed under the same UTF-8 name.
    const std::string acp = platform::ansiCodePage();
    if (acp != "windows-1252" && acp != "UTF-8") {
        MESSAGE("skipped: code page " << acp);
        return;
    }
    const std::string folder = onDrive("TEXT");
    removeAll(folder);
    REQUIRE((makeFolder(folder) && writeFile(folder + "\\plain.txt", "caf\xc3\xa9")));
    const std::string cafe = folder + "\\Caf\xc3\xa9.txt";  // "Café.txt"
    CHECK_EQ(platform::copyFile(folder + "\\plain.txt", cafe), CopyResult::Copied);
    CHECK(platform::isOrdinaryFile(cafe));
    CHECK_EQ(platform::readFile(cafe), std::string("caf\xc3\xa9"));
    CHECK(platform::createFolder(folder + "\\R\xc3\xa9sum\xc3\xa9"));
    CHECK_EQ(platform::ordinaryFiles(folder), std::vector<std::string>({"Caf\xc3\xa9.txt", "plain.txt"}));
    CHECK_EQ(platform::subfolders(folder), std::vector<std::string>({"R\xc3\xa9sum\xc3\xa9"}));

    if (acp == "windows-1252") {
        // A name the code page cannot write names no file: it must not turn
        // into '?' (a wildcard) or a look-alike of another name.
        const std::string japanese = folder + "\\\xe6\x97\xa5\xe6\x9c\xac";  // two CJK characters
        CHECK(!platform::createFolder(japanese));
        CHECK(!platform::isOrdinaryFile(folder + "\\\xe2\x88\x95plain.txt"));  // DIVISION SLASH
        CHECK_EQ(platform::subfolders(folder), std::vector<std::string>({"R\xc3\xa9sum\xc3\xa9"}));
    }
}

// The system's code page both ways. A character it lacks has no bytes: no
// look-alike ("best fit") and no '?' is put in its place.
TEST_CASE("ansiText")
{
    const std::string acp = platform::ansiCodePage();
    if (acp != "windows-1252") {
        MESSAGE("skipped: code page " << acp);
        return;
    }
    CHECK_EQ(platform::fromAnsi("Caf\xE9 \x80\x93q\x94\0z"s), "Café €“q”\0z"s);
    CHECK_EQ(platform::fromAnsi(""), std::string());
    const struct {
        const char *name;
        std::string text;
        std::optional<std::string> bytes;
    } rows[] = {
        {"empty", "", ""},
        {"accents, euro sign and a zero byte", "Café €\0"s, "Caf\xE9 \x80\0"s},
        {"CJK", "\xe4\xb8\xad", std::nullopt},
        {"no look-alike for a division slash", "a\xe2\x88\x95" "b", std::nullopt},
        {"no look-alike for l with stroke", "\xc5\x82", std::nullopt},
        {"not UTF-8", "caf\xC3", std::nullopt},
        {"a surrogate", "\xED\xA0\x80", std::nullopt},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK_EQ(platform::toAnsi(row.text), row.bytes);
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "currentFolder")
{
    const std::string folder = onDrive("CUR");
    removeAll(folder);
    REQUIRE((makeFolder(folder) && makeFolder(folder + "\\SUB")));
    const std::string start = platform::currentDirectory();
    CHECK(!start.empty());
    CHECK(start.substr(0, 2) != gDrive);  // so that the drive switch shows

    CHECK(platform::changeDirectory(folder));
    CHECK_EQ(platform::currentDirectory(), folder);
    // A relative path now resolves against the new folder and drive.
    CHECK(GetFileAttributesA("SUB") != INVALID_FILE_ATTRIBUTES);

    CHECK(!platform::changeDirectory(folder + "\\NONE"));
    CHECK_EQ(platform::currentDirectory(), folder);

    CHECK(platform::changeDirectory(gDrive + "\\"));
    CHECK_EQ(platform::currentDirectory(), gDrive + "\\");

    CHECK(platform::changeDirectory(start));
}

TEST_CASE_FIXTURE(ScratchDrive, "shellOpenCodes")
{
    const std::string folder = onDrive("SHELL");
    removeAll(folder);
    REQUIRE((makeFolder(folder) && writeFile(folder + "\\DATA.QZX", "nobody opens this")));
    struct {
        const char *name;
        std::string file;
        int code;
    } rows[] = {
        {"missing file", folder + "\\NOGAME.EXE", 2},
        {"missing folder", folder + "\\NOFOLDER\\NOGAME.EXE", 3},
        {"type with no association", folder + "\\DATA.QZX", 31},
        // Cut at the zero byte, the name would be the folder, or a program on
        // the search path.
        {"zero byte after dot-dot", folder + "\\..\0\\NOGAME.EXE"s, 2},
        {"bare name with a zero byte", "notepad\0.QZX"s, 2},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK_EQ(platform::shellOpen(0, row.file, ""), row.code);
    }
}

TEST_CASE_FIXTURE(ScratchDrive, "soundCalls")
{
    // What the sound device is told, with a recorder in its place. A file
    // the system cannot play is its own affair: it plays its default sound
    // in place of the file, cutting off the last as any sound does.
    using platform::testing::SoundCall;
    std::vector<std::string> calls;
    platform::testing::setSoundDevice([&](SoundCall call, const std::string &path) {
        calls.push_back(call == SoundCall::Play ? "play " + path : call == SoundCall::Stop ? "stop" : "beep");
    });
    const std::string folder = onDrive("SOUND");
    removeAll(folder);
    const bool ready = makeFolder(folder) && writeFile(folder + "\\CLICK.WAV", "RIFF");
    CHECK(ready);
    if (ready) {
        struct {
            const char *name;
            std::string path;
            std::vector<std::string> calls;
        } rows[] = {
            {"a file", folder + "\\CLICK.WAV", {"play " + folder + "\\CLICK.WAV"}},
            {"a missing file", folder + "\\NONE.WAV", {"play " + folder + "\\NONE.WAV"}},
            // No file has that name: the default sound, after the last one stops.
            {"a zero byte in the name", folder + "\\CLICK.WAV\0.TXT"s, {"stop", "beep"}},
        };
        for (const auto &row : rows) {
            CAPTURE(row.name);
            calls.clear();
            platform::playWave(row.path);
            CHECK_EQ(calls, row.calls);
        }
    }
    platform::testing::setSoundDevice({});
}

TEST_CASE_FIXTURE(ScratchDrive, "programFolderAndEnd")
{
    // Copies of the probe program report their own folder: a drive's root
    // keeps its separator, any other folder has none.
    const std::string folder = onDrive("PROG DIR");
    removeAll(folder);
    REQUIRE(makeFolder(folder));
    struct {
        const char *name;
        std::string folder;
    } rows[] = {
        {"drive root", gDrive + "\\"},
        {"folder with a space", folder},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string copy = row.folder + (row.folder.back() == '\\' ? "" : "\\") + "PROBE.EXE";
        const std::string report = onDrive("REPORT.TXT");
        removeAll(report);
        const bool ready = CopyFileA(probeProgram().c_str(), copy.c_str(), FALSE);
        CHECK(ready);
        if (!ready)
            continue;
        CHECK_EQ(runProgram(copy, "--report-program-folder " + report), 0);
        CHECK_EQ(platform::readFile(report), row.folder);
        removeAll(copy);
    }

    // Ending the program ends it at once, with code 0.
    CHECK_EQ(runProgram(probeProgram(), "--end-program"), 0);
}

namespace {

// An environment variable as UTF-8 (getenv gives it in the code page).
std::optional<std::string> environmentUtf8(const wchar_t *name)
{
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    if (length == 0 || length >= 1024)
        return std::nullopt;
    return platform::win::fromWide(std::wstring(value, length), CP_UTF8, false);
}

std::optional<platform::Drive> listedDrive(char letter)
{
    for (const platform::Drive &drive : platform::drives())
        if (drive.letter == letter)
            return drive;
    return std::nullopt;
}

} // namespace

// QUORVIA_TEST_DRIVE_LABEL is the scratch drive's volume label as the test
// script gave it (Wine reads a folder drive's label from ".windows-label" in
// its root when it starts); the drive table carries it as UTF-8.
TEST_CASE_FIXTURE(ScratchDrive, "volumeLabels")
{
    const std::optional<std::string> label = environmentUtf8(L"QUORVIA_TEST_DRIVE_LABEL");
    if (!label) {
        MESSAGE("skipped: QUORVIA_TEST_DRIVE_LABEL gives no label");
        return;
    }
    platform::reloadDrives();
    const auto drive = listedDrive(gDrive[0]);
    REQUIRE(drive);
    CHECK_EQ(drive->label, *label);
    CHECK_EQ(drive->folder, gDrive + "\\");
}

// A drive mapped while the program runs (a USB stick put in) is listed and
// found once a path names it, without a restart; one taken away is gone.
TEST_CASE_FIXTURE(ScratchDrive, "driveMappedAfterStart")
{
    const char letter = unusedLetter();
    REQUIRE(letter);
    const std::string name = std::string(1, letter) + ":";
    CHECK(!listedDrive(letter));  // the table is read without it
    CHECK(!platform::findDrive(letter));

    REQUIRE(DefineDosDeviceA(0, name.c_str(), (gDrive + "\\").c_str()));
    const auto found = platform::findDrive(static_cast<char>(std::tolower(static_cast<unsigned char>(letter))));
    CHECK(found);
    if (found) {
        CHECK_EQ(found->letter, letter);
        CHECK_EQ(found->folder, name + "\\");
    }
    CHECK(listedDrive(letter));
    CHECK_EQ(platform::toHostPath(name + "\\GAMES"), name + "\\GAMES");

    REQUIRE(DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr));
    CHECK(!listedDrive(letter));
    CHECK(!platform::findDrive(letter));
    CHECK_EQ(platform::toHostPath(name + "\\GAMES"), std::nullopt);
}

// QUORVIA_TEST_EMPTY_CDROM names a CD-ROM drive with no disc in it: it is
// listed without a label, reading it fails quietly, and the system's
// "no disk" boxes are as the program found them afterwards.
TEST_CASE("emptyCdromDrive")
{
    const char *letter = std::getenv("QUORVIA_TEST_EMPTY_CDROM");
    if (!letter || std::strlen(letter) != 1 || !std::isalpha(static_cast<unsigned char>(letter[0]))) {
        MESSAGE("skipped: QUORVIA_TEST_EMPTY_CDROM names no drive");
        return;
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
    const std::string root = std::string(1, upper) + ":\\";
    REQUIRE_EQ(GetDriveTypeA(root.c_str()), UINT(DRIVE_CDROM));

    const UINT oldMode = SetErrorMode(0);
    platform::reloadDrives();
    const auto drive = platform::findDrive(upper);
    REQUIRE(drive);
    CHECK_EQ(drive->label, "");
    CHECK(!platform::isOrdinaryFile(root + "QAR.TXT"));
    CHECK_EQ(platform::ordinaryFiles(root), std::nullopt);
    CHECK_EQ(SetErrorMode(oldMode), UINT(0));
}

// Whether the system's code page may be decoded byte by byte, judged from
// what the system says of a code page, so that any code page can be tried
// without changing the system's.
TEST_CASE("singleByteCodePages")
{
    const struct {
        const char *name;
        UINT codePage;
        bool singleByte;
    } rows[] = {
        {"Western European", 1252, true},
        {"Cyrillic", 1251, true},
        {"DOS United States", 437, true},
        {"UTF-8", CP_UTF8, false},
        {"Japanese", 932, false},
        {"Simplified Chinese", 936, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CPINFO info{};
        REQUIRE(GetCPInfo(row.codePage, &info));
        CHECK_EQ(platform::win::isSingleByte(info), row.singleByte);
    }
    if (GetACP() == 1252)
        CHECK(platform::ansiCodePageIsSingleByte());
}
