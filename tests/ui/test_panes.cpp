// The panes' look and the font warm-up that runs beside the GUI thread.

#include "ui/qt/access.h"
#include "ui/qt/panes.h"
#include "ui/window.h"

#include <QFile>
#include <QFontInfo>
#include <QRegularExpression>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

#include <optional>

class TestPanes : public QObject {
    Q_OBJECT
private slots:
    // First: it needs a process in which no font has been used yet.
    void warmUpLoadsTheFontsOnItsOwnThread();
    void warmUpBesideTheFirstPane();
    void warmUpNeverToldToGoOnEnds();
    void darkScrollBar();
};

namespace {
// True once the system's font configuration is loaded into this process:
// Fontconfig maps its cache files into memory when it loads them.
bool fontConfigurationLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression cache(QStringLiteral("fontconfig/\\S*\\.cache-\\d+$"),
                                          QRegularExpression::MultilineOption);
    return cache.match(QString::fromLocal8Bit(maps.readAll())).hasMatch();
}

// A window of the control library with one pane or one list at its top left.
class PaneWindow : public ui::Window {
public:
    PaneWindow() : ui::Window({"frmGames", 640, 480, ui::Frame::MainScreen, "Panes"}) {}
};

constexpr layout::Rect kPaneRect{0, 0, 200, 100};
constexpr layout::Rect kListRect{0, 0, 150, 120};

class TextWindow : public PaneWindow {
public:
    ui::TextPane *txtPane = addTextPane(kPaneRect);
};

class ListWindow : public PaneWindow {
public:
    ui::ListBox *lstPane = addListBox(kListRect);
};
} // namespace

// The warm-up, and nothing on the GUI thread, loads the system's font
// configuration before the first window needs it.
void TestPanes::warmUpLoadsTheFontsOnItsOwnThread()
{
    QVERIFY2(!fontConfigurationLoaded(), "the fonts were loaded before the warm-up ran");
    ui::qt::FontWarmUp warmUp;
    warmUp.applicationReady();
    warmUp.wait();
    QVERIFY(fontConfigurationLoaded());
}

// The warm-up fills the font database while the GUI thread lays out its
// first text: both get the same fonts, and nothing waits for ever.
void TestPanes::warmUpBesideTheFirstPane()
{
    std::optional<TextWindow> duringWindow;
    QPlainTextEdit *during = nullptr;
    QFontInfo duringInfo(QFont{});
    {
        ui::qt::FontWarmUp warmUp;
        warmUp.applicationReady();
        duringWindow.emplace();
        during = ui::qt::widget<QPlainTextEdit>(duringWindow->txtPane);
        duringWindow->txtPane->setText("The lighthouse on Gull Rock");
        duringInfo = QFontInfo(during->font());
        (void)during->document()->size();
    }
    TextWindow afterWindow;
    afterWindow.txtPane->setText("The lighthouse on Gull Rock");
    QPlainTextEdit *after = ui::qt::widget<QPlainTextEdit>(afterWindow.txtPane);
    QCOMPARE(after->size(), QSize(200, 100));
    QCOMPARE(duringInfo.family(), QFontInfo(after->font()).family());
    QCOMPARE(during->fontMetrics().height(), after->fontMetrics().height());
    QCOMPARE(during->document()->size(), after->document()->size());
}

// A program that ends before its application object exists does not hang
// on the thread.
void TestPanes::warmUpNeverToldToGoOnEnds()
{
    QElapsedTimer timer;
    timer.start();
    {
        ui::qt::FontWarmUp warmUp;
    }
    QVERIFY(timer.elapsed() < 5000);
}

// A pane's bar is 14 pixels wide whatever the application's style, and
// paging through a long list with it works.
void TestPanes::darkScrollBar()
{
    ListWindow window;
    std::vector<std::string> games;
    for (int i = 0; i < 100; ++i)
        games.push_back("Game " + std::to_string(i));
    window.lstPane->addItems(games);
    window.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(ui::qt::widget(window)));
    QScrollBar *bar = ui::qt::widget<QListWidget>(window.lstPane)->verticalScrollBar();
    QCOMPARE(bar->width(), 14);
    QVERIFY(bar->maximum() > 0);
    // A click below the handle pages down; one on the bottom button steps.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 20));
    QTRY_VERIFY(bar->value() > 0);
    const int paged = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(7, bar->height() - 4));
    QTRY_COMPARE(bar->value(), paged + bar->singleStep());
}

QTEST_MAIN(TestPanes)
#include "test_panes.moc"
