// The windows on screens of other densities: three offscreen screens side by
// side at device pixel ratios 1, 1.5 and 2, and windows moved from one to
// another. On each the window keeps its layout's size and shows the pictures
// drawn for that ratio, pixel for pixel, where the rule of assets/scales.h
// puts them (also where a picture starts between two device pixels), the
// progress bar cuts its own fill, and the hot areas take the hand drawn for
// the ratio.

#include "assets/assets.h"
#include "assets/scales.h"
#include "ui/layout.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

namespace G = layout::games;
namespace H = layout::hdd;

const layout::Button &run() { return G::commands[1]; }
const layout::Button &arcade() { return G::categories[0]; }

// The main screen's Run and arcade buttons.
class Buttons : public ui::Window {
public:
    Buttons() : ui::Window({"frmGames", G::width, G::height, ui::Frame::MainScreen, "Scaled"})
    {
        runLight = addPicture(run().light, "imgRunLight");
        arcadeLight = addPicture(arcade().light, "imgArcadeLight");
        arcadeIndent = addPicture(arcade().indent, "imgArcadeIndent");
        hot = addHotArea(run().label);
    }
    ui::Picture *runLight, *arcadeLight, *arcadeIndent;
    ui::HotArea *hot;
};

// The notice's progress bar.
class Bar : public ui::Window {
public:
    Bar() : ui::Window({"frmHDD", H::width, H::height, ui::Frame::DialogNoTitle, "Bar"})
    {
        bar = addProgressBar(H::prgCopy, "imgCopyTrough", "imgCopyFill", H::prgCopyFill);
    }
    ui::ProgressBar *bar;
};

QRect qrect(const layout::Rect &r) { return QRect(r.x, r.y, r.w, r.h); }
QRect atScale(const layout::Rect &r, int percent) { return qrect(scales::deviceRect(r, percent)); }

QScreen *screenOf(int percent)
{
    for (QScreen *s : QGuiApplication::screens())
        if (qRound(s->devicePixelRatio() * 100) == percent)
            return s;
    return nullptr;
}

// Puts a shown window on the screen of `percent` and lets it repaint.
void moveTo(QWidget *window, int percent)
{
    QScreen *screen = screenOf(percent);
    QVERIFY(screen);
    window->move(screen->geometry().topLeft() + QPoint(20, 20));
    QTRY_COMPARE(window->screen(), screen);
    QCoreApplication::processEvents();
}

// What the window shows, in device pixels.
QImage shownOn(QWidget *window)
{
    QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

QImage picture(const QString &form, const QString &name, int percent)
{
    return assets::image(form + QLatin1Char('/') + name + QLatin1String(scales::drawnFor(percent).suffix))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestScaled : public QObject {
    Q_OBJECT
private slots:
    void picturesFollowTheScreen_data();
    void picturesFollowTheScreen();
    void progressBarAtEachScale_data();
    void progressBarAtEachScale();
};

void TestScaled::picturesFollowTheScreen_data()
{
    QTest::addColumn<QList<int>>("screens");  // the screens it visits, in order
    QTest::newRow("1x, then 2x, then back") << QList<int>{100, 200, 100};
    QTest::newRow("1.5x, then 2x, then 1.5x") << QList<int>{150, 200, 150};
    QTest::newRow("2x, then 1x") << QList<int>{200, 100};
}

// On each screen: the window's layout size in device pixels of that screen,
// the lit Run and the marked arcade button exactly their pictures for it
// (arcade's pressed picture starts at 375 of the layout, between two device
// rows at 1.5x), and the hand of the hot area drawn for it.
void TestScaled::picturesFollowTheScreen()
{
    QFETCH(QList<int>, screens);
    Buttons form;
    QWidget *window = ui::qt::widget(form);
    form.runLight->show();
    form.arcadeIndent->show();
    form.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (int percent : screens) {
        moveTo(window, percent);
        const QImage shown = shownOn(window);
        QCOMPARE(shown.size(), QSize(scales::ceilScaled(G::width, percent), scales::ceilScaled(G::height, percent)));
        QCOMPARE(shown.copy(atScale(run().light, percent)), picture("frmGames", "imgRunLight", percent));
        QCOMPARE(shown.copy(atScale(arcade().indent, percent)), picture("frmGames", "imgArcadeIndent", percent));
        // Beside the pictures: the background drawn for the same screen.
        const QRect beside = atScale({0, 0, 16, 60}, percent);
        QCOMPARE(shown.copy(beside), picture("frmGames", "background", percent).copy(beside));

        const QCursor cursor = ui::qt::widget(form.hot)->cursor();
        QCOMPARE(cursor.pixmap().size(), QSize(scales::ceilScaled(32, percent), scales::ceilScaled(32, percent)));
        QCOMPARE(cursor.hotSpot(), QPoint(scales::floorScaled(6, percent), 0));
    }
    // Hiding a picture at a fractional ratio leaves no row of it behind.
    form.arcadeIndent->hide();
    QCoreApplication::processEvents();
    const int last = screens.last();
    const QRect indent = atScale(arcade().indent, last);
    QCOMPARE(shownOn(window).copy(indent), picture("frmGames", "background", last).copy(indent));
}

void TestScaled::progressBarAtEachScale_data()
{
    QTest::addColumn<int>("percent");
    for (const scales::Scale &s : scales::kDrawn)
        QTest::addRow("%d %%", s.percent) << s.percent;
}

// Half done: the trough drawn for the screen, its fill's left half over it.
void TestScaled::progressBarAtEachScale()
{
    QFETCH(int, percent);
    Bar form;
    QWidget *window = ui::qt::widget(form);
    form.bar->show();
    form.bar->setProgress(1, 2);
    form.showModeless();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    moveTo(window, percent);
    const QImage shown = shownOn(window);
    const QImage trough = picture("frmHDD", "imgCopyTrough", percent);
    const QImage fill = picture("frmHDD", "imgCopyFill", percent);
    const QRect bar = atScale(H::prgCopy, percent), fillAt = atScale(H::prgCopyFill, percent);
    const int half = fill.width() / 2;
    QCOMPARE(shown.copy(QRect(fillAt.topLeft(), QSize(half, fill.height()))), fill.copy(0, 0, half, fill.height()));
    const QRect rest(fillAt.left() + half, fillAt.top(), fill.width() - half, fill.height());
    QCOMPARE(shown.copy(rest), trough.copy(rest.translated(-bar.topLeft())));
    QCOMPARE(shown.copy(QRect(bar.topLeft(), QSize(bar.width(), fillAt.top() - bar.top()))),
             trough.copy(0, 0, bar.width(), fillAt.top() - bar.top()));
}

// Three screens side by side, written for the offscreen platform before the
// application starts.
int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [
        {"name": "one", "x": 0, "y": 0, "width": 1600, "height": 1200, "dpr": 1},
        {"name": "one-and-a-half", "x": 1600, "y": 0, "width": 2400, "height": 1800, "dpr": 1.5},
        {"name": "two", "x": 4000, "y": 0, "width": 3200, "height": 2400, "dpr": 2}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication app(argc, argv);
    TestScaled test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_scaled.moc"
