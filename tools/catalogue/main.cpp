// quorvia-catalogue: writes, prints and checks the catalogue files of a disc.
#include "catalogue/catalogue.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "startup/modMain.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const helpText = R"(Usage: quorvia-catalogue COMMAND ...

Writes, prints and checks the catalogue files QAR1.PAL .. QAR8.PAL of the
Quorvia menu. A catalogue file is a sequence of 69-byte records, one per game,
in the order of the game list: name (36 bytes), folder (8), program (12),
parameters (12) and flag (1, "1" for a game that must run from the hard disk).
Fields are in Windows-1252 and padded with spaces.

Commands:
  build OUT.PAL < games.tsv
      Writes a catalogue file from tab-separated rows read from standard input
      (UTF-8), one per game: name, folder, program, parameters, flag. Empty
      lines are skipped; leading and trailing spaces of a field are dropped,
      as the menu drops them when it reads the file. A row is refused, with
      its line number and field, when a field is too wide, holds a character
      that Windows-1252 lacks, or names an unsafe folder or program (below),
      and also when it has not exactly five fields or is row 32,768 or later.
      After a refusal no file is written. Exit status 1 on a refusal.
  dump FILE.PAL
      Prints the records as the same tab-separated rows, which build takes
      back. Warnings go to standard error: bytes at the end that do not make a
      whole record, records after the 32,767th (the menu ignores them), and
      fields that hold a tab or line break.
  check PROGRAM_FOLDER DISC_FOLDER
      Checks all eight catalogues of the program folder against the disc
      (names on the disc are matched without regard to case, as the menu
      does). Reports each catalogue missing from the program folder, each
      record whose game folder (DISC\CATEGORY\FOLDER), description file
      (QAR.TXT in the game folder) or program is missing, each unsafe folder
      or program name, and bytes at the end of a catalogue that are not a
      whole record. Exit status 1 when anything is reported.

Unsafe names would make the menu's copy and run commands reach outside the
game's folder: a folder that holds \ / or :, or that is blank or only dots
and spaces (such as . .. or ...; Windows drops a name's trailing dots and
spaces, and a name ends at a zero byte), and a program that begins with \ or
/, holds : or has a .. part. A program in a sub-folder of the game folder,
such as BIN\GO.EXE, is fine. The menu does not load a record with an unsafe
name.

Example:
  printf 'Chess Master\tCHESS\tCHESS.EXE\t-w\t0\n' | quorvia-catalogue build QAR5.PAL
  quorvia-catalogue dump QAR5.PAL
  quorvia-catalogue check /path/to/program /media/cdrom

Exit status: 0 success, 1 refused or problems found, 2 wrong usage or a file
that cannot be read or written.
)";

std::ostream &out()
{
    return std::cout;
}

std::ostream &err()
{
    return std::cerr;
}

int usage()
{
    err() << "Usage: quorvia-catalogue build OUT.PAL < games.tsv | dump FILE.PAL | check PROGRAM_FOLDER DISC_FOLDER\n"
             "Try quorvia-catalogue --help.\n";
    return 2;
}

// The text split at every occurrence of the separator.
std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos)
            return parts;
        begin = end + 1;
    }
}

// Without leading and trailing spaces (0x20 only), as the menu reads a field.
std::string trimmed(const std::string &text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The whole content of a file, or empty optional with *why set.
std::optional<std::string> readWhole(const fs::path &path, std::string *why)
{
    std::error_code error;
    if (fs::is_directory(path, error)) {
        *why = std::strerror(EISDIR);
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *why = std::strerror(errno);
        return std::nullopt;
    }
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        *why = std::strerror(errno);
        return std::nullopt;
    }
    return data;
}

