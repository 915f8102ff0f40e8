// File services on Windows, through the ANSI ("A") Win32 functions.
#include "files.h"
#include "drives.h"
#include "testing.h"
#include "win_text.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

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

void removeFile(const std::string &ansiPath)
{
    SetFileAttributesA(ansiPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(ansiPath.c_str());
}

// The attributes that SetFileAttributes takes; the others (folder,
// compressed, ...) are reported but not set this way.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;

testing::CopyReadHook gCopyRead;

// One read of the copy's source; -1 on a read error.
long long readSome(HANDLE in, char *buffer, DWORD size)
{
    if (gCopyRead)
        return gCopyRead(reinterpret_cast<std::intptr_t>(in), buffer, size);
    DWORD got = 0;
    return ReadFile(in, buffer, size, &got, nullptr) ? static_cast<long long>(got) : -1;
}

bool writeAll(HANDLE out, const char *buffer, DWORD size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(out, buffer, size, &written, nullptr) || written == 0)
            return false;
        buffer += written;
        size -= written;
    }
    return true;
}

// Copies the whole of `in` to `out` by reads and writes: a read error or a
// full disk part-way through is seen here, before the copy is put in place.
bool copyContent(HANDLE in, HANDLE out)
{
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        const long long got = readSome(in, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0)
            return true;
        if (got < 0 || !writeAll(out, buffer.data(), static_cast<DWORD>(got)))
            return false;
    }
}

// Creates the temporary copy, hidden, under a new name in `folder` (empty, or
// ending with a separator). The name is short and unrelated to the file's
// own: in 8.3 form ("~QC1A2B3.TMP"), which fits in any folder the system lets
// one create; in a folder so deep that less room is left before MAX_PATH, as
// many hex digits as fit (a destination name fits there, so at least one).
HANDLE createTemporary(const std::string &folder, std::string &name)
{
    static std::atomic<unsigned> next{GetTickCount() ^ (GetCurrentProcessId() << 12)};
    const std::size_t room = folder.size() + 1 < MAX_PATH ? MAX_PATH - 1 - folder.size() : 0;
    for (int attempt = 0; attempt < 100 && room > 0; ++attempt) {
        const unsigned long long number = next.fetch_add(0x9e3779b9u);
        char text[16];
        if (room >= 12)
            std::snprintf(text, sizeof text, "~QC%05llX.TMP", number & 0xfffff);
        else
            std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(room), number & ((1ull << (4 * room)) - 1));
        name = folder + text;
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
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
    if (!ansi)
        return false;
    // A drive's root is the drive itself, never a folder to make, however it
    // is written ("C:\", "C:\.", "C:\GAMES\..").
    std::string full(MAX_PATH, '\0');
    const DWORD length = GetFullPathNameA(ansi->c_str(), MAX_PATH, full.data(), nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    full.resize(length);
    if (full.size() == 3 && full[1] == ':' && full[2] == '\\')
        return false;
    return CreateDirectoryA(ansi->c_str(), nullptr);
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
    DWORD wanted = *found & kSettableAttributes;
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
    }

    QuietDriveErrors quiet;
    HANDLE in = CreateFileA(from->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return CopyResult::Failed;
    LARGE_INTEGER size{};
    FILETIME written{};
    if (!GetFileSizeEx(in, &size) || !GetFileTime(in, nullptr, nullptr, &written)) {
        CloseHandle(in);
        return CopyResult::Failed;
    }

    // The copy is written under a temporary name in the destination's folder
    // and moved over the destination only once it is complete, so that a copy
    // that breaks off leaves the old file as it was.
    const std::size_t separator = to->find_last_of("\\/:");
    const std::string folder = separator == std::string::npos ? std::string() : to->substr(0, separator + 1);
    std::string temporary;
    HANDLE out = createTemporary(folder, temporary);
    if (out == INVALID_HANDLE_VALUE) {
        CloseHandle(in);
        return CopyResult::Failed;
    }

    bool ok = copyContent(in, out);
    LARGE_INTEGER copied{};
    ok = ok && GetFileSizeEx(out, &copied) && copied.QuadPart == size.QuadPart;
    if (ok)
        SetFileTime(out, nullptr, nullptr, &written);
    ok = CloseHandle(out) && ok;
    CloseHandle(in);
    // The copy takes the source's attributes, read-only among them.
    const DWORD attributes = *sourceAttributes & kSettableAttributes;
    ok = ok && SetFileAttributesA(temporary.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
    ok = ok && MoveFileExA(temporary.c_str(), to->c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) {
        removeFile(temporary);
        return CopyResult::Failed;
    }
    return CopyResult::Copied;
}

namespace testing {
void setCopyRead(CopyReadHook fn) { gCopyRead = std::move(fn); }
// Windows copies by reads and writes alone: there is no kernel copy to replace.
void setKernelCopy(KernelCopyHook) {}
} // namespace testing

} // namespace platform
