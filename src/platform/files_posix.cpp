// File services on POSIX. Paths come in as DOS paths and are turned into host
// paths through the drive table.
#include "drives.h"
#include "files.h"
#include "hostfiles.h"
#include "testing.h"

#include <QCoreApplication>
#include <QString>

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace platform {
namespace {

bool isHidden(const std::string &name)
{
    return !name.empty() && name.front() == '.';
}

std::string baseName(const std::string &hostPath)
{
    const auto slash = hostPath.find_last_of('/');
    return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

bool statHost(const std::string &dosPath, struct stat &info, std::string *hostOut = nullptr)
{
    const auto host = toHostPath(dosPath);
    if (!host || ::stat(host->c_str(), &info) != 0)
        return false;
    if (hostOut)
        *hostOut = *host;
    return true;
}

// Names sorted without regard to case; names that differ only in case keep a
// fixed order.
void sortCaseBlind(std::vector<std::string> &names)
{
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        const int order = QString::compare(QString::fromStdString(a), QString::fromStdString(b), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

// The visible entries of a folder that pass `keep`, sorted.
template <typename Keep>
std::optional<std::vector<std::string>> entries(const std::string &folder, Keep keep)
{
    const auto host = toHostPath(folder);
    if (!host)
        return std::nullopt;
    host::noteListing(*host);
    std::error_code error;
    fs::directory_iterator it(*host, error);
    if (error)
        return std::nullopt;
    std::vector<std::string> names;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            return std::nullopt;
        const std::string name = it->path().filename().string();
        std::error_code statusError;
        if (!isHidden(name) && keep(it->status(statusError).type()))
            names.push_back(name);
    }
    if (error)
        return std::nullopt;
    sortCaseBlind(names);
    return names;
}

testing::CopyReadHook gCopyRead;
testing::KernelCopyHook gKernelCopy;

// One read of the copy's source; -1 on an error other than an interruption.
ssize_t readSome(int in, char *buffer, std::size_t size)
{
    if (gCopyRead)
        return static_cast<ssize_t>(gCopyRead(in, buffer, size));
    for (;;) {
        const ssize_t done = ::read(in, buffer, size);
        if (done >= 0 || errno != EINTR)
            return done;
    }
}

bool writeAll(int out, const char *buffer, std::size_t size)
{
    while (size > 0) {
        const ssize_t step = ::write(out, buffer, size);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return false;
        buffer += step;
        size -= std::size_t(step);
    }
    return true;
}

ssize_t kernelCopy(int in, int out, std::size_t size)
{
    if (gKernelCopy)
        return static_cast<ssize_t>(gKernelCopy(in, out, size));
    return ::copy_file_range(in, nullptr, out, nullptr, size, 0);
}

// Copies `size` bytes (the source's size) from `in` to `out` inside the
// kernel, with copy_file_range, else sendfile, where the file systems allow
// it. Returns how far it got, or -1 on a real error. Some file systems report
// 0 bytes copied for a file that is not empty: that, like a call the file
// systems do not support, leaves the rest to reads and writes.
off_t copyInKernel(int in, int out, off_t size)
{
    constexpr std::size_t chunk = std::size_t(1) << 30;
    bool rangeWorks = true;
    off_t copied = 0;
    while (copied < size) {
        const ssize_t done = rangeWorks ? kernelCopy(in, out, chunk) : ::sendfile(out, in, nullptr, chunk);
        if (done > 0) {
            copied += done;
            continue;
        }
        if (done < 0 && errno == EINTR)
            continue;
        if (done == 0)
            break;
        const bool unsupported = rangeWorks
                                     ? (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
                                     : (errno == EINVAL || errno == ENOSYS);
        if (!unsupported)
            return -1;
        if (!rangeWorks)
            break;
        rangeWorks = false;
    }
    return copied;
}

// Copies the whole of `in` to `out`, which both start at offset 0. A stand-in
// reader takes every byte through reads and writes.
bool copyContent(int in, int out, off_t size)
{
    if (!gCopyRead) {
        const off_t copied = copyInKernel(in, out, size);
        if (copied < 0)
            return false;
        if (copied == size)
            return true;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t done = readSome(in, buffer, sizeof buffer);
        if (done == 0)
            return true;
        if (done < 0 || !writeAll(out, buffer, std::size_t(done)))
            return false;
    }
}

// A destination the copy must not replace: read-only, or (for anyone but
// root, whom the system would let through) one the user may not write, such
// as another user's file. Renaming over it would succeed wherever the folder
// is writable, so the check is made here.
bool keptAsReadOnly(const std::string &hostPath, const struct stat &info)
{
    if ((info.st_mode & S_IWUSR) == 0)
        return true;
    return ::faccessat(AT_FDCWD, hostPath.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EPERM);
}

// Creates a new file under a hidden temporary name in `folder`, with the
// permission bits `mode`, from which the system takes away the umask as for
// any new file. The name is short and unrelated to the file's own, so that it
// fits wherever that name fits. Returns the open file, or -1.
int createTemporary(const std::string &folder, mode_t mode, std::string &name)
{
    // Unlikely to meet a name in use; O_EXCL settles it when one does.
    static std::atomic<unsigned> next{unsigned(std::random_device{}())};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", next.fetch_add(0x9e3779b9u));
        name = (folder.empty() ? std::string(".") : folder) + "/.qc" + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool isOrdinaryFile(const std::string &path)
{
    struct stat info {};
    std::string host;
    return statHost(path, info, &host) && S_ISREG(info.st_mode) && !isHidden(baseName(host));
}

bool exists(const std::string &path)
{
    struct stat info {};
    return statHost(path, info);
}

bool isFolder(const std::string &path)
{
    struct stat info {};
    return statHost(path, info) && S_ISDIR(info.st_mode);
}

bool createFolder(const std::string &path)
{
    const auto host = toHostPath(path);
    if (!host)
        return false;
    // A drive's folder is the drive itself: when it is gone the drive is not
    // there, and making it anew would put files where no drive is.
    for (const Drive &drive : drives())
        if (drive.folder == *host)
            return false;
    return ::mkdir(host->c_str(), 0777) == 0;
}

bool changeDirectory(const std::string &path)
{
    const auto host = toHostPath(path);
    return host && ::chdir(host->c_str()) == 0;
}

std::string currentDirectory()
{
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string() : toDosPath(current.string());
}

namespace {

// The folder of the running executable as a host path; empty when unknown.
std::string hostProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath().toStdString();
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : exe.parent_path().string();
}

} // namespace

std::string programFolder()
{
    const std::string folder = hostProgramFolder();
    return folder.empty() ? std::string() : toDosPath(folder);
}

std::string programFolderProblem()
{
    if (!programFolder().empty())
        return {};
    const std::string folder = hostProgramFolder();
    if (folder.empty())
        return "the program's own folder cannot be found";
    // Z: is "/" unless the variable lists Z, so only a table that lists Z
    // elsewhere can leave a folder without a drive.
    if (std::getenv("QUORVIA_DRIVES"))
        return "QUORVIA_DRIVES gives no drive letter to the program's folder " + folder
               + "; list a drive that holds it";
    return "no drive letter holds the program's folder " + folder;
}

bool isReadOnly(const std::string &path)
{
    struct stat info {};
    return statHost(path, info) && (info.st_mode & S_IWUSR) == 0;
}

bool setReadOnly(const std::string &path, bool readOnly)
{
    struct stat info {};
    std::string host;
    if (!statHost(path, info, &host))
        return false;
    mode_t mode = info.st_mode & 07777;
    if (readOnly)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return ::chmod(host.c_str(), mode) == 0;
}

std::optional<std::vector<std::string>> ordinaryFiles(const std::string &folder)
{
    return entries(folder, [](fs::file_type type) { return type == fs::file_type::regular; });
}

std::optional<std::vector<std::string>> subfolders(const std::string &folder)
{
    return entries(folder, [](fs::file_type type) { return type == fs::file_type::directory; });
}

std::optional<std::string> readFile(const std::string &path)
{
    struct stat info {};
    std::string host;
    // Only regular files: a folder cannot be read and a pipe would block.
    if (!statHost(path, info, &host) || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return content.str();
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
    // Opened without waiting, so that a pipe or a device never blocks; only
    // a regular file is copied.
    const int in = ::open(hostSource.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (in < 0)
        return CopyResult::Failed;
    struct stat sourceInfo {};
    if (::fstat(in, &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode)) {
        ::close(in);
        return CopyResult::Failed;
    }

    // A new file is written under its own name: there is nothing to keep,
    // and a copy that breaks off is removed. A file in the way is replaced
    // through a temporary name in its folder, renamed over it only once the
    // copy is complete, so that a copy that breaks off leaves the old file as
    // it was.
    std::string written = hostDestination;
    int out = ::open(hostDestination.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, sourceInfo.st_mode & 0777);
    const bool replacing = out < 0 && errno == EEXIST;
    if (replacing) {
        struct stat destinationInfo {};
        std::error_code error;
        CopyResult refused = CopyResult::Copied;
        if (::stat(hostDestination.c_str(), &destinationInfo) != 0 || !S_ISREG(destinationInfo.st_mode))
            refused = CopyResult::Failed;
        else if (fs::equivalent(hostSource, hostDestination, error))
            refused = CopyResult::SameFile;
        else if (keptAsReadOnly(hostDestination, destinationInfo))
            refused = CopyResult::DestinationReadOnly;
        if (refused != CopyResult::Copied) {
            ::close(in);
            return refused;
        }
        out = createTemporary(fs::path(hostDestination).parent_path().string(), sourceInfo.st_mode & 0777, written);
    }
    if (out < 0) {
        ::close(in);
        return CopyResult::Failed;
    }

    bool ok = copyContent(in, out, sourceInfo.st_size);
    struct stat copyInfo {};
    ok = ok && ::fstat(out, &copyInfo) == 0 && copyInfo.st_size == sourceInfo.st_size;
    if (ok) {
        const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
        ::futimens(out, times);
    }
    ok = ::close(out) == 0 && ok;
    ::close(in);
    if (replacing)
        ok = ok && ::rename(written.c_str(), hostDestination.c_str()) == 0;
    if (!ok) {
        ::unlink(written.c_str());
        return CopyResult::Failed;
    }
    return CopyResult::Copied;
}

namespace testing {
void setCopyRead(CopyReadHook fn) { gCopyRead = std::move(fn); }
void setKernelCopy(KernelCopyHook fn) { gKernelCopy = std::move(fn); }
} // namespace testing

} // namespace platform
