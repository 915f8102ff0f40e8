// The POSIX platform layer's services that need a running Qt application:
// the sound player and the message box.
#include "platform/drives.h"
#include "platform/shell.h"
#include "platform/testing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

std::string s(const QString &text)
{
    return text.toStdString();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

void setDrives(const QString &value)
{
    qputenv("QUORVIA_DRIVES", value.toUtf8());
    platform::reloadDrives();
}

} // namespace

class TestPlatformQt : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_tmp;
    QString m_disc;  // drive E

    QString disc(const QString &relative) const { return m_disc + QLatin1Char('/') + relative; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_disc = QDir(m_tmp.path()).canonicalPath() + QStringLiteral("/disc");
        QVERIFY(QDir().mkpath(m_disc));
        setDrives(QStringLiteral("E=%1").arg(m_disc));
    }

    // ---- Sound -------------------------------------------------------------

    // What the sound device is told, with a recorder in its place. A file
    // that is missing or no wave file gives the default sound, which like
    // any sound first cuts off the one that is playing.
    void playWave_data()
    {
        writeFile(disc("SOUND/CLICK.WAV"), QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16));
        writeFile(disc("SOUND/TEXT.WAV"), "not a wave file");
        QDir().mkpath(disc("SOUND/FOLDER.WAV"));

        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("wave file") << "e:\\sound\\click.wav" << QStringList{"play " + disc("SOUND/CLICK.WAV")};
        QTest::newRow("missing file") << "E:\\SOUND\\NONE.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("not a wave file") << "E:\\SOUND\\TEXT.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("a folder") << "E:\\SOUND\\FOLDER.WAV" << QStringList{"stop", "beep"};
        QTest::newRow("unknown drive") << "Q:\\CLICK.WAV" << QStringList{"stop", "beep"};
    }

    void playWave()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, calls);

        using platform::testing::SoundCall;
        QStringList told;
        platform::testing::setSoundDevice([&](SoundCall call, const std::string &host) {
            told << (call == SoundCall::Play   ? "play " + QString::fromStdString(host)
                     : call == SoundCall::Stop ? QStringLiteral("stop")
                                               : QStringLiteral("beep"));
        });
        const auto restore = qScopeGuard([] { platform::testing::setSoundDevice({}); });
        platform::playWave(s(path));
        QCOMPARE(told, calls);
    }

    // ---- Message box -------------------------------------------------------

    void messageBox()
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        Qt::TextFormat format = Qt::AutoText;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            format = box->textFormat();
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        platform::messageBox(0, "<b>File</b> not found", "Program Execution Failed");
        QCOMPARE(title, QStringLiteral("Program Execution Failed"));
        QCOMPARE(text, QStringLiteral("<b>File</b> not found"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, 1);
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(modal);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestPlatformQt test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_platform_qt.moc"
