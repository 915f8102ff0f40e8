// The file-system service of the hard-disk notice: folder tests, creating one
// folder, copying a whole folder, the files directly inside a folder and their
// read-only attribute. Every path is a DOS path.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class FileSystem {
public:
    // Progress of a folder copy: called once with (0, total) before the first
    // file, then after each file with the number of files done so far.
    using Progress = std::function<void(int done, int total)>;

    // True when the path names a folder.
    bool folderExists(const QString &path) const;

    // Creates one folder whose parent exists, with the default permissions.
    bool createFolder(const QString &path) const;

    // Copies everything inside `source` into `destination` (created when
    // missing), at all depths, one file at a time in a fixed order: in each
    // folder its files sorted by name, then its subfolders. The description
    // file QAR.TXT directly inside `source` comes last of all, so that a copy
    // that stopped part-way lacks it. Existing files are replaced and files
    // that only the destination has stay; a file keeps its read-only
    // attribute, a created folder gets the default permissions. A file that
    // is the source itself, or a read-only file in the way, is left as it is.
    // The copy stops at the first failure, keeping what it copied so far, and
    // then returns false.
    bool copyFolder(const QString &source, const QString &destination, const Progress &progress = {}) const;

    // The names of all files directly inside a folder (hidden ones too; not
    // folders, not symbolic links), sorted by name without regard to case.
    // Empty optional when the folder cannot be read.
    std::optional<QStringList> files(const QString &folder) const;

    bool isReadOnly(const QString &file) const;
    bool clearReadOnly(const QString &file) const;
};
