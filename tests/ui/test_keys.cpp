// The keyboard and screen readers on the control library's own windows: which
// hot areas take the focus and how, the Tab cycle, keyboard clicks (a held
// key among them), Escape, the focus rectangle, and the push button a screen
// reader finds.

#include "keys.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QAccessibleActionInterface>
#include <QListWidget>
#include <QtTest>

#include <string>

namespace {

constexpr layout::Rect kFirst{20, 20, 60, 30};
constexpr layout::Rect kFirstLight{24, 24, 40, 20};
constexpr layout::Rect kSecond{100, 20, 60, 30};
constexpr layout::Rect kHidden{180, 20, 60, 30};
constexpr layout::Rect kLeftOut{20, 60, 60, 30};
constexpr layout::Rect kList{20, 110, 100, 50};

// A dialog with three hot areas in its Tab cycle (the last one hidden), one
// left out of it, and a list; it logs what its controls report.
class KeyDialog : public ui::Window {
public:
    explicit KeyDialog(ui::Frame frame = ui::Frame::Dialog) : ui::Window({"frmCD", 253, 200, frame, "Keys"})
    {
        light = addPicture(kFirstLight, "imgOk2Light");
        first = addHotArea(kFirst);
        second = addHotArea(kSecond);
        hidden = addHotArea(kHidden);
        hidden->hide();
        leftOut = addHotArea(kLeftOut);
        list = addListBox(kList);
        list->addItems({"one", "two"});
        setTabOrder({first, list, second, hidden});
        const auto log = [this](ui::HotArea *area, const std::string &name) {
            area->onFocus = [this, name] { events += name + "-focus "; };
            area->onMouseDown = [this, name] { events += name + "-down "; };
            area->onMouseUp = [this, name] { events += name + "-up "; };
            area->onClick = [this, name] { events += name + "-click "; };
        };
        log(first, "first");
        log(second, "second");
        log(hidden, "hidden");
        log(leftOut, "leftOut");
        list->onFocus = [this] { events += "list-focus "; };
        onMouseMove = [this] { light->hide(); };
        onEscape = [this] { events += "escape "; };
    }

    ui::Picture *light;
    ui::HotArea *first, *second, *hidden, *leftOut;
    ui::ListBox *list;
    std::string events;
};

// The same windows opening with the focus put on their first button.
class FocusedDialog : public KeyDialog {
public:
    FocusedDialog() { first->setFocus(); }
};
class FocusedMain : public KeyDialog {
public:
    FocusedMain() : KeyDialog(ui::Frame::MainScreen) { first->setFocus(); }
};

QWidget *w(const ui::Window &form) { return ui::qt::widget(form); }
QWidget *w(const ui::Control *control) { return ui::qt::widget(control); }

} // namespace

namespace QTest {
template <> inline char *toString(const std::string &text) { return qstrdup(text.c_str()); }
} // namespace QTest

class TestKeys : public QObject {
    Q_OBJECT

    KeyDialog *dialog = nullptr;
    QWindow *win = nullptr;

    void type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { typeKey(win, key, modifiers); }

private slots:
    void init()
    {
        dialog = &ui::form<KeyDialog>();
        dialog->showModeless();
        QVERIFY(QTest::qWaitForWindowActive(w(*dialog)));
        win = w(*dialog)->windowHandle();
        dialog->events.clear();
    }
    void cleanup()
    {
        if (ui::loadedForm<KeyDialog>())
            dialog->unload();
        QTest::qWait(0);
    }

    // Nothing has the focus when the window opens; a click gives none, a
    // hidden hot area takes none, and setFocus() gives it with onFocus.
    void focusComesFromTheKeyboardOrCode()
    {
        QVERIFY(!focusedWidget() || focusedWidget() == w(*dialog));
        QTest::mouseClick(win, Qt::LeftButton, {}, w(dialog->first)->geometry().center());
        QVERIFY(!dialog->first->hasFocus());
        QCOMPARE(dialog->events, std::string("first-down first-up first-click "));

        dialog->events.clear();
        dialog->hidden->setFocus();
        QVERIFY(!dialog->hidden->hasFocus());
        dialog->second->setFocus();
        QVERIFY(dialog->second->hasFocus());
        QCOMPARE(focusedWidget(), w(dialog->second));
        QCOMPARE(dialog->events, std::string("second-focus "));
    }

