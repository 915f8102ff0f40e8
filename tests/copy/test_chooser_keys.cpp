// The copy chooser without a mouse, opened by Copy to Hard Drive from the
// keyboard: the focus in the path box, the Tab cycle through Save, Cancel,
// the folder list and the drive list, Save and Cancel by keys, and Escape as
// Cancel from wherever the focus is.
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "keys.h"
#include "mainscreen.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

class TestChooserKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;

    static QString nameOf(QWidget *w) { return w ? w->objectName() : QString(); }
    static QStringList litIn(QWidget *window)
    {
        QStringList names;
        for (QWidget *p : window->findChildren<QWidget *>())
            if (p->objectName().endsWith(QLatin1String("Light")) && p->isVisible())
                names << p->objectName();
        return names;
    }

    // Copy to Hard Drive by Enter; `use` gets the chooser while it waits.
    void runCopy(const std::function<void(frmSave *, QWidget *)> &use)
    {
        bool shown = false;
        DialogAnswerer answer([&](QWidget *w) {
            auto *save = ui::qt::formOf<frmSave>(w);
            QVERIFY(save);
            shown = true;
            use(save, w);
            if (ui::loadedForm<frmSave>() == save)
                w->close();
        });
        games->lblCopyHDD->setFocus();
        typeKey(screen->win(), Qt::Key_Return);
        QVERIFY(shown);
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        modMain::gGameCategory = "Board";
        modMain::gGameName = "Chess";
        modMain::gGameFolder = "CHESS";
        modMain::gGameProgram = "CHESS.EXE";
        QDir(disc->hdd()).mkpath(QStringLiteral("GAMES"));
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    // The path box has the focus as the chooser opens, nothing is lit; Tab
    // lights Save, then Cancel, and puts the lights out in the lists; Shift+
    // Tab goes back.
    void tabCycle()
    {
        QStringList forwards, backwards, lit;
        bool openedInThePathBox = false;
        Recorder rec;
        runCopy([&](frmSave *, QWidget *w) {
            openedInThePathBox = nameOf(focusedWidget()) == QLatin1String("txtFolderPath") && litIn(w).isEmpty();
            rec.sounds.clear();
            for (int i = 0; i < 5; ++i) {
                typeKey(w, Qt::Key_Tab);
                forwards << nameOf(focusedWidget());
                lit << litIn(w).join(QLatin1Char('+'));
            }
            for (int i = 0; i < 5; ++i) {
                typeKey(w, Qt::Key_Tab, Qt::ShiftModifier);
                backwards << nameOf(focusedWidget());
            }
        });
        QVERIFY(openedInThePathBox);
        QCOMPARE(forwards, (QStringList{"lblSave", "lblCancel", "dirSave", "drvSave", "txtFolderPath"}));
        QCOMPARE(lit, (QStringList{"imgSaveLight", "imgCancelLight", "", "", ""}));
        QCOMPARE(backwards, (QStringList{"drvSave", "dirSave", "lblCancel", "lblSave", "txtFolderPath"}));
        QCOMPARE(rec.count(kRoll), 4);
    }

    // Escape is Cancel wherever the focus is: the click sound, the chooser
    // gone, nothing created.
    void escapeIsCancel_data()
    {
        QTest::addColumn<int>("tabs");  // from the path box
        QTest::newRow("in the path box") << 0;
        QTest::newRow("on Save") << 1;
        QTest::newRow("on Cancel") << 2;
        QTest::newRow("in the folder list") << 3;
        QTest::newRow("in the drive list") << 4;
    }
    void escapeIsCancel()
    {
        QFETCH(int, tabs);
        const QStringList before = entriesBelow(disc->hdd());
        Recorder rec;
        bool closed = false;
        runCopy([&](frmSave *, QWidget *w) {
            for (int i = 0; i < tabs; ++i)
                typeKey(w, Qt::Key_Tab);
            rec.sounds.clear();
            typeKey(w, Qt::Key_Escape);
            closed = !ui::loadedForm<frmSave>();
        });
        QVERIFY(closed);
        QCOMPARE(rec.sounds, QStringList{kClick});
        QCOMPARE(entriesBelow(disc->hdd()), before);
    }

    // A path typed in the box, then Save by Enter: the game lands in it and
    // the copy-finished message takes Escape too. Cancel by Space copies
    // nothing.
    void saveAndCancelByKeys_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("copied");
        QTest::newRow("Save by Enter") << "save-enter" << true;
        QTest::newRow("Save by Space") << "save-space" << true;
        QTest::newRow("Cancel by Space") << "cancel-space" << false;
    }
    void saveAndCancelByKeys()
    {
        QFETCH(QString, script);
        QFETCH(bool, copied);
        Recorder rec;
        runCopy([&](frmSave *save, QWidget *w) {
            QLineEdit *box = widgetOf<QLineEdit>(save->txtFolderPath);
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("C:\\GAMES\\CHESS"));
            typeKey(w, Qt::Key_Tab);
            if (script.startsWith(QLatin1String("cancel")))
                typeKey(w, Qt::Key_Tab);
            typeKey(w, script.endsWith(QLatin1String("enter")) ? Qt::Key_Return : Qt::Key_Space);
        });
        QVERIFY(!ui::loadedForm<frmSave>());
        QCOMPARE(QFileInfo::exists(disc->hdd(QStringLiteral("GAMES/CHESS/CHESS.EXE"))), copied);
        QCOMPARE(rec.count(kClick), 2);  // Copy, then Save or Cancel
        if (copied) {
            frmCD *message = ui::loadedForm<frmCD>();
            QVERIFY(message);
            QWidget *window = widgetOf(*message);
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            typeKey(window, Qt::Key_Escape);
            QTest::qWait(0);
            QVERIFY(!ui::loadedForm<frmCD>());
        }
    }

    // In the folder list the keys keep their meaning: an arrow moves to an
    // entry and Enter opens it, and the path box follows.
    void folderListKeysOpenFolders()
    {
        QString path;
        runCopy([&](frmSave *save, QWidget *w) {
            typeKey(w, Qt::Key_Tab);
            typeKey(w, Qt::Key_Tab);
            typeKey(w, Qt::Key_Tab);
            QCOMPARE(nameOf(focusedWidget()), QStringLiteral("dirSave"));
            QListWidget *list = widgetOf<QListWidget>(save->dirSave);
            for (int i = 0; i < 5 && list->currentItem() && list->currentItem()->text() != QLatin1String("GAMES"); ++i)
                typeKey(w, Qt::Key_Down);
            typeKey(w, Qt::Key_Return);
            path = QString::fromStdString(save->txtFolderPath->text());
        });
        QCOMPARE(path, QStringLiteral("C:\\GAMES"));
    }
};

QTEST_MAIN(TestChooserKeys)
#include "test_chooser_keys.moc"
