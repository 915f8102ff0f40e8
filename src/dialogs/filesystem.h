// The file-system service of the hard-disk notice: folder tests, creating one
// folder, copying a whole folder, the files directly inside a folder and their
// read-only attribute. Every path is a DOS path.
#pragma once

#include <QString>
#include <QList>
#include <functional>
#include <optional>

class FileSystem {
public:
    // Progress of a folder copy: called once with (0, total) before the first
    // file, then after each file with the number of files done so far.
    using Progress = std::function<void(int done, int total)>;

    struct File {
        QString name;
        bool readOnly;
    };

    // True when the path names a folder.
    bool folderExists(const QString &path) const;

    // Creates one folder whose parent exists, with the default permissions.
    bool createFolder(const QString &path) const;

    // Copies everything inside `source` into `destination`, at all depths,
    // replacing existing files and keeping attributes; the description file
    // comes last. Stops at the first failure and then returns false. See
    // platform::copyFolder.
    bool copyFolder(const QString &source, const QString &destination, const Progress &progress = {}) const;

    // The files directly inside a folder (hidden ones too; not folders, not
    // symbolic links) with their read-only attribute, sorted by name without
    // regard to case. Empty optional when the folder cannot be read.
    std::optional<QList<File>> files(const QString &folder) const;

    bool clearReadOnly(const QString &file) const;
};
