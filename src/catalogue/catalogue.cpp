// Temporary stand-in until the catalogue lands.
#include "catalogue.h"
namespace catalogue {
const Category *lookup(const QString &) { return nullptr; }
QString categoryFolder(const QString &key) { return key.toUpper(); }
QString cataloguePath(const QString &) { return {}; }
std::optional<QStringList> readNames(const QString &) { return std::nullopt; }
std::optional<GameRecord> readRecord(const QString &, int) { return std::nullopt; }
bool isSafeFolder(const QString &) { return true; }
bool isSafeProgram(const QString &) { return true; }
QString gameFolder() { return {}; }
QString descriptionFile() { return {}; }
QString gameProgram() { return {}; }
QString copyFolder() { return {}; }
QString copyMarker() { return {}; }
QString copyProgram() { return {}; }
}
