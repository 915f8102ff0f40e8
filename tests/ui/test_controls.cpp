// The control library on Qt, through small windows of its own: the lifetime
// of a form, closing and unloading, modal display, placement by outer sizes,
// what the controls report and what they let through, the program-wide
// pointer, the busy scope and the shared image-button reactions.

#include "ui/imagebutton.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <string>
#include <vector>

namespace {

constexpr layout::Rect kButton{20, 20, 60, 30};
constexpr layout::Rect kLight{24, 24, 40, 20};
constexpr layout::Rect kOtherButton{100, 20, 60, 30};
constexpr layout::Rect kOtherLight{104, 24, 40, 20};
constexpr layout::Rect kStatus{20, 70, 200, 28};
constexpr layout::Rect kMessage{13, 100, 231, 79};
constexpr layout::Rect kList{20, 185, 100, 50};
constexpr layout::Rect kPictureAlone{160, 190, 29, 16};

// A dialog with two image buttons, a status line, a message label, a list
// and a picture that no hot area covers; it records the events it gets.
class TestDialog : public ui::Window {
public:
    static inline int alive = 0;

    explicit TestDialog(ui::Frame frame = ui::Frame::Dialog, int width = 253, int height = 237)
        : ui::Window({"frmCD", width, height, frame, "Test"})
    {
        ++alive;
        light = addPicture(kLight, "imgOk2Light");
        otherLight = addPicture(kOtherLight, "imgOk2Light");
        indent = addPicture(kButton, "imgOk2Indent");
        alone = addPicture(kPictureAlone, "imgOk2Light");
        hot = addHotArea(kButton);
        otherHot = addHotArea(kOtherButton);
        status = addLabel(kStatus, ui::LabelStyle::Status);
        message = addLabel(kMessage, ui::LabelStyle::Message);
        list = addListBox(kList);
        onMouseMove = [this] { log += "form-move "; };
        hot->onMouseMove = [this] { log += "move "; };
        hot->onMouseDown = [this] { log += "down "; };
        hot->onMouseUp = [this] { log += "up "; };
        hot->onClick = [this] { log += "click "; };
        list->onClick = [this] { log += "list-click "; };
    }
    ~TestDialog() override { --alive; }

    ui::Picture *light, *otherLight, *indent, *alone;
    ui::HotArea *hot, *otherHot;
    ui::Label *status, *message;
    ui::ListBox *list;
    std::string log;
};

class TestMain : public TestDialog {
public:
    TestMain() : TestDialog(ui::Frame::MainScreen, 640, 480) {}
};

QWidget *w(const ui::Window &form) { return ui::qt::widget(form); }
QWidget *w(const ui::Control *control) { return ui::qt::widget(control); }
QPoint centreOf(const ui::Control *control) { return w(control)->geometry().center(); }

// Lets the event loop delete what was unloaded.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// The sounds the reactions play, in order.
std::vector<std::string> gSounds;
void recordSound(const std::string &file) { gSounds.push_back(file); }

} // namespace

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void formLifetime();
    void closeReachesTheHandler_data();
    void closeReachesTheHandler();
    void closeWithoutHandlerUnloads_data();
    void closeWithoutHandlerUnloads();
    void modalDisplayEndsWithTheUnload_data();
    void modalDisplayEndsWithTheUnload();
    void titleShownExactly();
    void centringKeepsFractionsToTheEnd_data();
    void centringKeepsFractionsToTheEnd();
    void controlsShowWithTheirWindow();
    void hotAreaReports_data();
    void hotAreaReports();
    void movementGoesWhereTheControlsSay();
    void firstArrowKeySelectsTheFirstEntry();
    void labelFits_data();
    void labelFits();
    void pointerIsSetNotStacked();
    void busyScopeDropsInputAndDefersCloses();
    void imageButtonReactions();
};

