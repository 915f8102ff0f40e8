// Drive letters and paths on Windows: the system's own drives, and DOS paths
// that are already host paths.
#include "drives.h"
#include "win_text.h"

namespace platform {
namespace {

std::vector<Drive> readDrives()
{
    std::vector<Drive> table;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (mask & (DWORD(1) << i)) {
            const char letter = static_cast<char>('A' + i);
            table.push_back({letter, std::string(1, letter) + ":\\"});
        }
    }
    return table;
}

std::vector<Drive> &driveTable()
{
    static std::vector<Drive> table = readDrives();
    return table;
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
    return driveTable();
}

void reloadDrives()
{
    driveTable() = readDrives();
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
