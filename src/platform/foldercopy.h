// Copying game folders: the whole-folder copy of the hard-disk notice and the
// copy of a folder's listed files for the copy chooser. Every path is a DOS
// path (see drives.h), UTF-8.
//
// Both cost in proportion to the files they copy: each folder is turned into
// a host path once and the names are joined to it; a destination folder is
// listed at most once, and only to find a name that is not there exactly
// (a disc mounted on Linux often shows other cases).
#pragma once

#include "files.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Progress of a copy: called once with (0, total) before the first file, then
// after each file with the number of files done so far.
using CopyProgress = std::function<void(int done, int total)>;

// Copies everything inside `source` into `destination` (created when
// missing), at all depths, one file at a time in a fixed order: in each
// folder its files sorted by name without regard to case, then its
// subfolders. The description file QAR.TXT directly inside `source` comes
// last of all, so that a copy that stopped part-way lacks it. Existing files
// are replaced and files that only the destination has stay; a file keeps its
// read-only attribute, a created folder gets the default permissions. A file
// that is the source itself, or a read-only file in the way, is left as it is.
// A symbolic link is never followed into a folder.
//
// The copy stops at the first failure, keeping what it copied so far, and
// then returns false. A folder that cannot be listed is a failure, and so is
// an entry whose name is not a plain name (it holds a '\', which a Linux disc
// can carry and which would name another place on Windows).
bool copyFolder(const std::string &source, const std::string &destination, const CopyProgress &progress = {});

// Copies the files `names` (bare names) of `sourceFolder` into
// `destinationFolder`, which must exist, replacing files of the same name
// that are not read-only. One result per name, in their order; a name that is
// not a plain name (empty, ".", "..", or holding '\' or '/') is Failed and
// nothing is written for it.
std::vector<CopyResult> copyNamedFiles(const std::string &sourceFolder, const std::string &destinationFolder,
                                       const std::vector<std::string> &names, const CopyProgress &progress = {});

struct FolderFile {
    std::string name;
    bool readOnly;
};

// The files directly inside a folder (hidden ones too; not folders, not
// symbolic links) with their read-only attribute, sorted by name without
// regard to case. Empty optional when the folder cannot be read.
std::optional<std::vector<FolderFile>> folderFiles(const std::string &folder);

} // namespace platform
