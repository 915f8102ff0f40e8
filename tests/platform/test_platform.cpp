// The POSIX platform layer against real folders, files and processes made in
// a temporary folder.
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/testing.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

using platform::CopyResult;

Q_DECLARE_METATYPE(CopyResult)

namespace {

std::string s(const QString &text)
{
    return text.toStdString();
}

void writeFile(const QString &path, const QByteArray &content, mode_t mode = 0644)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
    file.close();
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Started with this argument and two host paths, the test program copies
// one file and exits with kChildExit + the CopyResult: a copy made by another
// user (see copyOverOtherUsersFile).
const char kCopyAsChild[] = "--copy-host-file";
constexpr int kChildExit = 10;

// The names in a folder, hidden ones included: what a copy left there.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Bytes that differ from one offset to the next, so that a shifted or partly
// overwritten copy shows.
QByteArray pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + i / 251);
    return bytes;
}

// Puts the real reads and kernel copy of a file copy back when it goes out
// of scope, also when a check fails on the way.
struct CopyHooks {
    ~CopyHooks()
    {
        platform::testing::setCopyRead({});
        platform::testing::setKernelCopy({});
    }
};

// The drive table as "C=/x;Z=/" for comparisons.
QString tableText()
{
    QStringList entries;
    for (const platform::Drive &drive : platform::drives())
        entries << QStringLiteral("%1=%2").arg(QChar(drive.letter), QString::fromStdString(drive.folder));
    return entries.join(QLatin1Char(';'));
}

void setDrives(const QString &value)
{
    qputenv("QUORVIA_DRIVES", value.toUtf8());
    platform::reloadDrives();
}

// Collects what is written to stderr between start and stop.
class StderrCapture {
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = ::dup(2);
        ::dup2(m_file.handle(), 2);
    }
    QString stop()
    {
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_file.seek(0);
        return QString::fromUtf8(m_file.readAll());
    }

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

// A "#!" script that writes its current folder and its arguments, one per
// line in brackets, to `record` (whole or not at all).
QByteArray recorderScript(const QString &record)
{
    return "#!/bin/sh\n"
           "{ /bin/pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '"
           + QFile::encodeName(record) + ".tmp'\n/bin/mv '" + QFile::encodeName(record) + ".tmp' '"
           + QFile::encodeName(record) + "'\n";
}

