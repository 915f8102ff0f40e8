// quorvia_artgen: draws every picture of the program, the cursor and the
// icon, reduces each window to its own 256-colour palette, and writes each
// picture twice: screen-ready (.px, see assets/screenimage.h) for the
// resource list (art.qrc) of the build, and as a PNG file to look at and to
// compare screenshots with. Also synthesises the two sound files. Usage:
//   quorvia_artgen --out DIR [--sounds DIR] [--preview DIR] [--bmp DIR]
// --bmp writes the artwork for the Windows program: every picture as
// DIR/<form>/<name>.bmp, DIR/hand.cur, DIR/icon.ico and the resource script
// DIR/art.rc that names them (see winres.h).
// --preview writes each window with all Light pictures shown and with all
// Indent pictures shown, as a user would see them, for looking at.

#include "palette.h"
#include "sounds.h"
#include "windows.h"
#include "winres.h"

#include "assets/screenimage.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>

using namespace artgen;

namespace {

struct Quantised {
    QRect rect;
    QImage full, indexed;
};

void save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path, "PNG"))
        throw std::runtime_error(qPrintable(QStringLiteral("cannot write %1").arg(path)));
}

// Writes DIR/STEM.png and the screen-ready DIR/STEM.px; returns "STEM.px",
// the resource's name.
QString savePicture(const QImage &image, const QString &out, const QString &stem)
{
    save(image, out + QLatin1Char('/') + stem + QStringLiteral(".png"));
    QFile file(out + QLatin1Char('/') + stem + QStringLiteral(".px"));
    const QByteArray data = screenimage::encode(image);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        throw std::runtime_error(qPrintable(QStringLiteral("cannot write %1").arg(file.fileName())));
    return stem + QStringLiteral(".px");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        throw std::runtime_error(qPrintable(QStringLiteral("cannot write %1").arg(path)));
}

// The Windows resource script: a picture's resource name is its form and
// name in upper case ("FRMGAMES_IMGRUNLIGHT"), its file relative to the
// script, with forward slashes, which the resource compiler accepts.
struct WindowsArt {
    QString dir;        // empty: no Windows artwork
    QStringList script;

    void picture(const QImage &indexed, const QString &form, const QString &name)
    {
        if (dir.isEmpty())
            return;
        const QString file = form + QLatin1Char('/') + name + QStringLiteral(".bmp");
        writeFile(dir + QLatin1Char('/') + file, bmpFile(indexed));
        script << QStringLiteral("%1_%2 BITMAP \"%3\"").arg(form.toUpper(), name.toUpper(), file);
    }
};

// The Light picture must show its base unchanged but for the word: its
// outer ring of pixels equal, every difference inside the word's box.
void checkLight(const Picture &pic, const QImage &indexed, const QImage &baseIndexed)
{
    const QRect ink = pic.wordInk.translated(-pic.rect.topLeft()).adjusted(-2, -2, 2, 2);
    int changed = 0;
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x) {
            if (indexed.pixelIndex(x, y) == baseIndexed.pixelIndex(x, y))
                continue;
            ++changed;
            const bool border = x == 0 || y == 0 || x == indexed.width() - 1 || y == indexed.height() - 1;
            if (border || !ink.contains(x, y))
                throw std::runtime_error(
                    qPrintable(QStringLiteral("%1 differs from what lies beneath it at %2,%3").arg(pic.name).arg(x).arg(y)));
        }
    if (changed == 0)
        throw std::runtime_error(qPrintable(QStringLiteral("%1 shows no word").arg(pic.name)));
}

QImage composite(const QImage &background, const QList<std::pair<QRect, QImage>> &layers)
{
    QImage out = background.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    for (const auto &[r, img] : layers)
        p.drawImage(r.topLeft(), img);
    return out;
}

