// File services on Windows, through the ANSI ("A") Win32 functions.
#include "files.h"
#include "drives.h"
#include "win_text.h"

#include <algorithm>
#include <functional>

namespace platform {
namespace {

using win::QuietDriveErrors;

// The path as an A function takes it, or empty optional when it names no drive
// of the system or cannot be written in the ANSI code page.
std::optional<std::string> systemPath(const std::string &path)
{
    const auto host = toHostPath(path);
    if (!host)
        return std::nullopt;
    return win::ansiPath(*host);
}

// The attributes of a file or folder; empty optional when there is none, the
// drive is empty or not ready. Never shows the system's "no disk" box.
std::optional<DWORD> attributesOf(const std::string &ansiPath)
{
    QuietDriveErrors quiet;
    const DWORD attributes = GetFileAttributesA(ansiPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return attributes;
}

std::optional<DWORD> attributes(const std::string &path)
{
    const auto ansi = systemPath(path);
    return ansi ? attributesOf(*ansi) : std::nullopt;
}

bool isOrdinary(DWORD attributes)
{
    const DWORD notOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return (attributes & notOrdinary) == 0;
}

// Orders names without regard to case (ASCII letters), then byte by byte, so
// that the order never depends on the system's language settings.
bool caseBlindLess(const std::string &a, const std::string &b)
{
    const auto fold = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : static_cast<unsigned char>(c);
    };
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = fold(a[i]);
        const unsigned char y = fold(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

// The entries of a folder whose attributes pass `keep`, as UTF-8 names sorted
// without regard to case.
std::optional<std::vector<std::string>> listFolder(const std::string &folder, const std::function<bool(DWORD)> &keep)
{
    const auto ansi = systemPath(folder);
    if (!ansi)
        return std::nullopt;
    const auto folderAttributes = attributesOf(*ansi);
    if (!folderAttributes || !(*folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;

    std::string pattern = *ansi;
    if (pattern.back() != '\\')
        pattern += '\\';
    pattern += '*';

    std::vector<std::string> names;
    QuietDriveErrors quiet;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry, so an empty root finds nothing.
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return names;
        return std::nullopt;
    }
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if (keep(entry.dwFileAttributes))
            names.push_back(win::fromAnsi(name));
    } while (FindNextFileA(search, &entry));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        return std::nullopt;
    std::sort(names.begin(), names.end(), caseBlindLess);
    return names;
}

struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FileIdentity &) const = default;
};

// Which file a path names, whatever its spelling (case, short names, other
// drive letters for the same folder).
std::optional<FileIdentity> identityOf(const std::string &ansiPath)
{
    QuietDriveErrors quiet;
    HANDLE file = CreateFileA(ansiPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Size and time of last change: enough to tell whether a failed copy wrote to
// an existing destination.
struct FileState {
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;
    FILETIME written{};
    bool operator==(const FileState &other) const
    {
        return sizeHigh == other.sizeHigh && sizeLow == other.sizeLow &&
               written.dwLowDateTime == other.written.dwLowDateTime &&
               written.dwHighDateTime == other.written.dwHighDateTime;
    }
};

std::optional<FileState> stateOf(const std::string &ansiPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(ansiPath.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileState{data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime};
}

void removeFile(const std::string &ansiPath)
{
    SetFileAttributesA(ansiPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(ansiPath.c_str());
}

} // namespace

bool isOrdinaryFile(const std::string &path)
{
    const auto found = attributes(path);
    return found && isOrdinary(*found);
}

bool exists(const std::string &path)
{
    return attributes(path).has_value();
}

bool isFolder(const std::string &path)
{
    const auto found = attributes(path);
    return found && (*found & FILE_ATTRIBUTE_DIRECTORY);
}

bool createFolder(const std::string &path)
{
    const auto ansi = systemPath(path);
    return ansi && CreateDirectoryA(ansi->c_str(), nullptr);
}

bool changeDirectory(const std::string &path)
{
    // Changing the current directory to a folder of another drive makes that
    // drive the current one too, so a program started next inherits both.
    const auto ansi = systemPath(path);
    if (!ansi)
        return false;
    QuietDriveErrors quiet;
    return SetCurrentDirectoryA(ansi->c_str());
}

std::string currentDirectory()
{
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0)
        return {};
    std::string folder(size, '\0');
    const DWORD length = GetCurrentDirectoryA(size, folder.data());
    if (length == 0 || length >= size)
        return {};
    folder.resize(length);
    return win::fromAnsi(folder);
}

std::string programFolder()
{
    std::string file(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length == 0)
            return {};
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        file.resize(file.size() * 2);  // the name was cut short: try a larger buffer
    }
    const size_t slash = file.find_last_of('\\');
    if (slash == std::string::npos)
        return {};
    // A drive's root keeps its separator ("E:\"); any other folder has none.
    std::string folder = file.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return win::fromAnsi(folder);
}

std::string programFolderProblem()
{
    return programFolder().empty() ? "the program's folder has no drive letter" : std::string();
}

bool isReadOnly(const std::string &path)
{
    const auto found = attributes(path);
    return found && (*found & FILE_ATTRIBUTE_READONLY);
}

bool setReadOnly(const std::string &path, bool readOnly)
{
    const auto ansi = systemPath(path);
    if (!ansi)
        return false;
    const auto found = attributesOf(*ansi);
    if (!found)
        return false;
    // Only these bits can be given to SetFileAttributes; the others (folder,
    // compressed, ...) are reported but not set this way.
    const DWORD settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                           FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_TEMPORARY;
    DWORD wanted = *found & settable;
    if (readOnly)
        wanted |= FILE_ATTRIBUTE_READONLY;
    else
        wanted &= ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (wanted == 0)
        wanted = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(ansi->c_str(), wanted);
}

std::optional<std::vector<std::string>> ordinaryFiles(const std::string &folder)
{
    return listFolder(folder, isOrdinary);
}

std::optional<std::vector<std::string>> subfolders(const std::string &folder)
{
    return listFolder(folder, [](DWORD attributes) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_HIDDEN);
    });
}

std::optional<std::string> readFile(const std::string &path)
{
    const auto ansi = systemPath(path);
    if (!ansi)
        return std::nullopt;
    QuietDriveErrors quiet;
    HANDLE file = CreateFileA(ansi->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    for (;;) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        content.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return content;
}

CopyResult copyFile(const std::string &source, const std::string &destination)
{
    const auto from = toHostPath(source);
    const auto to = toHostPath(destination);
    if (!from || !to)
        return CopyResult::Failed;
    return copyHostFile(*from, *to);
}

CopyResult copyHostFile(const std::string &hostSource, const std::string &hostDestination)
{
    const auto from = win::ansiPath(hostSource);
    const auto to = win::ansiPath(hostDestination);
    if (!from || !to)
        return CopyResult::Failed;
    const auto sourceAttributes = attributesOf(*from);
    if (!sourceAttributes || (*sourceAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return CopyResult::Failed;

    std::optional<FileState> before;
    if (const auto destinationAttributes = attributesOf(*to)) {
        const auto sourceId = identityOf(*from);
        if (sourceId && sourceId == identityOf(*to))
            return CopyResult::SameFile;
        if (*destinationAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return CopyResult::Failed;
        // Checked here rather than left to the copy, which an administrator's
        // rights or a mapped POSIX folder might let through.
        if (*destinationAttributes & FILE_ATTRIBUTE_READONLY)
            return CopyResult::DestinationReadOnly;
        before = stateOf(*to);
        if (!before)
            return CopyResult::Failed;
    }

    QuietDriveErrors quiet;
    if (CopyFileA(from->c_str(), to->c_str(), FALSE))
        return CopyResult::Copied;

    // Remove what a copy that broke off (a full disk, a read error) left: a new
    // file, or an existing one it had begun to overwrite. A destination that
    // was never touched (the source could not be opened) stays as it was.
    if (attributesOf(*to)) {
        if (!before || !(stateOf(*to) == before))
            removeFile(*to);
    }
    return CopyResult::Failed;
}

} // namespace platform
