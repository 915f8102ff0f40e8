// What the folder copies need of the host's file system, one implementation
// per system: listing a folder, joining names, folders. Paths here are host
// paths as toHostPath gives them (UTF-8), never DOS paths.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform::host {

struct Entry {
    std::string name;
    bool folder = false;    // a folder itself, never a link to one
    bool regular = false;   // a regular file itself, not a link
    bool readOnly = false;  // set only when asked for
};

// The entries of a folder but "." and "..", in the system's order, with the
// read-only attribute of its files when `readOnly`. Empty optional when it
// cannot be listed.
std::optional<std::vector<Entry>> list(const std::string &folder, bool readOnly = false);

std::string join(const std::string &folder, const std::string &name);

// Anything of that name, a dangling link included.
bool exists(const std::string &path);
bool isFolder(const std::string &path);
bool createFolder(const std::string &path);

// Gives a file a new name, replacing a file of that name; removes a file.
bool rename(const std::string &from, const std::string &to);
bool remove(const std::string &path);

// The key under which two names that differ only in case are the same.
std::string foldCase(const std::string &name);

void pauseFor(long milliseconds);

// Called by the layer for every folder listing it makes, and after each file
// a folder copy wrote (both seen by tests through platform/testing.h).
void noteListing(const std::string &folder);
void noteFileCopied(const std::string &path);

} // namespace platform::host
