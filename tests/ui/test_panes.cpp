// The panes' look and the font warm-up that runs beside the GUI thread.

#include "ui/panes.h"

#include <QFile>
#include <QFontInfo>
#include <QRegularExpression>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

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
} // namespace

// The warm-up, and nothing on the GUI thread, loads the system's font
// configuration before the first window needs it.
void TestPanes::warmUpLoadsTheFontsOnItsOwnThread()
{
    QVERIFY2(!fontConfigurationLoaded(), "the fonts were loaded before the warm-up ran");
    ui::FontWarmUp warmUp;
    warmUp.applicationReady();
    warmUp.wait();
    QVERIFY(fontConfigurationLoaded());
}

// The warm-up fills the font database while the GUI thread lays out its
// first text: both get the same fonts, and nothing waits for ever.
void TestPanes::warmUpBesideTheFirstPane()
{
    QPlainTextEdit during;
    QFontInfo duringInfo(QFont{});
    {
        ui::FontWarmUp warmUp;
        warmUp.applicationReady();
        ui::paintGreenOnBlack(&during);
        during.setPlainText(QStringLiteral("The lighthouse on Gull Rock"));
        during.resize(200, 100);
        duringInfo = QFontInfo(during.font());
        (void)during.document()->size();
    }
    QPlainTextEdit after;
    ui::paintGreenOnBlack(&after);
    after.setPlainText(QStringLiteral("The lighthouse on Gull Rock"));
    after.resize(200, 100);
    QCOMPARE(duringInfo.family(), QFontInfo(after.font()).family());
    QCOMPARE(during.fontMetrics().height(), after.fontMetrics().height());
    QCOMPARE(during.document()->size(), after.document()->size());
}

// A program that ends before its application object exists does not hang
// on the thread.
void TestPanes::warmUpNeverToldToGoOnEnds()
{
    QElapsedTimer timer;
    timer.start();
    {
        ui::FontWarmUp warmUp;
    }
    QVERIFY(timer.elapsed() < 5000);
}

// A pane's bar is 14 pixels wide whatever the application's style, and
// paging through a long list with it works.
void TestPanes::darkScrollBar()
{
    QListWidget list;
    list.resize(150, 120);
    ui::paintGreenOnBlack(&list);
    ui::darkScrollBar(&list);
    for (int i = 0; i < 100; ++i)
        list.addItem(QStringLiteral("Game %1").arg(i));
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QScrollBar *bar = list.verticalScrollBar();
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