    // The focus that stays on a button while another window is active comes
    // back with the window, but that is no new arrival: no second onFocus.
    void focusBackIsNoArrival()
    {
        dialog->first->setFocus();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!dialog->first->hasFocus());
        w(*dialog)->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w(*dialog)));
        QVERIFY(dialog->first->hasFocus());
        QCOMPARE(dialog->events, std::string("first-focus "));
    }

    // A window that opens with the focus on a button announces it once.
    void windowOpensWithTheFocusOnAButton_data()
    {
        QTest::addColumn<bool>("mainScreen");
        QTest::newRow("dialog") << false;
        QTest::newRow("main screen") << true;
    }
    void windowOpensWithTheFocusOnAButton()
    {
        QFETCH(bool, mainScreen);
        KeyDialog &form = mainScreen ? static_cast<KeyDialog &>(ui::form<FocusedMain>())
                                     : static_cast<KeyDialog &>(ui::form<FocusedDialog>());
        form.showModeless();
        QVERIFY(QTest::qWaitForWindowActive(w(form)));
        QVERIFY(form.first->hasFocus());
        QCOMPARE(form.events, std::string("first-focus "));
        form.unload();
    }

    // Tab goes round the cycle, past the hidden area and never to the one
    // left out; Shift+Tab goes backwards; each arrival is one onFocus.
    void tabCycle_data()
    {
        QTest::addColumn<bool>("forwards");
        QTest::addColumn<std::string>("events");
        QTest::newRow("Tab") << true << std::string("first-focus list-focus second-focus first-focus list-focus ");
        QTest::newRow("Shift+Tab") << false
                                   << std::string("second-focus list-focus first-focus second-focus list-focus ");
    }
    void tabCycle()
    {
        QFETCH(bool, forwards);
        QFETCH(std::string, events);
        for (int i = 0; i < 5; ++i)
            type(forwards ? Qt::Key_Tab : Qt::Key_Backtab, forwards ? Qt::NoModifier : Qt::ShiftModifier);
        QCOMPARE(dialog->events, events);
        QVERIFY(!dialog->leftOut->hasFocus());
    }

    // Once the hidden area is shown it takes its turn.
    void shownAreaJoinsTheCycle()
    {
        dialog->hidden->show();
        dialog->second->setFocus();
        type(Qt::Key_Tab);
        QVERIFY(dialog->hidden->hasFocus());
        type(Qt::Key_Tab);
        QVERIFY(dialog->first->hasFocus());
    }

    // Enter clicks as it goes down, Space as it comes up; a key held down
    // (auto-repeating) clicks once; neither gives a press or a release.
    void keyClicks_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("clickOnPress");
        QTest::newRow("Enter") << Qt::Key_Return << 0 << true;
        QTest::newRow("keypad Enter") << Qt::Key_Enter << 0 << true;
        QTest::newRow("Space") << Qt::Key_Space << 0 << false;
        QTest::newRow("Enter held") << Qt::Key_Return << 8 << true;
        QTest::newRow("Space held") << Qt::Key_Space << 8 << false;
    }

    // X11 leaves some repeats of a held key unflagged: a release and a press
    // stamped alike. They still give one click.
    void unflaggedRepeatsClickOnce_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("Space") << Qt::Key_Space;
    }
    void unflaggedRepeatsClickOnce()
    {
        QFETCH(Qt::Key, key);
        dialog->first->setFocus();
        dialog->events.clear();
        holdKeyUnflagged(key, 8);
        QCOMPARE(dialog->events, std::string("first-click "));
        // The next stroke, stamped apart, clicks again.
        holdKeyUnflagged(key, 0);
        QCOMPARE(dialog->events, std::string("first-click first-click "));
    }
    void keyClicks()
    {
        QFETCH(Qt::Key, key);
        QFETCH(int, repeats);
        QFETCH(bool, clickOnPress);
        dialog->first->setFocus();
        dialog->events.clear();
        qt_handleKeyEvent(win, QEvent::KeyPress, key, Qt::NoModifier, {}, false);
        QCOMPARE(dialog->events, std::string(clickOnPress ? "first-click " : ""));
        for (int i = 0; i < repeats; ++i) {
            qt_handleKeyEvent(win, QEvent::KeyRelease, key, Qt::NoModifier, {}, true);
            qt_handleKeyEvent(win, QEvent::KeyPress, key, Qt::NoModifier, {}, true);
        }
        qt_handleKeyEvent(win, QEvent::KeyRelease, key, Qt::NoModifier, {}, false);
        QCOMPARE(dialog->events, std::string("first-click "));
    }

    // Space pressed on one button and released on another (Tab in between)
    // is no click of either.
    void spaceReleasedElsewhereIsNoClick()
    {
        dialog->first->setFocus();
        qt_handleKeyEvent(win, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), false);
        type(Qt::Key_Tab);
        type(Qt::Key_Tab);
        QVERIFY(dialog->second->hasFocus());
        qt_handleKeyEvent(win, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), false);
        QCOMPARE(dialog->events, std::string("first-focus list-focus second-focus "));
    }

    // Escape reaches the form from whichever control has the focus, once per
    // stroke; unset, it does nothing and the dialog stays open.
    void escape_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("handled");
        QTest::newRow("nothing focused") << "" << true;
        QTest::newRow("a hot area") << "first" << true;
        QTest::newRow("the list") << "list" << true;
        QTest::newRow("unset") << "first" << false;
    }
    void escape()
    {
        QFETCH(QString, focus);
        QFETCH(bool, handled);
        if (focus == QLatin1String("first"))
            dialog->first->setFocus();
        else if (focus == QLatin1String("list"))
            dialog->list->setFocus();
        if (!handled)
            dialog->onEscape = nullptr;
        dialog->events.clear();
        holdKey(win, Qt::Key_Escape, 4);
        QCOMPARE(dialog->events, std::string(handled ? "escape " : ""));
        holdKeyUnflagged(Qt::Key_Escape, 4, focusedWidget() ? focusedWidget() : w(*dialog));
        QCOMPARE(dialog->events, std::string(handled ? "escape escape " : ""));
        QTest::qWait(0);
        QVERIFY(ui::loadedForm<KeyDialog>());
        QVERIFY(w(*dialog)->isVisible());
    }

    // The focus shows as a dotted 1 px rectangle inside the hot area, above
    // its picture, whatever the pointer then lights or puts out beneath it;
    // it goes with the focus.
    void focusRectangle()
    {
        QWidget *window = w(*dialog);
        const QRect area = w(dialog->first)->geometry();
        dialog->light->show();
        const QImage plainLit = shownAt(window, area);
        dialog->light->hide();
        const QImage plainDark = shownAt(window, area);
        QVERIFY(plainLit != plainDark);

        dialog->light->show();
        type(Qt::Key_Tab);
        QVERIFY(dialog->first->hasFocus());
        QVERIFY(showsDottedOutline(plainLit, shownAt(window, area)));
        QTest::mouseMove(win, QPoint(200, 180));  // the background: the picture goes out
        QVERIFY(!dialog->light->visible());
        QVERIFY(showsDottedOutline(plainDark, shownAt(window, area)));
        QTest::mouseMove(win, area.center());
        QVERIFY(showsDottedOutline(plainDark, shownAt(window, area)));

        type(Qt::Key_Tab);
        QCOMPARE(shownAt(window, area), plainDark);
    }

    // A screen reader finds a push button with its name and description,
    // focusable, focused while it has the focus, selected as the form says,
    // and able to press it (a click without press or release).
    void accessibleButton()
    {
        dialog->first->setAccessible("Copy to Hard Drive", "Click here to copy.");
        dialog->second->setAccessible("Ok", "");
        Spoken first = spokenOf(w(dialog->first));
        QCOMPARE(first.role, QAccessible::Button);
        QCOMPARE(first.name, QStringLiteral("Copy to Hard Drive"));
        QCOMPARE(first.description, QStringLiteral("Click here to copy."));
        QVERIFY(first.state.focusable);
        QVERIFY(!first.state.focused);
        QVERIFY(!first.state.selected);
        QCOMPARE(spokenOf(w(dialog->second)).description, QString());

        dialog->first->setFocus();
        dialog->first->setSelected(true);
        first = spokenOf(w(dialog->first));
        QVERIFY(first.state.focused);
        QVERIFY(first.state.selected);
        QVERIFY(dialog->first->selected());
        dialog->first->setSelected(false);
        QVERIFY(!spokenOf(w(dialog->first)).state.selected);

        dialog->events.clear();
        QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(w(dialog->second))->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(dialog->events, std::string("second-click "));
        // A hidden button cannot be pressed.
        QAccessible::queryAccessibleInterface(w(dialog->hidden))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(dialog->events, std::string("second-click "));
        QVERIFY(!spokenOf(w(dialog->hidden)).state.focusable);
    }

    // The window's name is its title, its description what the form gave.
    void accessibleWindow()
    {
        dialog->setAccessibleDescription("Line one.\n\nLine two.");
        const Spoken window = spokenOf(w(*dialog));
        QCOMPARE(window.name, QStringLiteral("Keys"));
        QCOMPARE(window.description, QStringLiteral("Line one.\n\nLine two."));
    }
};

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
