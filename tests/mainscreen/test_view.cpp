// The View command: the file browser on the game's folder and the file picked
// in it.
#include "dialogs/frmCD.h"
#include "mainscreen.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

namespace {
// The names the browser lists in its current folder, once it has read them.
QStringList listedNames(QFileDialog *dialog)
{
    auto *view = dialog->findChild<QListView *>(QStringLiteral("listView"));
    if (!view)
        return {};
    QStringList names;
    if (!QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }, 5000))
        return {};
    for (int i = 0; i < view->model()->rowCount(view->rootIndex()); ++i)
        names << view->model()->index(i, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

// Types a name into the browser's file name box and confirms it.
void pick(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setFocus();
    // The completion list pops up when the folder has been read, at a moment
    // of its own, and would take the Enter: the test types without it.
    edit->setCompleter(nullptr);
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}
} // namespace

class TestView : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;

    void clickView() { screen->click(games->lblView); }
    void selectChess(const std::string &name = "Chess")
    {
        modMain::gGameCategory = "Board";
        modMain::gGameName = name;
        modMain::gGameFolder = "CHESS";
        modMain::gGameProgram = "CHESS.EXE";
        modMain::gGameParameters = "-fast";
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        DiscFixture::writeFile(disc->disc(QStringLiteral("BOARD/CHESS/README")), "no dot in my name");
        DiscFixture::writeFile(disc->disc(QStringLiteral("BOARD/CHESS/.hidden")), "");
        DiscFixture::writeFile(disc->hdd(QStringLiteral("DOCS/NOTES.TXT")), "elsewhere");
        screen = std::make_unique<MainScreen>(QPoint(40, 30));
        QVERIFY(screen->exposed());
        games = &screen->games;
        // The pointer rests on View already: a click plays no roll-over.
        {
            Recorder quiet;
            screen->moveOver(games->lblView);
        }
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    void noGameAsksForOne()
    {
        Recorder rec;
        QString message;
        DialogAnswerer answer([&](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            message = textOf(cd->lblInstruction);
            w->close();
        });
        clickView();
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(message, kSelectToView);
        QCOMPARE(rec.sounds, QStringList{kClick});
        QVERIFY(rec.shellCalls.isEmpty());
    }

    void browserOnTheGameFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "Chess" << "'Chess' folder contents";
        QTest::newRow("spaces around the name") << "  Chess  " << "'Chess' folder contents";
        QTest::newRow("markup stays text") << "<b>Chess</b>" << "'<b>Chess</b>' folder contents";
        QTest::newRow("Qt's modified mark stays text") << "Chess [*]" << "'Chess [*]' folder contents";
    }
    void browserOnTheGameFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        selectChess(name.toStdString());
        Recorder rec;
        QString seenTitle, seenFolder;
        QStringList filters, names, namesAgain;
        bool ownDialog = false;
        DialogAnswerer answer([&](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            QVERIFY(dialog);
            ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
            seenTitle = dialog->windowHandle()->title();
            seenFolder = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            names = listedNames(dialog);
            // Choosing the filter again keeps every file listed.
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            QVERIFY(types);
            QCOMPARE(types->currentText(), QStringLiteral("All Files (*.*)"));
            types->activated(0);
            types->textActivated(types->currentText());
            namesAgain = listedNames(dialog);
            dialog->reject();
        });
        clickView();
        QCOMPARE(answer.answered(), 1);
        QVERIFY(ownDialog);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenFolder, QDir(disc->disc(QStringLiteral("BOARD/CHESS"))).absolutePath());
        QCOMPARE(filters, QStringList{QStringLiteral("All Files (*.*)")});
        // Names without a dot are files too; hidden ones stay hidden.
        QCOMPARE(names, (QStringList{"CHESS.EXE", "QAR.TXT", "README"}));
        QCOMPARE(namesAgain, names);
        // Cancelling opens nothing; the game folder is the current folder.
        QVERIFY(rec.shellCalls.isEmpty());
        QCOMPARE(QString::fromStdString(platform::currentDirectory()), QStringLiteral("D:\\BOARD\\CHESS"));
        QCOMPARE(rec.sounds, QStringList{kClick});
        QVERIFY(!ui::hourglassShown());
    }

    void pickedFileIsOpened_data()
    {
        QTest::addColumn<QString>("moveTo");   // a folder below the fixture to move to first, or empty
        QTest::addColumn<QString>("typed");    // into the name box
        QTest::addColumn<QString>("opened");   // DOS path handed to the shell
        QTest::newRow("a file without a dot") << "" << "README" << "D:\\BOARD\\CHESS\\README";
        QTest::newRow("the game's program") << "" << "CHESS.EXE" << "D:\\BOARD\\CHESS\\CHESS.EXE";
        QTest::newRow("a file in another folder") << "c/DOCS" << "NOTES.TXT" << "C:\\DOCS\\NOTES.TXT";
    }
    void pickedFileIsOpened()
    {
        QFETCH(QString, moveTo);
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        selectChess();
        Recorder rec;
        DialogAnswerer answer([&](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            QVERIFY(dialog);
            if (!moveTo.isEmpty())
                dialog->setDirectory(disc->tmp.path() + QLatin1Char('/') + moveTo);
            pick(dialog, typed);
        });
        clickView();
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, opened);
        QCOMPARE(rec.shellCalls[0].parameters, QString());
        QCOMPARE(rec.shellCalls[0].currentFolder, QStringLiteral("D:\\BOARD\\CHESS"));
        QCOMPARE(QString::fromStdString(games->comdlgGame.FileName), opened);

        // The next use, cancelled, opens nothing and keeps the last pick.
        DialogAnswerer cancel([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        clickView();
        QCOMPARE(cancel.answered(), 1);
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(QString::fromStdString(games->comdlgGame.FileName), opened);
    }

    void missingDiscGivesOnlyTheClick_data()
    {
        QTest::addColumn<bool>("wholeDisc");
        QTest::newRow("disc taken out") << true;
        QTest::newRow("game folder missing") << false;
    }
    void missingDiscGivesOnlyTheClick()
    {
        QFETCH(bool, wholeDisc);
        selectChess();
        if (wholeDisc)
            QVERIFY(QDir(disc->disc()).removeRecursively());
        else
            QVERIFY(QDir(disc->disc(QStringLiteral("BOARD/CHESS"))).removeRecursively());
        Recorder rec;
        DialogAnswerer answer([](QWidget *w) { w->close(); });
        clickView();
        QTest::qWait(50);
        QCOMPARE(answer.answered(), 0);
        QCOMPARE(rec.sounds, QStringList{kClick});
        QVERIFY(rec.shellCalls.isEmpty());
        QVERIFY(rec.boxes.isEmpty());
    }
};

QTEST_MAIN(TestView)
#include "test_view.moc"
