// The category table, reading catalogue files and building a game's paths.
#include "catalogue/catalogue.h"
#include "catalogue_fixture.h"
#include "platform/drives.h"
#include "startup/modMain.h"

#include <QStringDecoder>
#include <QTest>

using catalogue::GameRecord;
using fixture::record;

Q_DECLARE_METATYPE(GameRecord)
Q_DECLARE_METATYPE(std::optional<QStringList>)

class TestCatalogue : public QObject {
    Q_OBJECT

    QTemporaryDir mDir;

    // A catalogue file on drive Q:, which maps to the temporary folder.
    QString catalogueWith(const QByteArray &bytes, const QString &name = QStringLiteral("QAR1.PAL"))
    {
        if (!fixture::writeFile(mDir.filePath(name), bytes))
            qFatal("cannot write the fixture %s", qPrintable(name));
        return QStringLiteral("Q:\\") + name;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        fixture::mapDrive('Q', mDir.path());
    }

    // Without a converter for the ANSI code page every name with a byte
    // above 0x7F would come out wrong.
    void codePageConverterExists()
    {
        QVERIFY2(QStringDecoder(platform::ansiCodePage().c_str()).isValid(), platform::ansiCodePage().c_str());
    }

    void decodeRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<GameRecord>("expected");

        QTest::newRow("every field at full width")
            << QByteArray("NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNFFFFFFFFPPPPPPPPPPPPAAAAAAAAAAAA1")
            << GameRecord{QString(36, u'N'), QString(8, u'F'), QString(12, u'P'), QString(12, u'A'), "1"};
        QTest::newRow("ordinary record") << record("Chess Master", "CHESS", "CHESS.EXE", "-w", "0")
                                         << GameRecord{"Chess Master", "CHESS", "CHESS.EXE", "-w", "0"};
        QTest::newRow("all blank") << QByteArray(69, ' ') << GameRecord{};
        QTest::newRow("spaces before and after a word")
            << record("   Chess   ", " CHESS", "  GO.EXE ", "  -w  ", "1")
            << GameRecord{"Chess", "CHESS", "GO.EXE", "-w", "1"};
        QTest::newRow("tab kept") << record("\tChess\t") << GameRecord{"\tChess\t", "GAME", "GO.EXE", "", ""};
        QTest::newRow("zero byte kept") << record(QByteArray("Chess\0", 6))
                                        << GameRecord{QString::fromLatin1("Chess\0", 6), "GAME", "GO.EXE", "", ""};
        QTest::newRow("flag of a space") << record("Chess", "GAME", "GO.EXE", "", " ")
                                         << GameRecord{"Chess", "GAME", "GO.EXE", "", ""};
        QTest::newRow("0xE9 is e acute") << record("Caf\xE9", "CAF\xC9")
                                         << GameRecord{u"Café"_qs, u"CAFÉ"_qs, "GO.EXE", "", ""};
        QTest::newRow("0x80 is the euro sign, not a control character")
            << record("5 \x80", "GAME", "GO.EXE", "-\x93q\x94") << GameRecord{u"5 €"_qs, "GAME", "GO.EXE", u"-“q”"_qs, ""};
    }

    void decodeRecord()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(GameRecord, expected);
        QCOMPARE(bytes.size(), catalogue::recordSize);

        const GameRecord got = catalogue::decodeRecord(bytes);
        QCOMPARE(got.name, expected.name);
        QCOMPARE(got.folder, expected.folder);
        QCOMPARE(got.program, expected.program);
        QCOMPARE(got.parameters, expected.parameters);
        QCOMPARE(got.hddFlag, expected.hddFlag);
    }

    void readNames_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");

        const QByteArray three = record("Alpha") + record("Beta") + record("Gamma");
        QTest::newRow("0 bytes") << QByteArray() << QStringList();
        QTest::newRow("68 bytes") << QByteArray(68, 'x') << QStringList();
        QTest::newRow("69 x 3 bytes") << three << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::newRow("69 x 3 + 1 bytes") << three + "D" << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::newRow("69 x 3 + 68 bytes") << three + record("Delta").left(68) << QStringList{"Alpha", "Beta", "Gamma"};
        QTest::newRow("blank, spaced and accented names")
            << record("") + record("  Two Words  ") + record("\xC9t\xE9")
            << QStringList{"", "Two Words", u"Été"_qs};
        QTest::newRow("unsafe folder or program does not hide the name")
            << record("Alpha", "..") + record("Beta", "GAME", "..\\..\\X.EXE") << QStringList{"Alpha", "Beta"};
    }

    void readNames()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);

        const std::optional<QStringList> got = catalogue::readNames(catalogueWith(file));
        QVERIFY(got);
        QCOMPARE(*got, names);
    }

    void unreadableCatalogue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << QStringLiteral("Q:\\NOFILE.PAL");
        QTest::newRow("a folder") << QStringLiteral("Q:\\FOLDER.PAL");
        QTest::newRow("drive not in the table") << QStringLiteral("R:\\QAR1.PAL");
    }

    void unreadableCatalogue()
    {
        QFETCH(QString, path);
        QDir(mDir.path()).mkdir(QStringLiteral("FOLDER.PAL"));
        QVERIFY(!catalogue::readNames(path));
        QVERIFY(!catalogue::readRecord(path, 1));
    }

    void readRecord_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("name");  // null: the read fails

        const QByteArray three = record("Alpha", "A") + record("Beta", "B") + record("Gamma", "C");
        QTest::newRow("first") << three << 1 << u"Alpha"_qs;
        QTest::newRow("last") << three << 3 << u"Gamma"_qs;
        QTest::newRow("beyond the last") << three << 4 << QString();
        QTest::newRow("trailing fragment is not a record") << three + record("Delta").left(68) << 4 << QString();
        QTest::newRow("zero") << three << 0 << QString();
        QTest::newRow("negative") << three << -1 << QString();
        QTest::newRow("empty file") << QByteArray() << 1 << QString();
    }

    void readRecord()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, n);
        QFETCH(QString, name);

        const std::optional<GameRecord> got = catalogue::readRecord(catalogueWith(file), n);
        QCOMPARE(bool(got), !name.isNull());
        if (got)
            QCOMPARE(got->name, name);
    }

    // A folder or program name that would make the copy and run commands
    // reach outside the game's folder makes the record unreadable.
    void unsafeNames_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<bool>("safe");

        QTest::newRow("plain") << QByteArray("CHESS") << QByteArray("CHESS.EXE") << true;
        QTest::newRow("program in a sub-folder") << QByteArray("CHESS") << QByteArray("BIN\\GO.EXE") << true;
        QTest::newRow("program in a sub-folder, slash") << QByteArray("CHESS") << QByteArray("BIN/GO.EXE") << true;
        QTest::newRow("dots inside names") << QByteArray("A..B") << QByteArray("A..B\\...\\X") << true;
        QTest::newRow("dots at the ends of a folder") << QByteArray("..GAME.") << QByteArray("GO.EXE") << true;
        QTest::newRow("folder with a zero byte after its name")
            << QByteArray("GAME\0..", 7) << QByteArray("GO.EXE") << true;
        QTest::newRow("folder ..") << QByteArray("..") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder .") << QByteArray(".") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder ..\\..\\..") << QByteArray("..\\..\\..") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder with backslash") << QByteArray("A\\B") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder with slash") << QByteArray("A/B") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder with colon") << QByteArray("C:") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder .. ended by a zero byte") << QByteArray("..\0", 3) << QByteArray("GO.EXE") << false;
        // These leave the game's folder at the category folder itself.
        QTest::newRow("folder blank") << QByteArray("") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder cut to nothing by a zero byte") << QByteArray("\0GAME", 5) << QByteArray("GO.EXE")
                                                              << false;
        QTest::newRow("folder ...") << QByteArray("...") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder of dots and spaces") << QByteArray(". . .") << QByteArray("GO.EXE") << false;
        QTest::newRow("folder of dots and spaces up to a zero byte")
            << QByteArray(". \0GAME", 7) << QByteArray("GO.EXE") << false;
        QTest::newRow("program from the root") << QByteArray("CHESS") << QByteArray("\\GO.EXE") << false;
        QTest::newRow("program from the root, slash") << QByteArray("CHESS") << QByteArray("/GO.EXE") << false;
        QTest::newRow("program with colon") << QByteArray("CHESS") << QByteArray("C:GO.EXE") << false;
        QTest::newRow("program in the parent") << QByteArray("CHESS") << QByteArray("..\\GO.EXE") << false;
        QTest::newRow("program climbing from a sub-folder") << QByteArray("CHESS") << QByteArray("BIN\\..\\..\\X")
                                                            << false;
        QTest::newRow("program climbing, slashes") << QByteArray("CHESS") << QByteArray("BIN/../../X") << false;
        QTest::newRow("program ending in ..") << QByteArray("CHESS") << QByteArray("BIN\\..") << false;
        QTest::newRow("program .. ended by a zero byte")
            << QByteArray("CHESS") << QByteArray("BIN\\..\0\\GO", 10) << false;
    }

    void unsafeNames()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, program);
        QFETCH(bool, safe);

        const QString path = catalogueWith(record("Good") + record("Tested", folder, program));
        const std::optional<GameRecord> got = catalogue::readRecord(path, 2);
        QCOMPARE(bool(got), safe);
        if (got) {
            QCOMPARE(got->folder, QString::fromLatin1(folder));
            QCOMPARE(got->program, QString::fromLatin1(program));
        }
        QVERIFY(catalogue::readRecord(path, 1));

        QString why;
        QCOMPARE(bool(catalogue::encodeRecord(GameRecord{"Tested", QString::fromLatin1(folder),
                                                         QString::fromLatin1(program), "", ""},
                                              &why)),
                 safe);
    }

    // Record numbers are 16-bit: the first 32,767 records are the catalogue.
    void moreThan32767Records()
    {
        QByteArray file;
        file.reserve(32768 * catalogue::recordSize);
        for (int n = 1; n <= 32768; ++n)
            file += record(QByteArray::number(n));
        const QString path = catalogueWith(file, QStringLiteral("BIG.PAL"));

        const std::optional<QStringList> names = catalogue::readNames(path);
        QVERIFY(names);
        QCOMPARE(names->size(), 32767);
        QCOMPARE(names->first(), u"1"_qs);
        QCOMPARE(names->last(), u"32767"_qs);

        const std::optional<GameRecord> last = catalogue::readRecord(path, 32767);
        QVERIFY(last);
        QCOMPARE(last->name, u"32767"_qs);
        QVERIFY(!catalogue::readRecord(path, 32768));
    }

    void lookup_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");  // null: not a key
        QTest::addColumn<QString>("folder");

        QTest::newRow("3D") << u"3D"_qs << u"QAR1.PAL"_qs << u"3D"_qs;
        QTest::newRow("Adv") << u"Adv"_qs << u"QAR3.PAL"_qs << u"ADV"_qs;
        QTest::newRow("Arcade") << u"Arcade"_qs << u"QAR4.PAL"_qs << u"ARCADE"_qs;
        QTest::newRow("Educate") << u"Educate"_qs << u"QAR7.PAL"_qs << u"EDUCATE"_qs;
        QTest::newRow("Strategy") << u"Strategy"_qs << u"QAR8.PAL"_qs << u"STRATEGY"_qs;
        QTest::newRow("keys are case-sensitive") << u"adv"_qs << QString() << u"ADV"_qs;
        QTest::newRow("empty") << u""_qs << QString() << u""_qs;
    }

    void lookup()
    {
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QString, folder);

        modMain::gAppPath = QStringLiteral("C:\\Menu\\");
        const catalogue::Category *row = catalogue::lookup(key);
        QCOMPARE(row != nullptr, !file.isNull());
        if (row) {
            QCOMPARE(QString::fromLatin1(row->file), file);
            QCOMPARE(catalogue::cataloguePath(key), QStringLiteral("C:\\Menu\\") + file);
        } else {
            QVERIFY(catalogue::cataloguePath(key).isEmpty());
        }
        QCOMPARE(catalogue::categoryFolder(key), folder);
    }

    void paths_data()
    {
        QTest::addColumn<QString>("cdRoot");
        QTest::addColumn<QString>("appPath");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("paths");  // game folder, description, program, copy folder, marker, copy program

        QTest::newRow("board game") << u"E:\\"_qs << u"C:\\Menu\\"_qs << u"Board"_qs << u"CHESS"_qs << u"CHESS.EXE"_qs
                                    << QStringList{"E:\\BOARD\\CHESS", "E:\\BOARD\\CHESS\\QAR.TXT",
                                                   "E:\\BOARD\\CHESS\\CHESS.EXE", "C:\\Menu\\BOARD\\CHESS",
                                                   "C:\\Menu\\BOARD\\CHESS\\QAR.TXT",
                                                   "C:\\Menu\\BOARD\\CHESS\\CHESS.EXE"};
        QTest::newRow("key upper-cased, names kept as stored")
            << u"D:\\"_qs << u"C:\\Q\\"_qs << u"Adv"_qs << u"Quest"_qs << u"bin\\go.exe"_qs
            << QStringList{"D:\\ADV\\Quest", "D:\\ADV\\Quest\\QAR.TXT", "D:\\ADV\\Quest\\bin\\go.exe",
                           "C:\\Q\\ADV\\Quest", "C:\\Q\\ADV\\Quest\\QAR.TXT", "C:\\Q\\ADV\\Quest\\bin\\go.exe"};
        QTest::newRow("program at a drive root keeps the doubled backslash")
            << u"E:\\"_qs << u"E:\\\\"_qs << u"3D"_qs << u"RACER"_qs << u"RACE.EXE"_qs
            << QStringList{"E:\\3D\\RACER", "E:\\3D\\RACER\\QAR.TXT", "E:\\3D\\RACER\\RACE.EXE",
                           "E:\\\\3D\\RACER", "E:\\\\3D\\RACER\\QAR.TXT", "E:\\\\3D\\RACER\\RACE.EXE"};
    }

    void paths()
    {
        QFETCH(QString, cdRoot);
        QFETCH(QString, appPath);
        QFETCH(QString, category);
        QFETCH(QString, folder);
        QFETCH(QString, program);
        QFETCH(QStringList, paths);

        modMain::gCdRoot = cdRoot;
        modMain::gAppPath = appPath;
        modMain::gGameCategory = category;
        modMain::gGameFolder = folder;
        modMain::gGameProgram = program;
        QCOMPARE(catalogue::gameFolder(), paths[0]);
        QCOMPARE(catalogue::descriptionFile(), paths[1]);
        QCOMPARE(catalogue::gameProgram(), paths[2]);
        QCOMPARE(catalogue::copyFolder(), paths[3]);
        QCOMPARE(catalogue::copyMarker(), paths[4]);
        QCOMPARE(catalogue::copyProgram(), paths[5]);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
