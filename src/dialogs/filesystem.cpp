#include "filesystem.h"

#include "platform/files.h"
#include "platform/foldercopy.h"

bool FileSystem::folderExists(const std::string &path) const
{
    return platform::isFolder(path);
}

bool FileSystem::createFolder(const std::string &path) const
{
    return platform::createFolder(path);
}

bool FileSystem::copyFolder(const std::string &source, const std::string &destination, const Progress &progress) const
{
    return platform::copyFolder(source, destination, progress);
}

std::optional<std::vector<FileSystem::File>> FileSystem::files(const std::string &folder) const
{
    const auto found = platform::folderFiles(folder);
    if (!found)
        return std::nullopt;
    std::vector<File> files;
    files.reserve(found->size());
    for (const platform::FolderFile &f : *found)
        files.push_back({f.name, f.readOnly});
    return files;
}

bool FileSystem::clearReadOnly(const std::string &file) const
{
    return platform::setReadOnly(file, false);
}
