// File services on POSIX. Paths come in as DOS paths and are turned into host
// paths through the drive table.
#include "drives.h"
#include "files.h"

#include <QCoreApplication>
#include <QString>

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

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

// Copies the whole of `in` to `out`: copy_file_range in the kernel where the
// file systems allow it, else sendfile, else plain reads and writes.
bool copyContent(int in, int out)
{
    bool rangeWorks = true;
    bool sendfileWorks = true;
    for (;;) {
        ssize_t done = -1;
        if (rangeWorks) {
            done = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (done < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                rangeWorks = false;
                continue;
            }
        } else if (sendfileWorks) {
            done = ::sendfile(out, in, nullptr, 1 << 30);
            if (done < 0 && (errno == EINVAL || errno == ENOSYS)) {
                sendfileWorks = false;
                continue;
            }
        } else {
            char buffer[1 << 16];
            done = ::read(in, buffer, sizeof buffer);
            for (ssize_t written = 0; done > 0 && written < done;) {
                const ssize_t step = ::write(out, buffer + written, std::size_t(done - written));
                if (step < 0 && errno != EINTR)
                    return false;
                written += std::max<ssize_t>(step, 0);
            }
        }
        if (done == 0)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
    }
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
    return host && ::mkdir(host->c_str(), 0777) == 0;
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
    const std::string *from = &hostSource;
    const std::string *to = &hostDestination;

    struct stat sourceInfo {};
    if (::stat(from->c_str(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        return CopyResult::Failed;

    struct stat destinationInfo {};
    if (::stat(to->c_str(), &destinationInfo) == 0) {
        std::error_code error;
        if (fs::equivalent(*from, *to, error))
            return CopyResult::SameFile;
        if (!S_ISREG(destinationInfo.st_mode))
            return CopyResult::Failed;
        // Root could overwrite it anyway: the attribute is checked here.
        if ((destinationInfo.st_mode & S_IWUSR) == 0)
            return CopyResult::DestinationReadOnly;
    }

    const int in = ::open(from->c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return CopyResult::Failed;

    // The copy is written under a hidden temporary name in the destination's
    // folder and renamed over the destination only once it is complete.
    const std::string folder = fs::path(*to).parent_path().string();
    std::string temporary = (folder.empty() ? std::string(".") : folder) + "/." + baseName(*to) + ".copyXXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return CopyResult::Failed;
    }

    bool ok = copyContent(in, out);
    ok = ok && ::fchmod(out, sourceInfo.st_mode & 0777) == 0;
    if (ok) {
        const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
        ::futimens(out, times);
    }
    ok = ::close(out) == 0 && ok;
    ::close(in);
    ok = ok && ::rename(temporary.c_str(), to->c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return CopyResult::Failed;
    }
    return CopyResult::Copied;
}

} // namespace platform
