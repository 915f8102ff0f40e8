// Drive letters and DOS paths.
//
// The program keeps the system's own paths (E:\BOARD\CHESS\QAR.TXT). On
// Windows they are the host's paths. On POSIX a drive table maps letters to
// folders; it comes from QUORVIA_DRIVES ("C=/home/ann;D=/media/cdrom"), or,
// when that is not set, from the home folder (C:), the mounted removable and
// optical media (D: onwards) and the root folder (Z:).
//
// All texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct Drive {
    char letter;         // 'A' to 'Z'
    std::string folder;  // the host folder that is the drive's root
    // Windows: the volume label, empty when the drive has none or is not
    // ready (no disc in it). POSIX: always empty; the folder stands for it.
    std::string label = {};
};

// The drive table in letter order. Read once and kept; see reloadDrives().
// On Windows it is read again when the system's set of drive letters has
// changed since (a USB stick put in or taken out), so that a drive that
// appeared after start-up is listed; the reference stays valid, its content
// changes then.
const std::vector<Drive> &drives();

// Reads the drive table again (after QUORVIA_DRIVES changed, or to see a
// disc's new label, for instance).
void reloadDrives();

// The table's drive of a letter (either case). On Windows a letter the table
// lacks but the system has makes it read the table again once and look again.
// Empty optional when there is no such drive.
std::optional<Drive> findDrive(char letter);

// Turns a DOS path into a host path: the drive's folder, then each component,
// matched without regard to case where the exact name does not exist. "." and
// ".." are resolved in the text and never climb above the drive's root;
// doubled separators and '/' are accepted. Empty when the path does not begin
// with a drive letter and colon, names a drive the table lacks, or holds a
// zero byte (which the file system would take as the end of the name).
std::optional<std::string> toHostPath(const std::string &dosPath);

// Turns a host path into a DOS path through the drive whose folder is the
// longest prefix of it. A drive's root comes back as "C:\", anything else
// without a trailing separator. Empty when no drive holds the path.
std::string toDosPath(const std::string &hostPath);

} // namespace platform
