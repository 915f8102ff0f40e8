// The information dialog: placement, modal and modeless use, the OK button.
#include "dialogs/frmCD.h"
#include "mainscreen.h"

#include <QLabel>
#include <QScreen>

class TestInformation : public QObject {
    Q_OBJECT

    // The window of the information dialog that is open.
    static QWidget *dialogWindow() { return widgetOf(*ui::loadedForm<frmCD>()); }

private slots:
    void initTestCase() { modMain::gAppPath = "C:\\MENU\\"; }

    void cleanup() { MainScreen::unloadAll(); }

    void placement_data()
    {
        QTest::addColumn<bool>("overMain");
        QTest::newRow("centred on the screen") << false;
        QTest::newRow("centred over a moved main screen") << true;
    }
    void placement()
    {
        QFETCH(bool, overMain);
        Recorder rec;
        MainScreen screen(QPoint(13, 27));
        QVERIFY(screen.exposed());

        QRect frame;
        QString title, text;
        bool visibleParts = false;
        DialogAnswerer answer([&](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            frame = w->frameGeometry();
            title = w->windowTitle();
            text = textOf(cd->lblInstruction);
            visibleParts = shown(cd->lblInstruction) && shown(cd->imgOk2) && shown(cd->lblOk2)
                           && !shown(cd->imgOk2Light) && !shown(cd->imgOk2Indent);
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(cd->lblOk2));
        });
        showInformationDialog(kSelectToRun.toStdString(),
                              overMain ? Placement::MainScreen : Placement::Screen, Mode::Modal);
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(title, kInformationTitle);
        QCOMPARE(text, kSelectToRun);
        QVERIFY(visibleParts);
        const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
        // Outer sizes: both frames count, the dialog's also before it was
        // first shown.
        QCOMPARE(frame.topLeft(), centredIn(overMain ? screen.frame() : screenArea, frame.size()));
        QCOMPARE(rec.count(kClick), 1);
        QCOMPARE(rec.sounds.last(), kClick);
        QVERIFY(!ui::loadedForm<frmCD>());
    }

    void modelessReturnsAtOnceAndKeepsMainUsable()
    {
        Recorder rec;
        MainScreen screen;
        showInformationDialog("Copying of game 'Chess' complete.", Placement::MainScreen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(cd && widgetOf(*cd)->isVisible());
        QVERIFY(!QApplication::activeModalWidget());

        // The next use reuses the open dialog and replaces its message.
        showInformationDialog("Second", Placement::Screen, Mode::Modeless);
        QCOMPARE(ui::loadedForm<frmCD>(), cd);
        QCOMPARE(textOf(cd->lblInstruction), QStringLiteral("Second"));

        // A modal request closes it first and builds a new dialog.
        QPointer<QWidget> old = widgetOf(*cd);
        QWidget *seen = nullptr;
        DialogAnswerer answer([&](QWidget *w) {
            seen = ui::qt::formOf<frmCD>(w) ? w : nullptr;
            w->close();
        });
        showInformationDialog(modMain::kDiscRequest, Placement::Screen, Mode::Modal);
        QCOMPARE(answer.answered(), 1);
        QVERIFY(seen && seen != old.data());
        QTest::qWait(0);
        QVERIFY(old.isNull() || !old->isVisible());
    }

    // A native window destroyed from outside closes the dialog as its close
    // command does: a modal caller goes on, without the click sound.
    void destroyedFromOutsideCloses_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::newRow("modal") << true;
        QTest::newRow("modeless") << false;
    }
    void destroyedFromOutsideCloses()
    {
        QFETCH(bool, modal);
        Recorder rec;
        const std::string message = kSelectToView.toStdString();
        if (modal) {
            DialogAnswerer answer([](QWidget *w) { destroyFromOutside(w); });
            showInformationDialog(message, Placement::Screen, Mode::Modal);
            QCOMPARE(answer.answered(), 1);
        } else {
            showInformationDialog(message, Placement::Screen, Mode::Modeless);
            QVERIFY(QTest::qWaitForWindowExposed(dialogWindow()));
            destroyFromOutside(dialogWindow());
        }
        QTRY_VERIFY(!ui::loadedForm<frmCD>());
        QCOMPARE(rec.count(kClick), 0);
    }

    // Every message fits the label, which keeps its place, size and font: a
    // path wraps at its "\\"; only a name or path that still does not fit is
    // shortened, in its middle.
    void everyMessageFits_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("name");  // null: a message without a name
        QTest::addColumn<bool>("shortened");
        const QString ws(36, QLatin1Char('W'));
        QString longPath = QStringLiteral("C:\\");
        while (longPath.size() < 195)
            longPath += QStringLiteral("COLLECT\\");
        longPath += QString(200 - longPath.size(), QLatin1Char('Z'));
        QCOMPARE(longPath.size(), 200);
        QTest::newRow("copy complete, 36 W") << "Copying of game '%1' complete." << ws << true;
        QTest::newRow("copy incomplete, 36 W")
            << "Copying of game '%1' is incomplete: 32769 of 32770 files could not be copied." << ws << true;
        QTest::newRow("copy complete, short name") << "Copying of game '%1' complete." << "Chess" << false;
        QTest::newRow("folder, 200 characters") << "The folder '%1' could not be created." << longPath << true;
        QTest::newRow("folder that fits when wrapped at its separators")
            << "The folder '%1' could not be created." << "C:\\GAMES\\COLLECTION\\BOARD\\CHESSMASTER" << false;
        QTest::newRow("drive") << "The drive '%1' cannot be read." << "e:" << false;
        for (const QString &fixed : QStringList{kDiscRequest, kSelectToRun, kSelectToCopy, kSelectToView, kNeedDrive})
            QTest::newRow(qPrintable(fixed)) << fixed << QString() << false;
    }
    void everyMessageFits()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, name);
        QFETCH(bool, shortened);
        if (name.isNull())
            showInformationDialog(sentence.toStdString(), Placement::Screen, Mode::Modeless);
        else
            showInformationDialog(sentence.toStdString(), name.toStdString(), Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(cd);
        const QLabel *label = widgetOf<QLabel>(cd->lblInstruction);
        QCOMPARE(label->geometry(), QRect(13, 10, 231, 79));
        QCOMPARE(label->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(label->font().pointSize(), 12);
        QVERIFY(label->font().bold());
        QVERIFY(label->wordWrap());

        const QString shown = label->text();
        const QRect needed = label->fontMetrics().boundingRect(label->rect(), int(label->alignment()) | Qt::TextWordWrap, shown);
        QVERIFY2(needed.width() <= 231 && needed.height() <= 79,
                 qPrintable(QStringLiteral("%1 x %2 for: %3").arg(needed.width()).arg(needed.height()).arg(shown)));
        if (name.isNull()) {
            QCOMPARE(shown, sentence);
        } else {
            QVERIFY2(showsSentence(shown, sentence, name), qPrintable(shown));
            QCOMPARE(shown.contains(QChar(0x2026)), shortened);
        }
    }

    void rolloverOncePerEntry()
    {
        Recorder rec;
        showInformationDialog("Hello", Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(QTest::qWaitForWindowExposed(widgetOf(*cd)));
        QWindow *win = windowOf(*cd);
        const QPoint ok = centreOf(cd->lblOk2);

        QTest::mouseMove(win, ok);
        QTest::mouseMove(win, ok + QPoint(3, 1));
        QVERIFY(shown(cd->imgOk2Light));
        QCOMPARE(rec.count(kRoll), 1);

        // Over the message the highlight stays.
        QTest::mouseMove(win, centreOf(cd->lblInstruction));
        QVERIFY(shown(cd->imgOk2Light));

        // The bare background clears it; entering again plays again.
        QTest::mouseMove(win, QPoint(5, 130));
        QVERIFY(!shown(cd->imgOk2Light));
        QTest::mouseMove(win, ok);
        QCOMPARE(rec.count(kRoll), 2);
    }

    void pressMoveOffReleaseIsNoClick()
    {
        Recorder rec;
        showInformationDialog("Hello", Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(QTest::qWaitForWindowExposed(widgetOf(*cd)));
        QWindow *win = windowOf(*cd);
        const QPoint ok = centreOf(cd->lblOk2);
        QTest::mousePress(win, Qt::LeftButton, {}, ok);
        QVERIFY(shown(cd->imgOk2Indent));
        QTest::mouseMove(win, QPoint(5, 130));
        QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(5, 130));
        QVERIFY(!shown(cd->imgOk2Indent));
        QVERIFY(widgetOf(*cd)->isVisible());
        QCOMPARE(rec.count(kClick), 0);

        // After OK the next use starts from a fresh dialog without highlight.
        QTest::mouseMove(win, ok);
        QTest::mouseClick(win, Qt::LeftButton, {}, ok);
        QCOMPARE(rec.count(kClick), 1);
        QVERIFY(!ui::loadedForm<frmCD>());
        showInformationDialog("Again", Placement::Screen, Mode::Modeless);
        QVERIFY(ui::loadedForm<frmCD>() && !shown(ui::loadedForm<frmCD>()->imgOk2Light));
    }
};

QTEST_MAIN(TestInformation)
#include "test_information.moc"
