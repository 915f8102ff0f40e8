// What a screen reader finds in every window, read through Qt's
// accessibility interface: each button a push button with its drawn word as
// name and its hint as description, focusable, focused and selected as it
// is; each window named by its title and described by the words of its
// picture or its message.
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "dialogs/frmHDD.h"
#include "keys.h"
#include "mainscreen.h"

namespace {
const QString kNoticeWords = QStringLiteral(
    "This game runs only from the hard drive.\n\n"
    "To play it, choose OK: the program copies the game to your hard drive and runs it from there.\n\n"
    "Otherwise, choose Cancel.");
const QString kExitWords = QStringLiteral(
    "Games copied to your hard drive are removed through the system's Add/Remove Programs panel, which the "
    "Uninstall button opens.\n\n"
    "There, select the games to remove and follow the prompts.\n\n"
    "The Exit button leaves the program.");
// A name too long for the message label, which shortens it in its middle.
const QString kLongName = QStringLiteral("The Extraordinarily Long Adventures of the Lighthouse Keeper and Her Cat");
} // namespace

class TestAccessible : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;

    // Shows a window as the program would and makes it the active one.
    QWidget *open(const QString &window)
    {
        ui::Window *form = nullptr;
        if (window == QLatin1String("main")) {
            form = &screen->games;
        } else if (window == QLatin1String("information")) {
            showInformationDialog("Copying of game '%1' complete.", kLongName.toStdString(), Placement::MainScreen,
                                  Mode::Modeless);
            form = ui::loadedForm<frmCD>();
        } else if (window == QLatin1String("notice")) {
            form = &ui::form<frmHDD>();
        } else if (window == QLatin1String("exit")) {
            form = &ui::form<frmExit>();
        } else {
            frmSave &save = ui::form<frmSave>();
            save.setTitle("Save 'Chess' Game To Where ?");
            form = &save;
        }
        form->showModeless();
        QWidget *w = widgetOf(*form);
        w->activateWindow();
        return QTest::qWaitForWindowActive(w) ? w : nullptr;
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    void everyButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("Help") << "main" << "lblHelp" << "Help" << "Click here for help on using this screen.";
        QTest::newRow("Run") << "main" << "lblRun" << "Run" << "Click here to run the selected game from the CD.";
        QTest::newRow("Copy") << "main" << "lblCopyHDD" << "Copy to Hard Drive"
                              << "Click here to copy the selected game to your hard drive.";
        QTest::newRow("View") << "main" << "lblView" << "View" << "Click here to view the selected game files.";
        QTest::newRow("Exit") << "main" << "lblExit" << "Exit" << "Click here to quit this application.";
        QTest::newRow("arcade") << "main" << "lblArcade" << "arcade" << "Click here for a listing of Arcade games.";
        QTest::newRow("board") << "main" << "lblBoard" << "board" << "Click here for a listing of Board games.";
        QTest::newRow("education") << "main" << "lblEducate" << "education"
                                   << "Click here for a listing of Educational games.";
        QTest::newRow("strategy") << "main" << "lblStrategy" << "strategy"
                                  << "Click here for a listing of Strategy games.";
        QTest::newRow("cards") << "main" << "lblCards" << "cards" << "Click here for a listing of Cards games.";
        QTest::newRow("action") << "main" << "lblAction" << "action" << "Click here for a listing of Action games.";
        QTest::newRow("adventure") << "main" << "lblAdv" << "adventure" << "Click here for a listing of Adventure games.";
        QTest::newRow("3D") << "main" << "lbl3D" << "3D" << "Click here for a listing of 3D games.";
        QTest::newRow("information: OK") << "information" << "lblOk2" << "Ok" << "";
        QTest::newRow("notice: OK") << "notice" << "lblOk" << "OK" << "";
        QTest::newRow("notice: Cancel") << "notice" << "lblCancel" << "Cancel" << "";
        QTest::newRow("exit: Uninstall") << "exit" << "lblUninstall" << "Uninstall" << "";
        QTest::newRow("exit: Exit") << "exit" << "lblExit" << "Exit" << "";
        QTest::newRow("chooser: Save") << "chooser" << "lblSave" << "Save" << "";
        QTest::newRow("chooser: Cancel") << "chooser" << "lblCancel" << "Cancel" << "";
    }
    void everyButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        Recorder rec;
        QWidget *w = open(window);
        QVERIFY(w);
        QWidget *button = w->findChild<QWidget *>(control);
        QVERIFY(button);
        Spoken spoken = spokenOf(button);
        QCOMPARE(spoken.role, QAccessible::Button);
        QCOMPARE(spoken.name, name);
        QCOMPARE(spoken.description, description);
        QVERIFY(spoken.state.focusable);
        QVERIFY(!spoken.state.focused);
        QVERIFY(!spoken.state.selected);
        QVERIFY(!spoken.state.invisible);

        // Tab until it has the focus: the reader hears it focused.
        for (int i = 0; i < 16 && focusedWidget() != button; ++i)
            typeKey(w, Qt::Key_Tab);
        QCOMPARE(focusedWidget(), button);
        QVERIFY(spokenOf(button).state.focused);
    }

    void everyWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("main screen") << "main" << QAccessible::Window << "Quorvia" << "";
        QTest::newRow("information: the whole message, the name not shortened")
            << "information" << QAccessible::Dialog << "Quorvia Information"
            << "Copying of game '" + kLongName + "' complete.";
        QTest::newRow("notice") << "notice" << QAccessible::Dialog << "" << kNoticeWords;
        QTest::newRow("exit") << "exit" << QAccessible::Dialog << "" << kExitWords;
        QTest::newRow("chooser") << "chooser" << QAccessible::Dialog << "Save 'Chess' Game To Where ?" << "";
    }
    void everyWindow()
    {
        QFETCH(QString, window);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        Recorder rec;
        QWidget *w = open(window);
        QVERIFY(w);
        const Spoken spoken = spokenOf(w);
        QCOMPARE(spoken.role, role);
        QCOMPARE(spoken.name, name);
        QCOMPARE(spoken.description, description);
        if (window == QLatin1String("information")) {
            // The label shows the name shortened; the reader gets it whole.
            auto *cd = ui::loadedForm<frmCD>();
            QVERIFY(!textOf(cd->lblInstruction).contains(kLongName));
        }
    }

    // The current category is selected, the one before it no longer, and a
    // category whose list cannot be loaded is not selected at all.
    void currentCategoryIsSelected()
    {
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord("Alpha", "ALPHA", "A.EXE")});
        disc->writeCatalogue(QStringLiteral("Board"), {gameRecord("Chess", "CHESS", "C.EXE")});
        frmGames &games = screen->games;
        Recorder rec;
        const auto selected = [](const ui::HotArea *area) { return spokenOf(widgetOf(area)).state.selected; };
        screen->click(games.lblArcade);
        QVERIFY(selected(games.lblArcade));
        screen->click(games.lblBoard);
        QVERIFY(selected(games.lblBoard));
        QVERIFY(!selected(games.lblArcade));
        screen->click(games.lblCards);  // no catalogue
        QVERIFY(!selected(games.lblCards));
        QVERIFY(!selected(games.lblBoard));
    }
};

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
