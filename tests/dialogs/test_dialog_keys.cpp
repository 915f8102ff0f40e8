// The three dialogs without a mouse, each opened the way the program opens
// it and worked by keys typed into it: they open with nothing focused and
// nothing lit, Tab moves between their buttons, Enter and Space click them,
// Escape is OK in the information dialog, Cancel in the notice and nothing in
// the exit dialog.
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "dialogs/frmHDD.h"
#include "keys.h"
#include "mainscreen.h"

namespace {
// The pictures of a dialog on screen whose names end in "Light".
QStringList litIn(QWidget *window)
{
    QStringList names;
    for (QWidget *p : window->findChildren<QWidget *>())
        if (p->objectName().endsWith(QLatin1String("Light")) && p->isVisible())
            names << p->objectName();
    return names;
}

// Keys typed into a window, written "Tab Tab Return"; "Backtab" is Shift+Tab.
void typeScript(QWidget *window, const QString &script)
{
    for (const QString &name : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (name == QLatin1String("Backtab"))
            typeKey(window, Qt::Key_Tab, Qt::ShiftModifier);
        else if (name == QLatin1String("Tab"))
            typeKey(window, Qt::Key_Tab);
        else if (name == QLatin1String("Return"))
            typeKey(window, Qt::Key_Return);
        else if (name == QLatin1String("Space"))
            typeKey(window, Qt::Key_Space);
        else if (name == QLatin1String("Escape"))
            typeKey(window, Qt::Key_Escape);
        else
            QFAIL(qPrintable("unknown key " + name));
    }
}
} // namespace

class TestDialogKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;

    // Enter on a main-screen button; the window may be gone once it returns.
    void enterOn(ui::HotArea *button)
    {
        button->setFocus();
        QPointer<QWindow> window = screen->win();
        qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        if (window)
            qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    }

    // Opens a dialog as the program does: the information dialog with a
    // message, the notice by Run on a game that needs the hard disk, the
    // exit dialog by the main screen's Exit.
    void open(const QString &dialog)
    {
        if (dialog == QLatin1String("information")) {
            showInformationDialog(kSelectToRun.toStdString(), Placement::MainScreen, Mode::Modal);
        } else if (dialog == QLatin1String("notice")) {
            disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
            modMain::gGameCategory = "Board";
            modMain::gGameName = "Chess";
            modMain::gGameFolder = "CHESS";
            modMain::gGameProgram = "CHESS.EXE";
            modMain::gGameHddFlag = "1";
            enterOn(games->lblRun);
        } else {
            enterOn(games->lblExit);
        }
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    void keys_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("script");   // typed once the dialog is up
        QTest::addColumn<int>("rollOvers");    // the buttons lit on the way
        QTest::addColumn<QString>("opened");   // what the shell is asked to open
        QTest::addColumn<bool>("copied");      // the game copied to the hard disk
        QTest::addColumn<bool>("ended");       // the program ended
        QTest::addColumn<bool>("stillOpen");   // the keys left the dialog up
        QTest::newRow("information: Escape is OK") << "information" << "Escape" << 0 << "" << false << false << false;
        QTest::newRow("information: Tab, Enter") << "information" << "Tab Return" << 1 << "" << false << false << false;
        QTest::newRow("information: Tab, Space") << "information" << "Tab Space" << 1 << "" << false << false << false;
        QTest::newRow("notice: Escape is Cancel") << "notice" << "Escape" << 0 << "" << false << false << false;
        QTest::newRow("notice: OK by Space") << "notice" << "Tab Space" << 1 << "C:\\MENU\\BOARD\\CHESS\\CHESS.EXE"
                                             << true << false << false;
        QTest::newRow("notice: Cancel by Enter") << "notice" << "Tab Tab Return" << 2 << "" << false << false << false;
        QTest::newRow("notice: Shift+Tab starts at Cancel") << "notice" << "Backtab Return" << 1 << "" << false
                                                            << false << false;
        QTest::newRow("notice: Tab wraps to OK") << "notice" << "Tab Tab Tab Return" << 3
                                                 << "C:\\MENU\\BOARD\\CHESS\\CHESS.EXE" << true << false << false;
        QTest::newRow("exit: Uninstall by Enter") << "exit" << "Tab Return" << 1 << "CONTROL.EXE" << false << true
                                                  << false;
        QTest::newRow("exit: Exit by Space") << "exit" << "Tab Tab Space" << 2 << "" << false << true << false;
        QTest::newRow("exit: Escape does nothing") << "exit" << "Escape" << 0 << "" << false << false << true;
        QTest::newRow("exit: Escape on a button does nothing") << "exit" << "Tab Escape" << 1 << "" << false << false
                                                               << true;
    }
    void keys()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, script);
        QFETCH(int, rollOvers);
        QFETCH(QString, opened);
        QFETCH(bool, copied);
        QFETCH(bool, ended);
        QFETCH(bool, stillOpen);
        Recorder rec;
        bool openedBare = false;
        bool leftOpen = false;
        QStringList soundsInDialog;
        DialogAnswerer answer([&](QWidget *w) {
            // Nothing focused and nothing lit as it opens.
            openedBare = (!focusedWidget() || focusedWidget() == w) && litIn(w).isEmpty();
            rec.sounds.clear();
            typeScript(w, script);
            soundsInDialog = rec.sounds;
            QTest::qWait(0);
            leftOpen = w->isVisible() && ui::qt::formOf(w);
            if (leftOpen)  // leave through Exit
                typeScript(w, QStringLiteral("Backtab Return"));
        });
        open(dialog);
        QTRY_COMPARE(answer.answered(), 1);
        QVERIFY(openedBare);
        QCOMPARE(leftOpen, stillOpen);
        QCOMPARE(soundsInDialog.count(kRoll), rollOvers);
        QCOMPARE(soundsInDialog.count(kClick), stillOpen ? 0 : 1);
        QCOMPARE(rec.shellCalls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(rec.shellCalls[0].file, opened);
        if (opened == QLatin1String("CONTROL.EXE"))
            QCOMPARE(rec.shellCalls[0].parameters, QStringLiteral("APPWIZ.CPL"));
        QCOMPARE(QFileInfo::exists(disc->programFolder(QStringLiteral("BOARD/CHESS/CHESS.EXE"))), copied);
        QCOMPARE(rec.ends, (ended || stillOpen) ? 1 : 0);
        QTest::qWait(0);
        QVERIFY(!ui::loadedForm<frmCD>() && !ui::loadedForm<frmHDD>() && !ui::loadedForm<frmExit>());
    }

    // The copy-finished message stays beside the main screen; Escape in it
    // is its OK as well.
    void modelessMessageTakesEscape()
    {
        Recorder rec;
        showInformationDialog("Copying of game 'Chess' complete.", Placement::MainScreen, Mode::Modeless);
        QWidget *window = widgetOf(*ui::loadedForm<frmCD>());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        typeKey(window, Qt::Key_Escape);
        QTest::qWait(0);
        QVERIFY(!ui::loadedForm<frmCD>());
        QCOMPARE(rec.sounds, QStringList{kClick});
    }
};

QTEST_MAIN(TestDialogKeys)
#include "test_dialog_keys.moc"
