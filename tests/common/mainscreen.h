// The main screen as the tests start it: shown with its frame at a given
// place, driven with real pointer events on its Qt widgets and read through
// them; at the end every form still loaded is unloaded.
#pragma once

#include "fixture.h"
#include "mainscreen/frmGames.h"

#include <QListWidget>
#include <QPlainTextEdit>

class MainScreen {
public:
    frmGames &games;

    // Shows the main screen with the top left corner of its frame at `at`;
    // check exposed() before driving it.
    explicit MainScreen(QPoint at = QPoint(40, 30)) : games(ui::form<frmGames>()), mWindow(widgetOf(games))
    {
        mWindow->move(at);
        games.showModeless();
    }
    ~MainScreen() { unloadAll(); }
    MainScreen(const MainScreen &) = delete;
    MainScreen &operator=(const MainScreen &) = delete;

    bool exposed() const { return mWindow && QTest::qWaitForWindowExposed(mWindow); }

    // The top-level widget; null once the main screen has been destroyed.
    QWidget *window() const { return mWindow; }
    QWindow *win() const { return mWindow->windowHandle(); }
    QRect frame() const { return mWindow->frameGeometry(); }

    // The pointer moved to a point of the client area, or over a control.
    void moveTo(QPoint p) const { QTest::mouseMove(win(), p); }
    void moveOver(const ui::Control *control, QPoint offset = {}) const { moveTo(centreOf(control) + offset); }
    void click(const ui::Control *control) const { QTest::mouseClick(win(), Qt::LeftButton, {}, centreOf(control)); }
    void press(const ui::Control *control, Qt::MouseButton button) const
    {
        QTest::mousePress(win(), button, {}, centreOf(control));
    }
    void release(const ui::Control *control, Qt::MouseButton button) const
    {
        QTest::mouseRelease(win(), button, {}, centreOf(control));
    }

    // The game list and the description pane as shown.
    QListWidget *list() const { return widgetOf<QListWidget>(games.lstGameListing); }
    QPlainTextEdit *pane() const { return widgetOf<QPlainTextEdit>(games.txtDesc); }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text();
        return names;
    }
    QString description() const { return pane()->toPlainText(); }
    QString status() const { return textOf(games.lblStatus); }

    // A click on an entry of the game list, scrolled into view first.
    void clickRow(int row) const
    {
        QListWidget *l = list();
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }

    // Unloads every form that is still loaded, waits until they are gone
    // and gives the pointer back.
    static void unloadAll()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (ui::Window *form = ui::qt::formOf(w))
                form->unload();
        QTest::qWait(0);
        ui::setDefaultPointer();
    }

private:
    QPointer<QWidget> mWindow;
};
