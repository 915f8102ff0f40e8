// The POSIX platform layer against real folders, files and processes made in
// a temporary folder.
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/testing.h"
#include "platform/text.h"

#include "quorvia_doctest.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using platform::CopyResult;
using namespace std::string_literals;
using Strings = std::vector<std::string>;

namespace {

void writeFile(const std::string &path, const std::string &content, mode_t mode = 0644)
{
    fs::create_directories(fs::path(path).parent_path());
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        REQUIRE_MESSAGE(file.write(content.data(), std::streamsize(content.size())), path);
    }
    REQUIRE(::chmod(path.c_str(), mode) == 0);
}

std::string contentOf(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

mode_t modeOf(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool existsOnDisk(const std::string &path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isFolderOnDisk(const std::string &path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

void removeAll(const std::string &path)
{
    std::error_code error;
    fs::remove_all(path, error);
}

// Started in a child process that became the user "nobody", the copy of one
// file exits with kChildExit + the CopyResult (see copyOverOtherUsersFile).
constexpr int kChildExit = 10;

// The names of the files in a folder, hidden ones included: what a copy left
// there.
Strings namesIn(const std::string &folder)
{
    Strings names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (!it->is_directory())
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes that differ from one offset to the next, so that a shifted or partly
// overwritten copy shows.
std::string pattern(int size, char seed)
{
    std::string bytes(std::size_t(size), '\0');
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = char(seed + i * 7 + i / 251);
    return bytes;
}

// Puts the real reads and kernel copy of a file copy back when it goes out
// of scope, also when a check fails on the way.
struct CopyHooks {
    ~CopyHooks()
    {
        platform::testing::setCopyRead({});
        platform::testing::setKernelCopy({});
    }
};

// The drive table as "C=/x;Z=/" for comparisons.
std::string tableText()
{
    std::string text;
    for (const platform::Drive &drive : platform::drives())
        text += (text.empty() ? "" : ";") + std::string(1, drive.letter) + '=' + drive.folder;
    return text;
}

void setDrives(const std::string &value)
{
    ::setenv("QUORVIA_DRIVES", value.c_str(), 1);
    platform::reloadDrives();
}

// The lines written to stderr between start and stop.
class StderrCapture {
public:
    StderrCapture() : m_file(std::tmpfile())
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        ::dup2(::fileno(m_file), 2);
    }
    ~StderrCapture()
    {
        if (m_saved >= 0)
            stop();
        std::fclose(m_file);
    }
    Strings stop()
    {
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_saved = -1;
        std::rewind(m_file);
        Strings lines;
        std::string line;
        for (int c; (c = std::fgetc(m_file)) != EOF;) {
            if (c != '\n') {
                line += char(c);
            } else if (!line.empty()) {
                lines.push_back(line);
                line.clear();
            }
        }
        if (!line.empty())
            lines.push_back(line);
        return lines;
    }

private:
    std::FILE *m_file;
    int m_saved = -1;
};

// A "#!" script that writes its current folder and its arguments, one per
// line in brackets, to `record` (whole or not at all).
std::string recorderScript(const std::string &record)
{
    return "#!/bin/sh\n"
           "{ /bin/pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '"
           + record + ".tmp'\n/bin/mv '" + record + ".tmp' '" + record + "'\n";
}

// Waits until the condition holds, at most `ms` milliseconds.
bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A program on PATH, as the shell would find it; empty when there is none.
std::string findExecutable(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t begin = 0;
    while (begin <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', begin), folders.size());
        const std::string candidate = folders.substr(begin, end - begin) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return {};
}

std::string backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string lower(std::string text)
{
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const char *const kEnvironment[] = {
    "QUORVIA_DRIVES", "HOME", "PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
    "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"};

// The folders every test shares: made once, removed when the program ends.
struct Folders {
    std::string root;
    std::string disc;  // drive E
    std::string home;  // drive C

    Folders()
    {
        std::string pattern = (fs::temp_directory_path() / "quorvia-platform-XXXXXX").string();
        REQUIRE(::mkdtemp(pattern.data()));
        root = fs::canonical(pattern).string();
        disc = root + "/disc";
        home = root + "/home";
        fs::create_directories(disc);
        fs::create_directories(home);
    }
    ~Folders() { removeAll(root); }
};

const Folders &folders()
{
    static const Folders shared;
    return shared;
}

// Each test starts with drives C (home) and E (disc) and leaves the
// environment, the drive table and the current folder as it found them.
class Platform {
public:
    Platform() : m_root(folders().root), m_disc(folders().disc), m_home(folders().home)
    {
        m_startFolder = fs::current_path().string();
        for (const char *name : kEnvironment)
            if (const char *value = std::getenv(name))
                m_savedEnvironment[name] = value;
        setDrives("C=" + m_home + ";E=" + m_disc);
    }
    ~Platform()
    {
        for (const char *name : kEnvironment) {
            const auto saved = m_savedEnvironment.find(name);
            if (saved != m_savedEnvironment.end())
                ::setenv(name, saved->second.c_str(), 1);
            else
                ::unsetenv(name);
        }
        platform::reloadDrives();
        std::error_code error;
        fs::current_path(m_startFolder, error);
    }

protected:
    std::string m_root;
    std::string m_disc;
    std::string m_home;

    std::string disc(const std::string &relative) const { return m_disc + '/' + relative; }

private:
    std::string m_startFolder;
    std::map<std::string, std::string> m_savedEnvironment;
};

} // namespace

// ---- Drive table -----------------------------------------------------------

TEST_CASE_FIXTURE(Platform, "drivesFromVariable")
{
    const struct {
        const char *name;
        std::string value;
        std::string table;
        Strings malformed;
    } rows[] = {
        {"listed drives, Z added", "C=/home/ann;D=/media/cdrom", "C=/home/ann;D=/media/cdrom;Z=/", {}},
        {"Z listed is kept", "C=/x;Z=/srv/z", "C=/x;Z=/srv/z", {}},
        {"lower-case letters, trailing slash", "c=/x;e=/y/", "C=/x;E=/y;Z=/", {}},
        {"letter order", "E=/e;C=/c", "C=/c;E=/e;Z=/", {}},
        {"empty entries", ";;C=/x;", "C=/x;Z=/", {}},
        {"malformed entries skipped", "C=/x;DD=/y;E=relative;nothing;F=/f;=/g", "C=/x;F=/f;Z=/",
         {"DD=/y", "E=relative", "nothing", "=/g"}},
        {"letter twice: first wins", "C=/a;c=/b", "C=/a;Z=/", {"c=/b"}},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        StderrCapture capture;
        setDrives(row.value);
        const std::string first = tableText();
        platform::drives();  // the table is kept: nothing is reported twice
        const std::string again = tableText();
        const Strings lines = capture.stop();

        CHECK(first == row.table);
        CHECK(again == row.table);
        REQUIRE(lines.size() == row.malformed.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            CAPTURE(lines[i]);
            CHECK(lines[i].find('"' + row.malformed[i] + '"') != std::string::npos);
        }
    }
}

TEST_CASE_FIXTURE(Platform, "defaultDiscovery")
{
    ::unsetenv("QUORVIA_DRIVES");
    ::setenv("HOME", m_home.c_str(), 1);
    platform::reloadDrives();
    const auto &table = platform::drives();

    REQUIRE(table.size() >= 2);
    CHECK(table.front().letter == 'C');
    CHECK(table.front().folder == m_home);
    CHECK(table.back().letter == 'Z');
    CHECK(table.back().folder == std::string("/"));
    // Media in between: D onwards, in the order of their mount points.
    for (std::size_t i = 1; i + 1 < table.size(); ++i) {
        CHECK(table[i].letter == char('D' + i - 1));
        if (i > 1)
            CHECK(table[i - 1].folder < table[i].folder);
    }
}

// ---- DOS paths -------------------------------------------------------------

TEST_CASE_FIXTURE(Platform, "toHostPath")
{
    writeFile(disc("BOARD/CHESS/QAR.TXT"), "chess");
    writeFile(disc("lower/game.exe"), "MZ");
    writeFile(disc("twins/aBC"), "1");
    writeFile(disc("twins/Abc"), "2");

    const struct {
        const char *name;
        std::string dosPath;
        std::optional<std::string> host;  // below the drive E folder; none for no path
    } rows[] = {
        {"exact", "E:\\BOARD\\CHESS\\QAR.TXT", "BOARD/CHESS/QAR.TXT"},
        {"case-blind", "e:\\board\\Chess\\qar.txt", "BOARD/CHESS/QAR.TXT"},
        {"upper-case name, lower-case disc", "E:\\LOWER\\GAME.EXE", "lower/game.exe"},
        {"doubled separators", "E:\\\\BOARD\\\\CHESS\\QAR.TXT", "BOARD/CHESS/QAR.TXT"},
        {"slash separators", "E:/BOARD/CHESS/QAR.TXT", "BOARD/CHESS/QAR.TXT"},
        {"dot and dot-dot", "E:\\BOARD\\.\\CHESS\\..\\CHESS\\QAR.TXT", "BOARD/CHESS/QAR.TXT"},
        {"dot-dot clamped at root", "E:\\..\\..\\BOARD\\..\\..\\BOARD", "BOARD"},
        {"root", "E:\\", ""},
        {"drive alone", "E:", ""},
        {"missing parts kept as written", "E:\\board\\New\\FILE.TXT", "BOARD/New/FILE.TXT"},
        {"several case-blind matches: byte order", "E:\\TWINS\\ABC", "twins/Abc"},
        {"unknown drive", "Q:\\BOARD", std::nullopt},
        {"no drive", "BOARD\\CHESS", std::nullopt},
        {"empty", "", std::nullopt},
        // The file system would cut the name at the zero byte.
        {"zero byte after dot-dot", "E:\\BOARD\\CHESS\\..\0\\QAR.TXT"s, std::nullopt},
        {"zero byte inside a name", "E:\\BOARD\\CHESS\\QAR.TXT\0.EXE"s, std::nullopt},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const auto result = platform::toHostPath(row.dosPath);
        if (!row.host) {
            CHECK(!result);
            continue;
        }
        REQUIRE(result);
        CHECK(*result == (row.host->empty() ? m_disc : disc(*row.host)));
    }
}

TEST_CASE_FIXTURE(Platform, "toDosPath")
{
    const std::string zRoot = "Z:" + backslashed(m_root);
    const struct {
        const char *name;
        std::string host;  // below the fixture root
        std::string dosPath;
    } rows[] = {
        {"drive root", "ann", "C:\\"},
        {"drive root, trailing slash", "ann/", "C:\\"},
        {"inside a drive", "ann/games/chess", "C:\\games\\chess"},
        {"longest prefix wins", "ann/cd/BOARD", "D:\\BOARD"},
        {"not a string prefix", "annex/x", zRoot + "\\annex\\x"},
        {"dot-dot in the host path", "ann/cd/../games", "C:\\games"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        setDrives("C=" + m_root + "/ann;D=" + m_root + "/ann/cd");
        CHECK(platform::toDosPath(m_root + '/' + row.host) == row.dosPath);
    }
}

TEST_CASE_FIXTURE(Platform, "toDosPathOfRootAndProgram")
{
    CHECK(platform::toDosPath("/") == std::string("Z:\\"));
    const std::string programFolder = fs::read_symlink("/proc/self/exe").parent_path().string();
    CHECK(platform::programFolder() == platform::toDosPath(programFolder));
    setDrives("G=" + programFolder);
    CHECK(platform::programFolder() == std::string("G:\\"));
}

// ---- Files and folders -----------------------------------------------------

TEST_CASE_FIXTURE(Platform, "isOrdinaryFile")
{
    writeFile(disc("files/PLAXOID.QAR"), "");
    writeFile(disc("files/READONLY.QAR"), "", 0444);
    writeFile(disc("files/.hidden"), "");
    fs::create_directories(disc("files/FOLDER.QAR"));
    ::mkfifo(disc("files/PIPE.QAR").c_str(), 0644);

    const struct {
        const char *name;
        std::string path;
        bool ordinary;
    } rows[] = {
        {"file", "E:\\FILES\\PLAXOID.QAR", true},
        {"case-blind", "e:\\files\\plaxoid.qar", true},
        {"read-only file", "E:\\FILES\\READONLY.QAR", true},
        {"hidden", "E:\\FILES\\.hidden", false},
        {"folder", "E:\\FILES\\FOLDER.QAR", false},
        {"fifo", "E:\\FILES\\PIPE.QAR", false},
        {"missing", "E:\\FILES\\NONE.QAR", false},
        {"missing drive", "Q:\\PLAXOID.QAR", false},
        {"zero byte after the name", "E:\\FILES\\PLAXOID.QAR\0.TXT"s, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(platform::isOrdinaryFile(row.path) == row.ordinary);
    }
}

TEST_CASE_FIXTURE(Platform, "readOnly")
{
    const struct {
        const char *name;
        int mode;
        int readOnlyMode;
        int writableMode;
    } rows[] = {
        {"plain file", 0664, 0444, 0644},
        {"executable", 0750, 0550, 0750},
        {"already read-only", 0400, 0400, 0600},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string file = disc("attr/FILE.DAT");
        writeFile(file, "x", mode_t(row.mode));

        CHECK(platform::isReadOnly("E:\\ATTR\\FILE.DAT") == ((row.mode & 0200) == 0));
        CHECK(platform::setReadOnly("E:\\ATTR\\FILE.DAT", true));
        CHECK(int(modeOf(file)) == row.readOnlyMode);
        CHECK(platform::isReadOnly("E:\\ATTR\\FILE.DAT"));
        CHECK(platform::setReadOnly("E:\\ATTR\\FILE.DAT", false));
        CHECK(int(modeOf(file)) == row.writableMode);
        CHECK(!platform::isReadOnly("E:\\ATTR\\FILE.DAT"));
    }
}

TEST_CASE_FIXTURE(Platform, "readOnlyOfMissingFile")
{
    CHECK(!platform::isReadOnly("E:\\NONE.DAT"));
    CHECK(!platform::setReadOnly("E:\\NONE.DAT", true));
}

TEST_CASE_FIXTURE(Platform, "createFolder")
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    CHECK(platform::createFolder("E:\\NEWDIR"));
    CHECK(isFolderOnDisk(disc("NEWDIR")));
    CHECK(modeOf(disc("NEWDIR")) == mode_t(0777 & ~mask));
    CHECK(platform::isFolder("e:\\newdir"));
    CHECK(platform::exists("E:\\NEWDIR"));
    CHECK(!platform::createFolder("E:\\NEWDIR"));           // exists already
    CHECK(!platform::createFolder("E:\\NOPARENT\\CHILD"));  // one level only
    CHECK(!existsOnDisk(disc("NOPARENT")));
    CHECK(!platform::createFolder("Q:\\NEWDIR"));           // no such drive
}

// A drive's own folder is never made, also when it is gone: the drive is not
// there, whichever way its root is written.
TEST_CASE_FIXTURE(Platform, "createFolderOfDriveRoot")
{
    const struct {
        const char *name;
        std::string path;
    } rows[] = {
        {"root", "G:\\"},
        {"drive alone", "g:"},
        {"dot", "G:\\.\\"},
        {"dot-dot", "G:\\SUB\\.."},
        {"through drive Z", "Z:" + backslashed(m_root) + "\\gone"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        removeAll(m_root + "/gone");
        setDrives("C=" + m_home + ";E=" + m_disc + ";G=" + m_root + "/gone");
        CHECK(!platform::createFolder(row.path));
        CHECK(!existsOnDisk(m_root + "/gone"));
    }
}

TEST_CASE_FIXTURE(Platform, "currentFolder")
{
    fs::create_directories(disc("GAMES/Chess"));
    CHECK(platform::changeDirectory("e:\\games\\chess"));
    CHECK(fs::current_path().string() == disc("GAMES/Chess"));
    CHECK(platform::currentDirectory() == std::string("E:\\GAMES\\Chess"));

    CHECK(!platform::changeDirectory("E:\\GAMES\\NONE"));
    CHECK(platform::currentDirectory() == std::string("E:\\GAMES\\Chess"));

    CHECK(platform::changeDirectory("E:\\"));
    CHECK(platform::currentDirectory() == std::string("E:\\"));
}

TEST_CASE_FIXTURE(Platform, "listings")
{
    for (const char *name : {"b.txt", "A.txt", "c.TXT", ".hidden", "a.txt"})
        writeFile(disc("list/"s + name), "x");
    for (const char *name : {"Zeta", "alpha", ".git", "Beta"})
        fs::create_directories(disc("list/"s + name));
    ::mkfifo(disc("list/pipe").c_str(), 0644);

    const auto files = platform::ordinaryFiles("E:\\LIST");
    REQUIRE(files);
    CHECK(*files == Strings{"A.txt", "a.txt", "b.txt", "c.TXT"});
    const auto subfolders = platform::subfolders("e:\\list\\");
    REQUIRE(subfolders);
    CHECK(*subfolders == Strings{"alpha", "Beta", "Zeta"});

    CHECK(!platform::ordinaryFiles("E:\\NOLIST"));
    CHECK(!platform::subfolders("E:\\NOLIST"));
    CHECK(!platform::ordinaryFiles("E:\\LIST\\b.txt"));
    CHECK(platform::ordinaryFiles("E:\\LIST\\ALPHA")->empty());
}

TEST_CASE_FIXTURE(Platform, "readFile")
{
    const std::string content("line 1\r\n\0binary\xff", 16);
    writeFile(disc("read/QAR.TXT"), content);
    const auto read = platform::readFile("E:\\READ\\qar.txt");
    REQUIRE(read);
    CHECK(*read == content);
    CHECK(!platform::readFile("E:\\READ\\NONE.TXT"));
    CHECK(!platform::readFile("E:\\READ"));
}

// ---- ANSI text -------------------------------------------------------------

// Windows-1252 both ways; what it lacks, or what is not UTF-8, has no bytes.
TEST_CASE("ansiText")
{
    CHECK(platform::ansiCodePage() == "windows-1252");
    const struct {
        const char *name;
        std::string bytes;
        std::string text;
    } decoded[] = {
        {"ASCII with a zero byte and a control character", "A\0\x01z"s, "A\0\x01z"s},
        {"euro sign and quotes", "\x80\x93\x94", "€“”"},
        {"the last of the 0x80 row", "\x9F", "Ÿ"},
        {"Latin-1 part", "\xA0\xE9\xFF", "\u00A0éÿ"},
        {"bytes the code page leaves undefined", "\x81\x8D\x8F\x90\x9D", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto &row : decoded) {
        CAPTURE(row.name);
        CHECK(platform::fromAnsi(row.bytes) == row.text);
    }

    const struct {
        const char *name;
        std::string text;
        std::optional<std::string> bytes;
    } encoded[] = {
        {"empty", "", ""},
        {"accents, euro sign and a zero byte", "Café €\0"s, "Caf\xE9 \x80\0"s},
        {"every character of the 0x80 row", "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ",
         "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
        {"a C1 control character the code page lacks", "\u0081", std::nullopt},
        {"the replacement character", "\uFFFD", std::nullopt},
        {"CJK", "中", std::nullopt},
        {"no look-alike for a division slash", "a\u2215b", std::nullopt},
        {"outside the basic plane", "\U0001F600", std::nullopt},
        {"a lone continuation byte", "a\x80", std::nullopt},
        {"a sequence cut short", "caf\xC3", std::nullopt},
        {"an overlong slash", "\xC0\xAF", std::nullopt},
        {"a surrogate", "\xED\xA0\x80", std::nullopt},
        {"past U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
    };
    for (const auto &row : encoded) {
        CAPTURE(row.name);
        CHECK(platform::toAnsi(row.text) == row.bytes);
    }

    // Every byte but the undefined five comes back as itself.
    for (int b = 0; b < 256; ++b) {
        CAPTURE(b);
        const std::string byte(1, char(b));
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        CHECK(platform::toAnsi(platform::fromAnsi(byte)) == (undefined ? std::nullopt : std::optional(byte)));
    }
}

// ---- Copying a file --------------------------------------------------------

TEST_CASE_FIXTURE(Platform, "copyFile")
{
    const struct {
        const char *name;
        std::string destination;  // what is at the destination first
        CopyResult result;
        std::string content;  // at the destination afterwards
    } rows[] = {
        {"new file", "none", CopyResult::Copied, "source"},
        {"replaces a file", "writable", CopyResult::Copied, "source"},
        {"read-only destination", "read-only", CopyResult::DestinationReadOnly, "old"},
        {"same path", "same", CopyResult::SameFile, "source"},
        {"hard link", "link", CopyResult::SameFile, "source"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        removeAll(disc("copy"));
        const std::string source = disc("copy/from/SRC.DAT");
        writeFile(source, "source", 0640);
        fs::create_directories(disc("copy/to"));
        std::string target = disc("copy/to/DST.DAT");
        std::string dosTarget = "E:\\COPY\\TO\\DST.DAT";
        if (row.destination == "writable")
            writeFile(target, "old, and longer than the source", 0666);
        else if (row.destination == "read-only")
            writeFile(target, "old", 0444);
        else if (row.destination == "same")
            target = source, dosTarget = "e:\\copy\\FROM\\src.dat";
        else if (row.destination == "link")
            REQUIRE(::link(source.c_str(), target.c_str()) == 0);

        CHECK(platform::copyFile("E:\\COPY\\FROM\\SRC.DAT", dosTarget) == row.result);
        CHECK(contentOf(target) == row.content);
        CHECK(contentOf(source) == "source");
        if (row.result == CopyResult::Copied)
            CHECK(modeOf(target) == mode_t(0640));
        // No temporary file is left behind.
        CHECK(namesIn(fs::path(target).parent_path().string()).size() == 1u);
    }
}

TEST_CASE_FIXTURE(Platform, "copyKeepsReadOnly")
{
    writeFile(disc("copyro/SRC.DAT"), "source", 0444);
    CHECK(platform::copyFile("E:\\COPYRO\\SRC.DAT", "E:\\COPYRO\\DST.DAT") == CopyResult::Copied);
    CHECK(platform::isReadOnly("E:\\COPYRO\\DST.DAT"));
}

TEST_CASE_FIXTURE(Platform, "copyFailures")
{
    writeFile(disc("copyfail/SRC.DAT"), "source");
    CHECK(platform::copyFile("E:\\COPYFAIL\\NONE.DAT", "E:\\COPYFAIL\\DST.DAT") == CopyResult::Failed);
    CHECK(platform::copyFile("E:\\COPYFAIL\\SRC.DAT", "E:\\COPYFAIL\\NODIR\\DST.DAT") == CopyResult::Failed);
    CHECK(platform::copyFile("E:\\COPYFAIL", "E:\\DST.DAT") == CopyResult::Failed);
    CHECK(platform::copyFile("Q:\\SRC.DAT", "E:\\DST.DAT") == CopyResult::Failed);
    CHECK(!existsOnDisk(disc("copyfail/DST.DAT")));
    CHECK(!existsOnDisk(disc("DST.DAT")));
}

// A copy that breaks off after part of the new content was written leaves
// the old destination byte for byte as it was, and no temporary file; a new
// destination is not made.
TEST_CASE_FIXTURE(Platform, "copyBreakingOffPartWay")
{
    for (const char *destination : {"BIG.DAT", "NEW.DAT"}) {
        CAPTURE(destination);
        removeAll(disc("broken"));
        const std::string old = pattern(200 * 1024, 'o');
        writeFile(disc("broken/BIG.DAT"), pattern(1 << 20, 'n'));
        writeFile(disc("broken/to/BIG.DAT"), old);

        // A source that gives its first 64 KB, then a read error (a
        // scratched disc, or one taken out).
        CopyHooks hooks;
        long long given = 0;
        platform::testing::setCopyRead([&](std::intptr_t fd, char *buffer, std::size_t size) -> long long {
            if (given >= 64 * 1024)
                return -1;
            const ssize_t got = ::read(int(fd), buffer, std::min<std::size_t>(size, std::size_t(64 * 1024 - given)));
            given += std::max<ssize_t>(got, 0);
            return got;
        });
        CHECK(platform::copyFile("E:\\BROKEN\\BIG.DAT", "E:\\BROKEN\\TO\\"s + destination) == CopyResult::Failed);
        CHECK(given == 64 * 1024LL);
        CHECK(contentOf(disc("broken/to/BIG.DAT")) == old);
        CHECK(namesIn(disc("broken/to")) == Strings{"BIG.DAT"});
    }
}

// A copy that runs out of room part-way (a file size limit stands in for a
// full disk) leaves the old destination as it was and nothing else.
TEST_CASE_FIXTURE(Platform, "copyFailingPartWay")
{
    writeFile(disc("full/BIG.DAT"), std::string(1 << 20, 'b'));
    writeFile(disc("full/to/BIG.DAT"), "old");
    writeFile(disc("full/to/OTHER.DAT"), "");

    struct rlimit saved {};
    REQUIRE(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    REQUIRE(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    const CopyResult replaced = platform::copyFile("E:\\FULL\\BIG.DAT", "E:\\FULL\\TO\\BIG.DAT");
    const CopyResult created = platform::copyFile("E:\\FULL\\BIG.DAT", "E:\\FULL\\TO\\NEW.DAT");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    CHECK(replaced == CopyResult::Failed);
    CHECK(created == CopyResult::Failed);
    CHECK(contentOf(disc("full/to/BIG.DAT")) == "old");
    CHECK(namesIn(disc("full/to")) == Strings{"BIG.DAT", "OTHER.DAT"});
}

// The temporary copy's name does not grow with the file's: a name of the
// longest length the system allows copies, new or over an old file.
TEST_CASE_FIXTURE(Platform, "copyLongestName")
{
    removeAll(disc("long"));
    const std::string name = std::string(251, 'n') + ".DAT";
    CHECK(name.size() == 255u);
    writeFile(disc("long/from/" + name), "new");
    writeFile(disc("long/to/" + name), "old");
    fs::create_directories(disc("long/new"));
    for (const std::string to : {"to", "new"}) {
        CAPTURE(to);
        CHECK(platform::copyFile("E:\\LONG\\FROM\\" + name, "E:\\LONG\\" + to + "\\" + name) == CopyResult::Copied);
        CHECK(contentOf(disc("long/" + to + "/" + name)) == "new");
        CHECK(namesIn(disc("long/" + to)) == Strings{name});
    }
}

// A copy has the source's permission bits less the umask, as any new file:
// a disc file open to everyone is not writable by everyone on the hard disk.
// Read-only stays read-only.
TEST_CASE_FIXTURE(Platform, "copyPermissions")
{
    const struct {
        const char *name;
        int source;
        int umask;
        int copy;
    } rows[] = {
        {"0777 disc file", 0777, 022, 0755},
        {"0666 under a private umask", 0666, 077, 0600},
        {"read-only", 0444, 022, 0444},
        {"read-only program", 0555, 022, 0555},
        {"group bits kept", 0640, 022, 0640},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        removeAll(disc("perm"));
        writeFile(disc("perm/SRC.DAT"), "x", mode_t(row.source));
        writeFile(disc("perm/OLD.DAT"), "old", 0666);
        const mode_t saved = ::umask(mode_t(row.umask));
        const CopyResult created = platform::copyFile("E:\\PERM\\SRC.DAT", "E:\\PERM\\NEW.DAT");
        const CopyResult replaced = platform::copyFile("E:\\PERM\\SRC.DAT", "E:\\PERM\\OLD.DAT");
        ::umask(saved);
        CHECK(created == CopyResult::Copied);
        CHECK(replaced == CopyResult::Copied);
        CHECK(int(modeOf(disc("perm/NEW.DAT"))) == row.copy);
        CHECK(int(modeOf(disc("perm/OLD.DAT"))) == row.copy);
        CHECK(platform::isReadOnly("E:\\PERM\\NEW.DAT") == ((row.source & 0200) == 0));
    }
}

// An unprivileged user's copy keeps a file of the destination that the user
// may not write (another user's), as cp would refuse it, though the folder
// would let a rename replace it. The copy runs in a child process that drops
// to the user "nobody".
TEST_CASE("copyOverOtherUsersFile")
{
    if (::geteuid() != 0) {
        MESSAGE("skipped: making another user's file needs root");
        return;
    }
    const struct {
        const char *name;
        std::string owner;  // of the file at the destination
        int result;
        std::string content;
    } rows[] = {
        {"another user's file", "root", int(CopyResult::DestinationReadOnly), "root's"},
        {"the user's own file", "nobody", int(CopyResult::Copied), "source"},
        {"no file yet", "none", int(CopyResult::Copied), "source"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        // A folder that "nobody" owns, reachable through folders open to all.
        std::string open = (fs::temp_directory_path() / "quorvia-user-XXXXXX").string();
        REQUIRE(::mkdtemp(open.data()));
        REQUIRE(::chmod(open.c_str(), 0755) == 0);
        const std::string folder = open + "/nobody";
        fs::create_directories(folder);
        REQUIRE(::chown(folder.c_str(), 65534, 65534) == 0);
        const std::string source = open + "/SRC.DAT";
        const std::string target = folder + "/DST.DAT";
        writeFile(source, "source", 0644);
        if (row.owner != "none") {
            writeFile(target, row.owner == "root" ? "root's" : "nobody's", 0644);
            if (row.owner == "nobody")
                REQUIRE(::chown(target.c_str(), 65534, 65534) == 0);
        }

        std::fflush(nullptr);
        const pid_t child = ::fork();
        REQUIRE(child >= 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
                std::perror("cannot become the user nobody");
                ::_exit(1);
            }
            ::_exit(kChildExit + int(platform::copyHostFile(source, target)));
        }
        int status = 0;
        REQUIRE(::waitpid(child, &status, 0) == child);
        REQUIRE(WIFEXITED(status));
        REQUIRE(WEXITSTATUS(status) >= kChildExit);
        CHECK(WEXITSTATUS(status) - kChildExit == row.result);
        CHECK(contentOf(target) == row.content);
        CHECK(namesIn(folder) == Strings{"DST.DAT"});
        removeAll(open);
    }
}

// The kernel's copy may stop short or copy nothing at all for a file that is
// not empty (some file systems report 0 bytes): the rest is read and written.
// A copy whose size is not the source's is a failed copy.
TEST_CASE_FIXTURE(Platform, "copyWhenKernelCopyFallsShort")
{
    const struct {
        const char *name;
        std::string kernel;
        CopyResult result;
    } rows[] = {
        {"copies nothing", "nothing", CopyResult::Copied},
        {"stops after 64 KB", "part", CopyResult::Copied},
        {"claims bytes it did not write", "short", CopyResult::Failed},
        {"read error", "error", CopyResult::Failed},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string &kernel = row.kernel;
        removeAll(disc("kernel"));
        const std::string source = pattern(300 * 1024, 'k');
        const std::string old = pattern(1000, 'o');
        writeFile(disc("kernel/SRC.DAT"), source);
        writeFile(disc("kernel/to/OLD.DAT"), old);

        CopyHooks hooks;
        bool called = false;
        platform::testing::setKernelCopy([&](int in, int out, std::size_t) -> long long {
            if (called && kernel != "short")
                return 0;
            called = true;
            if (kernel == "error") {
                errno = EIO;
                return -1;
            }
            if (kernel == "nothing")
                return 0;
            // Copies the first 64 KB for real; "short" then moves the
            // source's offset to its end and claims the whole file.
            char buffer[64 * 1024];
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got <= 0 || ::write(out, buffer, std::size_t(got)) != got)
                return -1;
            if (kernel == "short")
                return ::lseek(in, 0, SEEK_END) == -1 ? -1 : (long long)source.size();
            return got;
        });
        CHECK(platform::copyFile("E:\\KERNEL\\SRC.DAT", "E:\\KERNEL\\TO\\OLD.DAT") == row.result);
        CHECK(called);
        const std::string expected = row.result == CopyResult::Copied ? source : old;
        CHECK(contentOf(disc("kernel/to/OLD.DAT")).size() == expected.size());
        CHECK(contentOf(disc("kernel/to/OLD.DAT")) == expected);
        CHECK(namesIn(disc("kernel/to")) == Strings{"OLD.DAT"});
    }
}

// ---- Shell -----------------------------------------------------------------

TEST_CASE_FIXTURE(Platform, "shellOpenMissing")
{
    fs::create_directories(disc("SHELL"));
    const struct {
        const char *name;
        std::string file;
        int code;
    } rows[] = {
        {"missing file", "E:\\SHELL\\NONE.EXE", 2},
        {"missing folder", "E:\\NOFOLDER\\GAME.EXE", 3},
        {"unknown drive", "Q:\\GAME.EXE", 3},
        {"bare name not on PATH", "quorvia-no-such-program", 2},
        // A name cut at its zero byte would be the folder, or a program on PATH.
        {"zero byte after dot-dot", "E:\\SHELL\\..\0\\NONE.EXE"s, 2},
        {"bare name with a zero byte", "true\0.EXE"s, 2},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        CHECK(platform::shellOpen(0, row.file, "") == row.code);
    }
}

// A native program is started with its parameters split as a command line
// and the current folder inherited, with or without the execute bit.
TEST_CASE_FIXTURE(Platform, "shellOpenScript")
{
    const struct {
        const char *name;
        int mode;
    } rows[] = {
        {"executable", 0755},
        {"no execute bit", 0644},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string record = disc("script/record");
        removeAll(record);
        writeFile(disc("script/GAME/START"), recorderScript(record), mode_t(row.mode));
        fs::create_directories(disc("script/WORK"));
        CHECK(platform::changeDirectory("E:\\SCRIPT\\WORK"));

        CHECK(platform::shellOpen(0, "e:\\script\\game\\start", "-level 3 \"two words\"") == 42);
        REQUIRE(waitFor([&] { return existsOnDisk(record); }));
        CHECK(contentOf(record) == disc("script/WORK") + "\n[-level]\n[3]\n[two words]\n");
    }
}

TEST_CASE_FIXTURE(Platform, "shellOpenElf")
{
    const struct {
        const char *name;
        int mode;
        int code;
    } rows[] = {
        {"executable", 0755, 42},
        {"no execute bit", 0644, 5},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string elf = findExecutable("true");
        REQUIRE(!elf.empty());
        // One file per row: a program still running cannot be rewritten.
        char name[16];
        std::snprintf(name, sizeof name, "TRUE%o", row.mode);
        writeFile(disc("elf/"s + name), contentOf(elf), mode_t(row.mode));
        CHECK(platform::shellOpen(0, "E:\\ELF\\"s + name, "") == row.code);
    }
}

// Windows programs go to wine when it is on PATH; a fake wine records what it
// is given.
TEST_CASE_FIXTURE(Platform, "shellOpenWindows")
{
    const std::string setup = disc("WIN/SETUP.EXE");
    const struct {
        const char *name;
        std::string file;
        bool wine;
        int code;
        std::string record;  // the arguments wine got
    } rows[] = {
        {"exe, no wine", "E:\\WIN\\SETUP.EXE", false, 31, ""},
        {"exe with wine", "E:\\WIN\\setup.exe", true, 42, "[" + setup + "][-x][a b]"},
        {"MZ header, no extension, no wine", "E:\\WIN\\DATA", false, 31, ""},
        {"bat with wine", "E:\\WIN\\GO.BAT", true, 42, "[" + disc("WIN/GO.BAT") + "][-x][a b]"},
        {"bare CONTROL.EXE, no wine", "CONTROL.EXE", false, 2, ""},
        {"bare CONTROL.EXE with wine", "CONTROL.EXE", true, 42, "[CONTROL.EXE][-x][a b]"},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        // Executable bits as a disc without Rock Ridge shows them.
        writeFile(disc("WIN/SETUP.EXE"), "MZ\x90\0"s, 0755);
        writeFile(disc("WIN/DATA"), "MZ\x90\0"s, 0755);
        writeFile(disc("WIN/GO.BAT"), "@echo off\r\n", 0755);
        const std::string bin = m_root + (row.wine ? "/winebin" : "/emptybin");
        const std::string recordFile = m_root + "/wine-record";
        removeAll(recordFile);
        fs::create_directories(bin);
        if (row.wine) {
            std::string script = recorderScript(recordFile);
            script.replace(script.find("/bin/pwd -P;"), std::strlen("/bin/pwd -P;"), "");  // only the arguments
            writeFile(bin + "/wine", script, 0755);
        }
        ::setenv("PATH", bin.c_str(), 1);

        CHECK(platform::shellOpen(0, row.file, "-x \"a b\"") == row.code);
        if (row.wine) {
            REQUIRE(waitFor([&] { return existsOnDisk(recordFile); }));
            std::string got = contentOf(recordFile);
            got.erase(std::remove(got.begin(), got.end(), '\n'), got.end());
            CHECK(got == row.record);
        }
    }
}

// Documents go to the desktop's default application for their type.
TEST_CASE_FIXTURE(Platform, "shellOpenDocument")
{
    // A script that writes the same record as the viewer, but with its own
    // arguments: it shows which of the two got the file.
    const std::string script = recorderScript(m_root + "/viewer-record");
    const struct {
        const char *name;
        std::string file;
        std::string content;
        int code;
        bool script;  // run as its own "#!" line says, not opened
    } rows[] = {
        {"text file", "README.TXT", "Read me.\n", 42, false},
        {"text file beginning with #!", "README.TXT", script, 42, false},
        {"shell script", "GO.SH", script, 42, true},
        {"#! file with an extension of no known type", "GO.QZX", script, 42, true},
        {"no application for the type", "PICTURE.PNG", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 31, false},
        {"association to a missing application", "PAGE.HTML", "<html></html>", 31, false},
    };
    for (const auto &row : rows) {
        CAPTURE(row.name);
        const std::string xdg = m_root + "/xdg";
        const std::string record = m_root + "/viewer-record";
        removeAll(record);
        writeFile(xdg + "/bin/viewer", recorderScript(record), 0755);
        writeFile(xdg + "/config/mimeapps.list",
                  "[Default Applications]\ntext/plain=quorvia-viewer.desktop\ntext/html=quorvia-missing.desktop\n");
        writeFile(xdg + "/data/applications/quorvia-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + xdg + "/bin/viewer --view %f\n");
        fs::create_directories(xdg + "/dirs/applications");
        // The system's MIME database, but none of its applications.
        std::error_code linked;
        fs::create_symlink("/usr/share/mime", xdg + "/dirs/mime", linked);
        fs::create_directories(xdg + "/configdirs");
        ::setenv("XDG_CONFIG_HOME", (xdg + "/config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (xdg + "/configdirs").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (xdg + "/data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (xdg + "/dirs").c_str(), 1);
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            ::unsetenv(name);

        writeFile(disc("DOCS/" + row.file), row.content);
        fs::create_directories(disc("DOCS/WORK"));
        CHECK(platform::changeDirectory("E:\\DOCS\\WORK"));
        CHECK(platform::shellOpen(0, "E:\\DOCS\\" + lower(row.file), "ignored") == row.code);
        if (row.code > 32) {
            REQUIRE(waitFor([&] { return existsOnDisk(record); }));
            const std::string expected = row.script ? "\n[ignored]\n" : "\n[--view]\n[" + disc("DOCS/" + row.file) + "]\n";
            CHECK(contentOf(record) == disc("DOCS/WORK") + expected);
        }
    }
}
