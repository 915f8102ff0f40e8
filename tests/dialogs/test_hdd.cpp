// The hard-disk notice driven with real pointer events, and the folder copy it
// makes: what lands on the hard disk, with which attributes, in which order,
// and what is started from it.
#include "assets/assets.h"
#include "dialogs/filesystem.h"
#include "dialogs/frmHDD.h"
#include "fixture.h"
#include "ui/qt/progressbar.h"

#include <QCloseEvent>
#include <QElapsedTimer>

namespace {
const QFileDevice::Permissions kReadOnlyFile = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
const QFileDevice::Permissions kReadOnlyFolder =
    kReadOnlyFile | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

bool writable(const QString &path) { return QFileInfo(path).permissions() & QFileDevice::WriteOwner; }

// Every folder at and below `root`, `root` included.
QStringList foldersBelow(const QString &root)
{
    QStringList folders{root};
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        folders << it.next();
    return folders;
}

// Records the progress the bar shows each time it is painted, and when.
class PaintedValues : public QObject {
public:
    QList<int> values;
    QList<qint64> times;  // ms
    QElapsedTimer clock;
    PaintedValues() { clock.start(); }
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            values << static_cast<ui::qt::ProgressBar *>(watched)->done();
            times << clock.elapsed();
        }
        return false;
    }
};
// The notice's progress bar as drawn.
ui::qt::ProgressBar *bar(const frmHDD &hdd) { return widgetOf<ui::qt::ProgressBar>(hdd.prgCopy); }
} // namespace

