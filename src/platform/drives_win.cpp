// Drive letters and paths on Windows: the system's own drives, and DOS paths
// that are already host paths.
#include "drives.h"
#include "win_text.h"

namespace platform {
namespace {

// A drive's volume label as UTF-8, empty when it has none or is not ready.
// The system's "There is no disk in the drive" box is off meanwhile.
std::string volumeLabel(char letter)
{
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
    wchar_t label[MAX_PATH + 1] = {};
    const win::QuietDriveErrors quiet;
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        return {};
    return win::fromWide(label, CP_UTF8, false).value_or(std::string());
}

struct Table {
    std::vector<Drive> drives;
    DWORD letters = 0;  // GetLogicalDrives() when it was read
    bool read = false;
};

Table &table()
{
    static Table t;
    return t;
}

void readDrives(Table &t)
{
    t.letters = GetLogicalDrives();
    t.drives.clear();
    for (int i = 0; i < 26; ++i) {
        if (t.letters & (DWORD(1) << i)) {
            const char letter = static_cast<char>('A' + i);
            t.drives.push_back({letter, std::string(1, letter) + ":\\", volumeLabel(letter)});
        }
    }
    t.read = true;
}

// The upper-case drive letter a path begins with ("c:..." gives 'C'), or 0.
char driveLetter(const std::string &path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char c = path[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return c;
    return 0;
}

// Whether the system has the drive now (a drive mapped since the table was
// read counts too).
bool driveExists(char letter)
{
    return letter != 0 && (GetLogicalDrives() & (DWORD(1) << (letter - 'A'))) != 0;
}

std::string withBackslashes(std::string path)
{
    for (char &c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

} // namespace

const std::vector<Drive> &drives()
{
    Table &t = table();
    if (!t.read || GetLogicalDrives() != t.letters)
        readDrives(t);
    return t.drives;
}

void reloadDrives()
{
    readDrives(table());
}

// drives() reads the table again when the system's letters changed, which is
// what a letter missing from the table while the system has it means.
std::optional<Drive> findDrive(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    for (const Drive &d : drives())
        if (d.letter == letter)
            return d;
    return std::nullopt;
}

std::optional<std::string> toHostPath(const std::string &dosPath)
{
    // The system ends a name at a zero byte, so "..\0" would climb a level.
    // No file has such a name.
    if (dosPath.find('\0') != std::string::npos)
        return std::nullopt;
    if (!driveExists(driveLetter(dosPath)))
        return std::nullopt;
    return withBackslashes(dosPath);
}

std::string toDosPath(const std::string &hostPath)
{
    if (!driveExists(driveLetter(hostPath)))
        return {};
    std::string path = withBackslashes(hostPath);
    if (path.size() == 2)
        return path + "\\";
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace platform
