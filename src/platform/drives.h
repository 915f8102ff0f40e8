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
};

// The drive table in letter order. Read once and kept; see reloadDrives().
const std::vector<Drive> &drives();

// Reads the drive table again (after QUORVIA_DRIVES changed, for instance).
void reloadDrives();

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
