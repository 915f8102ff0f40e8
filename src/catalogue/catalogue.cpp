#include "catalogue.h"

#include "platform/drives.h"
#include "startup/modMain.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include <algorithm>
#include <array>

namespace catalogue {

namespace {

// The ANSI code page, prepared once. For a single-byte code page (the usual
// case, Windows-1252 on POSIX) every byte maps to one character through a
// table, which is much cheaper per field than a converter call; a multi-byte
// code page goes through the converter.
struct CodePage {
    QByteArray name;
    bool singleByte = true;
    bool asciiSame = true;  // bytes 0x00 .. 0x7F are the ASCII characters
    std::array<char16_t, 256> table{};
};

CodePage makeCodePage()
{
    CodePage page;
    page.name = QByteArray::fromStdString(platform::ansiCodePage());
    if (!QStringDecoder(page.name.constData()).isValid()) {
        qWarning("catalogue: no converter for the code page %s; reading it as Latin-1", page.name.constData());
        for (int b = 0; b < 256; ++b)
            page.table[b] = char16_t(b);
        return page;
    }

    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString decoded = QStringDecoder(page.name.constData(), QStringConverter::Flag::Stateless).decode(all);
    page.singleByte = decoded.size() == 256;
    for (int b = 0; b < 256 && page.singleByte; ++b) {
        const QString one = QStringDecoder(page.name.constData(), QStringConverter::Flag::Stateless)
                                .decode(QByteArrayView(all.constData() + b, 1));
        if (one.size() != 1 || one[0] != decoded[b])
            page.singleByte = false;
        else
            page.table[b] = one[0].unicode();
        if (b < 0x80 && page.table[b] != char16_t(b))
            page.asciiSame = false;
    }
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
QString decodeField(const char *data, int width)
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
        return QStringDecoder(page.name.constData(), QStringConverter::Flag::Stateless).decode(QByteArrayView(p, size));

    if (page.asciiSame) {
        unsigned char high = 0;
        for (int i = 0; i < size; ++i)
            high |= static_cast<unsigned char>(p[i]);
        if (high < 0x80)
            return QString::fromLatin1(p, size);
    }
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (int i = 0; i < size; ++i)
        out[i] = page.table[static_cast<unsigned char>(p[i])];
    return text;
}

// A name as the system's file functions see it: they take a text that ends
// at its first zero byte, so "..\0\0" names the parent folder.
QString uptoZero(const QString &name)
{
    const qsizetype zero = name.indexOf(QChar(0));
    return zero < 0 ? name : name.left(zero);
}

bool hasParentPart(const QString &path)
{
    for (const QStringView part : QStringView(path).tokenize(u'\\'))
        for (const QStringView piece : part.tokenize(u'/'))
            if (piece == u"..")
                return true;
    return false;
}

std::optional<QString> hostPath(const QString &dosPath)
{
    const std::optional<std::string> host = platform::toHostPath(dosPath.toStdString());
    if (!host)
        return std::nullopt;
    return QString::fromStdString(*host);
}

QString categoryOfSelection()
{
    return categoryFolder(modMain::gGameCategory);
}

} // namespace

const Category *lookup(const QString &key)
{
    for (const Category &category : categories)
        if (key == QLatin1String(category.key))
            return &category;
    return nullptr;
}

QString categoryFolder(const QString &key)
{
    return key.toUpper();
}

QString cataloguePath(const QString &key)
{
    const Category *category = lookup(key);
    if (!category)
        return {};
    return modMain::gAppPath + QLatin1String(category->file);
}

QString &field(GameRecord &record, int index)
{
    switch (index) {
    case 0: return record.name;
    case 1: return record.folder;
    case 2: return record.program;
    case 3: return record.parameters;
    default: return record.hddFlag;
    }
}

const QString &field(const GameRecord &record, int index)
{
    return field(const_cast<GameRecord &>(record), index);
}

QStringList decodeNames(QByteArrayView data)
{
    const qsizetype count = std::min<qsizetype>(data.size() / recordSize, maxRecords);
    QStringList names;
    names.reserve(count);
    const char *record = data.data();
    for (qsizetype n = 0; n < count; ++n, record += recordSize)
        names.append(decodeField(record + fields[0].offset, fields[0].width));
    return names;
}

GameRecord decodeRecord(QByteArrayView record)
{
    Q_ASSERT(record.size() >= recordSize);
    GameRecord result;
    for (int i = 0; i < 5; ++i)
        field(result, i) = decodeField(record.data() + fields[i].offset, fields[i].width);
    return result;
}

bool isSafeFolder(const QString &folder)
{
    if (folder.contains(u'\\') || folder.contains(u'/') || folder.contains(u':'))
        return false;
    // Windows drops a name's trailing dots and spaces, so a name of nothing
    // else, like an empty one, leaves the path at the category folder (or,
    // for "..", its parent): the game's folder would be the whole category.
    const QString seen = uptoZero(folder);
    return std::any_of(seen.cbegin(), seen.cend(), [](QChar c) { return c != u'.' && c != u' '; });
}

bool isSafeProgram(const QString &program)
{
    if (program.startsWith(u'\\') || program.startsWith(u'/') || program.contains(u':'))
        return false;
    return !hasParentPart(program) && !hasParentPart(uptoZero(program));
}

bool isSafe(const GameRecord &record)
{
    return isSafeFolder(record.folder) && isSafeProgram(record.program);
}

std::optional<QByteArray> encodeRecord(const GameRecord &record, QString *error)
{
    auto fail = [error](const Field &f, const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(f.name), why);
        return std::nullopt;
    };

