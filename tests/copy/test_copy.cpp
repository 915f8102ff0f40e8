// Copying a game to the hard disk: the Copy command, the destination chooser
// and the copy of the game's files.
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "mainscreen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
const QStringList kGameFiles{"CHESS.EXE", "QAR.TXT", "README"};

// A message dialog as the user saw it.
struct Seen {
    QString text;
    QRect frame;
    bool modal = false;
};
// The chooser's controls as shown.
QLineEdit *pathBox(frmSave *save) { return widgetOf<QLineEdit>(save->txtFolderPath); }
QListWidget *folderList(frmSave *save) { return widgetOf<QListWidget>(save->dirSave); }
QComboBox *driveList(frmSave *save) { return widgetOf<QComboBox>(save->drvSave); }
QListWidget *fileList(frmSave *save) { return widgetOf<QListWidget>(save->filGame); }

// The drive the drive list shows ("c:"), and the folder the folder list
// shows open: its current entry, the last of the open folder's ancestors.
QString driveShown(frmSave *save) { return driveList(save)->currentText().left(2); }
QString folderShown(frmSave *save)
{
    const QListWidget *list = folderList(save);
    const int current = list->currentRow();
    if (current < 0)
        return {};
    const QString root = list->item(0)->text();  // "c:\"
    QString path = root.left(1).toUpper() + root.mid(1);
    for (int i = 1; i <= current; ++i)
        path += (i > 1 ? QStringLiteral("\\") : QString()) + list->item(i)->text();
    return path;
}
} // namespace

