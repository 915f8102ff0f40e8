// The host primitives of the folder copies on Windows, through the ANSI ("A")
// Win32 functions. Host paths are the system's own paths in UTF-8.
#include "hostfiles.h"

#include "win_text.h"

namespace platform::host {

using win::QuietDriveErrors;

std::optional<std::vector<Entry>> list(const std::string &folder, bool)
{
    noteListing(folder);
    auto pattern = win::ansiPath(join(folder, "*"));
    if (!pattern)
        return std::nullopt;
    std::vector<Entry> entries;
    QuietDriveErrors quiet;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern->c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry, so an empty root finds nothing.
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(entries) : std::nullopt;
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const DWORD a = found.dwFileAttributes;
        const bool link = (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        Entry e{win::fromAnsi(name)};
        e.folder = (a & FILE_ATTRIBUTE_DIRECTORY) && !link;
        e.regular = !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) && !link;
        e.readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
        entries.push_back(std::move(e));
    } while (FindNextFileA(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        return std::nullopt;
    return entries;
}

std::string join(const std::string &folder, const std::string &name)
{
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder + name : folder + '\\' + name;
}

namespace {
DWORD attributesOf(const std::string &path)
{
    const auto ansi = win::ansiPath(path);
    if (!ansi)
        return INVALID_FILE_ATTRIBUTES;
    QuietDriveErrors quiet;
    return GetFileAttributesA(ansi->c_str());
}
} // namespace

bool exists(const std::string &path)
{
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string &path)
{
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool createFolder(const std::string &path)
{
    const auto ansi = win::ansiPath(path);
    QuietDriveErrors quiet;
    return ansi && CreateDirectoryA(ansi->c_str(), nullptr);
}

bool rename(const std::string &from, const std::string &to)
{
    const auto a = win::ansiPath(from), b = win::ansiPath(to);
    QuietDriveErrors quiet;
    return a && b && MoveFileExA(a->c_str(), b->c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool remove(const std::string &path)
{
    const auto ansi = win::ansiPath(path);
    QuietDriveErrors quiet;
    return ansi && DeleteFileA(ansi->c_str());
}

std::string foldCase(const std::string &name)
{
    // The file system itself ignores case here; the key only orders names.
    std::string folded = name;
    for (char &c : folded)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return folded;
}

void pauseFor(long milliseconds)
{
    Sleep(DWORD(milliseconds));
}

} // namespace platform::host
