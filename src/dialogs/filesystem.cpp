#include "filesystem.h"

#include "platform/files.h"
#include "platform/foldercopy.h"
#include "startup/boundary.h"

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
    return platform::copyFolder(toStd(source), toStd(destination), progress);
}

std::optional<QList<FileSystem::File>> FileSystem::files(const QString &folder) const
{
    const auto found = platform::folderFiles(toStd(folder));
    if (!found)
        return std::nullopt;
    QList<File> files;
    for (const platform::FolderFile &f : *found)
        files.append({fromStd(f.name), f.readOnly});
    return files;
}

bool FileSystem::clearReadOnly(const QString &file) const
{
    return platform::setReadOnly(toStd(file), false);
}
