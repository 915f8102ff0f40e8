#include "files.h"
namespace platform {
bool isOrdinaryFile(const std::string &) { return false; }
bool exists(const std::string &) { return false; }
bool isFolder(const std::string &) { return false; }
bool createFolder(const std::string &) { return false; }
bool changeDirectory(const std::string &) { return false; }
std::string currentDirectory() { return {}; }
std::string programFolder() { return "C:\\"; }
bool isReadOnly(const std::string &) { return false; }
bool setReadOnly(const std::string &, bool) { return false; }
std::optional<std::vector<std::string>> ordinaryFiles(const std::string &) { return std::nullopt; }
std::optional<std::vector<std::string>> subfolders(const std::string &) { return std::nullopt; }
std::optional<std::string> readFile(const std::string &) { return std::nullopt; }
CopyResult copyFile(const std::string &, const std::string &) { return CopyResult::Failed; }
}
