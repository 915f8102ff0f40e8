// The host primitives of the folder copies on POSIX.
#include "hostfiles.h"

#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cerrno>

namespace platform::host {

std::optional<std::vector<Entry>> list(const std::string &folder, bool readOnly)
{
    noteListing(folder);
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::vector<Entry> entries;
    const int fd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent *d = ::readdir(dir);
        if (!d)
            break;
        const std::string name = d->d_name;
        if (name == "." || name == "..")
            continue;
        Entry e{name};
        // The type from the folder itself where the file system gives it;
        // the mode only where it was asked for.
        e.folder = d->d_type == DT_DIR;
        e.regular = d->d_type == DT_REG;
        struct stat info {};
        if ((d->d_type == DT_UNKNOWN || (readOnly && e.regular))
            && ::fstatat(fd, d->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            e.folder = S_ISDIR(info.st_mode);
            e.regular = S_ISREG(info.st_mode);
            e.readOnly = (info.st_mode & S_IWUSR) == 0;
        }
        entries.push_back(std::move(e));
    }
    const bool failed = errno != 0;
    ::closedir(dir);
    if (failed)
        return std::nullopt;
    return entries;
}

std::string join(const std::string &folder, const std::string &name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool exists(const std::string &path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isFolder(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool createFolder(const std::string &path)
{
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool rename(const std::string &from, const std::string &to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool remove(const std::string &path)
{
    return ::unlink(path.c_str()) == 0;
}

std::string foldCase(const std::string &name)
{
    // Names on a disc are nearly always ASCII: fold those without Qt.
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string folded = name;
        for (char &c : folded)
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
        return folded;
    }
    return QString::fromStdString(name).toCaseFolded().toStdString();
}

void pauseFor(long milliseconds)
{
    timespec left{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

} // namespace platform::host