// Reduces a window's colours, checks its pictures, writes them; returns the
// resource paths written.
QStringList process(const Window &w, const QString &out, const QString &preview, WindowsArt &windowsArt)
{
    QList<QImage> all{w.background};
    for (const Picture &pic : w.pictures)
        all << pic.full;
    Quantiser q(buildPalette(all, w.reserved));

    QHash<QString, Quantised> done;
    done.insert(QStringLiteral("background"),
                {w.background.rect(), w.background, q.quantise(w.background, w.ditherMask)});
    QStringList files{savePicture(done[QStringLiteral("background")].indexed, out, w.form + QStringLiteral("/background"))};
    windowsArt.picture(done[QStringLiteral("background")].indexed, w.form, QStringLiteral("background"));
    for (const Picture &pic : w.pictures) {
        const Quantised &base = done[pic.base];
        const QRect inBase = pic.rect.translated(-base.rect.topLeft());
        if (!base.rect.translated(-base.rect.topLeft()).contains(inBase))
            throw std::runtime_error(qPrintable(pic.name + QStringLiteral(" is not on its base")));
        const QImage baseIndexed = base.indexed.copy(inBase);
        const QImage indexed = q.quantiseOver(pic.full, base.full.copy(inBase), baseIndexed);
        if (pic.light)
            checkLight(pic, indexed, baseIndexed);
        done.insert(pic.name, {pic.rect, pic.full, indexed});
        files << savePicture(indexed, out, w.form + QLatin1Char('/') + pic.name);
        windowsArt.picture(indexed, w.form, pic.name);
    }

    if (!preview.isEmpty()) {
        QList<std::pair<QRect, QImage>> rest, lit, pressed;
        for (const Picture &pic : w.pictures) {
            const auto layer = std::make_pair(pic.rect, done[pic.name].indexed);
            if (pic.name.endsWith(QLatin1String("Light")))
                lit << layer;
            else if (pic.name.endsWith(QLatin1String("Indent")))
                pressed << layer;
            else
                rest << layer;
        }
        const QImage &bg = done[QStringLiteral("background")].indexed;
        save(composite(bg, rest), preview + QLatin1Char('/') + w.form + QStringLiteral("-rest.png"));
        save(composite(bg, rest + lit), preview + QLatin1Char('/') + w.form + QStringLiteral("-light.png"));
        save(composite(bg, rest + pressed), preview + QLatin1Char('/') + w.form + QStringLiteral("-indent.png"));
    }
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QString out, sounds, preview;
    WindowsArt windowsArt;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--out"))
            out = args[i + 1];
        else if (args[i] == QLatin1String("--sounds"))
            sounds = args[i + 1];
        else if (args[i] == QLatin1String("--preview"))
            preview = args[i + 1];
        else if (args[i] == QLatin1String("--bmp"))
            windowsArt.dir = args[i + 1];
    }
    if (out.isEmpty()) {
        std::fprintf(stderr, "usage: quorvia_artgen --out DIR [--sounds DIR] [--preview DIR] [--bmp DIR]\n");
        return 2;
    }
    try {
        QStringList files;
        for (Window (*make)() : {gamesWindow, cdWindow, hddWindow, exitWindow, saveWindow})
            files += process(make(), out, preview, windowsArt);
        files << savePicture(handCursor(), out, QStringLiteral("hand"))
              << savePicture(windowIcon(), out, QStringLiteral("icon"));
        if (!preview.isEmpty()) {
            save(handCursor().scaled(256, 256), preview + QStringLiteral("/hand-x8.png"));
            save(windowIcon().scaled(256, 256), preview + QStringLiteral("/icon-x8.png"));
            save(windowIcon().convertToFormat(QImage::Format_ARGB32).scaled(16, 16, Qt::IgnoreAspectRatio,
                                                                           Qt::SmoothTransformation)
                     .scaled(128, 128),
                 preview + QStringLiteral("/icon16-x8.png"));
        }

        if (!sounds.isEmpty() && !writeSounds(sounds))
            throw std::runtime_error("cannot write the sound files");

        if (!windowsArt.dir.isEmpty()) {
            // The hot spot is the finger tip.
            writeFile(windowsArt.dir + QStringLiteral("/hand.cur"), cursorFile(handCursor(), QPoint(6, 0)));
            writeFile(windowsArt.dir + QStringLiteral("/icon.ico"), iconFile(windowIcon()));
            // The script last, like the resource list below: the build
            // treats it as the sign that every file it names is written.
            windowsArt.script << QStringLiteral("HAND CURSOR \"hand.cur\"") << QStringLiteral("1 ICON \"icon.ico\"");
            writeFile(windowsArt.dir + QStringLiteral("/art.rc"), windowsArt.script.join(QLatin1Char('\n')).toUtf8() + '\n');
        }

        // The resource list last: the build treats it as the sign that
        // every picture is written.
        QFile qrc(out + QStringLiteral("/art.qrc"));
        if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write art.qrc");
        QTextStream s(&qrc);
        s << "<RCC>\n  <qresource prefix=\"/art\">\n";
        for (const QString &f : files)
            s << "    <file>" << f << "</file>\n";
        s << "  </qresource>\n</RCC>\n";
        s.flush();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "quorvia_artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
