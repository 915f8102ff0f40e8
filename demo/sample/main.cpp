// quorvia-sample: assembles the sample disc and hard disk from the readable
// sources in demo/disc.
//
//   quorvia-sample SOURCES OUT MENU GAME CATALOGUE_TOOL SOUNDS_FOLDER
//
// SOURCES holds one "<CATEGORY>.tsv" per category (rows of the catalogue tool:
// name, folder, program, parameters, flag) and the game folders
// "<CATEGORY>/<FOLDER>/", whose files are copied to the disc; text files
// (*.TXT, written in UTF-8) are converted to Windows-1252 with CR LF line ends,
// as on a real disc. Every game folder gets a copy of the demo game GAME under
// the record's program name.
//
// OUT/D is the disc: rebuilt from scratch on every run, its files read-only
// like a disc's. OUT/C is the hard disk: it holds the program folder
// C:\QUORVIA with MENU (and the sound player module beside it, where the
// system has one), the catalogue files built by CATALOGUE_TOOL and the two
// sounds of SOUNDS_FOLDER. Anything else on OUT/C (the copies that the
// menu made) is left alone.
#include "catalogue/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>

#include <cstdio>

namespace {

[[noreturn]] void die(const QString &message)
{
    std::fprintf(stderr, "quorvia-sample: %s\n", qPrintable(message));
    std::exit(1);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        die(QStringLiteral("cannot read %1").arg(path));
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write %1").arg(path));
}

void makePath(const QString &path)
{
    if (!QDir().mkpath(path))
        die(QStringLiteral("cannot create %1").arg(path));
}

constexpr QFileDevice::Permissions kReadOnly =
    QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kExecutable = kReadOnly | QFileDevice::ExeOwner | QFileDevice::ExeUser
                                                 | QFileDevice::ExeGroup | QFileDevice::ExeOther;

// Copies a file over any earlier one, with the given permissions.
void copyFile(const QString &from, const QString &to, QFileDevice::Permissions permissions)
{
    if (QFileInfo::exists(to)) {
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
        QFile::remove(to);
    }
    if (!QFile::copy(from, to))
        die(QStringLiteral("cannot copy %1 to %2").arg(from, to));
    QFile::setPermissions(to, permissions);
}

// UTF-8 text with LF or CR LF line ends, as Windows-1252 with CR LF.
QByteArray discText(const QString &path)
{
    QString text = QString::fromUtf8(readAll(path));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QStringEncoder encode("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encode(text);
    if (encode.hasError())
        die(QStringLiteral("%1 holds a character that Windows-1252 lacks").arg(path));
    return bytes;
}

// Copies a source game folder, sub-folders included, converting text files.
int copyGameFolder(const QString &from, const QString &to)
{
    int files = 0;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(info.filePath());
        if (info.isDir()) {
            makePath(target);
        } else if (info.suffix().compare(QLatin1String("TXT"), Qt::CaseInsensitive) == 0) {
            writeAll(target, discText(info.filePath()));
            QFile::setPermissions(target, kReadOnly);
            ++files;
        } else {
            copyFile(info.filePath(), target, kReadOnly);
            ++files;
        }
    }
    return files;
}

struct Row {
    QString name, folder, program;
};

QList<Row> readRows(const QString &tsv)
{
    QList<Row> rows;
    const QStringList lines = QString::fromUtf8(readAll(tsv)).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString(lines[n]).remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 5)
            die(QStringLiteral("%1:%2: expected 5 tab-separated fields").arg(tsv).arg(n + 1));
        rows.append({fields[0].trimmed(), fields[1].trimmed(), fields[2].trimmed()});
    }
    return rows;
}

void buildCatalogue(const QString &tool, const QString &tsv, const QString &out)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(tsv);
    process.start(tool, {QStringLiteral("build"), out});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s", process.readAll().constData());
        die(QStringLiteral("the catalogue tool refused %1").arg(tsv));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7) {
        std::fprintf(stderr, "Usage: quorvia-sample SOURCES OUT MENU GAME CATALOGUE_TOOL SOUNDS_FOLDER\n");
        return 2;
    }
    const QString sources = args[1], out = args[2], menu = args[3], game = args[4], tool = args[5],
                  sounds = args[6];

    // The disc, anew.
    const QString disc = out + QStringLiteral("/D");
    if (QFileInfo::exists(disc) && !QDir(disc).removeRecursively())
        die(QStringLiteral("cannot remove the old disc %1").arg(disc));
    makePath(disc);
    writeAll(disc + QStringLiteral("/PLAXOID.QAR"), "Quorvia sample disc\r\n");
    QFile::setPermissions(disc + QStringLiteral("/PLAXOID.QAR"), kReadOnly);

    // The hard disk and its program folder.
    const QString programFolder = out + QStringLiteral("/C/QUORVIA");
    makePath(programFolder);
    copyFile(menu, programFolder + QStringLiteral("/quorvia"),
             kExecutable | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    const QString soundModule = QFileInfo(menu).absolutePath() + QStringLiteral("/libquorvia_sound.so");
    if (QFileInfo::exists(soundModule))
        copyFile(soundModule, programFolder + QStringLiteral("/libquorvia_sound.so"), kReadOnly | QFileDevice::WriteOwner);
    for (const char *sound : {"BUTCLICK.WAV", "ROLLOVER.WAV"})
        copyFile(sounds + QLatin1Char('/') + QLatin1String(sound), programFolder + QLatin1Char('/') + QLatin1String(sound),
                 kReadOnly | QFileDevice::WriteOwner | QFileDevice::WriteUser);

    int games = 0, files = 0;
    for (const catalogue::Category &category : catalogue::categories) {
        const QString cat = QString::fromStdString(catalogue::categoryFolder(category.key));
        const QString tsv = sources + QLatin1Char('/') + cat + QStringLiteral(".tsv");
        buildCatalogue(tool, tsv, programFolder + QLatin1Char('/') + QLatin1String(category.file));
        for (const Row &row : readRows(tsv)) {
            const QString folder = disc + QLatin1Char('/') + cat + QLatin1Char('/') + row.folder;
            makePath(folder);
            const QString source = sources + QLatin1Char('/') + cat + QLatin1Char('/') + row.folder;
            if (QFileInfo(source).isDir())
                files += copyGameFolder(source, folder);
            // The game's program is the demo game under the record's name.
            const QString program = folder + QLatin1Char('/') + QString(row.program).replace(QLatin1Char('\\'), QLatin1Char('/'));
            makePath(QFileInfo(program).absolutePath());
            copyFile(game, program, kExecutable);
            ++games;
            ++files;
        }
    }
    std::printf("Sample disc: %d games, %d files in %s; program folder %s\n", games, files,
                qPrintable(QDir(disc).absolutePath()), qPrintable(QDir(programFolder).absolutePath()));
    return 0;
}