    const CodePage &page = codePage();
    QByteArray bytes(recordSize, ' ');
    for (int i = 0; i < 5; ++i) {
        const Field &f = fields[i];
        const QString &text = field(record, i);
        QStringEncoder encoder(page.name.constData(), QStringConverter::Flag::Stateless);
        const QByteArray encoded = encoder.encode(text);
        const bool roundTrip = QStringDecoder(page.name.constData(), QStringConverter::Flag::Stateless)
                                   .decode(encoded) == text;
        if (encoder.hasError() || !roundTrip)
            return fail(f, QStringLiteral("\"%1\" holds a character that %2 lacks")
                               .arg(text, QString::fromLatin1(page.name)));
        if (encoded.size() > f.width)
            return fail(f, QStringLiteral("\"%1\" is %2 bytes, wider than the field's %3")
                               .arg(text).arg(encoded.size()).arg(f.width));
        std::copy(encoded.begin(), encoded.end(), bytes.begin() + f.offset);
    }
    if (!isSafeFolder(record.folder))
        return fail(fields[1], QStringLiteral("\"%1\" is unsafe: a folder name must not be blank or only dots "
                                              "and spaces (up to a zero byte), nor hold \\ / or :")
                                   .arg(record.folder));
    if (!isSafeProgram(record.program))
        return fail(fields[2], QStringLiteral("\"%1\" is unsafe: a program name must not begin with \\ or /, "
                                              "hold : or have a .. part")
                                   .arg(record.program));
    return bytes;
}

std::optional<QStringList> readNames(const QString &cataloguePath)
{
    const std::optional<QString> host = hostPath(cataloguePath);
    if (!host)
        return std::nullopt;
    QFile file(*host);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Records past the last one counted are never read.
    const qint64 wanted = std::min<qint64>(file.size(), qint64(maxRecords) * recordSize);
    const QByteArray data = file.read(wanted);
    if (file.error() != QFileDevice::NoError || data.size() != wanted)
        return std::nullopt;
    return decodeNames(data);
}

std::optional<GameRecord> readRecord(const QString &cataloguePath, int n)
{
    if (n < 1 || n > maxRecords)
        return std::nullopt;
    const std::optional<QString> host = hostPath(cataloguePath);
    if (!host)
        return std::nullopt;
    QFile file(*host);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (n > file.size() / recordSize || !file.seek(qint64(n - 1) * recordSize))
        return std::nullopt;
    const QByteArray bytes = file.read(recordSize);
    if (bytes.size() != recordSize)
        return std::nullopt;
    GameRecord record = decodeRecord(bytes);
    if (!isSafe(record))
        return std::nullopt;
    return record;
}

QString gameFolder()
{
    return modMain::gCdRoot + categoryOfSelection() + u'\\' + modMain::gGameFolder;
}

QString descriptionFile()
{
    return gameFolder() + QStringLiteral("\\QAR.TXT");
}

QString gameProgram()
{
    return gameFolder() + u'\\' + modMain::gGameProgram;
}

QString copyFolder()
{
    return modMain::gAppPath + categoryOfSelection() + u'\\' + modMain::gGameFolder;
}

QString copyMarker()
{
    return copyFolder() + QStringLiteral("\\QAR.TXT");
}

QString copyProgram()
{
    return copyFolder() + u'\\' + modMain::gGameProgram;
}

} // namespace catalogue
