// The file-system service of the hard-disk notice: folder tests, creating one
// folder, copying a whole folder, the files directly inside a folder and their
// read-only attribute. Every path is a DOS path, UTF-8.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class FileSystem {
public:
    // Progress of a folder copy: called once with (0, total) before the first
    // file, then after each file with the number of files done so far.
    using Progress = std::function<void(int done, int total)>;

    struct File {
        std::string name;
        bool readOnly;
    };

    // True when the path names a folder.
    bool folderExists(const std::string &path) const;

    // Creates one folder whose parent exists, with the default permissions.
    bool createFolder(const std::string &path) const;

    // Copies everything inside `source` into `destination`, at all depths,
    // replacing existing files and keeping attributes; the description file
    // comes last. Stops at the first failure and then returns false. See
    // platform::copyFolder.
    bool copyFolder(const std::string &source, const std::string &destination, const Progress &progress = {}) const;

    // The files directly inside a folder (hidden ones too; not folders, not
    // symbolic links) with their read-only attribute, sorted by name without
    // regard to case. Empty optional when the folder cannot be read.
    std::optional<std::vector<File>> files(const std::string &folder) const;

    bool clearReadOnly(const std::string &file) const;
};
