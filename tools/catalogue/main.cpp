// quorvia-catalogue: writes, prints and checks the catalogue files of a disc.
#include "catalogue/catalogue.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "startup/modMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {

const char *const helpText = R"(Usage: quorvia-catalogue COMMAND ...

Writes, prints and checks the catalogue files QAR1.PAL .. QAR8.PAL of the
Quorvia menu. A catalogue file is a sequence of 69-byte records, one per game,
in the order of the game list: name (36 bytes), folder (8), program (12),
parameters (12) and flag (1, "1" for a game that must run from the hard disk).
Fields are in Windows-1252 and padded with spaces.

Commands:
  build OUT.PAL < games.tsv
      Writes a catalogue file from tab-separated rows read from standard input
      (UTF-8), one per game: name, folder, program, parameters, flag. Empty
      lines are skipped; leading and trailing spaces of a field are dropped,
      as the menu drops them when it reads the file. A row is refused, with
      its line number and field, when a field is too wide, holds a character
      that Windows-1252 lacks, or names an unsafe folder or program (below),
      and also when it has not exactly five fields or is row 32,768 or later.
      After a refusal no file is written. Exit status 1 on a refusal.
  dump FILE.PAL
      Prints the records as the same tab-separated rows, which build takes
      back. Warnings go to standard error: bytes at the end that do not make a
      whole record, records after the 32,767th (the menu ignores them), and
      fields that hold a tab or line break.
  check PROGRAM_FOLDER DISC_FOLDER
      Checks all eight catalogues of the program folder against the disc
      (names on the disc are matched without regard to case, as the menu
      does). Reports each catalogue missing from the program folder, each
      record whose game folder (DISC\CATEGORY\FOLDER), description file
      (QAR.TXT in the game folder) or program is missing, each unsafe folder
      or program name, and bytes at the end of a catalogue that are not a
      whole record. Exit status 1 when anything is reported.

Unsafe names would make the menu's copy and run commands reach outside the
game's folder: a folder that holds \ / or :, or that is blank or only dots
and spaces (such as . .. or ...; Windows drops a name's trailing dots and
spaces, and a name ends at a zero byte), and a program that begins with \ or
/, holds : or has a .. part. A program in a sub-folder of the game folder,
such as BIN\GO.EXE, is fine. The menu does not load a record with an unsafe
name.

Example:
  printf 'Chess Master\tCHESS\tCHESS.EXE\t-w\t0\n' | quorvia-catalogue build QAR5.PAL
  quorvia-catalogue dump QAR5.PAL
  quorvia-catalogue check /path/to/program /media/cdrom

Exit status: 0 success, 1 refused or problems found, 2 wrong usage or a file
that cannot be read or written.
)";

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usage()
{
    err() << "Usage: quorvia-catalogue build OUT.PAL < games.tsv | dump FILE.PAL | check PROGRAM_FOLDER DISC_FOLDER\n"
             "Try quorvia-catalogue --help.\n";
    return 2;
}

int build(const QString &outPath)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        err() << "cannot read standard input\n";
        return 2;
    }
    // Read whole and split here: a line read from a stream ends at its first
    // zero byte, and the field checks must see a name that one cuts short.
    const QByteArray text = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        err() << "cannot read standard input\n";
        return 2;
    }
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();
    QByteArray catalogue;
    int records = 0;
    int refused = 0;
    int lineNumber = 0;
    for (QByteArray &raw : lines) {
        ++lineNumber;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.isEmpty())
            continue;

        const QStringList parts = QString::fromUtf8(QByteArrayView(raw)).split(u'\t');
        if (parts.size() != 5) {
            err() << "line " << lineNumber << ": " << parts.size()
                  << " tab-separated fields, expected 5 (name, folder, program, parameters, flag)\n";
            ++refused;
            continue;
        }
        if (records == catalogue::maxRecords) {
            err() << "line " << lineNumber << ": more than " << catalogue::maxRecords
                  << " records; the menu reads no further\n";
            ++refused;
            continue;
        }
        catalogue::GameRecord record;
        for (int i = 0; i < 5; ++i) {
            QString text = parts[i];
            qsizetype begin = 0;
            qsizetype end = text.size();
            while (begin < end && text[begin] == u' ')
                ++begin;
            while (end > begin && text[end - 1] == u' ')
                --end;
            catalogue::field(record, i) = text.mid(begin, end - begin);
        }
        QString why;
        const std::optional<QByteArray> bytes = catalogue::encodeRecord(record, &why);
        if (!bytes) {
            err() << "line " << lineNumber << ": " << why << '\n';
            ++refused;
            continue;
        }
        catalogue.append(*bytes);
        ++records;
    }
    if (refused) {
        err() << refused << " line(s) refused; " << outPath << " was not written\n";
        return 1;
    }

    QSaveFile file(outPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(catalogue) != catalogue.size() || !file.commit()) {
        err() << "cannot write " << outPath << ": " << file.errorString() << '\n';
        return 2;
    }
    err() << "wrote " << records << " record(s) to " << outPath << '\n';
    return 0;
}

