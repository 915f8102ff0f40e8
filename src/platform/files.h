// File services. Every path is a DOS path (see drives.h), UTF-8.
//
// Read-only means: on Windows the attribute bit, on POSIX that the owner has no
// write permission. The services check the attribute themselves where the
// outcome depends on it, because root ignores permission bits.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// True when the path names an ordinary file: read-only files count; hidden and
// system files, folders, devices, sockets and pipes do not (on POSIX a name
// that begins with '.' is hidden). Any failure (no such drive, drive not
// ready) gives false.
bool isOrdinaryFile(const std::string &path);

// True when a file or folder of that name exists (hidden ones included).
bool exists(const std::string &path);

// True when the path names a folder.
bool isFolder(const std::string &path);

// Creates one folder whose parent exists, with the default permissions. A
// drive's root is never created: it fails, also when the drive's folder is gone.
bool createFolder(const std::string &path);

// Makes the folder the program's current folder, drive included.
bool changeDirectory(const std::string &path);

// The program's current folder as a DOS path.
std::string currentDirectory();

// The folder of the running executable as a DOS path: without a trailing
// separator, except a drive's root ("E:\").
std::string programFolder();

// Why the program's folder has no DOS path (no drive holds it), as one line
// for the user, naming what sets the drives; empty when it has one.
std::string programFolderProblem();

bool isReadOnly(const std::string &path);
bool setReadOnly(const std::string &path, bool readOnly);

// The ordinary files (as isOrdinaryFile) directly inside a folder, bare names
// sorted without regard to case. Empty optional when the folder is missing or
// cannot be read.
std::optional<std::vector<std::string>> ordinaryFiles(const std::string &folder);

// The folders directly inside a folder (not hidden), sorted without regard to
// case. Empty optional when the folder is missing or cannot be read.
std::optional<std::vector<std::string>> subfolders(const std::string &folder);

// The whole content of a file, or empty optional when it cannot be read.
std::optional<std::string> readFile(const std::string &path);

enum class CopyResult {
    Copied,
    SameFile,          // source and destination are one file: left alone
    DestinationReadOnly,  // a read-only file is in the way: left alone
    Failed,            // unreadable source, missing folder, full disk, ...
};

// Copies one file, replacing an existing destination file that is not
// read-only, keeping the read-only attribute and the time of last change of
// the source. The copy is written under a short temporary name in the
// destination's folder and then put in place of the destination: a copy that
// breaks off (a full disk, a read error, a disc taken out) leaves the old file
// as it was and no partial file; a copy whose size is not the source's has
// failed. On POSIX the copy has the source's permission bits less the umask,
// and a file the user may not write (another user's) counts as read-only.
CopyResult copyFile(const std::string &source, const std::string &destination);

// copyFile for two host paths, as toHostPath gives them: the folder copies
// resolve each folder once and join the names to it.
CopyResult copyHostFile(const std::string &hostSource, const std::string &hostDestination);

} // namespace platform