void TestControls::cleanup()
{
    for (ui::Window *f : {static_cast<ui::Window *>(ui::loadedForm<TestDialog>()),
                          static_cast<ui::Window *>(ui::loadedForm<TestMain>())})
        if (f)
            f->unload();
    settle();
    ui::setDefaultPointer();
    gSounds.clear();
}

// Created on the first reference, reused while loaded, deleted once the event
// loop runs after the unload, and created anew on the next reference.
void TestControls::formLifetime()
{
    TestDialog &first = ui::form<TestDialog>();
    QCOMPARE(&ui::form<TestDialog>(), &first);
    QCOMPARE(ui::loadedForm<TestDialog>(), &first);
    QPointer<QWidget> firstWidget = w(first);
    QCOMPARE(ui::qt::formOf<TestDialog>(firstWidget), &first);

    first.unload();
    QVERIFY(first.unloaded());
    QCOMPARE(ui::loadedForm<TestDialog>(), nullptr);
    QCOMPARE(ui::qt::formOf(firstWidget), nullptr);
    QCOMPARE(TestDialog::alive, 1);  // not while its handler may still run

    TestDialog &second = ui::form<TestDialog>();
    QVERIFY(!second.unloaded());
    QCOMPARE(TestDialog::alive, 2);
    settle();
    QCOMPARE(TestDialog::alive, 1);
    QVERIFY(firstWidget.isNull());
    QCOMPARE(ui::loadedForm<TestDialog>(), &second);
}

void TestControls::closeReachesTheHandler_data()
{
    QTest::addColumn<bool>("mainScreen");
    QTest::addColumn<bool>("fromWindowSystem");
    QTest::newRow("dialog, close()") << false << false;
    QTest::newRow("dialog, window system") << false << true;
    QTest::newRow("main screen, close()") << true << false;
    QTest::newRow("main screen, window system") << true << true;
}

// With a close handler every close request reaches it, repeated ones too, and
// the window stays until the handler unloads it.
void TestControls::closeReachesTheHandler()
{
    QFETCH(bool, mainScreen);
    QFETCH(bool, fromWindowSystem);
    ui::Window &form = mainScreen ? static_cast<ui::Window &>(ui::form<TestMain>()) : ui::form<TestDialog>();
    int closes = 0;
    form.onClose = [&] { ++closes; };
    form.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(form)));
    for (int i = 0; i < 2; ++i) {
        if (fromWindowSystem)
            w(form)->windowHandle()->close();
        else
            form.close();
    }
    QCOMPARE(closes, 2);
    QVERIFY(!form.unloaded());
    QVERIFY(form.visible());

    form.onClose = [&] { ++closes; form.unload(); };
    form.close();
    QCOMPARE(closes, 3);
    QVERIFY(form.unloaded());
    QVERIFY(!w(form)->isVisible());
}

void TestControls::closeWithoutHandlerUnloads_data()
{
    closeReachesTheHandler_data();
}

void TestControls::closeWithoutHandlerUnloads()
{
    QFETCH(bool, mainScreen);
    QFETCH(bool, fromWindowSystem);
    ui::Window &form = mainScreen ? static_cast<ui::Window &>(ui::form<TestMain>()) : ui::form<TestDialog>();
    form.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(form)));
    if (fromWindowSystem)
        w(form)->windowHandle()->close();
    else
        form.close();
    QVERIFY(form.unloaded());
    QVERIFY(!w(form)->isVisible());
    settle();
    QCOMPARE(TestDialog::alive, 0);
}

void TestControls::modalDisplayEndsWithTheUnload_data()
{
    QTest::addColumn<bool>("mainScreen");
    QTest::newRow("dialog") << false;
    QTest::newRow("main screen") << true;
}

