// Shared test fixtures: recorders for the replaceable platform services, a
// small disc and hard disk in a temporary folder, the Qt widgets behind the
// forms, and a helper that answers the next modal dialog from a timer.
#pragma once

#include "catalogue/catalogue.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/testing.h"
#include "startup/modMain.h"
#include "ui/controls.h"
#include "ui/imagebutton.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <xcb/xproto.h>

// Failed comparisons of the program's UTF-8 texts print them.
namespace QTest {
template <> inline char *toString(const std::string &text) { return qstrdup(text.c_str()); }
} // namespace QTest

// The sounds and the disc request as the program names them; the recorder
// notes sounds by their bare file names.
inline const QString kRoll = QString::fromLatin1(ui::kRolloverSound);
inline const QString kClick = QString::fromLatin1(ui::kClickSound);
inline const QString kDiscRequest = QString::fromUtf8(modMain::kDiscRequest);

// The messages that more than one test reads.
inline const QString kSelectToRun = QStringLiteral("Please select a game category and then a game to run.");
inline const QString kSelectToCopy = QStringLiteral("Please select a game category and then a game to copy.");
inline const QString kSelectToView = QStringLiteral("Please select a game category and then a game to view.");
inline const QString kNeedDrive = QStringLiteral("Please enter a folder that begins with a drive, such as C:\\.");
inline const QString kNoDescription = QStringLiteral("No description file for the selected game.");
inline const QString kInformationTitle = QStringLiteral("Quorvia Information");
inline const QString kShellFailureTitle = QStringLiteral("Program Execution Failed");

// --- the Qt widgets behind the forms --------------------------------------

// The top-level widget of a form, and the widget of one of its controls.
inline QWidget *widgetOf(const ui::Window &form) { return ui::qt::widget(form); }
template <class W = QWidget> W *widgetOf(const ui::Control *control) { return ui::qt::widget<W>(control); }

// What a user sees of a control: whether it is on screen, where it lies in
// its window's client area, the text of a label.
inline bool shown(const ui::Control *control) { return widgetOf(control)->isVisible(); }
inline QRect geometryOf(const ui::Control *control) { return widgetOf(control)->geometry(); }
inline QPoint centreOf(const ui::Control *control) { return geometryOf(control).center(); }
inline QString textOf(const ui::Label *label) { return widgetOf<QLabel>(label)->text(); }

// The outer rectangle of a form's window, frame and title bar included.
inline QRect frameOf(const ui::Window &form) { return widgetOf(form)->frameGeometry(); }

// The Qt window that receives the pointer and key events of a form.
inline QWindow *windowOf(const ui::Window &form) { return widgetOf(form)->windowHandle(); }

