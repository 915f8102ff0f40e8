#include "drives.h"
namespace platform {
const std::vector<Drive> &drives() { static std::vector<Drive> d; return d; }
void reloadDrives() {}
std::optional<std::string> toHostPath(const std::string &) { return std::nullopt; }
std::string toDosPath(const std::string &) { return {}; }
std::string ansiCodePage() { return "windows-1252"; }
}