// A modal display returns once the window is unloaded, from its own events,
// and the window is modal meanwhile.
void TestControls::modalDisplayEndsWithTheUnload()
{
    QFETCH(bool, mainScreen);
    ui::Window &form = mainScreen ? static_cast<ui::Window &>(ui::form<TestMain>()) : ui::form<TestDialog>();
    bool modalWhileShown = false;
    QTimer::singleShot(50, [&] {
        modalWhileShown = w(form)->isVisible() && w(form)->windowModality() == Qt::ApplicationModal;
        form.close();
    });
    QElapsedTimer clock;
    clock.start();
    form.showModal();
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(modalWhileShown);
    QVERIFY(form.unloaded());
    QVERIFY(!w(form)->isVisible());
}

// "[*]" is Qt's place of a modified mark; the title shows it as it stands.
void TestControls::titleShownExactly()
{
    TestDialog &dialog = ui::form<TestDialog>();
    dialog.setTitle("Save '[*] Pong' Game To Where ?");
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    QCOMPARE(dialog.title(), std::string("Save '[*] Pong' Game To Where ?"));
    QCOMPARE(w(dialog)->windowHandle()->title(), QStringLiteral("Save '[*] Pong' Game To Where ?"));
}

void TestControls::centringKeepsFractionsToTheEnd_data()
{
    QTest::addColumn<QPoint>("mainAt");
    QTest::addColumn<bool>("shownFirst");
    QTest::newRow("not shown yet") << QPoint(100, 50) << false;
    QTest::newRow("shown") << QPoint(101, 51) << true;
}

// Over another window by both outer sizes: the halves are taken before the
// sum is cut to whole pixels, downwards, and nothing is clamped to the screen.
void TestControls::centringKeepsFractionsToTheEnd()
{
    QFETCH(QPoint, mainAt);
    QFETCH(bool, shownFirst);
    TestMain &main = ui::form<TestMain>();
    main.moveOuter(mainAt.x(), mainAt.y());
    main.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(main)));
    TestDialog &dialog = ui::form<TestDialog>();
    if (shownFirst) {
        dialog.showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    }
    const layout::Rect base = main.outerRect();
    QCOMPARE(QPoint(base.x, base.y), mainAt);
    ui::centreOver(dialog, main);
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    const QRect outer = w(dialog)->frameGeometry();
    // An odd client area and an even frame: the halves end in .5, cut once at
    // the end.
    QCOMPARE(outer.x(), int(std::floor(base.x + base.w / 2.0 - outer.width() / 2.0)));
    QCOMPARE(outer.y(), int(std::floor(base.y + base.h / 2.0 - outer.height() / 2.0)));

    ui::centreOnScreen(dialog);
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(dialog.outerRect().x, int(std::floor(screen.width() / 2.0 - outer.width() / 2.0)));
    QCOMPARE(dialog.outerRect().y, int(std::floor(screen.height() / 2.0 - outer.height() / 2.0)));
}

// Visible by their own flag before the window is shown, as they will be once
// it is; a control added to a shown window shows too.
void TestControls::controlsShowWithTheirWindow()
{
    TestDialog &dialog = ui::form<TestDialog>();
    QVERIFY(dialog.hot->visible());
    QVERIFY(dialog.list->visible());
    QVERIFY(!dialog.light->visible());
    QVERIFY(!dialog.status->visible());
    dialog.light->show();
    QVERIFY(dialog.light->visible());
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    QVERIFY(w(dialog.hot)->isVisible());
    QVERIFY(w(dialog.light)->isVisible());
    QVERIFY(!w(dialog.indent)->isVisible());

    ui::HotArea *late = dialog.addHotArea(kOtherButton);
    QVERIFY(late->visible());
    QVERIFY(w(late)->isVisible());
    late->hide();
    QVERIFY(!late->visible());
}

void TestControls::hotAreaReports_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left click") << "click" << "down up click ";
    QTest::newRow("right click") << "right" << "down up ";
    QTest::newRow("press, move off, release") << "off" << "down move up ";
    QTest::newRow("double click") << "double" << "down up click down up ";
    QTest::newRow("left press, right click, left release") << "mixed" << "down down up up click ";
}