// Writes a file whole or not at all: to a temporary name beside it, then
// moved over the old file, so a failed write leaves the old file as it was.
bool writeWhole(const fs::path &path, const std::string &data, std::string *why)
{
    const fs::path temporary = path.parent_path() / (".~" + path.filename().string() + ".tmp");
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file || !file.write(data.data(), std::streamsize(data.size())) || !file.flush()) {
            *why = std::strerror(errno);
            file.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        *why = error.message();
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

int build(const std::string &outPath)
{
    // Read whole and split here: a line read from a stream ends at its first
    // zero byte, and the field checks must see a name that one cuts short.
    const std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
        err() << "cannot read standard input\n";
        return 2;
    }
    std::vector<std::string> lines = split(text, '\n');
    if (!text.empty() && text.back() == '\n')
        lines.pop_back();
    if (text.empty())
        lines.clear();
    std::string catalogue;
    int records = 0;
    int refused = 0;
    int lineNumber = 0;
    for (std::string &raw : lines) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (raw.empty())
            continue;

        const std::vector<std::string> parts = split(raw, '\t');
        if (parts.size() != 5) {
            err() << "line " << lineNumber << ": " << parts.size()
                  << " tab-separated fields, expected 5 (name, folder, program, parameters, flag)\n";
            ++refused;
            continue;
        }
        if (records == catalogue::maxRecords) {
            err() << "line " << lineNumber << ": more than " << catalogue::maxRecords
                  << " records; the menu reads no further\n";
            ++refused;
            continue;
        }
        catalogue::GameRecord record;
        for (int i = 0; i < 5; ++i)
            catalogue::field(record, i) = trimmed(parts[std::size_t(i)]);
        std::string why;
        const std::optional<std::string> bytes = catalogue::encodeRecord(record, &why);
        if (!bytes) {
            err() << "line " << lineNumber << ": " << why << '\n';
            ++refused;
            continue;
        }
        catalogue += *bytes;
        ++records;
    }
    if (refused) {
        err() << refused << " line(s) refused; " << outPath << " was not written\n";
        return 1;
    }

    std::string why;
    if (!writeWhole(outPath, catalogue, &why)) {
        err() << "cannot write " << outPath << ": " << why << '\n';
        return 2;
    }
    err() << "wrote " << records << " record(s) to " << outPath << '\n';
    return 0;
}

int dump(const std::string &path)
{
    std::string why;
    const std::optional<std::string> data = readWhole(path, &why);
    if (!data) {
        err() << "cannot read " << path << ": " << why << '\n';
        return 2;
    }

    const std::size_t count = data->size() / catalogue::recordSize;
    for (std::size_t n = 0; n < count; ++n) {
        const catalogue::GameRecord record = catalogue::decodeRecord(
            std::string_view(*data).substr(n * catalogue::recordSize, catalogue::recordSize));
        std::string row;
        for (int i = 0; i < 5; ++i) {
            const std::string &text = catalogue::field(record, i);
            if (text.find_first_of("\t\n\r") != std::string::npos)
                err() << "warning: record " << n + 1 << ": the " << catalogue::fields[i].name
                      << " holds a tab or line break; its row cannot be read back\n";
            row += (i ? "\t" : "") + text;
        }
        if (n == std::size_t(catalogue::maxRecords))
            err() << "warning: records " << n + 1 << " to " << count << " are past the "
                  << catalogue::maxRecords << "th; the menu ignores them\n";
        out() << row << '\n';
    }
    out().flush();
    if (const std::size_t rest = data->size() % catalogue::recordSize)
        err() << "warning: " << rest << " byte(s) at the end do not make a whole record; the menu ignores them\n";
    return 0;
}

// A name as a report shows it: a zero byte, where the system's file functions
// end the name, is written as \0 so that the line shows where it is cut.
std::string shown(const std::string &name)
{
    std::string text;
    for (const char c : name)
        text += c == '\0' ? std::string("\\0") : std::string(1, c);
    return text;
}

// The drive letters under which check sees the two folders.
constexpr char programDrive = 'P';
constexpr char discDrive = 'Q';

