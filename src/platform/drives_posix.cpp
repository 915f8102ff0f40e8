// Drive letters on POSIX: a table of letters and host folders, and the
// conversions between DOS paths and host paths.
#include "drives.h"
#include "hostfiles.h"

#include <QDir>
#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unordered_map>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::vector<Drive> gDrives;
bool gLoaded = false;

// Case-blind matches found so far, by folder and wanted name: a path of a
// disc with lower-case names is turned into a host path again and again, and
// each of its components would otherwise list its folder every time.
std::unordered_map<std::string, std::string> gMatches;
constexpr std::size_t kMaxMatches = 4096;

// A folder in its lexical normal form, without a trailing separator (but "/").
std::string normalFolder(const std::string &folder)
{
    std::string text = fs::path(folder).lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

void reportMalformed(const std::string &entry, const char *why)
{
    std::fprintf(stderr, "QUORVIA_DRIVES: skipping malformed entry \"%s\" (%s)\n", entry.c_str(), why);
}

// "C=/home/ann;D=/media/cdrom": exactly the listed drives, and Z: = / when Z
// is not among them. An entry that cannot be read is skipped with one line on
// stderr; the first entry for a letter wins.
std::vector<Drive> drivesFromVariable(const std::string &value)
{
    std::vector<Drive> table;
    std::stringstream stream(value);
    std::string entry;
    while (std::getline(stream, entry, ';')) {
        const std::string text = trimmed(entry);
        if (text.empty())
            continue;
        const auto equals = text.find('=');
        if (equals == std::string::npos) {
            reportMalformed(text, "no '='");
            continue;
        }
        const std::string letterText = trimmed(text.substr(0, equals));
        const std::string folder = trimmed(text.substr(equals + 1));
        if (letterText.size() != 1 || !std::isalpha(static_cast<unsigned char>(letterText[0]))) {
            reportMalformed(text, "not a drive letter");
            continue;
        }
        if (folder.empty() || folder.front() != '/') {
            reportMalformed(text, "not an absolute folder");
            continue;
        }
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letterText[0])));
        if (std::any_of(table.begin(), table.end(), [&](const Drive &d) { return d.letter == letter; })) {
            reportMalformed(text, "drive listed twice");
            continue;
        }
        table.push_back({letter, normalFolder(folder)});
    }
    if (std::none_of(table.begin(), table.end(), [](const Drive &d) { return d.letter == 'Z'; }))
        table.push_back({'Z', "/"});
    std::sort(table.begin(), table.end(), [](const Drive &a, const Drive &b) { return a.letter < b.letter; });
    return table;
}

// Mount points in /proc/self/mounts write space, tab, newline and backslash
// as three-digit octal escapes.
std::string unescapeMountField(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && std::isdigit(static_cast<unsigned char>(field[i + 1]))
            && std::isdigit(static_cast<unsigned char>(field[i + 2]))
            && std::isdigit(static_cast<unsigned char>(field[i + 3]))) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool isBelow(const std::string &path, const std::string &folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0
                              && path[folder.size()] == '/');
}