class TestHdd : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<Recorder> rec;

    // The game Chess of the category Board: a folder on a read-only disc with
    // a subfolder two levels deep.
    QString source(const QString &rel = {}) const { return disc->disc(QStringLiteral("BOARD/CHESS/") + rel); }
    QString copy(const QString &rel = {}) const { return disc->programFolder(QStringLiteral("BOARD/CHESS/") + rel); }

    void makeDisc()
    {
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        DiscFixture::writeFile(source(QStringLiteral("README.TXT")), "read me");
        DiscFixture::writeFile(source(QStringLiteral("DATA/LEVEL1.DAT")), "level 1");
        DiscFixture::writeFile(source(QStringLiteral("DATA/DEEP/LEVEL2.DAT")), "level 2");
        for (const char *rel : {"QAR.TXT", "CHESS.EXE", "DATA/LEVEL1.DAT", "DATA/DEEP/LEVEL2.DAT"})
            QFile::setPermissions(source(rel), kReadOnlyFile);
        // README.TXT stays writable on the disc.
        for (const char *rel : {"DATA/DEEP", "DATA", ""})
            QFile::setPermissions(source(rel), kReadOnlyFolder);
    }

    void select()
    {
        modMain::gGameCategory = "Board";
        modMain::gGameName = "Chess";
        modMain::gGameFolder = "CHESS";
        modMain::gGameProgram = "CHESS.EXE";
        modMain::gGameParameters = "-w";
        modMain::gGameHddFlag = "1";
    }

    // Shows the notice modally, as the Run command does, and clicks one of
    // its buttons from a timer.
    void showAndClick(bool ok)
    {
        frmHDD &hdd = ui::form<frmHDD>();
        DialogAnswerer answer([ok](QWidget *w) {
            auto *dialog = ui::qt::formOf<frmHDD>(w);
            QVERIFY(dialog);
            const ui::HotArea *button = ok ? dialog->lblOk : dialog->lblCancel;
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(button));
        });
        hdd.showModal();
        QCOMPARE(answer.answered(), 1);
        QTest::qWait(0);
        QVERIFY(!ui::loadedForm<frmHDD>());
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        rec = std::make_unique<Recorder>();
        makeDisc();
        select();
    }
    void cleanup()
    {
        if (auto *hdd = ui::loadedForm<frmHDD>())
            hdd->unload();
        QTest::qWait(0);
        rec.reset();
        disc.reset();
    }

    void designState()
    {
        frmHDD &hdd = ui::form<frmHDD>();
        QWidget *window = widgetOf(hdd);
        QCOMPARE(window->size(), QSize(430, 240));
        QVERIFY(!(window->windowFlags() & Qt::WindowTitleHint));
        QVERIFY(window->windowTitle().isEmpty());
        QCOMPARE(geometryOf(hdd.lblOk), QRect(47, 176, 164, 31));
        QCOMPARE(geometryOf(hdd.lblCancel), QRect(213, 176, 164, 31));
        QCOMPARE(geometryOf(hdd.imgOkLight), QRect(48, 176, 164, 33));
        QCOMPARE(geometryOf(hdd.imgCancelLight), QRect(213, 176, 164, 33));
        // The hot areas lie above the pictures.
        QCOMPARE(window->childAt(centreOf(hdd.lblOk)), widgetOf(hdd.lblOk));
        widgetOf(hdd.imgCancelLight)->show();
        QCOMPARE(window->childAt(centreOf(hdd.lblCancel)), widgetOf(hdd.lblCancel));
        hdd.unload();
        QTest::qWait(0);
        // A new reference builds it anew in its design state.
        frmHDD &fresh = ui::form<frmHDD>();
        QWidget *freshWindow = widgetOf(fresh);
        QVERIFY(!widgetOf(fresh.imgOkLight)->isVisibleTo(freshWindow)
                && !widgetOf(fresh.imgCancelLight)->isVisibleTo(freshWindow));
        QVERIFY(!widgetOf(fresh.prgCopy)->isVisibleTo(freshWindow));
    }

    void hoverMovesTheHighlight()
    {
        frmHDD &hdd = ui::form<frmHDD>();
        hdd.showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(widgetOf(hdd)));
        QWindow *win = windowOf(hdd);
        const QPoint bare(20, 20);
        QTest::mouseMove(win, bare);

        QTest::mouseMove(win, centreOf(hdd.lblOk));
        QTest::mouseMove(win, centreOf(hdd.lblOk) + QPoint(5, 2));
        QCOMPARE(rec->sounds, QStringList{kRoll});
        QVERIFY(shown(hdd.imgOkLight) && !shown(hdd.imgCancelLight));

        QTest::mouseMove(win, centreOf(hdd.lblCancel));
        QCOMPARE(rec->sounds, (QStringList{kRoll, kRoll}));
        QVERIFY(!shown(hdd.imgOkLight) && shown(hdd.imgCancelLight));

        QTest::mouseMove(win, bare);
        QVERIFY(!shown(hdd.imgOkLight) && !shown(hdd.imgCancelLight));
        QCOMPARE(rec->sounds.size(), 2);
        QVERIFY(rec->shellCalls.isEmpty());
    }

    void cancelOrCloseCreatesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("closed from outside") << "close";
        QTest::newRow("native window destroyed from outside") << "destroy";
    }
    void cancelOrCloseCreatesNothing()
    {
        QFETCH(QString, how);
        const bool byButton = how == QLatin1String("Cancel");
        frmHDD &hdd = ui::form<frmHDD>();
        DialogAnswerer answer([how](QWidget *w) {
            auto *dialog = ui::qt::formOf<frmHDD>(w);
            QVERIFY(dialog);
            if (how == QLatin1String("Cancel"))
                QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(dialog->lblCancel));
            else if (how == QLatin1String("close"))
                w->close();
            else
                destroyFromOutside(w);
        });
        hdd.showModal();
        QCOMPARE(answer.answered(), 1);
        QTest::qWait(0);
        QVERIFY(!ui::loadedForm<frmHDD>());
        QVERIFY(!QFileInfo::exists(disc->programFolder(QStringLiteral("BOARD"))));
        QVERIFY(rec->shellCalls.isEmpty());
        QCOMPARE(rec->count(kClick), byButton ? 1 : 0);
    }

    // The picture is one row shorter than the window: that row carries on
    // the picture's bottom row, not the system's grey.
    void rowBelowThePicture()
    {
        frmHDD &hdd = ui::form<frmHDD>();
        const QImage picture = assets::picture(QStringLiteral("frmHDD"), QStringLiteral("background")).toImage();
        QCOMPARE(picture.size(), QSize(430, 239));
        const QImage drawn = widgetOf(hdd)->grab().toImage();
        QCOMPARE(drawn.size(), QSize(430, 240));
        for (int x = 0; x < 430; ++x)
            QCOMPARE(drawn.pixel(x, 239), picture.pixel(x, 238));
    }

    // A first copy: every level, the files' attributes as on the disc but for
    // the top level, writable folders, the game started from the copy.
    void okCopiesAndStartsFromTheCopy()
    {
        showAndClick(true);
        QCOMPARE(rec->count(kClick), 1);

        for (const char *rel : {"QAR.TXT", "CHESS.EXE", "README.TXT", "DATA/LEVEL1.DAT", "DATA/DEEP/LEVEL2.DAT"})
            QCOMPARE(fileContents(copy(rel)), fileContents(source(rel)));
        // Top-level files are writable, those of subfolders keep the disc's
        // read-only attribute; a writable source file stays writable.
        QVERIFY(writable(copy(QStringLiteral("QAR.TXT"))));
        QVERIFY(writable(copy(QStringLiteral("CHESS.EXE"))));
        QVERIFY(writable(copy(QStringLiteral("README.TXT"))));
        QVERIFY(!writable(copy(QStringLiteral("DATA/LEVEL1.DAT"))));
        QVERIFY(!writable(copy(QStringLiteral("DATA/DEEP/LEVEL2.DAT"))));
        // No folder takes the disc's read-only mode.
        for (const QString &folder : foldersBelow(disc->programFolder(QStringLiteral("BOARD"))))
            QVERIFY2(writable(folder), qPrintable(folder));

        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, QStringLiteral("C:\\MENU\\BOARD\\CHESS\\CHESS.EXE"));
        QCOMPARE(rec->shellCalls[0].parameters, QStringLiteral("-w"));
        QCOMPARE(rec->shellCalls[0].currentFolder, QStringLiteral("C:\\MENU\\BOARD\\CHESS"));
        QVERIFY(rec->boxes.isEmpty());
    }

    // A copy over what is already on the hard disk: another game's copy in
    // the same category, an earlier partial copy and the player's own files.
    void okOverAnExistingCopy()
    {
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("BOARD/CHECKERS/QAR.TXT")), "checkers");
        DiscFixture::writeFile(copy(QStringLiteral("CHESS.EXE")), "old program");
        DiscFixture::writeFile(copy(QStringLiteral("DATA/LEVEL1.DAT")), "old level");
        DiscFixture::writeFile(copy(QStringLiteral("SAVED.SAV")), "my game");
        DiscFixture::writeFile(copy(QStringLiteral("DATA/MINE.DAT")), "mine");

        showAndClick(true);

        QCOMPARE(fileContents(disc->programFolder(QStringLiteral("BOARD/CHECKERS/QAR.TXT"))), QByteArray("checkers"));
        QCOMPARE(fileContents(copy(QStringLiteral("CHESS.EXE"))), fileContents(source(QStringLiteral("CHESS.EXE"))));
        QCOMPARE(fileContents(copy(QStringLiteral("DATA/LEVEL1.DAT"))), QByteArray("level 1"));
        QCOMPARE(fileContents(copy(QStringLiteral("SAVED.SAV"))), QByteArray("my game"));
        QCOMPARE(fileContents(copy(QStringLiteral("DATA/MINE.DAT"))), QByteArray("mine"));
        // A writable file that only the copy has stays writable.
        QVERIFY(writable(copy(QStringLiteral("SAVED.SAV"))));
        QVERIFY(QFileInfo::exists(copy(QStringLiteral("QAR.TXT"))));
        QCOMPARE(rec->shellCalls.size(), 1);
    }

    // The description file is copied last: at every step before the last the
    // copy does not count as present. The bar shows each step as it comes.
    void descriptionFileLastAndProgressPerFile()
    {
        DiscFixture::writeFile(source(QStringLiteral("ZZZ.DAT")), "after the description in name order");
        QVERIFY(QDir().mkpath(disc->programFolder(QStringLiteral("BOARD"))));
        QList<bool> markerSeen;
        QList<int> done;
        int total = -1;
        FileSystem().copyFolder("D:\\BOARD\\CHESS", "C:\\MENU\\BOARD\\CHESS",
                                [&](int d, int t) {
                                    done << d;
                                    total = t;
                                    markerSeen << QFileInfo::exists(copy(QStringLiteral("QAR.TXT")));
                                });
        QCOMPARE(total, 6);
        QCOMPARE(done, (QList<int>{0, 1, 2, 3, 4, 5, 6}));
        QCOMPARE(markerSeen, (QList<bool>{false, false, false, false, false, false, true}));

    }

    // The bar advances after every file, but the windows paint at most every
    // 50 ms: each file here takes 20 ms.
    void progressPerFilePaintedAtMostEvery50ms()
    {
        for (int i = 0; i < 12; ++i)
            DiscFixture::writeFile(source(QStringLiteral("F%1.DAT").arg(i)), "x");
        frmHDD &hdd = ui::form<frmHDD>();
        PaintedValues painted;
        bar(hdd)->installEventFilter(&painted);
        QList<int> shownBefore;  // what the bar held as each file was done
        platform::testing::setFileCopiedObserver([&](const std::string &) {
            shownBefore << bar(hdd)->done();
            QTest::qSleep(20);
        });
        showAndClick(true);
        platform::testing::setFileCopiedObserver({});

        QCOMPARE(shownBefore.size(), 17);
        for (int i = 0; i < shownBefore.size(); ++i)
            QCOMPARE(shownBefore[i], i);
        // Each paint comes some way into its round of events, so single
        // intervals vary by a few ms; over the whole copy they add up to 50 ms
        // a paint.
        const int paints = int(painted.values.size());
        QVERIFY2(paints >= 3, qPrintable(QString::number(paints)));
        for (int i = 1; i < paints; ++i) {
            QVERIFY(painted.values[i] >= painted.values[i - 1]);
            QVERIFY2(painted.times[i] - painted.times[i - 1] >= 35,
                     qPrintable(QStringLiteral("painted %1 ms apart").arg(painted.times[i] - painted.times[i - 1])));
        }
        QVERIFY2(painted.times.last() - painted.times.first() >= 50 * (paints - 1) - 10,
                 qPrintable(QStringLiteral("%1 paints in %2 ms").arg(paints).arg(painted.times.last() - painted.times.first())));
    }

    // The bar is the generated trough with the green fill cut to the fraction
    // done, not a stock control.
    void progressBarDrawnFromItsPictures()
    {
        frmHDD &hdd = ui::form<frmHDD>();
        const QImage trough = assets::picture(QStringLiteral("frmHDD"), QStringLiteral("imgCopyTrough")).toImage();
        const QImage fill = assets::picture(QStringLiteral("frmHDD"), QStringLiteral("imgCopyFill")).toImage();
        QCOMPARE(geometryOf(hdd.prgCopy), QRect(47, 176, 330, 31));
        QCOMPARE(trough.size(), QSize(330, 31));
        QCOMPARE(fill.size(), QSize(328, 29));
        QCOMPARE(QColor(fill.pixel(100, 10)), QColor(0, 255, 0));
        bar(hdd)->setProgress(1, 4);
        const QImage drawn = bar(hdd)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int cut = 328 / 4;
        for (const QPoint p : {QPoint(0, 0), QPoint(329, 30), QPoint(1 + cut + 5, 15), QPoint(200, 1)})
            QCOMPARE(QColor(drawn.pixel(p)), QColor(trough.pixel(p)));
        for (const QPoint p : {QPoint(1, 1), QPoint(cut, 15), QPoint(40, 29)})
            QCOMPARE(QColor(drawn.pixel(p)), QColor(fill.pixel(p - QPoint(1, 1))));
    }

    // While OK copies, the notice takes no input: a click on Cancel does
    // nothing, and a close request waits until the copy has ended (where OK
    // closes the notice anyway); the game is copied whole and started.
    void copyTakesNoInputAndHoldsBackACloseRequest()
    {
        frmHDD &hdd = ui::form<frmHDD>();
        int copied = 0;
        bool loadedAtTheEnd = false;
        platform::testing::setFileCopiedObserver([&](const std::string &) {
            ++copied;
            if (copied == 1) {
                QWindow *win = windowOf(hdd);
                QTest::mouseMove(win, centreOf(hdd.lblCancel));
                QTest::mouseClick(win, Qt::LeftButton, {}, centreOf(hdd.lblCancel));
                QCloseEvent close;  // as the window system sends it
                QCoreApplication::sendEvent(win, &close);
                QTest::qSleep(60);  // the copy handles events again at its next file
            }
            loadedAtTheEnd = ui::loadedForm<frmHDD>() == &hdd && widgetOf(hdd)->isVisible();
        });
        showAndClick(true);
        platform::testing::setFileCopiedObserver({});
        QCOMPARE(copied, 5);
        QVERIFY(loadedAtTheEnd);
        QCOMPARE(rec->sounds, QStringList{kClick});  // OK's own
        QVERIFY(QFileInfo::exists(copy(QStringLiteral("QAR.TXT"))));
        QCOMPARE(rec->shellCalls.size(), 1);
    }

    // A name that holds a backslash (a Linux disc can carry one) would name
    // another place once joined to a path; here the disc's marker at the
    // root. The copy stops there, so it never counts as present, and nothing
    // is written outside the copy folder.
    void nameHoldingABackslashStopsTheCopy_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("file") << "A\\..\\..\\..\\..\\PLAXOID.QAR";
        QTest::newRow("file in a subfolder") << "DATA/A\\..\\..\\..\\..\\..\\PLAXOID.QAR";
        QTest::newRow("subfolder") << "X\\..\\..\\..\\../PLAXOID.QAR";
    }
    void nameHoldingABackslashStopsTheCopy()
    {
        QFETCH(QString, entry);
        DiscFixture::writeFile(source(entry), "climbs out");
        const QStringList before = entriesBelow(disc->hdd());
        showAndClick(true);
        QVERIFY(!QFileInfo::exists(copy(QStringLiteral("QAR.TXT"))));
        QVERIFY(!QFileInfo::exists(disc->hdd(QStringLiteral("PLAXOID.QAR"))));
        QVERIFY(!QFileInfo::exists(disc->programFolder(QStringLiteral("PLAXOID.QAR"))));
        for (const QString &e : entriesBelow(disc->hdd()))
            QVERIFY2(before.contains(e) || e.startsWith(QLatin1String("MENU/BOARD")), qPrintable(e));
        QCOMPARE(rec->shellCalls.size(), 1);
    }

    // The copy costs in proportion to its files: the layer lists each folder
    // at most twice, however many files it holds. Names that are on the hard
    // disk in another case are replaced, not doubled.
    void copyListsEachFolderAtMostTwice()
    {
        for (int i = 0; i < 1000; ++i)
            DiscFixture::writeFile(source(QStringLiteral("DATA/F%1.DAT").arg(i, 4, 10, QLatin1Char('0'))), "x");
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("board/chess/chess.exe")), "old program");
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("board/chess/data/level1.dat")), "old level");
        QMap<QString, int> listings;
        platform::testing::setListingObserver([&](const std::string &folder) { ++listings[QString::fromStdString(folder)]; });
        showAndClick(true);
        platform::testing::setListingObserver({});
        const QString copied = disc->programFolder(QStringLiteral("board/chess/"));
        QCOMPARE(QDir(copied + QStringLiteral("data")).entryList(QDir::Files).size(), 1001);
        QCOMPARE(fileContents(copied + QStringLiteral("chess.exe")), fileContents(source(QStringLiteral("CHESS.EXE"))));
        QCOMPARE(fileContents(copied + QStringLiteral("data/level1.dat")), QByteArray("level 1"));
        QVERIFY(!QFileInfo::exists(copied + QStringLiteral("CHESS.EXE")));
        QVERIFY(!QFileInfo::exists(copied + QStringLiteral("data/LEVEL1.DAT")));
        QVERIFY(!listings.isEmpty());
        for (auto it = listings.cbegin(); it != listings.cend(); ++it)
            QVERIFY2(it.value() <= 2, qPrintable(QStringLiteral("%1 listed %2 times").arg(it.key()).arg(it.value())));
    }

    // A file that cannot be copied stops the copy there: what came before it
    // stays, nothing after it is copied, and the copy lacks its description
    // file. Once the cause is gone, OK completes the copy, past the read-only
    // files the first attempt left in the subfolder.
    void copyStopsAtAFailingFileAndCanBeCompletedLater()
    {
        DiscFixture::writeFile(source(QStringLiteral("DATA/M.DAT")), "m");
        DiscFixture::writeFile(source(QStringLiteral("DATA/Z.DAT")), "z");
        QDir().mkpath(copy(QStringLiteral("DATA/M.DAT")));  // a folder in the way of a file

        showAndClick(true);
        QVERIFY(QFileInfo::exists(copy(QStringLiteral("CHESS.EXE"))));
        QVERIFY(QFileInfo::exists(copy(QStringLiteral("DATA/LEVEL1.DAT"))));
        QVERIFY(!QFileInfo::exists(copy(QStringLiteral("DATA/Z.DAT"))));
        QVERIFY(!QFileInfo::exists(copy(QStringLiteral("DATA/DEEP"))));
        QVERIFY(!QFileInfo::exists(copy(QStringLiteral("QAR.TXT"))));
        // The game is still started from what was copied.
        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, QStringLiteral("C:\\MENU\\BOARD\\CHESS\\CHESS.EXE"));

        QVERIFY(QDir(copy(QStringLiteral("DATA/M.DAT"))).removeRecursively());
        QVERIFY(!writable(copy(QStringLiteral("DATA/LEVEL1.DAT"))));
        showAndClick(true);
        for (const char *rel : {"DATA/M.DAT", "DATA/Z.DAT", "DATA/DEEP/LEVEL2.DAT", "QAR.TXT"})
            QVERIFY2(QFileInfo::exists(copy(QString::fromLatin1(rel))), rel);
    }

    // A missing disc leaves only the empty folders and the shell's answer; a
    // file where the category folder belongs stops every folder, and the
    // shell cannot find the path. Nothing of the user's is removed.
    void failuresReportedByTheShell_data()
    {
        QTest::addColumn<bool>("discMissing");
        QTest::addColumn<QString>("message");
        QTest::newRow("disc taken out") << true << "File not found";
        QTest::newRow("file in the way of the category folder") << false << "Path not found";
    }
    void failuresReportedByTheShell()
    {
        QFETCH(bool, discMissing);
        QFETCH(QString, message);
        platform::testing::setShellOpen({});  // the real shell answers
        if (discMissing)
            QVERIFY(QDir(disc->disc(QStringLiteral("BOARD"))).removeRecursively());
        else
            DiscFixture::writeFile(disc->programFolder(QStringLiteral("BOARD")), "the user's file");

        showAndClick(true);

        QCOMPARE(rec->boxes.size(), 1);
        QCOMPARE(rec->boxes[0].first, message);
        QCOMPARE(rec->boxes[0].second, kShellFailureTitle);
        if (discMissing) {
            QVERIFY(QFileInfo(copy()).isDir());
            QVERIFY(QDir(copy()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        } else {
            QCOMPARE(fileContents(disc->programFolder(QStringLiteral("BOARD"))), QByteArray("the user's file"));
        }
    }

    // The program in the disc's game folder itself: source and destination
    // are the same files, which are left exactly as they are.
    void sameFolderLeavesTheFilesAlone()
    {
        modMain::gAppPath = "D:\\\\";
        const QByteArray before = fileContents(source(QStringLiteral("CHESS.EXE")));
        QVERIFY(FileSystem().copyFolder("D:\\BOARD\\CHESS", "D:\\\\BOARD\\CHESS"));
        QCOMPARE(fileContents(source(QStringLiteral("CHESS.EXE"))), before);
        QCOMPARE(fileContents(source(QStringLiteral("DATA/DEEP/LEVEL2.DAT"))), QByteArray("level 2"));
    }
};

QTEST_MAIN(TestHdd)
#include "test_hdd.moc"