int dump(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << "cannot read " << path << ": " << file.errorString() << '\n';
        return 2;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err() << "cannot read " << path << ": " << file.errorString() << '\n';
        return 2;
    }

    const qsizetype count = data.size() / catalogue::recordSize;
    for (qsizetype n = 0; n < count; ++n) {
        const catalogue::GameRecord record =
            catalogue::decodeRecord(QByteArrayView(data).sliced(n * catalogue::recordSize, catalogue::recordSize));
        QStringList row;
        for (int i = 0; i < 5; ++i) {
            const QString &text = catalogue::field(record, i);
            if (text.contains(u'\t') || text.contains(u'\n') || text.contains(u'\r'))
                err() << "warning: record " << n + 1 << ": the " << catalogue::fields[i].name
                      << " holds a tab or line break; its row cannot be read back\n";
            row << text;
        }
        if (n == catalogue::maxRecords)
            err() << "warning: records " << n + 1 << " to " << count << " are past the "
                  << catalogue::maxRecords << "th; the menu ignores them\n";
        out() << row.join(u'\t') << '\n';
    }
    out().flush();
    if (const qsizetype rest = data.size() % catalogue::recordSize)
        err() << "warning: " << rest << " byte(s) at the end do not make a whole record; the menu ignores them\n";
    return 0;
}

// A name as a report shows it: a zero byte, where the system's file functions
// end the name, is written as \0 so that the line shows where it is cut.
QString shown(const QString &name)
{
    return QString(name).replace(QChar(0), QStringLiteral("\\0"));
}

// The drive letters under which check sees the two folders.
constexpr char programDrive = 'P';
constexpr char discDrive = 'Q';

int check(const QString &programFolder, const QString &discFolder)
{
    QStringList drives;
    for (const auto &[letter, folder] : {std::pair{programDrive, programFolder}, std::pair{discDrive, discFolder}}) {
        const QFileInfo info(folder);
        if (!info.isDir()) {
            err() << folder << " is not a folder\n";
            return 2;
        }
        const QString absolute = info.absoluteFilePath();
        if (absolute.contains(u';')) {
            err() << folder << ": a folder whose path holds ; cannot be checked\n";
            return 2;
        }
        drives << QString(QLatin1Char(letter)) + u'=' + absolute;
    }
    // The platform layer then resolves the menu's own paths on these folders,
    // matching names without regard to case just as the menu does.
    qputenv("QUORVIA_DRIVES", drives.join(u';').toUtf8());
    platform::reloadDrives();
    modMain::gAppPath = QStringLiteral("%1:\\").arg(QLatin1Char(programDrive));
    modMain::gCdRoot = QStringLiteral("%1:\\").arg(QLatin1Char(discDrive));

    int problems = 0;
    auto report = [&](const QString &text) {
        out() << text << '\n';
        ++problems;
    };

    for (const catalogue::Category &category : catalogue::categories) {
        const QString key = QLatin1String(category.key);
        const QString file = QLatin1String(category.file);
        const std::string path = catalogue::cataloguePath(key).toStdString();
        if (!platform::isOrdinaryFile(path)) {
            report(QStringLiteral("%1: missing from the program folder").arg(file));
            continue;
        }
        const std::optional<std::string> data = platform::readFile(path);
        if (!data) {
            report(QStringLiteral("%1: cannot be read").arg(file));
            continue;
        }
        const qsizetype size = qsizetype(data->size());
        if (const qsizetype rest = size % catalogue::recordSize)
            report(QStringLiteral("%1: %2 byte(s) at the end do not make a whole record").arg(file).arg(rest));
        const qsizetype count = size / catalogue::recordSize;
        if (count > catalogue::maxRecords)
            report(QStringLiteral("%1: %2 records; the menu ignores those after the %3th")
                       .arg(file).arg(count).arg(catalogue::maxRecords));

        modMain::gGameCategory = key;
        for (qsizetype n = 0; n < std::min<qsizetype>(count, catalogue::maxRecords); ++n) {
            const catalogue::GameRecord record = catalogue::decodeRecord(
                QByteArrayView(data->data() + n * catalogue::recordSize, catalogue::recordSize));
            const QString where = QStringLiteral("%1 record %2 (%3)").arg(file).arg(n + 1).arg(record.name);
            bool safe = true;
            if (!catalogue::isSafeFolder(record.folder)) {
                report(QStringLiteral("%1: unsafe folder \"%2\"").arg(where, shown(record.folder)));
                safe = false;
            }
            if (!catalogue::isSafeProgram(record.program)) {
                report(QStringLiteral("%1: unsafe program \"%2\"").arg(where, shown(record.program)));
                safe = false;
            }
            if (!safe)
                continue;

            modMain::gGameFolder = record.folder;
            modMain::gGameProgram = record.program;
            const QString folder = catalogue::gameFolder();
            if (!platform::isFolder(folder.toStdString())) {
                report(QStringLiteral("%1: game folder %2 missing").arg(where, folder.mid(3)));
                continue;
            }
            const QString description = catalogue::descriptionFile();
            if (!platform::isOrdinaryFile(description.toStdString()))
                report(QStringLiteral("%1: description file %2 missing").arg(where, description.mid(3)));
            const QString program = catalogue::gameProgram();
            if (!platform::isOrdinaryFile(program.toStdString()))
                report(QStringLiteral("%1: program %2 missing").arg(where, program.mid(3)));
        }
    }
    out().flush();
    if (problems)
        err() << problems << " problem(s) found\n";
    return problems ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out() << helpText;
        return 0;
    }
    int status;
    if (args.size() == 2 && args[0] == u"build")
        status = build(args[1]);
    else if (args.size() == 2 && args[0] == u"dump")
        status = dump(args[1]);
    else if (args.size() == 3 && args[0] == u"check")
        status = check(args[1], args[2]);
    else
        status = usage();
    out().flush();
    err().flush();
    return status;
}