int check(const std::string &programFolder, const std::string &discFolder)
{
    std::string drives;
    for (const auto &[letter, folder] : {std::pair{programDrive, programFolder}, std::pair{discDrive, discFolder}}) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            err() << folder << " is not a folder\n";
            return 2;
        }
        std::string absolute = fs::absolute(folder, error).lexically_normal().string();
        while (absolute.size() > 1 && absolute.back() == '/')
            absolute.pop_back();
        if (error || absolute.find(';') != std::string::npos) {
            err() << folder << ": a folder whose path holds ; cannot be checked\n";
            return 2;
        }
        drives += (drives.empty() ? "" : ";") + std::string(1, letter) + '=' + absolute;
    }
    // The platform layer then resolves the menu's own paths on these folders,
    // matching names without regard to case just as the menu does.
    ::setenv("QUORVIA_DRIVES", drives.c_str(), 1);
    platform::reloadDrives();
    modMain::gAppPath = std::string(1, programDrive) + ":\\";
    modMain::gCdRoot = std::string(1, discDrive) + ":\\";

    int problems = 0;
    auto report = [&](const std::string &text) {
        out() << text << '\n';
        ++problems;
    };

    for (const catalogue::Category &category : catalogue::categories) {
        const std::string file = category.file;
        const std::string path = catalogue::cataloguePath(category.key);
        if (!platform::isOrdinaryFile(path)) {
            report(file + ": missing from the program folder");
            continue;
        }
        const std::optional<std::string> data = platform::readFile(path);
        if (!data) {
            report(file + ": cannot be read");
            continue;
        }
        if (const std::size_t rest = data->size() % catalogue::recordSize)
            report(file + ": " + std::to_string(rest) + " byte(s) at the end do not make a whole record");
        const std::size_t count = data->size() / catalogue::recordSize;
        if (count > std::size_t(catalogue::maxRecords))
            report(file + ": " + std::to_string(count) + " records; the menu ignores those after the "
                   + std::to_string(catalogue::maxRecords) + "th");

        modMain::gGameCategory = category.key;
        for (std::size_t n = 0; n < std::min<std::size_t>(count, catalogue::maxRecords); ++n) {
            const catalogue::GameRecord record = catalogue::decodeRecord(
                std::string_view(*data).substr(n * catalogue::recordSize, catalogue::recordSize));
            const std::string where = file + " record " + std::to_string(n + 1) + " (" + record.name + ")";
            bool safe = true;
            if (!catalogue::isSafeFolder(record.folder)) {
                report(where + ": unsafe folder \"" + shown(record.folder) + "\"");
                safe = false;
            }
            if (!catalogue::isSafeProgram(record.program)) {
                report(where + ": unsafe program \"" + shown(record.program) + "\"");
                safe = false;
            }
            if (!safe)
                continue;

            modMain::gGameFolder = record.folder;
            modMain::gGameProgram = record.program;
            const std::string folder = catalogue::gameFolder();
            if (!platform::isFolder(folder)) {
                report(where + ": game folder " + folder.substr(3) + " missing");
                continue;
            }
            const std::string description = catalogue::descriptionFile();
            if (!platform::isOrdinaryFile(description))
                report(where + ": description file " + description.substr(3) + " missing");
            const std::string program = catalogue::gameProgram();
            if (!platform::isOrdinaryFile(program))
                report(where + ": program " + program.substr(3) + " missing");
        }
    }
    out().flush();
    if (problems)
        err() << problems << " problem(s) found\n";
    return problems ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()
        || std::find(args.begin(), args.end(), "-h") != args.end()) {
        out() << helpText;
        return 0;
    }
    int status;
    if (args.size() == 2 && args[0] == "build")
        status = build(args[1]);
    else if (args.size() == 2 && args[0] == "dump")
        status = dump(args[1]);
    else if (args.size() == 3 && args[0] == "check")
        status = check(args[1], args[2]);
    else
        status = usage();
    out().flush();
    err().flush();
    return status;
}
