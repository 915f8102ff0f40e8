#include "filesystem.h"

#include "platform/drives.h"
#include "platform/files.h"
#include "startup/boundary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

const QString kDescriptionFile = QStringLiteral("QAR.TXT");

// One step of a folder copy, relative to the copied folder.
struct Step {
    enum Kind { Folder, File, Unreadable } kind;
    QString path;  // DOS path relative to the copied folder, "" for itself
};

QString join(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return folder;
    return folder.isEmpty() ? name : folder + QLatin1Char('\\') + name;
}

void sortCaseBlind(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

// The steps that copy the contents of `hostFolder`: its files, then each
// subfolder followed by its own steps. A folder that cannot be listed gives an
// Unreadable step where its contents would be, so the copy stops there.
// The whole plan is made before anything is copied, so a destination inside
// the source is never copied into itself.
void plan(const fs::path &hostFolder, const QString &relative, std::vector<Step> &steps)
{
    std::error_code error;
    fs::directory_iterator it(hostFolder, error);
    QStringList files, folders;
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        // A symbolic link is never followed into a folder; a link to a file is
        // copied as the file it names.
        const bool folder = it->symlink_status(statusError).type() == fs::file_type::directory;
        (folder ? folders : files) << fromStd(it->path().filename().string());
    }
    if (error) {
        steps.push_back({Step::Unreadable, relative});
        return;
    }
    sortCaseBlind(files);
    sortCaseBlind(folders);
    for (const QString &name : files)
        steps.push_back({Step::File, join(relative, name)});
    for (const QString &name : folders) {
        steps.push_back({Step::Folder, join(relative, name)});
        plan(hostFolder / toStd(name), join(relative, name), steps);
    }
}

} // namespace

bool FileSystem::folderExists(const QString &path) const
{
    return platform::isFolder(toStd(path));
}

bool FileSystem::createFolder(const QString &path) const
{
    return platform::createFolder(toStd(path));
}

bool FileSystem::copyFolder(const QString &source, const QString &destination, const Progress &progress) const
{
    const auto hostSource = platform::toHostPath(toStd(source));
    if (!hostSource || !platform::isFolder(toStd(source)))
        return false;

    std::vector<Step> steps;
    plan(*hostSource, QString(), steps);

    // The description file of the copied folder goes last: a copy that
    // stopped part-way then never counts as present.
    const auto marker = std::find_if(steps.begin(), steps.end(), [](const Step &s) {
        return s.kind == Step::File && s.path.compare(kDescriptionFile, Qt::CaseInsensitive) == 0;
    });
    if (marker != steps.end())
        std::rotate(marker, marker + 1, steps.end());

    const int total = int(std::count_if(steps.begin(), steps.end(), [](const Step &s) { return s.kind == Step::File; }));
    if (!folderExists(destination) && !createFolder(destination))
        return false;
    if (progress)
        progress(0, total);

    int done = 0;
    for (const Step &step : steps) {
        const QString to = join(destination, step.path);
        switch (step.kind) {
        case Step::Unreadable:
            return false;
        case Step::Folder:
            if (!folderExists(to) && !createFolder(to))
                return false;
            break;
        case Step::File:
            // A destination that is the source file itself, or a read-only
            // file (a complete earlier copy: files are only ever written
            // whole), stays as it is. Stopping there would make a copy that
            // once stopped part-way impossible to complete.
            if (platform::copyFile(toStd(join(source, step.path)), toStd(to)) == platform::CopyResult::Failed)
                return false;
            ++done;
            if (progress)
                progress(done, total);
            break;
        }
    }
    return true;
}

std::optional<QStringList> FileSystem::files(const QString &folder) const
{
    const auto host = platform::toHostPath(toStd(folder));
    if (!host)
        return std::nullopt;
    std::error_code error;
    fs::directory_iterator it(*host, error);
    QStringList names;
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (it->symlink_status(statusError).type() == fs::file_type::regular)
            names << fromStd(it->path().filename().string());
    }
    if (error)
        return std::nullopt;
    sortCaseBlind(names);
    return names;
}

bool FileSystem::isReadOnly(const QString &file) const
{
    return platform::isReadOnly(toStd(file));
}

bool FileSystem::clearReadOnly(const QString &file) const
{
    return platform::setReadOnly(toStd(file), false);
}