// A click is a left press and release over the area; any button gives a
// press and a release; a double click is one click.
void TestControls::hotAreaReports()
{
    QFETCH(QString, gesture);
    QFETCH(QString, expected);
    TestDialog &dialog = ui::form<TestDialog>();
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    QWidget *hot = w(dialog.hot);
    const QPoint inside(5, 5);
    if (gesture == QLatin1String("click")) {
        QTest::mouseClick(hot, Qt::LeftButton, {}, inside);
    } else if (gesture == QLatin1String("right")) {
        QTest::mouseClick(hot, Qt::RightButton, {}, inside);
    } else if (gesture == QLatin1String("off")) {
        QTest::mousePress(hot, Qt::LeftButton, {}, inside);
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 5), hot->mapToGlobal(QPointF(200, 5)), Qt::NoButton,
                         Qt::LeftButton, {});
        QCoreApplication::sendEvent(hot, &move);
        QTest::mouseRelease(hot, Qt::LeftButton, {}, QPoint(200, 5));
    } else if (gesture == QLatin1String("mixed")) {
        QTest::mousePress(hot, Qt::LeftButton, {}, inside);
        QTest::mouseClick(hot, Qt::RightButton, {}, inside);
        QTest::mouseRelease(hot, Qt::LeftButton, {}, inside);
    } else {
        // As the system delivers one: press, release, double click, release.
        QTest::mouseClick(hot, Qt::LeftButton, {}, inside);
        QTest::mouseDClick(hot, Qt::LeftButton, {}, inside);
        QTest::mouseRelease(hot, Qt::LeftButton, {}, inside);
    }
    QCOMPARE(QString::fromStdString(dialog.log), expected);
}

// Pictures and the status line let the movement through to the window; the
// message label takes it and gives it to nothing.
void TestControls::movementGoesWhereTheControlsSay()
{
    TestDialog &dialog = ui::form<TestDialog>();
    dialog.alone->show();
    dialog.status->show();
    dialog.message->show();
    dialog.message->setText("A message");
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    QWindow *window = w(dialog)->windowHandle();
    const struct {
        const ui::Control *over;
        const char *expected;
    } rows[] = {
        {dialog.alone, "form-move "},
        {dialog.status, "form-move "},
        {dialog.message, ""},
        {dialog.hot, "move "},
    };
    for (const auto &row : rows) {
        dialog.log.clear();
        QTest::mouseMove(window, centreOf(row.over));
        QTest::mouseMove(window, centreOf(row.over) + QPoint(1, 1));
        const std::string once = dialog.log.substr(0, dialog.log.find(' ') + 1);
        QCOMPARE(QString::fromStdString(once), QString::fromLatin1(row.expected));
    }
}

// With no entry selected, the first arrow key selects the first entry; each
// selection of an entry is a click, emptying the list is none.
void TestControls::firstArrowKeySelectsTheFirstEntry()
{
    TestDialog &dialog = ui::form<TestDialog>();
    dialog.list->addItems({"Alpha", "Beta", "Gamma"});
    dialog.list->clearSelection();
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    dialog.list->setFocus();
    QWidget *list = w(dialog.list);
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        dialog.list->clearSelection();
        dialog.log.clear();
        QTest::keyClick(list, key);
        QCOMPARE(dialog.list->selectedIndex(), 0);
        QCOMPARE(QString::fromStdString(dialog.log), QStringLiteral("list-click "));
    }
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(dialog.list->selectedIndex(), 1);
    QCOMPARE(dialog.list->item(1), std::string("Beta"));
    QCOMPARE(QString::fromStdString(dialog.log), QStringLiteral("list-click list-click "));
    dialog.list->clear();
    QCOMPARE(dialog.list->count(), 0);
    QCOMPARE(dialog.list->selectedIndex(), -1);
    QCOMPARE(QString::fromStdString(dialog.log), QStringLiteral("list-click list-click "));
}