// The top left corner of a frame of the outer size `outer` centred in `area`
// (the screen, or another window's frame), fractions dropped as the program
// drops them.
inline QPoint centredIn(const QRect &area, const QSize &outer)
{
    return QPoint(area.x() + int(std::floor(area.width() / 2.0 - outer.width() / 2.0)),
                  area.y() + int(std::floor(area.height() / 2.0 - outer.height() / 2.0)));
}

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray fileContents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The entries below a folder that `filters` selects, relative to it and
// sorted: what is on the disk.
inline QStringList entriesBelow(const QString &root,
                                QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
{
    QStringList entries;
    QDirIterator it(root, filters, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

// Records what the program asks of the shell, the sound player and the
// message box, and the end of the program.
struct Recorder {
    struct ShellCall {
        QString file;
        QString parameters;
        QString currentFolder;  // the program's current folder at the call
    };
    QStringList sounds;  // bare file names, in order
    QList<ShellCall> shellCalls;
    int shellResult = 42;
    QList<QPair<QString, QString>> boxes;  // text, title
    int ends = 0;
    std::function<void()> onBox;           // runs while the box would be shown

    Recorder()
    {
        platform::testing::setPlayWave([this](const std::string &path) {
            const QString p = QString::fromStdString(path);
            sounds << p.mid(p.lastIndexOf(QLatin1Char('\\')) + 1);
        });
        platform::testing::setShellOpen(
            [this](std::uintptr_t, const std::string &file, const std::string &params) { return shell(file, params); });
        platform::testing::setMessageBox([this](std::uintptr_t, const std::string &text, const std::string &title) {
            boxes.append({QString::fromStdString(text), QString::fromStdString(title)});
            if (onBox)
                onBox();
        });
        platform::testing::setEndProgram([this] { ++ends; });
    }
    ~Recorder()
    {
        platform::testing::setPlayWave({});
        platform::testing::setShellOpen({});
        platform::testing::setMessageBox({});
        platform::testing::setEndProgram({});
    }
    // Notes a shell call and gives the recorder's answer; a test that
    // watches the shell itself calls it from its own hook.
    int shell(const std::string &file, const std::string &params)
    {
        shellCalls.append({QString::fromStdString(file), QString::fromStdString(params),
                           QString::fromStdString(platform::currentDirectory())});
        return shellResult;
    }
    int count(const QString &sound) const { return int(sounds.count(sound)); }
};

// One catalogue record of 69 bytes, fields padded with spaces.
inline QByteArray gameRecord(const QString &name, const QString &folder, const QString &program,
                             const QString &parameters = {}, const QString &flag = {})
{
    QStringEncoder encode("windows-1252");
    auto field = [&](const QString &text, int width) {
        QByteArray bytes = encode(text);
        bytes.truncate(width);
        return bytes.leftJustified(width, ' ');
    };
    return field(name, 36) + field(folder, 8) + field(program, 12) + field(parameters, 12) + field(flag, 1);
}

// A hard disk (drive C:, holding the program folder C:\MENU) and a disc
// (drive D:, holding the marker) in a temporary folder.
class DiscFixture {
public:
    QTemporaryDir tmp;

    DiscFixture()
    {
        QDir(tmp.path()).mkpath(QStringLiteral("c/MENU"));
        QDir(tmp.path()).mkpath(QStringLiteral("d"));
        writeFile(disc(QStringLiteral("PLAXOID.QAR")), "");
        setDrives(QStringLiteral("C=%1;D=%2").arg(hdd(), disc()));
        modMain::gAppPath = "C:\\MENU\\";
        modMain::gCdRoot = "D:\\";
        clearSelection();
    }
    ~DiscFixture()
    {
        // Leave no read-only files behind that would stop the clean-up.
        QDir::setCurrent(QDir::tempPath());
        const auto chmodAll = [](const QString &root) {
            QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                QFile::setPermissions(it.next(), QFile::permissions(it.filePath()) | QFileDevice::WriteOwner);
        };
        chmodAll(tmp.path());
        qunsetenv("QUORVIA_DRIVES");
        platform::reloadDrives();
    }

    static void setDrives(const QString &table)
    {
        qputenv("QUORVIA_DRIVES", table.toUtf8());
        platform::reloadDrives();
    }
    static void clearSelection()
    {
        modMain::gGameCategory.clear();
        modMain::gGameName.clear();
        modMain::gGameFolder.clear();
        modMain::gGameProgram.clear();
        modMain::gGameParameters.clear();
        modMain::gGameHddFlag.clear();
    }

    QString hdd(const QString &rel = {}) const { return join(tmp.path() + QStringLiteral("/c"), rel); }
    QString disc(const QString &rel = {}) const { return join(tmp.path() + QStringLiteral("/d"), rel); }
    QString programFolder(const QString &rel = {}) const { return join(hdd(QStringLiteral("MENU")), rel); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
        f.write(bytes);
    }

    // The catalogue of a category, from whole records.
    void writeCatalogue(const QString &key, const QList<QByteArray> &records) const
    {
        QByteArray bytes;
        for (const QByteArray &r : records)
            bytes += r;
        writeFile(programFolder(QString::fromLatin1(catalogue::lookup(key.toStdString())->file)), bytes);
    }

    // A game folder on the disc, with its description file unless it is null.
    void addGame(const QString &key, const QString &folder, const QString &program,
                 const std::optional<QByteArray> &description = QByteArray("About the game.\r\n")) const
    {
        const QString dir = disc(key.toUpper() + QLatin1Char('/') + folder);
        QDir().mkpath(dir);
        if (description)
            writeFile(dir + QStringLiteral("/QAR.TXT"), *description);
        if (!program.isEmpty())
            writeFile(dir + QLatin1Char('/') + program, "#!/bin/sh\nexit 0\n");
    }

private:
    static QString join(const QString &base, const QString &rel) { return rel.isEmpty() ? base : base + '/' + rel; }
};

// True when a message as shown is the sentence with the name in place of its
// "%1": the name whole, or shortened in its middle with "…" (both ends kept,
// the rest of the sentence whole). The zero-width spaces at which a path may
// wrap show nothing and are not counted.
inline bool showsSentence(QString shown, const QString &sentence, const QString &name)
{
    shown.remove(QChar(0x200B));
    const qsizetype at = sentence.indexOf(QLatin1String("%1"));
    const QString before = sentence.left(at);
    const QString after = sentence.mid(at + 2);
    if (!shown.startsWith(before) || !shown.endsWith(after) || shown.size() < before.size() + after.size())
        return false;
    const QString middle = shown.mid(before.size(), shown.size() - before.size() - after.size());
    if (middle == name)
        return true;
    const qsizetype cut = middle.indexOf(QChar(0x2026));
    if (cut < 0 || middle.count(QChar(0x2026)) != 1)
        return false;
    const QString head = middle.left(cut);
    const QString tail = middle.mid(cut + 1);
    return head.size() + tail.size() < name.size() && qAbs(head.size() - tail.size()) <= 1 && name.startsWith(head)
           && name.endsWith(tail);
}

// Hands the program the event with which the X11 window system reports that
// a window's native window is gone, as after `xdotool windowclose` with no
// window manager. The program reacts from its event loop.
inline void destroyFromOutside(QWidget *window)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.event = event.window = xcb_window_t(window->winId());
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
}
inline void destroyFromOutside(const ui::Window &form) { destroyFromOutside(widgetOf(form)); }

// Keeps a picture on screen through every hide while it lives: a pressed
// look that stays shown when the release comes, so that the click after it
// meets the pressed look still there.
class KeepShown : public QObject {
public:
    explicit KeepShown(QWidget *picture) : mPicture(picture)
    {
        picture->show();
        picture->installEventFilter(this);
    }
    ~KeepShown() override
    {
        if (mPicture)
            mPicture->removeEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        // Sent once the hide is complete, so showing again here is safe.
        if (e->type() == QEvent::HideToParent)
            mPicture->show();
        return false;
    }

private:
    QPointer<QWidget> mPicture;
};

// Answers the modal dialogs that show up while the test is blocked in a
// nested event loop: each one is handed to `answer`, up to `times` dialogs.
// It stops watching when it goes out of scope.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::function<void(QWidget *)> answer, int times = 1)
        : mAnswer(std::move(answer)), mLeft(times)
    {
        QObject::connect(&mTimer, &QTimer::timeout, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || !w->isVisible() || w == mLast)
                return;
            mLast = w;
            ++mAnswered;
            if (--mLeft <= 0)
                mTimer.stop();
            mAnswer(w);
        });
        mTimer.start(10);
    }
    int answered() const { return mAnswered; }

private:
    std::function<void(QWidget *)> mAnswer;
    int mLeft;
    int mAnswered = 0;
    QPointer<QWidget> mLast;
    QTimer mTimer;
};