const QStringList kEnvironment{
    "QUORVIA_DRIVES", "HOME", "PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
    "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"};

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_disc;  // drive E
    QString m_home;  // drive C
    QString m_startFolder;
    QHash<QString, QByteArray> m_savedEnvironment;

    QString disc(const QString &relative) const { return m_disc + QLatin1Char('/') + relative; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_root = QDir(m_tmp.path()).canonicalPath();
        m_disc = m_root + QStringLiteral("/disc");
        m_home = m_root + QStringLiteral("/home");
        QVERIFY(QDir().mkpath(m_disc));
        QVERIFY(QDir().mkpath(m_home));
        m_startFolder = QDir::currentPath();
        for (const QString &name : kEnvironment)
            if (qEnvironmentVariableIsSet(name.toUtf8().constData()))
                m_savedEnvironment.insert(name, qgetenv(name.toUtf8().constData()));
    }

    void init() { setDrives(QStringLiteral("C=%1;E=%2").arg(m_home, m_disc)); }

    void cleanup()
    {
        for (const QString &name : kEnvironment) {
            const QByteArray key = name.toUtf8();
            if (m_savedEnvironment.contains(name))
                qputenv(key.constData(), m_savedEnvironment.value(name));
            else
                qunsetenv(key.constData());
        }
        platform::reloadDrives();
        QDir::setCurrent(m_startFolder);
    }

    // ---- Drive table -------------------------------------------------------

    void drivesFromVariable_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("malformed");

        QTest::newRow("listed drives, Z added") << "C=/home/ann;D=/media/cdrom" << "C=/home/ann;D=/media/cdrom;Z=/"
                                                << QStringList();
        QTest::newRow("Z listed is kept") << "C=/x;Z=/srv/z" << "C=/x;Z=/srv/z" << QStringList();
        QTest::newRow("lower-case letters, trailing slash") << "c=/x;e=/y/" << "C=/x;E=/y;Z=/" << QStringList();
        QTest::newRow("letter order") << "E=/e;C=/c" << "C=/c;E=/e;Z=/" << QStringList();
        QTest::newRow("empty entries") << ";;C=/x;" << "C=/x;Z=/" << QStringList();
        QTest::newRow("malformed entries skipped")
            << "C=/x;DD=/y;E=relative;nothing;F=/f;=/g" << "C=/x;F=/f;Z=/"
            << QStringList{"DD=/y", "E=relative", "nothing", "=/g"};
        QTest::newRow("letter twice: first wins") << "C=/a;c=/b" << "C=/a;Z=/" << QStringList{"c=/b"};
    }

    void drivesFromVariable()
    {
        QFETCH(QString, value);
        QFETCH(QString, table);
        QFETCH(QStringList, malformed);

        StderrCapture capture;
        setDrives(value);
        const QString first = tableText();
        platform::drives(); // the table is kept: nothing is reported twice
        const QString again = tableText();
        const QStringList lines = capture.stop().split(QLatin1Char('\n'), Qt::SkipEmptyParts);

        QCOMPARE(first, table);
        QCOMPARE(again, table);
        QCOMPARE(lines.size(), malformed.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].contains(QLatin1Char('"') + malformed[i] + QLatin1Char('"')), qPrintable(lines[i]));
    }

    void defaultDiscovery()
    {
        qunsetenv("QUORVIA_DRIVES");
        qputenv("HOME", QFile::encodeName(m_home));
        platform::reloadDrives();
        const auto &table = platform::drives();

        QVERIFY(table.size() >= 2);
        QCOMPARE(table.front().letter, 'C');
        QCOMPARE(QString::fromStdString(table.front().folder), m_home);
        QCOMPARE(table.back().letter, 'Z');
        QCOMPARE(table.back().folder, std::string("/"));
        // Media in between: D onwards, in the order of their mount points.
        for (std::size_t i = 1; i + 1 < table.size(); ++i) {
            QCOMPARE(table[i].letter, char('D' + i - 1));
            if (i > 1)
                QVERIFY(table[i - 1].folder < table[i].folder);
        }
    }

    // ---- DOS paths ---------------------------------------------------------

    void toHostPath_data()
    {
        writeFile(disc("BOARD/CHESS/QAR.TXT"), "chess");
        writeFile(disc("lower/game.exe"), "MZ");
        writeFile(disc("twins/aBC"), "1");
        writeFile(disc("twins/Abc"), "2");

        QTest::addColumn<QString>("dosPath");
        QTest::addColumn<QString>("host"); // below the drive E folder; "-" for none

        QTest::newRow("exact") << "E:\\BOARD\\CHESS\\QAR.TXT" << "BOARD/CHESS/QAR.TXT";
        QTest::newRow("case-blind") << "e:\\board\\Chess\\qar.txt" << "BOARD/CHESS/QAR.TXT";
        QTest::newRow("upper-case name, lower-case disc") << "E:\\LOWER\\GAME.EXE" << "lower/game.exe";
        QTest::newRow("doubled separators") << "E:\\\\BOARD\\\\CHESS\\QAR.TXT" << "BOARD/CHESS/QAR.TXT";
        QTest::newRow("slash separators") << "E:/BOARD/CHESS/QAR.TXT" << "BOARD/CHESS/QAR.TXT";
        QTest::newRow("dot and dot-dot") << "E:\\BOARD\\.\\CHESS\\..\\CHESS\\QAR.TXT" << "BOARD/CHESS/QAR.TXT";
        QTest::newRow("dot-dot clamped at root") << "E:\\..\\..\\BOARD\\..\\..\\BOARD" << "BOARD";
        QTest::newRow("root") << "E:\\" << "";
        QTest::newRow("drive alone") << "E:" << "";
        QTest::newRow("missing parts kept as written") << "E:\\board\\New\\FILE.TXT" << "BOARD/New/FILE.TXT";
        QTest::newRow("several case-blind matches: byte order") << "E:\\TWINS\\ABC" << "twins/Abc";
        QTest::newRow("unknown drive") << "Q:\\BOARD" << "-";
        QTest::newRow("no drive") << "BOARD\\CHESS" << "-";
        QTest::newRow("empty") << "" << "-";
        // The file system would cut the name at the zero byte.
        QTest::newRow("zero byte after dot-dot") << u"E:\\BOARD\\CHESS\\..\0\\QAR.TXT"_qs << "-";
        QTest::newRow("zero byte inside a name") << u"E:\\BOARD\\CHESS\\QAR.TXT\0.EXE"_qs << "-";
    }

    void toHostPath()
    {
        QFETCH(QString, dosPath);
        QFETCH(QString, host);
        const auto result = platform::toHostPath(s(dosPath));
        if (host == QLatin1String("-")) {
            QVERIFY(!result);
            return;
        }
        QVERIFY(result);
        QCOMPARE(QString::fromStdString(*result), host.isEmpty() ? m_disc : disc(host));
    }

    void toDosPath_data()
    {
        QTest::addColumn<QString>("host"); // below the fixture root
        QTest::addColumn<QString>("dosPath");

        const QString zRoot = "Z:" + QString(m_root).replace(QLatin1Char('/'), QLatin1Char('\\'));
        QTest::newRow("drive root") << "ann" << "C:\\";
        QTest::newRow("drive root, trailing slash") << "ann/" << "C:\\";
        QTest::newRow("inside a drive") << "ann/games/chess" << "C:\\games\\chess";
        QTest::newRow("longest prefix wins") << "ann/cd/BOARD" << "D:\\BOARD";
        QTest::newRow("not a string prefix") << "annex/x" << zRoot + "\\annex\\x";
        QTest::newRow("dot-dot in the host path") << "ann/cd/../games" << "C:\\games";
    }

    void toDosPath()
    {
        QFETCH(QString, host);
        QFETCH(QString, dosPath);
        setDrives(QStringLiteral("C=%1/ann;D=%1/ann/cd").arg(m_root));
        QCOMPARE(QString::fromStdString(platform::toDosPath(s(m_root + QLatin1Char('/') + host))), dosPath);
    }

    void toDosPathOfRootAndProgram()
    {
        QCOMPARE(platform::toDosPath("/"), std::string("Z:\\"));
        const QString programFolder = QCoreApplication::applicationDirPath();
        QCOMPARE(platform::programFolder(), platform::toDosPath(s(programFolder)));
        setDrives(QStringLiteral("G=%1").arg(programFolder));
        QCOMPARE(platform::programFolder(), std::string("G:\\"));
    }

    // ---- Files and folders -------------------------------------------------

    void isOrdinaryFile_data()
    {
        writeFile(disc("files/PLAXOID.QAR"), "");
        writeFile(disc("files/READONLY.QAR"), "", 0444);
        writeFile(disc("files/.hidden"), "");
        QDir().mkpath(disc("files/FOLDER.QAR"));
        ::mkfifo(QFile::encodeName(disc("files/PIPE.QAR")).constData(), 0644);

        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("ordinary");
        QTest::newRow("file") << "E:\\FILES\\PLAXOID.QAR" << true;
        QTest::newRow("case-blind") << "e:\\files\\plaxoid.qar" << true;
        QTest::newRow("read-only file") << "E:\\FILES\\READONLY.QAR" << true;
        QTest::newRow("hidden") << "E:\\FILES\\.hidden" << false;
        QTest::newRow("folder") << "E:\\FILES\\FOLDER.QAR" << false;
        QTest::newRow("fifo") << "E:\\FILES\\PIPE.QAR" << false;
        QTest::newRow("missing") << "E:\\FILES\\NONE.QAR" << false;
        QTest::newRow("missing drive") << "Q:\\PLAXOID.QAR" << false;
        QTest::newRow("zero byte after the name") << u"E:\\FILES\\PLAXOID.QAR\0.TXT"_qs << false;
    }

    void isOrdinaryFile()
    {
        QFETCH(QString, path);
        QFETCH(bool, ordinary);
        QCOMPARE(platform::isOrdinaryFile(s(path)), ordinary);
    }

    void readOnly_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("readOnlyMode");
        QTest::addColumn<int>("writableMode");
        QTest::newRow("plain file") << 0664 << 0444 << 0644;
        QTest::newRow("executable") << 0750 << 0550 << 0750;
        QTest::newRow("already read-only") << 0400 << 0400 << 0600;
    }

    void readOnly()
    {
        QFETCH(int, mode);
        QFETCH(int, readOnlyMode);
        QFETCH(int, writableMode);
        const QString file = disc("attr/FILE.DAT");
        writeFile(file, "x", mode_t(mode));

        QCOMPARE(platform::isReadOnly("E:\\ATTR\\FILE.DAT"), (mode & 0200) == 0);
        QVERIFY(platform::setReadOnly("E:\\ATTR\\FILE.DAT", true));
        QCOMPARE(int(modeOf(file)), readOnlyMode);
        QVERIFY(platform::isReadOnly("E:\\ATTR\\FILE.DAT"));
        QVERIFY(platform::setReadOnly("E:\\ATTR\\FILE.DAT", false));
        QCOMPARE(int(modeOf(file)), writableMode);
        QVERIFY(!platform::isReadOnly("E:\\ATTR\\FILE.DAT"));
    }

    void readOnlyOfMissingFile()
    {
        QVERIFY(!platform::isReadOnly("E:\\NONE.DAT"));
        QVERIFY(!platform::setReadOnly("E:\\NONE.DAT", true));
    }

    void createFolder()
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        QVERIFY(platform::createFolder("E:\\NEWDIR"));
        QVERIFY(QFileInfo(disc("NEWDIR")).isDir());
        QCOMPARE(modeOf(disc("NEWDIR")), mode_t(0777 & ~mask));
        QVERIFY(platform::isFolder("e:\\newdir"));
        QVERIFY(platform::exists("E:\\NEWDIR"));
        QVERIFY(!platform::createFolder("E:\\NEWDIR"));             // exists already
        QVERIFY(!platform::createFolder("E:\\NOPARENT\\CHILD"));    // one level only
        QVERIFY(!QFileInfo::exists(disc("NOPARENT")));
        QVERIFY(!platform::createFolder("Q:\\NEWDIR"));             // no such drive
    }

    // A drive's own folder is never made, also when it is gone: the drive is
    // not there, whichever way its root is written.
    void createFolderOfDriveRoot_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "G:\\";
        QTest::newRow("drive alone") << "g:";
        QTest::newRow("dot") << "G:\\.\\";
        QTest::newRow("dot-dot") << "G:\\SUB\\..";
        QTest::newRow("through drive Z") << "Z:" + QString(m_root).replace(QLatin1Char('/'), QLatin1Char('\\')) + "\\gone";
    }

    void createFolderOfDriveRoot()
    {
        QFETCH(QString, path);
        QDir(m_root + QStringLiteral("/gone")).removeRecursively();
        setDrives(QStringLiteral("C=%1;E=%2;G=%3/gone").arg(m_home, m_disc, m_root));
        QVERIFY(!platform::createFolder(s(path)));
        QVERIFY(!QFileInfo::exists(m_root + QStringLiteral("/gone")));
    }

    void currentFolder()
    {
        QDir().mkpath(disc("GAMES/Chess"));
        QVERIFY(platform::changeDirectory("e:\\games\\chess"));
        QCOMPARE(QDir::currentPath(), disc("GAMES/Chess"));
        QCOMPARE(platform::currentDirectory(), std::string("E:\\GAMES\\Chess"));

        QVERIFY(!platform::changeDirectory("E:\\GAMES\\NONE"));
        QCOMPARE(platform::currentDirectory(), std::string("E:\\GAMES\\Chess"));

        QVERIFY(platform::changeDirectory("E:\\"));
        QCOMPARE(platform::currentDirectory(), std::string("E:\\"));
    }

    void listings()
    {
        for (const char *name : {"b.txt", "A.txt", "c.TXT", ".hidden", "a.txt"})
            writeFile(disc(QStringLiteral("list/") + name), "x");
        for (const char *name : {"Zeta", "alpha", ".git", "Beta"})
            QDir().mkpath(disc(QStringLiteral("list/") + name));
        ::mkfifo(QFile::encodeName(disc("list/pipe")).constData(), 0644);

        const auto files = platform::ordinaryFiles("E:\\LIST");
        QVERIFY(files);
        QCOMPARE(*files, (std::vector<std::string>{"A.txt", "a.txt", "b.txt", "c.TXT"}));
        const auto folders = platform::subfolders("e:\\list\\");
        QVERIFY(folders);
        QCOMPARE(*folders, (std::vector<std::string>{"alpha", "Beta", "Zeta"}));

        QVERIFY(!platform::ordinaryFiles("E:\\NOLIST"));
        QVERIFY(!platform::subfolders("E:\\NOLIST"));
        QVERIFY(!platform::ordinaryFiles("E:\\LIST\\b.txt"));
        QVERIFY(platform::ordinaryFiles("E:\\LIST\\ALPHA")->empty());
    }

    void readFile()
    {
        const QByteArray content("line 1\r\n\0binary\xff", 16);
        writeFile(disc("read/QAR.TXT"), content);
        const auto read = platform::readFile("E:\\READ\\qar.txt");
        QVERIFY(read);
        QCOMPARE(QByteArray::fromStdString(*read), content);
        QVERIFY(!platform::readFile("E:\\READ\\NONE.TXT"));
        QVERIFY(!platform::readFile("E:\\READ"));
    }

    // ---- Copying a file ----------------------------------------------------

    void copyFile_data()
    {
        QTest::addColumn<QString>("destination"); // what is at the destination first
        QTest::addColumn<CopyResult>("result");
        QTest::addColumn<QByteArray>("content");  // at the destination afterwards

        QTest::newRow("new file") << "none" << CopyResult::Copied << QByteArray("source");
        QTest::newRow("replaces a file") << "writable" << CopyResult::Copied << QByteArray("source");
        QTest::newRow("read-only destination") << "read-only" << CopyResult::DestinationReadOnly
                                               << QByteArray("old");
        QTest::newRow("same path") << "same" << CopyResult::SameFile << QByteArray("source");
        QTest::newRow("hard link") << "link" << CopyResult::SameFile << QByteArray("source");
    }

    void copyFile()
    {
        QFETCH(QString, destination);
        QFETCH(CopyResult, result);
        QFETCH(QByteArray, content);

        QDir(disc("copy")).removeRecursively();
        const QString source = disc("copy/from/SRC.DAT");
        writeFile(source, "source", 0640);
        QDir().mkpath(disc("copy/to"));
        QString target = disc("copy/to/DST.DAT");
        std::string dosTarget = "E:\\COPY\\TO\\DST.DAT";
        if (destination == QLatin1String("writable"))
            writeFile(target, "old, and longer than the source", 0666);
        else if (destination == QLatin1String("read-only"))
            writeFile(target, "old", 0444);
        else if (destination == QLatin1String("same"))
            target = source, dosTarget = "e:\\copy\\FROM\\src.dat";
        else if (destination == QLatin1String("link"))
            QCOMPARE(::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()), 0);

        QCOMPARE(platform::copyFile("E:\\COPY\\FROM\\SRC.DAT", dosTarget), result);
        QCOMPARE(contentOf(target), content);
        QCOMPARE(contentOf(source), QByteArray("source"));
        if (result == CopyResult::Copied)
            QCOMPARE(modeOf(target), mode_t(0640));
        // No temporary file is left behind.
        QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void copyKeepsReadOnly()
    {
        writeFile(disc("copyro/SRC.DAT"), "source", 0444);
        QCOMPARE(platform::copyFile("E:\\COPYRO\\SRC.DAT", "E:\\COPYRO\\DST.DAT"), CopyResult::Copied);
        QVERIFY(platform::isReadOnly("E:\\COPYRO\\DST.DAT"));
    }

    void copyFailures()
    {
        writeFile(disc("copyfail/SRC.DAT"), "source");
        QCOMPARE(platform::copyFile("E:\\COPYFAIL\\NONE.DAT", "E:\\COPYFAIL\\DST.DAT"), CopyResult::Failed);
        QCOMPARE(platform::copyFile("E:\\COPYFAIL\\SRC.DAT", "E:\\COPYFAIL\\NODIR\\DST.DAT"), CopyResult::Failed);
        QCOMPARE(platform::copyFile("E:\\COPYFAIL", "E:\\DST.DAT"), CopyResult::Failed);
        QCOMPARE(platform::copyFile("Q:\\SRC.DAT", "E:\\DST.DAT"), CopyResult::Failed);
        QVERIFY(!QFileInfo::exists(disc("copyfail/DST.DAT")));
        QVERIFY(!QFileInfo::exists(disc("DST.DAT")));
    }

    // A copy that breaks off after part of the new content was written
    // leaves the old destination byte for byte as it was, and no temporary
    // file; a new destination is not made.
    void copyBreakingOffPartWay_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::newRow("replacing a file") << "BIG.DAT";
        QTest::newRow("new file") << "NEW.DAT";
    }

    void copyBreakingOffPartWay()
    {
        QFETCH(QString, destination);
        QDir(disc("broken")).removeRecursively();
        const QByteArray old = pattern(200 * 1024, 'o');
        writeFile(disc("broken/BIG.DAT"), pattern(1 << 20, 'n'));
        writeFile(disc("broken/to/BIG.DAT"), old);

        // A source that gives its first 64 KB, then a read error (a
        // scratched disc, or one taken out).
        CopyHooks hooks;
        qint64 given = 0;
        platform::testing::setCopyRead([&](std::intptr_t fd, char *buffer, std::size_t size) -> long long {
            if (given >= 64 * 1024)
                return -1;
            const ssize_t got = ::read(int(fd), buffer, std::min<std::size_t>(size, std::size_t(64 * 1024 - given)));
            given += std::max<ssize_t>(got, 0);
            return got;
        });
        QCOMPARE(platform::copyFile("E:\\BROKEN\\BIG.DAT", s("E:\\BROKEN\\TO\\" + destination)), CopyResult::Failed);
        QCOMPARE(given, qint64(64 * 1024));
        QCOMPARE(contentOf(disc("broken/to/BIG.DAT")), old);
        QCOMPARE(namesIn(disc("broken/to")), QStringList{"BIG.DAT"});
    }

    // A copy that runs out of room part-way (a file size limit stands in for
    // a full disk) leaves the old destination as it was and nothing else.
    void copyFailingPartWay()
    {
        writeFile(disc("full/BIG.DAT"), QByteArray(1 << 20, 'b'));
        writeFile(disc("full/to/BIG.DAT"), "old");
        writeFile(disc("full/to/OTHER.DAT"), "");

        struct rlimit saved {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const CopyResult replaced = platform::copyFile("E:\\FULL\\BIG.DAT", "E:\\FULL\\TO\\BIG.DAT");
        const CopyResult created = platform::copyFile("E:\\FULL\\BIG.DAT", "E:\\FULL\\TO\\NEW.DAT");
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(replaced, CopyResult::Failed);
        QCOMPARE(created, CopyResult::Failed);
        QCOMPARE(contentOf(disc("full/to/BIG.DAT")), QByteArray("old"));
        QCOMPARE(QDir(disc("full/to")).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"BIG.DAT", "OTHER.DAT"}));
    }

    // The temporary copy's name does not grow with the file's: a name of the
    // longest length the system allows copies, new or over an old file.
    void copyLongestName()
    {
        QDir(disc("long")).removeRecursively();
        const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".DAT");
        QCOMPARE(QFile::encodeName(name).size(), 255);
        writeFile(disc("long/from/" + name), "new");
        writeFile(disc("long/to/" + name), "old");
        QDir().mkpath(disc("long/new"));
        for (const QString &to : {QStringLiteral("to"), QStringLiteral("new")}) {
            QCOMPARE(platform::copyFile(s("E:\\LONG\\FROM\\" + name), s("E:\\LONG\\" + to + "\\" + name)),
                     CopyResult::Copied);
            QCOMPARE(contentOf(disc("long/" + to + "/" + name)), QByteArray("new"));
            QCOMPARE(namesIn(disc("long/" + to)), QStringList{name});
        }
    }

    // A copy has the source's permission bits less the umask, as any new
    // file: a disc file open to everyone is not writable by everyone on the
    // hard disk. Read-only stays read-only.
    void copyPermissions_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("copy");
        QTest::newRow("0777 disc file") << 0777 << 022 << 0755;
        QTest::newRow("0666 under a private umask") << 0666 << 077 << 0600;
        QTest::newRow("read-only") << 0444 << 022 << 0444;
        QTest::newRow("read-only program") << 0555 << 022 << 0555;
        QTest::newRow("group bits kept") << 0640 << 022 << 0640;
    }

    void copyPermissions()
    {
        QFETCH(int, source);
        QFETCH(int, umask);
        QFETCH(int, copy);
        QDir(disc("perm")).removeRecursively();
        writeFile(disc("perm/SRC.DAT"), "x", mode_t(source));
        writeFile(disc("perm/OLD.DAT"), "old", 0666);
        const mode_t saved = ::umask(mode_t(umask));
        const CopyResult created = platform::copyFile("E:\\PERM\\SRC.DAT", "E:\\PERM\\NEW.DAT");
        const CopyResult replaced = platform::copyFile("E:\\PERM\\SRC.DAT", "E:\\PERM\\OLD.DAT");
        ::umask(saved);
        QCOMPARE(created, CopyResult::Copied);
        QCOMPARE(replaced, CopyResult::Copied);
        QCOMPARE(int(modeOf(disc("perm/NEW.DAT"))), copy);
        QCOMPARE(int(modeOf(disc("perm/OLD.DAT"))), copy);
        QCOMPARE(platform::isReadOnly("E:\\PERM\\NEW.DAT"), (source & 0200) == 0);
    }

    // An unprivileged user's copy keeps a file of the destination that the
    // user may not write (another user's), as cp would refuse it, though the
    // folder would let a rename replace it. The copy runs in a child process
    // that drops to the user "nobody".
    void copyOverOtherUsersFile_data()
    {
        QTest::addColumn<QString>("owner"); // of the file at the destination
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("another user's file") << "root" << int(CopyResult::DestinationReadOnly) << QByteArray("root's");
        QTest::newRow("the user's own file") << "nobody" << int(CopyResult::Copied) << QByteArray("source");
        QTest::newRow("no file yet") << "none" << int(CopyResult::Copied) << QByteArray("source");
    }

    void copyOverOtherUsersFile()
    {
        QFETCH(QString, owner);
        QFETCH(int, result);
        QFETCH(QByteArray, content);
        if (::geteuid() != 0)
            QSKIP("making another user's file needs root");

        // A folder that "nobody" owns, reachable through folders open to all.
        QTemporaryDir open(QDir::tempPath() + QStringLiteral("/quorvia-user-XXXXXX"));
        QVERIFY(open.isValid());
        QCOMPARE(::chmod(QFile::encodeName(open.path()).constData(), 0755), 0);
        const QString folder = open.path() + QStringLiteral("/nobody");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        const QString source = open.path() + QStringLiteral("/SRC.DAT");
        const QString target = folder + QStringLiteral("/DST.DAT");
        writeFile(source, "source", 0644);
        if (owner != QLatin1String("none")) {
            writeFile(target, owner == QLatin1String("root") ? "root's" : "nobody's", 0644);
            if (owner == QLatin1String("nobody"))
                QCOMPARE(::chown(QFile::encodeName(target).constData(), 65534, 65534), 0);
        }

        QProcess child;
        child.start(QStringLiteral("/usr/bin/setpriv"),
                    {"--reuid=65534", "--regid=65534", "--clear-groups", QCoreApplication::applicationFilePath(),
                     QString::fromLatin1(kCopyAsChild), source, target});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() >= kChildExit, child.readAllStandardError().constData());
        QCOMPARE(child.exitCode() - kChildExit, result);
        QCOMPARE(contentOf(target), content);
        QCOMPARE(namesIn(folder), QStringList{"DST.DAT"});
    }

    // The kernel's copy may stop short or copy nothing at all for a file that
    // is not empty (some file systems report 0 bytes): the rest is read and
    // written. A copy whose size is not the source's is a failed copy.
    void copyWhenKernelCopyFallsShort_data()
    {
        QTest::addColumn<QString>("kernel");
        QTest::addColumn<CopyResult>("result");
        QTest::newRow("copies nothing") << "nothing" << CopyResult::Copied;
        QTest::newRow("stops after 64 KB") << "part" << CopyResult::Copied;
        QTest::newRow("claims bytes it did not write") << "short" << CopyResult::Failed;
        QTest::newRow("read error") << "error" << CopyResult::Failed;
    }

    void copyWhenKernelCopyFallsShort()
    {
        QFETCH(QString, kernel);
        QFETCH(CopyResult, result);
        QDir(disc("kernel")).removeRecursively();
        const QByteArray source = pattern(300 * 1024, 'k');
        const QByteArray old = pattern(1000, 'o');
        writeFile(disc("kernel/SRC.DAT"), source);
        writeFile(disc("kernel/to/OLD.DAT"), old);

        CopyHooks hooks;
        bool called = false;
        platform::testing::setKernelCopy([&](int in, int out, std::size_t) -> long long {
            if (called && kernel != QLatin1String("short"))
                return 0;
            called = true;
            if (kernel == QLatin1String("error")) {
                errno = EIO;
                return -1;
            }
            if (kernel == QLatin1String("nothing"))
                return 0;
            // Copies the first 64 KB for real; "short" then moves the
            // source's offset to its end and claims the whole file.
            char buffer[64 * 1024];
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got <= 0 || ::write(out, buffer, std::size_t(got)) != got)
                return -1;
            if (kernel == QLatin1String("short"))
                return ::lseek(in, 0, SEEK_END) == -1 ? -1 : source.size();
            return got;
        });
        QCOMPARE(platform::copyFile("E:\\KERNEL\\SRC.DAT", "E:\\KERNEL\\TO\\OLD.DAT"), result);
        QVERIFY(called);
        const QByteArray expected = result == CopyResult::Copied ? source : old;
        QCOMPARE(contentOf(disc("kernel/to/OLD.DAT")).size(), expected.size());
        QCOMPARE(contentOf(disc("kernel/to/OLD.DAT")), expected);
        QCOMPARE(namesIn(disc("kernel/to")), QStringList{"OLD.DAT"});
    }

    // ---- Shell -------------------------------------------------------------

    void shellOpenMissing_data()
    {
        QDir().mkpath(disc("SHELL"));
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("code");
        QTest::newRow("missing file") << "E:\\SHELL\\NONE.EXE" << 2;
        QTest::newRow("missing folder") << "E:\\NOFOLDER\\GAME.EXE" << 3;
        QTest::newRow("unknown drive") << "Q:\\GAME.EXE" << 3;
        QTest::newRow("bare name not on PATH") << "quorvia-no-such-program" << 2;
        // A name cut at its zero byte would be the folder, or a program on PATH.
        QTest::newRow("zero byte after dot-dot") << u"E:\\SHELL\\..\0\\NONE.EXE"_qs << 2;
        QTest::newRow("bare name with a zero byte") << u"true\0.EXE"_qs << 2;
    }

    void shellOpenMissing()
    {
        QFETCH(QString, file);
        QFETCH(int, code);
        QCOMPARE(platform::shellOpen(0, s(file), ""), code);
    }

    // A native program is started with its parameters split as a command line
    // and the current folder inherited, with or without the execute bit.
    void shellOpenScript_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("executable") << 0755;
        QTest::newRow("no execute bit") << 0644;
    }

    void shellOpenScript()
    {
        QFETCH(int, mode);
        const QString record = disc("script/record");
        QFile::remove(record);
        writeFile(disc("script/GAME/START"), recorderScript(record), mode_t(mode));
        QDir().mkpath(disc("script/WORK"));
        QVERIFY(platform::changeDirectory("E:\\SCRIPT\\WORK"));

        QCOMPARE(platform::shellOpen(0, "e:\\script\\game\\start", "-level 3 \"two words\""), 42);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        QCOMPARE(QString::fromUtf8(contentOf(record)),
                 disc("script/WORK") + QStringLiteral("\n[-level]\n[3]\n[two words]\n"));
    }

    void shellOpenElf_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("code");
        QTest::newRow("executable") << 0755 << 42;
        QTest::newRow("no execute bit") << 0644 << 5;
    }

    void shellOpenElf()
    {
        QFETCH(int, mode);
        QFETCH(int, code);
        QFile elf(QStandardPaths::findExecutable(QStringLiteral("true")));
        QVERIFY(elf.open(QIODevice::ReadOnly));
        // One file per row: a program still running cannot be rewritten.
        const QString name = QStringLiteral("TRUE%1").arg(mode, 0, 8);
        writeFile(disc("elf/" + name), elf.readAll(), mode_t(mode));
        QCOMPARE(platform::shellOpen(0, s("E:\\ELF\\" + name), ""), code);
    }

    // Windows programs go to wine when it is on PATH; a fake wine records
    // what it is given.
    void shellOpenWindows_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("wine");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("record"); // the arguments wine got

        const QString setup = disc("WIN/SETUP.EXE");
        QTest::newRow("exe, no wine") << "E:\\WIN\\SETUP.EXE" << false << 31 << "";
        QTest::newRow("exe with wine") << "E:\\WIN\\setup.exe" << true << 42 << "[" + setup + "][-x][a b]";
        QTest::newRow("MZ header, no extension, no wine") << "E:\\WIN\\DATA" << false << 31 << "";
        QTest::newRow("bat with wine") << "E:\\WIN\\GO.BAT" << true << 42 << "[" + disc("WIN/GO.BAT") + "][-x][a b]";
        QTest::newRow("bare CONTROL.EXE, no wine") << "CONTROL.EXE" << false << 2 << "";
        QTest::newRow("bare CONTROL.EXE with wine") << "CONTROL.EXE" << true << 42 << "[CONTROL.EXE][-x][a b]";
    }

    void shellOpenWindows()
    {
        QFETCH(QString, file);
        QFETCH(bool, wine);
        QFETCH(int, code);
        QFETCH(QString, record);

        // Executable bits as a disc without Rock Ridge shows them.
        writeFile(disc("WIN/SETUP.EXE"), "MZ\x90\0", 0755);
        writeFile(disc("WIN/DATA"), "MZ\x90\0", 0755);
        writeFile(disc("WIN/GO.BAT"), "@echo off\r\n", 0755);
        const QString bin = m_root + (wine ? "/winebin" : "/emptybin");
        const QString recordFile = m_root + "/wine-record";
        QFile::remove(recordFile);
        QDir().mkpath(bin);
        if (wine) {
            QByteArray script = recorderScript(recordFile);
            script.replace("/bin/pwd -P;", ""); // only the arguments
            writeFile(bin + "/wine", script, 0755);
        }
        qputenv("PATH", QFile::encodeName(bin));

        QCOMPARE(platform::shellOpen(0, s(file), "-x \"a b\""), code);
        if (wine) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(recordFile), 10000);
            QCOMPARE(QString::fromUtf8(contentOf(recordFile)).remove(QLatin1Char('\n')), record);
        }
    }

    // Documents go to the desktop's default application for their type.
    void shellOpenDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("script");  // run as its own "#!" line says, not opened

        // A script that writes the same record as the viewer, but with its
        // own arguments: it shows which of the two got the file.
        const QByteArray script = recorderScript(m_root + "/viewer-record");
        QTest::newRow("text file") << "README.TXT" << QByteArray("Read me.\n") << 42 << false;
        QTest::newRow("text file beginning with #!") << "README.TXT" << script << 42 << false;
        QTest::newRow("shell script") << "GO.SH" << script << 42 << true;
        QTest::newRow("#! file with an extension of no known type") << "GO.QZX" << script << 42 << true;
        QTest::newRow("no application for the type")
            << "PICTURE.PNG" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 31 << false;
        QTest::newRow("association to a missing application")
            << "PAGE.HTML" << QByteArray("<html></html>") << 31 << false;
    }

    void shellOpenDocument()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        QFETCH(bool, script);

        const QString xdg = m_root + "/xdg";
        const QString record = m_root + "/viewer-record";
        QFile::remove(record);
        writeFile(xdg + "/bin/viewer", recorderScript(record), 0755);
        writeFile(xdg + "/config/mimeapps.list",
                  "[Default Applications]\ntext/plain=quorvia-viewer.desktop\ntext/html=quorvia-missing.desktop\n");
        writeFile(xdg + "/data/applications/quorvia-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + QFile::encodeName(xdg)
                      + "/bin/viewer --view %f\n");
        QDir().mkpath(xdg + "/dirs/applications");
        // The system's MIME database, but none of its applications.
        QFile::link(QStringLiteral("/usr/share/mime"), xdg + "/dirs/mime");
        QDir().mkpath(xdg + "/configdirs");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg + "/config"));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(xdg + "/configdirs"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdg + "/data"));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(xdg + "/dirs"));
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"})
            qunsetenv(name);

        writeFile(disc("DOCS/" + name), content);
        QDir().mkpath(disc("DOCS/WORK"));
        QVERIFY(platform::changeDirectory("E:\\DOCS\\WORK"));
        QCOMPARE(platform::shellOpen(0, s("E:\\DOCS\\" + name.toLower()), "ignored"), code);
        if (code > 32) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
            const QString expected = script ? "\n[ignored]\n" : "\n[--view]\n[" + disc("DOCS/" + name) + "]\n";
            QCOMPARE(QString::fromUtf8(contentOf(record)), disc("DOCS/WORK") + expected);
        }
    }

    // ---- Sound -------------------------------------------------------------

    // What the sound device is told, with a recorder in its place. A file
    // that is missing or no wave file gives the default sound, which like
    // any sound first cuts off the one that is playing.
    void playWave_data()
    {
        writeFile(disc("SOUND/CLICK.WAV"), QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
        writeFile(disc("SOUND/TEXT.WAV"), "not a wave file");
        QDir().mkpath(disc("SOUND/FOLDER.WAV"));

        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("wave file") << "e:\\sound\\click.wav" << QStringList{"play " + disc("SOUND/CLICK.WAV")};
        QTest::newRow("missing file") << "E:\\SOUND\\NONE.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("not a wave file") << "E:\\SOUND\\TEXT.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("a folder") << "E:\\SOUND\\FOLDER.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("unknown drive") << "Q:\\CLICK.WAV" << QStringList{"stop", "beep"};
    }

    void playWave()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, calls);

        using platform::testing::SoundCall;
        QStringList told;
        platform::testing::setSoundDevice([&](SoundCall call, const std::string &host) {
            told << (call == SoundCall::Play   ? "play " + QString::fromStdString(host)
                     : call == SoundCall::Stop ? QStringLiteral("stop")
                                               : QStringLiteral("beep"));
        });
        const auto restore = qScopeGuard([] { platform::testing::setSoundDevice({}); });
        platform::playWave(s(path));
        QCOMPARE(told, calls);
    }

    // ---- Message box -------------------------------------------------------

    void messageBox()
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        Qt::TextFormat format = Qt::AutoText;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            format = box->textFormat();
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        platform::messageBox(0, "<b>File</b> not found", "Program Execution Failed");
        QCOMPARE(title, QStringLiteral("Program Execution Failed"));
        QCOMPARE(text, QStringLiteral("<b>File</b> not found"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, 1);
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(modal);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], kCopyAsChild) == 0)
        return kChildExit + int(platform::copyHostFile(argv[2], argv[3]));
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestPlatform test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform.moc"