void TestControls::labelFits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("short") << QStringLiteral("Copying complete.") << true;
    QTest::newRow("one long word") << QStringLiteral("C:\\GAMES\\ARCADE\\COMETSWEEPERDELUXEEDITION") << false;
    QTest::newRow("the same with places to wrap")
        << QStringLiteral("C:\\\u200BGAMES\\\u200BARCADE\\\u200BCOMETSWEEPERDELUXE") << true;
    QTest::newRow("too many lines")
        << QStringLiteral("Copying of game 'Comet Sweeper' is incomplete: 12 of 40 files could not be copied, "
                          "and the folder that was chosen for it could not be read back afterwards either.")
        << false;
}

// Wrapped at spaces and zero-width spaces, the text fits the label whole.
void TestControls::labelFits()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    TestDialog &dialog = ui::form<TestDialog>();
    QCOMPARE(dialog.message->fits(text.toStdString()), fits);
    dialog.message->setText(text.toStdString());
    QCOMPARE(ui::qt::widget<QLabel>(dialog.message)->textFormat(), Qt::PlainText);
    QCOMPARE(dialog.message->text(), text.toStdString());
}

void TestControls::pointerIsSetNotStacked()
{
    ui::setHourglass();
    ui::setHourglass();
    QVERIFY(ui::hourglassShown());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui::setDefaultPointer();
    QVERIFY(!ui::hourglassShown());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

// Input made while a copy runs is dropped, never delivered afterwards; a
// close request of the window system waits for the end of the copy.
void TestControls::busyScopeDropsInputAndDefersCloses()
{
    TestDialog &dialog = ui::form<TestDialog>();
    int closes = 0;
    dialog.onClose = [&] { ++closes; };
    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    {
        ui::BusyScope busy;
        QTest::mouseClick(w(dialog.hot), Qt::LeftButton, {}, QPoint(5, 5));
        w(dialog)->windowHandle()->close();
        busy.keepPainting();
        QCOMPARE(closes, 0);
    }
    QTest::qWait(20);
    QCOMPARE(QString::fromStdString(dialog.log), QString());
    QCOMPARE(closes, 1);
    QTest::mouseClick(w(dialog.hot), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QString::fromStdString(dialog.log), QStringLiteral("down up click "));
}

// The dialog buttons' shared reactions: one roll-over sound per entry, the
// other highlights out, the click guarded by the pressed look.
void TestControls::imageButtonReactions()
{
    TestDialog &dialog = ui::form<TestDialog>();
    const ui::ImageButton ok{dialog.hot, dialog.light, dialog.indent};
    const ui::ImageButton other{dialog.otherHot, dialog.otherLight, nullptr};
    ui::connectPressedLook(ok);
    dialog.otherLight->show();

    ui::rollOver(ok, {&other}, recordSound);
    ui::rollOver(ok, {&other}, recordSound);
    QCOMPARE(gSounds, std::vector<std::string>{ui::kRolloverSound});
    QVERIFY(dialog.light->visible());
    QVERIFY(!dialog.otherLight->visible());

    ui::lightsOut({&ok, &other});
    QVERIFY(!dialog.light->visible());

    dialog.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(w(dialog)));
    QTest::mousePress(w(dialog.hot), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(dialog.indent->visible());
    QVERIFY(!ui::clickPasses(ok, recordSound));
    QTest::mouseRelease(w(dialog.hot), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(!dialog.indent->visible());
    QVERIFY(ui::clickPasses(ok, recordSound));
    QVERIFY(ui::clickPasses(other, recordSound));
    QCOMPARE(gSounds, (std::vector<std::string>{ui::kRolloverSound, ui::kClickSound, ui::kClickSound}));
}

QTEST_MAIN(TestControls)
#include "test_controls.moc"
