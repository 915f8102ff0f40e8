// The panes' look and the font warm-up that runs beside the GUI thread.

#include "ui/panes.h"

#include <QFontInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

class TestPanes : public QObject {
    Q_OBJECT
private slots:
    void warmUpBesideTheFirstPane();
    void warmUpNeverToldToGoOnEnds();
    void darkScrollBar();
};

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