// Mounted removable and optical media: ISO 9660 and UDF file systems, and
// whatever is mounted under /media, /run/media or /mnt.
std::vector<std::string> mediaMountPoints()
{
    std::vector<std::string> points;
    std::ifstream mounts("/proc/self/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, point, type;
        if (!(fields >> device >> point >> type))
            continue;
        point = unescapeMountField(point);
        const bool optical = type == "iso9660" || type == "udf";
        const bool removable = isBelow(point, "/media") || isBelow(point, "/run/media") || isBelow(point, "/mnt");
        if ((optical || removable) && point != "/")
            points.push_back(normalFolder(point));
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

std::vector<Drive> discoveredDrives()
{
    std::vector<Drive> table;
    table.push_back({'C', normalFolder(QDir::homePath().toStdString())});
    char letter = 'D';
    for (const std::string &point : mediaMountPoints()) {
        if (letter == 'Z')
            break;
        table.push_back({letter++, point});
    }
    table.push_back({'Z', "/"});
    return table;
}

void load()
{
    gMatches.clear();
    const char *value = std::getenv("QUORVIA_DRIVES");
    gDrives = value ? drivesFromVariable(value) : discoveredDrives();
    gLoaded = true;
}

const Drive *tableDrive(char letter)
{
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Drive &drive : drives())
        if (drive.letter == letter)
            return &drive;
    return nullptr;
}

std::string joined(const std::string &folder, const std::string &name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The entry of `folder` called `name`, or else the one whose name matches it
// without regard to case (the first in byte order when several do), or else
// `name` itself.
std::string matchingEntry(const std::string &folder, const std::string &name)
{
    std::error_code error;
    if (fs::symlink_status(joined(folder, name), error).type() != fs::file_type::not_found && !error)
        return name;
    const std::string key = folder + '\0' + name;
    if (const auto known = gMatches.find(key); known != gMatches.end()) {
        if (fs::symlink_status(joined(folder, known->second), error).type() != fs::file_type::not_found && !error)
            return known->second;
        gMatches.erase(known);
    }
    host::noteListing(folder);
    const QString wanted = QString::fromStdString(name);
    std::string best;
    bool found = false;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (QString::compare(QString::fromStdString(entry), wanted, Qt::CaseInsensitive) == 0
            && (!found || entry < best)) {
            best = entry;
            found = true;
        }
    }
    if (!found)
        return name;
    if (gMatches.size() >= kMaxMatches)
        gMatches.clear();
    gMatches.emplace(key, best);
    return best;
}

} // namespace

const std::vector<Drive> &drives()
{
    if (!gLoaded)
        load();
    return gDrives;
}

void reloadDrives()
{
    load();
}

// The table comes from QUORVIA_DRIVES or the mounts and changes only through
// reloadDrives(): a miss does not read it again.
std::optional<Drive> findDrive(char letter)
{
    const Drive *drive = tableDrive(letter);
    return drive ? std::optional<Drive>(*drive) : std::nullopt;
}

std::optional<std::string> toHostPath(const std::string &dosPath)
{
    // The file system ends a name at a zero byte, after "." and ".." were
    // resolved here: "..\0" would climb a level. No file has such a name.
    if (dosPath.find('\0') != std::string::npos)
        return std::nullopt;
    if (dosPath.size() < 2 || dosPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(dosPath[0])))
        return std::nullopt;
    const Drive *drive = tableDrive(dosPath[0]);
    if (!drive)
        return std::nullopt;

    // Resolve "." and ".." in the text first; ".." at the root stays there.
    std::vector<std::string> components;
    std::string component;
    const auto take = [&] {
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        component.clear();
    };
    for (std::size_t i = 2; i < dosPath.size(); ++i) {
        if (dosPath[i] == '\\' || dosPath[i] == '/')
            take();
        else
            component += dosPath[i];
    }
    take();

    std::string host = drive->folder;
    for (const std::string &name : components)
        host = joined(host, matchingEntry(host, name));
    return host;
}

std::string toDosPath(const std::string &hostPath)
{
    if (hostPath.empty())
        return {};
    std::error_code error;
    std::string lexical = hostPath;
    if (lexical.front() != '/') {
        const fs::path current = fs::current_path(error);
        if (error)
            return {};
        lexical = (current / lexical).string();
    }
    lexical = normalFolder(lexical);
    const std::string canonical = normalFolder(fs::weakly_canonical(lexical, error).string());

    // The drive whose folder is the longest prefix, component by component,
    // of the path as given or of its canonical form.
    const Drive *best = nullptr;
    std::string bestFolder;
    std::string bestPath;
    for (const Drive &drive : drives()) {
        std::vector<std::string> forms{drive.folder};
        const std::string driveCanonical = normalFolder(fs::weakly_canonical(drive.folder, error).string());
        if (!error && driveCanonical != drive.folder)
            forms.push_back(driveCanonical);
        for (const std::string &folder : forms) {
            for (const std::string &path : {lexical, canonical}) {
                if (path.empty())
                    continue;
                const bool inside = folder == "/" || isBelow(path, folder);
                if (inside && (!best || folder.size() > bestFolder.size())) {
                    best = &drive;
                    bestFolder = folder;
                    bestPath = path;
                }
            }
        }
    }
    if (!best)
        return {};

    std::string rest = bestFolder == "/" ? bestPath.substr(1) : bestPath.substr(bestFolder.size());
    if (!rest.empty() && rest.front() == '/')
        rest.erase(0, 1);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return std::string(1, best->letter) + ":\\" + rest;
}

} // namespace platform
