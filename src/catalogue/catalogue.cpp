#include "catalogue.h"

#include "platform/drives.h"
#include "platform/text.h"
#include "startup/modMain.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace catalogue {

namespace {

// The ANSI code page, prepared once. For a single-byte code page (the usual
// case, Windows-1252 on POSIX) every byte maps to one character through a
// table of its UTF-8 bytes, which is much cheaper per field than a converter
// call; a multi-byte code page goes through the converter.
struct CodePage {
    std::string name;
    bool singleByte = true;
    bool asciiSame = true;  // bytes 0x00 .. 0x7F are the ASCII characters
    struct Utf8 {
        char bytes[4];
        unsigned char size;
    };
    std::array<Utf8, 256> table{};
};

// The number of code points in UTF-8 text.
std::size_t codePoints(std::string_view text)
{
    return std::size_t(std::count_if(text.begin(), text.end(),
                                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

CodePage makeCodePage()
{
    CodePage page;
    page.name = platform::ansiCodePage();
    // The probe below cannot see that UTF-8 is multi-byte: each byte of it
    // alone decodes to one replacement character, so the system must say.
    page.singleByte = platform::ansiCodePageIsSingleByte();
    std::string all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    // In a multi-byte code page a lead byte alone decodes otherwise than
    // followed by the next byte, so the whole row differs from its parts.
    const std::string decoded = platform::fromAnsi(all);
    std::string joined;
    for (int b = 0; b < 256 && page.singleByte; ++b) {
        const std::string one = platform::fromAnsi(std::string_view(all).substr(b, 1));
        if (one.empty() || one.size() > 4 || codePoints(one) != 1) {
            page.singleByte = false;
            break;
        }
        std::copy(one.begin(), one.end(), page.table[b].bytes);
        page.table[b].size = static_cast<unsigned char>(one.size());
        joined += one;
        if (b < 0x80 && (one.size() != 1 || one[0] != char(b)))
            page.asciiSame = false;
    }
    if (page.singleByte && joined != decoded)
        page.singleByte = false;
    return page;
}

const CodePage &codePage()
{
    static const CodePage page = makeCodePage();
    return page;
}

// One field: its bytes without leading and trailing 0x20, decoded. The bytes
// are stripped before decoding; in the ANSI code pages 0x20 is always a
// character of its own, never part of a multi-byte one.
std::string decodeField(const char *data, int width)
{
    int begin = 0;
    int end = width;
    while (begin < end && data[begin] == ' ')
        ++begin;
    while (end > begin && data[end - 1] == ' ')
        --end;
    const char *p = data + begin;
    const int size = end - begin;

    const CodePage &page = codePage();
    if (!page.singleByte)
        return platform::fromAnsi(std::string_view(p, std::size_t(size)));

    if (page.asciiSame) {
        unsigned char high = 0;
        for (int i = 0; i < size; ++i)
            high |= static_cast<unsigned char>(p[i]);
        if (high < 0x80)
            return std::string(p, std::size_t(size));
    }
    std::size_t length = 0;
    for (int i = 0; i < size; ++i)
        length += page.table[static_cast<unsigned char>(p[i])].size;
    std::string text(length, '\0');
    char *out = text.data();
    for (int i = 0; i < size; ++i) {
        const CodePage::Utf8 &c = page.table[static_cast<unsigned char>(p[i])];
        for (unsigned char k = 0; k < c.size; ++k)
            *out++ = c.bytes[k];
    }
    return text;
}

// A name as the system's file functions see it: they take a text that ends
// at its first zero byte, so "..\0\0" names the parent folder.
std::string_view uptoZero(std::string_view name)
{
    return name.substr(0, name.find('\0'));
}

bool hasParentPart(std::string_view path)
{
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t end = std::min(path.find_first_of("\\/", begin), path.size());
        if (path.substr(begin, end - begin) == "..")
            return true;
        begin = end + 1;
    }
    return false;
}

// The host file of a DOS path, as the standard library opens it.
std::optional<std::filesystem::path> hostFile(const std::string &dosPath)
{
    const std::optional<std::string> host = platform::toHostPath(dosPath);
    if (!host)
        return std::nullopt;
    // The layer's paths are UTF-8, whatever the system's narrow encoding.
    return std::filesystem::path(std::u8string(host->begin(), host->end()));
}

// Opens a catalogue file and gives its size; a folder is no catalogue file.
std::optional<std::uintmax_t> openCatalogue(const std::string &dosPath, std::ifstream &file)
{
    const auto path = hostFile(dosPath);
    if (!path)
        return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(*path, error))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(*path, error);
    if (error)
        return std::nullopt;
    file.open(*path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return size;
}

std::string categoryOfSelection()
{
    return categoryFolder(modMain::gGameCategory);
}

} // namespace

const Category *lookup(std::string_view key)
{
    for (const Category &category : categories)
        if (key == category.key)
            return &category;
    return nullptr;
}

std::string categoryFolder(std::string_view key)
{
    std::string folder(key);
    for (char &c : folder)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return folder;
}

std::string cataloguePath(std::string_view key)
{
    const Category *category = lookup(key);
    if (!category)
        return {};
    return modMain::gAppPath + category->file;
}

std::string &field(GameRecord &record, int index)
{
    switch (index) {
    case 0: return record.name;
    case 1: return record.folder;
    case 2: return record.program;
    case 3: return record.parameters;
    default: return record.hddFlag;
    }
}

const std::string &field(const GameRecord &record, int index)
{
    return field(const_cast<GameRecord &>(record), index);
}

std::vector<std::string> decodeNames(std::string_view data)
{
    const std::size_t count = std::min<std::size_t>(data.size() / recordSize, maxRecords);
    std::vector<std::string> names;
    names.reserve(count);
    const char *record = data.data();
    for (std::size_t n = 0; n < count; ++n, record += recordSize)
        names.push_back(decodeField(record + fields[0].offset, fields[0].width));
    return names;
}

GameRecord decodeRecord(std::string_view record)
{
    assert(record.size() >= std::size_t(recordSize));
    GameRecord result;
    for (int i = 0; i < 5; ++i)
        field(result, i) = decodeField(record.data() + fields[i].offset, fields[i].width);
    return result;
}

bool isSafeFolder(std::string_view folder)
{
    if (folder.find_first_of("\\/:") != std::string_view::npos)
        return false;
    // Windows drops a name's trailing dots and spaces, so a name of nothing
    // else, like an empty one, leaves the path at the category folder (or,
    // for "..", its parent): the game's folder would be the whole category.
    const std::string_view seen = uptoZero(folder);
    return std::any_of(seen.begin(), seen.end(), [](char c) { return c != '.' && c != ' '; });
}

bool isSafeProgram(std::string_view program)
{
    if (program.starts_with('\\') || program.starts_with('/') || program.find(':') != std::string_view::npos)
        return false;
    return !hasParentPart(program) && !hasParentPart(uptoZero(program));
}

bool isSafe(const GameRecord &record)
{
    return isSafeFolder(record.folder) && isSafeProgram(record.program);
}

std::optional<std::string> encodeRecord(const GameRecord &record, std::string *error)
{
    auto fail = [error](const Field &f, const std::string &why) -> std::optional<std::string> {
        if (error)
            *error = std::string(f.name) + ": " + why;
        return std::nullopt;
    };
    auto quoted = [](const std::string &text) { return '"' + text + '"'; };

    const CodePage &page = codePage();
    std::string bytes(recordSize, ' ');
    for (int i = 0; i < 5; ++i) {
        const Field &f = fields[i];
        const std::string &text = field(record, i);
        const std::optional<std::string> encoded = platform::toAnsi(text);
        // A character that comes back as another would be stored as that one.
        if (!encoded || platform::fromAnsi(*encoded) != text)
            return fail(f, quoted(text) + " holds a character that " + page.name + " lacks");
        if (encoded->size() > std::size_t(f.width))
            return fail(f, quoted(text) + " is " + std::to_string(encoded->size())
                               + " bytes, wider than the field's " + std::to_string(f.width));
        std::copy(encoded->begin(), encoded->end(), bytes.begin() + f.offset);
    }
    if (!isSafeFolder(record.folder))
        return fail(fields[1], quoted(record.folder) + " is unsafe: a folder name must not be blank or only dots "
                                                       "and spaces (up to a zero byte), nor hold \\ / or :");
    if (!isSafeProgram(record.program))
        return fail(fields[2], quoted(record.program) + " is unsafe: a program name must not begin with \\ or /, "
                                                        "hold : or have a .. part");
    return bytes;
}

std::optional<std::vector<std::string>> readNames(const std::string &cataloguePath)
{
    std::ifstream file;
    const std::optional<std::uintmax_t> size = openCatalogue(cataloguePath, file);
    if (!size)
        return std::nullopt;
    // Records past the last one counted are never read.
    const std::size_t wanted = std::size_t(std::min<std::uintmax_t>(*size, std::uintmax_t(maxRecords) * recordSize));
    std::string data(wanted, '\0');
    if (!file.read(data.data(), std::streamsize(wanted)) || std::size_t(file.gcount()) != wanted)
        return std::nullopt;
    return decodeNames(data);
}

std::optional<GameRecord> readRecord(const std::string &cataloguePath, int n)
{
    if (n < 1 || n > maxRecords)
        return std::nullopt;
    std::ifstream file;
    const std::optional<std::uintmax_t> size = openCatalogue(cataloguePath, file);
    if (!size || std::uintmax_t(n) > *size / recordSize)
        return std::nullopt;
    char bytes[recordSize];
    if (!file.seekg(std::streamoff(n - 1) * recordSize) || !file.read(bytes, recordSize))
        return std::nullopt;
    GameRecord record = decodeRecord(std::string_view(bytes, recordSize));
    if (!isSafe(record))
        return std::nullopt;
    return record;
}

std::string gameFolder()
{
    return modMain::gCdRoot + categoryOfSelection() + '\\' + modMain::gGameFolder;
}

std::string descriptionFile()
{
    return gameFolder() + "\\QAR.TXT";
}

std::string gameProgram()
{
    return gameFolder() + '\\' + modMain::gGameProgram;
}

std::string copyFolder()
{
    return modMain::gAppPath + categoryOfSelection() + '\\' + modMain::gGameFolder;
}

std::string copyMarker()
{
    return copyFolder() + "\\QAR.TXT";
}

std::string copyProgram()
{
    return copyFolder() + '\\' + modMain::gGameProgram;
}

} // namespace catalogue
