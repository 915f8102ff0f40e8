// The game catalogue: the eight categories, their catalogue files of 69-byte
// records, and the paths of a game's folders and files on the disc. Texts
// are UTF-8; record bytes are in the ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

struct Category {
    const char *key;   // "3D", "Action", ...; compared case-sensitively
    const char *file;  // catalogue file in the program's folder
};

// The category table, in its fixed search order.
inline constexpr Category categories[] = {
    {"3D", "QAR1.PAL"},     {"Action", "QAR2.PAL"}, {"Adv", "QAR3.PAL"},   {"Arcade", "QAR4.PAL"},
    {"Board", "QAR5.PAL"},  {"Cards", "QAR6.PAL"},  {"Educate", "QAR7.PAL"}, {"Strategy", "QAR8.PAL"},
};

inline constexpr int recordSize = 69;
inline constexpr int maxRecords = 32767;

// One catalogue record, each field decoded from the ANSI code page and
// stripped of leading and trailing spaces (0x20 only).
struct GameRecord {
    std::string name;        // 36 bytes
    std::string folder;      // 8
    std::string program;     // 12
    std::string parameters;  // 12
    std::string hddFlag;     // 1
};

// The five fields of a record in their order: offset and width in bytes.
struct Field {
    const char *name;  // "name", "folder", "program", "parameters", "flag"
    int offset;
    int width;
};
inline constexpr Field fields[] = {
    {"name", 0, 36}, {"folder", 36, 8}, {"program", 44, 12}, {"parameters", 56, 12}, {"flag", 68, 1},
};

// The row of a key, or null for a key that is not in the table.
const Category *lookup(std::string_view key);

// The category folder on the disc: the key in upper case (ASCII).
std::string categoryFolder(std::string_view key);

// The DOS path of a category's catalogue file: gAppPath + file name. Empty
// for a key that is not in the table.
std::string cataloguePath(std::string_view key);

// The names of all complete records of a catalogue file (at most the first
// 32,767), in one pass. Empty optional when the file cannot be opened or
// read to its end.
std::optional<std::vector<std::string>> readNames(const std::string &cataloguePath);

// Record n (counted from 1). Empty optional when the file cannot be read,
// n is outside 1 .. the number of complete records, or the record holds an
// unsafe folder or program name (one that would reach outside the game's
// folder).
std::optional<GameRecord> readRecord(const std::string &cataloguePath, int n);

// Unsafe names: a folder that holds '\', '/' or ':', or that up to its first
// zero byte is empty or only dots and spaces ("", ".", "..", ". ."); a program
// that begins with '\' or '/', holds ':' or has a ".." part.
bool isSafeFolder(std::string_view folder);
bool isSafeProgram(std::string_view program);

// A record's fields by their position in the fields table (0 .. 4).
std::string &field(GameRecord &record, int index);
const std::string &field(const GameRecord &record, int index);

// The names of the complete records in a catalogue file's bytes (at most the
// first 32,767).
std::vector<std::string> decodeNames(std::string_view data);

// The fields of one record's 69 bytes, decoded and stripped as above. No
// check of the names: see isSafe().
GameRecord decodeRecord(std::string_view record);

// True when both the folder and the program name are safe.
bool isSafe(const GameRecord &record);

// The 69 bytes of a record: each field encoded in the ANSI code page and
// padded with spaces. Empty optional when a field is too wide, holds a
// character the code page lacks, or the record is not safe; *error then says
// which field and why.
std::optional<std::string> encodeRecord(const GameRecord &record, std::string *error = nullptr);

// Paths built from the global state (gCdRoot, gAppPath, gGameCategory,
// gGameFolder, gGameProgram), by plain concatenation.
std::string gameFolder();       // gCdRoot + CAT + "\" + gGameFolder
std::string descriptionFile();  // gameFolder() + "\QAR.TXT"
std::string gameProgram();      // gameFolder() + "\" + gGameProgram
std::string copyFolder();       // gAppPath + CAT + "\" + gGameFolder
std::string copyMarker();       // copyFolder() + "\QAR.TXT"
std::string copyProgram();      // copyFolder() + "\" + gGameProgram

} // namespace catalogue