class TestCopy : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    QList<Seen> messages;  // modal messages, in order

    QString gameFile(const QString &name) const { return disc->disc(QStringLiteral("BOARD/CHESS/") + name); }
    void selectChess(const std::string &name = "Chess")
    {
        modMain::gGameCategory = "Board";
        modMain::gGameName = name;
        modMain::gGameFolder = "CHESS";
        modMain::gGameProgram = "CHESS.EXE";
    }

    // Notes a modal message and closes it.
    std::function<void(QWidget *)> noteMessage()
    {
        return [this](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            messages.append({textOf(cd->lblInstruction), w->frameGeometry(), w->isModal() || w->windowModality() != Qt::NonModal});
            w->close();
        };
    }

    // Clicks Copy; `use` gets the chooser while it waits for the user. Modal
    // messages instead of the chooser are noted and closed.
    bool runCopy(const std::function<void(frmSave *)> &use)
    {
        bool chooserShown = false;
        DialogAnswerer answer([&](QWidget *w) {
            if (auto *save = ui::qt::formOf<frmSave>(w)) {
                chooserShown = true;
                QVERIFY(QTest::qWaitForWindowExposed(w));
                use(save);
                // Whatever the test did, the chooser must not stay open.
                if (ui::loadedForm<frmSave>() == save)
                    w->close();
            } else {
                noteMessage()(w);
            }
        });
        screen->click(games->lblCopyHDD);
        return chooserShown;
    }

    static void clickOn(frmSave *save, const ui::Control *c)
    {
        QTest::mouseClick(windowOf(*save), Qt::LeftButton, {}, centreOf(c));
    }
    static void typePath(frmSave *save, const QString &text)
    {
        QLineEdit *box = pathBox(save);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    static QListWidgetItem *entry(frmSave *save, const QString &text)
    {
        const auto found = folderList(save)->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    // Opens an entry of the folder list with a double click, or with Enter.
    static void openEntry(frmSave *save, const QString &text, bool byKey)
    {
        QListWidgetItem *item = entry(save, text);
        QVERIFY2(item, qPrintable(text));
        QListWidget *list = folderList(save);
        if (byKey) {
            list->setFocus();
            list->setCurrentItem(item);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        }
    }
    // The copy-finished message, shown without waiting.
    QString modelessMessage() const
    {
        frmCD *cd = ui::loadedForm<frmCD>();
        if (!cd || !widgetOf(*cd)->isVisible() || widgetOf(*cd)->windowModality() != Qt::NonModal)
            return {};
        return textOf(cd->lblInstruction);
    }

private slots:
    void init()
    {
        messages.clear();
        disc = std::make_unique<DiscFixture>();
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        DiscFixture::writeFile(gameFile(QStringLiteral("README")), "no dot in my name");
        DiscFixture::writeFile(gameFile(QStringLiteral(".cache")), "hidden");
        DiscFixture::writeFile(gameFile(QStringLiteral("SAVES/SLOT1.SAV")), "a saved game");
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
        // The pointer rests on Copy already: a click plays no roll-over.
        {
            Recorder quiet;
            screen->moveOver(games->lblCopyHDD);
        }
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    // --- the command --------------------------------------------------------

    void noGameAsksForOne()
    {
        Recorder rec;
        QVERIFY(!runCopy([](frmSave *) {}));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, kSelectToCopy);
        QCOMPARE(messages[0].frame.topLeft(), centredIn(screen->frame(), messages[0].frame.size()));
        QCOMPARE(rec.sounds, QStringList{kClick});
        QVERIFY(!ui::loadedForm<frmSave>());
        QVERIFY(!ui::hourglassShown());
    }

    void missingDiscAsksForIt_data()
    {
        QTest::addColumn<bool>("wholeDisc");
        QTest::newRow("disc taken out") << true;
        QTest::newRow("game folder missing") << false;
    }
    void missingDiscAsksForIt()
    {
        QFETCH(bool, wholeDisc);
        selectChess();
        QVERIFY(QDir(wholeDisc ? disc->disc() : disc->disc(QStringLiteral("BOARD/CHESS"))).removeRecursively());
        const QStringList before = entriesBelow(disc->hdd());
        Recorder rec;
        QVERIFY(!runCopy([](frmSave *) {}));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, kDiscRequest);
        const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(messages[0].frame.topLeft(), centredIn(screenArea, messages[0].frame.size()));
        QVERIFY(!ui::loadedForm<frmSave>());
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(entriesBelow(disc->hdd()), before);
    }

    void chooserIsPrepared()
    {
        selectChess();
        DiscFixture::writeFile(disc->hdd(QStringLiteral("GAMES/OLD/x")), "");
        Recorder rec;
        QVERIFY(runCopy([&](frmSave *save) {
            QWidget *window = widgetOf(*save);
            QCOMPARE(window->windowTitle(), QStringLiteral("Save 'Chess' Game To Where ?"));
            QCOMPARE(window->size(), QSize(265, 225));
            QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(!(window->windowFlags() & Qt::WindowSystemMenuHint));
            QVERIFY(window->windowFlags() & Qt::WindowTitleHint);
            const QRect outer = screen->frame();
            const QSize size = window->frameGeometry().size();
            QVERIFY(qAbs(window->frameGeometry().x() - (outer.x() + outer.width() / 2 - size.width() / 2)) <= 1);
            QVERIFY(qAbs(window->frameGeometry().y() - (outer.y() + outer.height() / 2 - size.height() / 2)) <= 1);

            QCOMPARE(pathBox(save)->text(), QStringLiteral("C:\\BOARD\\CHESS"));
            QCOMPARE(folderShown(save), QStringLiteral("C:\\"));
            QCOMPARE(driveShown(save), QStringLiteral("c:"));
            QStringList drives;
            for (int i = 0; i < driveList(save)->count(); ++i)
                drives << driveList(save)->itemText(i);
            QCOMPARE(drives, (QStringList{QStringLiteral("c: [%1]").arg(disc->hdd()),
                                          QStringLiteral("d: [%1]").arg(disc->disc()), QStringLiteral("z: [/]")}));
            // The root, then its folders one level in.
            QStringList folders;
            for (int i = 0; i < folderList(save)->count(); ++i)
                folders << folderList(save)->item(i)->text();
            QCOMPARE(folders, (QStringList{"c:\\", "GAMES", "MENU"}));

            QVERIFY(!fileList(save)->isVisible());
            QVERIFY(!fileList(save)->isEnabled());
            QStringList files;
            for (int i = 0; i < fileList(save)->count(); ++i)
                files << fileList(save)->item(i)->text();
            QCOMPARE(files, kGameFiles);

            for (const ui::Picture *p : {save->imgSaveLight, save->imgSaveIndent, save->imgCancelLight, save->imgCancelIndent})
                QVERIFY(!shown(p));
            QCOMPARE(geometryOf(save->txtFolderPath), QRect(7, 23, 161, 19));
            QCOMPARE(geometryOf(save->dirSave), QRect(7, 49, 161, 126));
            QCOMPARE(geometryOf(save->drvSave), QRect(7, 197, 161, 21));
            QCOMPARE(geometryOf(save->lblCancel), QRect(179, 53, 79, 34));
            QCOMPARE(geometryOf(save->imgSaveLight), QRect(185, 28, 67, 22));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(pathBox(save)));
            QVERIFY(!ui::hourglassShown());
            clickOn(save, save->lblCancel);
        }));
        QVERIFY(!ui::loadedForm<frmSave>());
        QCOMPARE(rec.sounds, (QStringList{kClick, kRoll, kClick}));
        QVERIFY(messages.isEmpty());
        QCOMPARE(modelessMessage(), QString());
    }

    // --- Save ---------------------------------------------------------------

    void saveCopiesIntoTheFolder_data()
    {
        QTest::addColumn<QString>("typed");          // empty: keep the proposal
        QTest::addColumn<QStringList>("existing");   // folders on C: before
        QTest::addColumn<QString>("destination");    // below C:, empty for its root
        QTest::addColumn<QStringList>("created");    // folders made by Save
        QTest::newRow("proposal, both levels missing") << "" << QStringList{} << "BOARD/CHESS" << QStringList{"BOARD", "BOARD/CHESS"};
        QTest::newRow("proposal, category there") << "" << QStringList{"BOARD"} << "BOARD/CHESS" << QStringList{"BOARD/CHESS"};
        QTest::newRow("every level there") << "C:\\GAMES\\CHESS" << QStringList{"GAMES/CHESS"} << "GAMES/CHESS" << QStringList{};
        QTest::newRow("three new levels") << "C:\\A\\B\\C" << QStringList{} << "A/B/C" << QStringList{"A", "A/B", "A/B/C"};
        QTest::newRow("other case of a folder") << "c:\\games\\new" << QStringList{"GAMES"} << "GAMES/new" << QStringList{"GAMES/new"};
        QTest::newRow("drive root") << "C:\\" << QStringList{} << "" << QStringList{};
    }
    void saveCopiesIntoTheFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(QString, destination);
        QFETCH(QStringList, created);
        selectChess();
        for (const QString &f : existing)
            QVERIFY(QDir(disc->hdd()).mkpath(f));
        QStringList before = entriesBelow(disc->hdd());
        Recorder rec;
        QVERIFY(runCopy([&](frmSave *save) {
            if (!typed.isEmpty())
                typePath(save, typed);
            QPointer<QWidget> chooser = widgetOf(*save);
            clickOn(save, save->lblSave);
            QVERIFY(!chooser || !chooser->isVisible());
        }));
        QVERIFY(!ui::loadedForm<frmSave>());
        QVERIFY(!ui::hourglassShown());
        QVERIFY(messages.isEmpty());
        QCOMPARE(modelessMessage(), QStringLiteral("Copying of game 'Chess' complete."));

        // The game's files, directly in the folder; nothing else anywhere.
        const QString prefix = destination.isEmpty() ? QString() : destination + QLatin1Char('/');
        QStringList expected = before + created;
        for (const QString &f : kGameFiles) {
            expected << prefix + f;
            QCOMPARE(fileContents(disc->hdd(prefix + f)), fileContents(gameFile(f)));
        }
        expected.sort();
        QCOMPARE(entriesBelow(disc->hdd()), expected);
        QCOMPARE(rec.sounds.last(), kClick);
    }

    void folderOpenedInTheListReceivesTheFiles_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("double click") << false;
        QTest::newRow("Enter") << true;
    }
    void folderOpenedInTheListReceivesTheFiles()
    {
        QFETCH(bool, byKey);
        selectChess();
        QVERIFY(QDir(disc->hdd()).mkpath(QStringLiteral("GAMES/OLD")));
        QStringList seenPaths;
        QVERIFY(runCopy([&](frmSave *save) {
            openEntry(save, QStringLiteral("GAMES"), byKey);
            seenPaths << pathBox(save)->text() << folderShown(save);
            // Its ancestors, then its own folders, one level deeper.
            QVERIFY(entry(save, QStringLiteral("c:\\")) && entry(save, QStringLiteral("OLD")));
            QVERIFY(!entry(save, QStringLiteral("MENU")));
            // Into OLD and back up to GAMES through its entry.
            openEntry(save, QStringLiteral("OLD"), byKey);
            seenPaths << pathBox(save)->text();
            openEntry(save, QStringLiteral("GAMES"), byKey);
            seenPaths << pathBox(save)->text();
            clickOn(save, save->lblSave);
        }));
        QCOMPARE(seenPaths, (QStringList{"C:\\GAMES", "C:\\GAMES", "C:\\GAMES\\OLD", "C:\\GAMES"}));
        QCOMPARE(entriesBelow(disc->hdd(QStringLiteral("GAMES"))), (QStringList{"CHESS.EXE", "OLD", "QAR.TXT", "README"}));
        QVERIFY(!QFileInfo::exists(disc->hdd(QStringLiteral("BOARD"))));
        QCOMPARE(modelessMessage(), QStringLiteral("Copying of game 'Chess' complete."));
    }

    void levelThatCannotBeCreatedCopiesNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fileInTheWay");  // below C:, empty for none
        QTest::addColumn<bool>("driveGone");        // C:'s folder removed while the chooser is open
        QTest::newRow("file in place of the category") << "C:\\BOARD\\CHESS" << "BOARD" << false;
        QTest::newRow("file in place of the last level") << "C:\\BOARD\\CHESS" << "BOARD/CHESS" << false;
        QTest::newRow("name too long") << QStringLiteral("C:\\GAMES\\") + QString(300, QLatin1Char('x')) << "" << false;
        QTest::newRow("bare drive root, its folder gone") << "C:\\" << "" << true;
    }
    void levelThatCannotBeCreatedCopiesNothing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, fileInTheWay);
        QFETCH(bool, driveGone);
        selectChess();
        if (!fileInTheWay.isEmpty())
            DiscFixture::writeFile(disc->hdd(fileInTheWay), "mine");
        const QStringList before = entriesBelow(disc->hdd());
        Recorder rec;
        QVERIFY(runCopy([&](frmSave *save) {
            if (driveGone)
                QVERIFY(QDir(disc->hdd()).removeRecursively());
            typePath(save, typed);
            clickOn(save, save->lblSave);
        }));
        if (driveGone)
            QVERIFY(!QFileInfo::exists(disc->hdd()));
        QVERIFY(!ui::loadedForm<frmSave>());
        QVERIFY(!ui::hourglassShown());
        QVERIFY(messages.isEmpty());
        QVERIFY2(showsSentence(modelessMessage(), QStringLiteral("The folder '%1' could not be created."), typed),
                 qPrintable(modelessMessage()));
        // Only the levels above the failing one may have been made; no file.
        for (const QString &e : entriesBelow(disc->hdd()))
            QVERIFY2(before.contains(e) || e == QLatin1String("GAMES"), qPrintable(e));
        if (!fileInTheWay.isEmpty())
            QCOMPARE(fileContents(disc->hdd(fileInTheWay)), QByteArray("mine"));
    }

    void pathWithoutADriveIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("no drive") << "GAMES\\CHESS";
        QTest::newRow("drive without root") << "C:GAMES";
        QTest::newRow("drive not in the table") << "Q:\\GAMES";
        QTest::newRow("empty") << "";
        QTest::newRow("forward slash") << "C:/GAMES";
    }
    void pathWithoutADriveIsRefused()
    {
        QFETCH(QString, typed);
        selectChess();
        const QStringList before = entriesBelow(disc->hdd());
        bool openAfterMessage = false, hourglassAtMessage = true;
        QVERIFY(runCopy([&](frmSave *save) {
            typePath(save, typed);
            DialogAnswerer inner([&](QWidget *w) {
                hourglassAtMessage = ui::hourglassShown();
                noteMessage()(w);
            });
            clickOn(save, save->lblSave);
            QCOMPARE(inner.answered(), 1);
            openAfterMessage = widgetOf(*save)->isVisible() && ui::loadedForm<frmSave>() == save;
            // The user corrects the path and saves.
            typePath(save, QStringLiteral("C:\\FIXED"));
            clickOn(save, save->lblSave);
        }));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, kNeedDrive);
        QCOMPARE(messages[0].frame.topLeft(), centredIn(screen->frame(), messages[0].frame.size()));
        QVERIFY(!hourglassAtMessage);
        QVERIFY(openAfterMessage);
        QCOMPARE(entriesBelow(disc->hdd(QStringLiteral("FIXED"))), kGameFiles);
    }

    void cancelAfterEditsCreatesNothing_data()
    {
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("Cancel") << false;
        QTest::newRow("native window destroyed from outside") << true;
    }
    void cancelAfterEditsCreatesNothing()
    {
        QFETCH(bool, destroyed);
        selectChess();
        QVERIFY(QDir(disc->hdd()).mkpath(QStringLiteral("GAMES")));
        const QStringList hddBefore = entriesBelow(disc->hdd());
        const QStringList discBefore = entriesBelow(disc->disc());
        Recorder rec;
        QVERIFY(runCopy([&](frmSave *save) {
            typePath(save, QStringLiteral("C:\\NEW\\PLACE"));
            openEntry(save, QStringLiteral("GAMES"), false);
            typePath(save, QStringLiteral("C:\\GAMES\\ELSEWHERE"));
            if (destroyed) {
                destroyFromOutside(*save);
                QTRY_VERIFY(!ui::loadedForm<frmSave>());
            } else {
                clickOn(save, save->lblCancel);
            }
        }));
        QVERIFY(!ui::loadedForm<frmSave>());
        QCOMPARE(entriesBelow(disc->hdd()), hddBefore);
        QCOMPARE(entriesBelow(disc->disc()), discBefore);
        QCOMPARE(modelessMessage(), QString());
        QVERIFY(messages.isEmpty());
        QCOMPARE(rec.count(kClick), destroyed ? 1 : 2);
    }

    void existingFilesReplacedButNotReadOnlyOnes()
    {
        selectChess();
        DiscFixture::writeFile(disc->hdd(QStringLiteral("BOARD/CHESS/README")), "old readme, much longer than the new one");
        DiscFixture::writeFile(disc->hdd(QStringLiteral("BOARD/CHESS/QAR.TXT")), "old, read-only");
        DiscFixture::writeFile(disc->hdd(QStringLiteral("BOARD/CHESS/MINE.TXT")), "not the game's");
        QVERIFY(platform::setReadOnly("C:\\BOARD\\CHESS\\QAR.TXT", true));
        QVERIFY(runCopy([](frmSave *save) { clickOn(save, save->lblSave); }));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/README"))), fileContents(gameFile(QStringLiteral("README"))));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/CHESS.EXE"))), fileContents(gameFile(QStringLiteral("CHESS.EXE"))));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/QAR.TXT"))), QByteArray("old, read-only"));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/MINE.TXT"))), QByteArray("not the game's"));
        QCOMPARE(entriesBelow(disc->hdd(QStringLiteral("BOARD/CHESS"))), (QStringList{"CHESS.EXE", "MINE.TXT", "QAR.TXT", "README"}));
        QCOMPARE(modelessMessage(),
                 QStringLiteral("Copying of game 'Chess' is incomplete: 1 of 3 files could not be copied."));
        QVERIFY(!ui::hourglassShown());

        // A second copy replaces the earlier copies again.
        DiscFixture::writeFile(gameFile(QStringLiteral("README")), "second edition");
        QVERIFY(runCopy([](frmSave *save) { clickOn(save, save->lblSave); }));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/README"))), QByteArray("second edition"));
    }

    void gameFolderItselfIsLeftIntact()
    {
        // A writable "disc" folder chosen as its own destination.
        selectChess();
        QMap<QString, QByteArray> before;
        for (const QString &f : kGameFiles)
            before[f] = fileContents(gameFile(f));
        QVERIFY(runCopy([](frmSave *save) {
            typePath(save, QStringLiteral("D:\\BOARD\\CHESS"));
            clickOn(save, save->lblSave);
        }));
        for (const QString &f : kGameFiles)
            QCOMPARE(fileContents(gameFile(f)), before[f]);
        QCOMPARE(modelessMessage(),
                 QStringLiteral("Copying of game 'Chess' is incomplete: 3 of 3 files could not be copied."));
    }

    // The title bar and the message show the name as it stands.
    void nameShownAsText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("markup") << "  <b>Chess</b> & Co  " << "<b>Chess</b> & Co";
        QTest::newRow("the modified mark of Qt's titles") << "[*] Chess [*][*]" << "[*] Chess [*][*]";
    }
    void nameShownAsText()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        selectChess(name.toStdString());
        QString title;
        QVERIFY(runCopy([&](frmSave *save) {
            title = windowOf(*save)->title();
            clickOn(save, save->lblSave);
        }));
        QCOMPARE(title, QStringLiteral("Save '%1' Game To Where ?").arg(shown));
        QCOMPARE(modelessMessage(), QStringLiteral("Copying of game '%1' complete.").arg(shown));
        QCOMPARE(widgetOf<QLabel>(ui::loadedForm<frmCD>()->lblInstruction)->textFormat(), Qt::PlainText);
    }

    // --- the chooser's controls ---------------------------------------------

    void driveListMovesTheFolderList()
    {
        selectChess();
        DiscFixture::setDrives(QStringLiteral("C=%1;D=%2;E=%3").arg(disc->hdd(), disc->disc(), disc->tmp.path() + "/gone"));
        QStringList states;
        auto state = [&](frmSave *save) {
            states << QStringLiteral("%1|%2|%3").arg(driveShown(save), folderShown(save), pathBox(save)->text());
        };
        QVERIFY(runCopy([&](frmSave *save) {
            // A readable drive: its root, and the path box follows.
            driveList(save)->setFocus();
            QTest::keyClick(driveList(save), Qt::Key_Down);
            state(save);
            // A drive that cannot be read: everything stays as it was.
            DialogAnswerer inner(noteMessage());
            QTest::keyClick(driveList(save), Qt::Key_Down);
            QCOMPARE(inner.answered(), 1);
            state(save);
            QVERIFY(widgetOf(*save)->isVisible());
            clickOn(save, save->lblCancel);
        }));
        QCOMPARE(states, (QStringList{"d:|D:\\|D:\\", "d:|D:\\|D:\\"}));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("The drive 'e:' cannot be read."));
        QCOMPARE(messages[0].frame.topLeft(), centredIn(screen->frame(), messages[0].frame.size()));
    }

    // An unreadable drive can be passed over with the arrow keys and with the
    // wheel: the list shows the last readable drive, and the next step goes on
    // from the entry that failed.
    void driveListStepsPastAnUnreadableDrive_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::newRow("arrow keys") << false;
        QTest::newRow("mouse wheel") << true;
    }
    void driveListStepsPastAnUnreadableDrive()
    {
        QFETCH(bool, wheel);
        selectChess();
        QVERIFY(QDir(disc->tmp.path()).mkpath(QStringLiteral("f")));
        DiscFixture::setDrives(QStringLiteral("C=%1;D=%2;E=%3;F=%4")
                                   .arg(disc->hdd(), disc->disc(), disc->tmp.path() + "/gone", disc->tmp.path() + "/f"));
        QStringList shown;
        QVERIFY(runCopy([&](frmSave *save) {
            DialogAnswerer inner(noteMessage(), 10);
            QComboBox *drives = driveList(save);
            drives->setFocus();
            for (bool down : {true, true, true, false, false}) {
                if (wheel) {
                    const QPointF at = QRectF(drives->rect()).center();
                    QWheelEvent event(at, drives->mapToGlobal(at), QPoint(), QPoint(0, down ? -120 : 120),
                                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(drives, &event);
                } else {
                    QTest::keyClick(drives, down ? Qt::Key_Down : Qt::Key_Up);
                }
                shown << driveShown(save) + QLatin1Char('|') + folderShown(save);
            }
            clickOn(save, save->lblCancel);
        }));
        // Down: d, e (unreadable: d stays shown), f; Up: e again, then d.
        QCOMPARE(shown, (QStringList{"d:|D:\\", "d:|D:\\", "f:|F:\\", "f:|F:\\", "d:|D:\\"}));
        QCOMPARE(messages.size(), 2);
        for (const Seen &m : messages)
            QCOMPARE(m.text, QStringLiteral("The drive 'e:' cannot be read."));
    }

    void hoverMovesBetweenSaveAndCancel()
    {
        selectChess();
        Recorder rec;
        QStringList steps;
        QVERIFY(runCopy([&](frmSave *save) {
            QWindow *win = windowOf(*save);
            auto at = [&](const ui::Control *c, QPoint offset = {}) {
                QTest::mouseMove(win, centreOf(c) + offset);
                steps << QStringLiteral("%1%2 %3")
                             .arg(shown(save->imgSaveLight) ? "S" : "-", shown(save->imgCancelLight) ? "C" : "-")
                             .arg(rec.count(kRoll));
            };
            at(save->lblSave);
            at(save->lblSave, {3, 2});
            at(save->lblCancel);
            at(save->drvSave);          // no reaction
            at(save->lblCancel, {2, 0});
            at(save->dirSave);          // clears
            at(save->lblSave);
            at(save->txtFolderPath);    // clears
            at(save->lblCancel);
            QTest::mouseMove(win, QPoint(230, 160));  // background
            steps << QStringLiteral("%1%2").arg(shown(save->imgSaveLight) ? "S" : "-",
                                               shown(save->imgCancelLight) ? "C" : "-");

            // Pressed looks follow the button, and a click while one is shown
            // does nothing: each click below comes straight to its button
            // while that button's pressed look is held on screen.
            QTest::mousePress(win, Qt::LeftButton, {}, centreOf(save->lblSave));
            steps << (shown(save->imgSaveIndent) ? "pressed" : "not pressed");
            {
                KeepShown held(widgetOf(save->imgSaveIndent));
                QTest::mouseClick(widgetOf(save->lblSave), Qt::LeftButton);
            }
            {
                QWidget *cancel = widgetOf(save->lblCancel);
                QTest::mousePress(cancel, Qt::LeftButton);
                KeepShown held(widgetOf(save->imgCancelIndent));
                QTest::mouseRelease(cancel, Qt::LeftButton);
            }
            QTest::mouseRelease(win, Qt::LeftButton, {}, centreOf(save->lblCancel));
            steps << (shown(save->imgSaveIndent) ? "still pressed" : "released");
            QVERIFY(widgetOf(*save)->isVisible());
            clickOn(save, save->lblCancel);
        }));
        QCOMPARE(steps, (QStringList{"S- 1", "S- 1", "-C 2", "-C 2", "-C 2", "-- 2", "S- 3", "-- 3", "-C 4", "--",
                                     "pressed", "released"}));
        QVERIFY(!ui::loadedForm<frmSave>());
    }

    // --- copyFiles ----------------------------------------------------------

    void copyFilesGoesPastSixteenBitCounts()
    {
        selectChess();
        frmSave &save = ui::form<frmSave>();
        QVERIFY(QDir(disc->hdd()).mkpath(QStringLiteral("OUT")));
        // 32,770 names, of which only the last is a real file of the folder.
        QStringList names;
        for (int i = 0; i < 32769; ++i)
            names << QStringLiteral("GONE%1").arg(i);
        names << QStringLiteral("README");
        fileList(&save)->addItems(names);
        ui::setHourglass();
        save.copyFiles("D:\\BOARD\\CHESS", "C:\\OUT");
        QCOMPARE(entriesBelow(disc->hdd(QStringLiteral("OUT"))), QStringList{"README"});
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(modelessMessage(),
                 QStringLiteral("Copying of game 'Chess' is incomplete: 32769 of 32770 files could not be copied."));
    }

    // A disc can carry a name that holds a backslash; joined to a path it
    // would name a file elsewhere (here the disc's marker at the drive's
    // root). Such a file is never copied and counts as not copied.
    void nameHoldingABackslashIsNotCopied()
    {
        selectChess();
        DiscFixture::writeFile(gameFile(QStringLiteral("A\\..\\..\\..\\PLAXOID.QAR")), "climbs out");
        DiscFixture::writeFile(disc->hdd(QStringLiteral("PLAXOID.QAR")), "the user's own");
        QVERIFY(runCopy([](frmSave *save) { clickOn(save, save->lblSave); }));
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("PLAXOID.QAR"))), QByteArray("the user's own"));
        QCOMPARE(entriesBelow(disc->hdd()),
                 (QStringList{"BOARD", "BOARD/CHESS", "BOARD/CHESS/CHESS.EXE", "BOARD/CHESS/QAR.TXT",
                              "BOARD/CHESS/README", "MENU", "PLAXOID.QAR"}));
        QCOMPARE(modelessMessage(),
                 QStringLiteral("Copying of game 'Chess' is incomplete: 1 of 4 files could not be copied."));
    }

    // The copy costs in proportion to its files: the game's folder and the
    // destination are listed at most twice by the layer (once for the
    // chooser's file list), however many files they hold. A name that is
    // there in another case is replaced, not doubled.
    void copyListsEachFolderAtMostTwice()
    {
        selectChess();
        for (int i = 0; i < 1000; ++i)
            DiscFixture::writeFile(gameFile(QStringLiteral("F%1.DAT").arg(i, 4, 10, QLatin1Char('0'))), "x");
        DiscFixture::writeFile(disc->hdd(QStringLiteral("BOARD/CHESS/readme")), "old");
        QMap<QString, int> listings;
        const QStringList copied{disc->disc(QStringLiteral("BOARD/CHESS")), disc->hdd(QStringLiteral("BOARD/CHESS"))};
        platform::testing::setListingObserver([&](const std::string &folder) {
            if (copied.contains(QDir::cleanPath(QString::fromStdString(folder))))
                ++listings[QString::fromStdString(folder)];
        });
        const bool shown = runCopy([](frmSave *save) { clickOn(save, save->lblSave); });
        platform::testing::setListingObserver({});
        QVERIFY(shown);
        QCOMPARE(modelessMessage(), QStringLiteral("Copying of game 'Chess' complete."));
        QCOMPARE(QDir(disc->hdd(QStringLiteral("BOARD/CHESS"))).entryList(QDir::Files).size(), 1003);
        QCOMPARE(fileContents(disc->hdd(QStringLiteral("BOARD/CHESS/readme"))), fileContents(gameFile(QStringLiteral("README"))));
        QCOMPARE(listings.size(), 2);
        for (auto it = listings.cbegin(); it != listings.cend(); ++it)
            QVERIFY2(it.value() <= 2, qPrintable(QStringLiteral("%1 listed %2 times").arg(it.key()).arg(it.value())));
    }

    // During the copy the windows take no input: a click on a category
    // plays nothing and lists nothing, then or afterwards.
    void copyTakesNoInput()
    {
        selectChess();
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord(QStringLiteral("Comets"), QStringLiteral("COMETS"), QStringLiteral("C.EXE"))});
        for (int i = 0; i < 5; ++i)
            DiscFixture::writeFile(gameFile(QStringLiteral("F%1.DAT").arg(i)), "x");
        Recorder rec;
        int copied = 0;
        QStringList soundsBefore;
        platform::testing::setFileCopiedObserver([&](const std::string &) {
            if (++copied != 2)
                return;
            soundsBefore = rec.sounds;
            QWindow *win = screen->win();
            const QPoint arcade = centreOf(games->lblArcade);
            QTest::mouseMove(win, arcade);
            QTest::mouseClick(win, Qt::LeftButton, {}, arcade);
            QTest::qWait(60);  // past the paint interval, so the copy handles events
        });
        QVERIFY(runCopy([](frmSave *save) { clickOn(save, save->lblSave); }));
        platform::testing::setFileCopiedObserver({});
        QCOMPARE(copied, 8);
        QTest::qWait(50);
        QCOMPARE(rec.sounds, soundsBefore);
        QCOMPARE(screen->list()->count(), 0);
        QVERIFY(!shown(games->imgArcadeIndent));
    }
};

QTEST_MAIN(TestCopy)
#include "test_copy.moc"
