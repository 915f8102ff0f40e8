// quorvia_artgen: draws every picture of the program, the cursor and the
// icon at each scale of assets/scales.h, reduces each window at each scale
// to its own 256-colour palette, and writes each picture twice: screen-ready
// (.px, see assets/screenimage.h) for the resource list (art.qrc) of the
// build, and as a PNG file to look at and to compare screenshots with. A
// picture's name carries its scale: "imgRunLight", "imgRunLight@1.5x",
// "imgRunLight@2x". Also synthesises the two sound files. Usage:
//   quorvia_artgen --out DIR [--sounds DIR] [--preview DIR] [--bmp DIR]
// --bmp writes the artwork for the Windows program: every picture as
// DIR/<form>/<name>.bmp (RLE8 where that is smaller), DIR/hand*.cur,
// DIR/icon*.ico, the program's manifest and the resource script DIR/art.rc
// that names them (see winres.h).
// --preview writes each window with all Light pictures shown and with all
// Indent pictures shown, as a user would see them, for looking at.

#include "palette.h"
#include "sounds.h"
#include "windows.h"
#include "winres.h"

#include "assets/scales.h"
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

    qint64 bytes = 0;   // of the pictures' files

    // `scale` names the file ("@2x") and `tag` the resource ("_200").
    void picture(const QImage &indexed, const QString &form, const QString &name, const scales::Scale &scale)
    {
        if (dir.isEmpty())
            return;
        const QString file = form + QLatin1Char('/') + name + QLatin1String(scale.suffix) + QStringLiteral(".bmp");
        const QByteArray data = bmpFile(indexed);
        bytes += data.size();
        writeFile(dir + QLatin1Char('/') + file, data);
        script << QStringLiteral("%1_%2%3 BITMAP \"%4\"")
                      .arg(form.toUpper(), name.toUpper(), QLatin1String(scale.tag), file);
    }
};

// The Light picture must show its base unchanged but for the word: its
// outer ring of pixels equal, every difference inside the word's box.
void checkLight(const Picture &pic, const QImage &indexed, const QImage &baseIndexed, const Scaler &scale)
{
    const int m = scale.px(2);
    const QRect ink = pic.wordInk.translated(-pic.rect.topLeft()).adjusted(-m, -m, m, m);
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
QStringList process(const Window &w, const scales::Scale &scale, const QString &out, const QString &preview,
                    WindowsArt &windowsArt)
{
    const QString suffix = QLatin1String(scale.suffix);
    QList<QImage> all{w.background};
    for (const Picture &pic : w.pictures)
        all << pic.full;
    Quantiser q(buildPalette(all, w.reserved));

    QHash<QString, Quantised> done;
    done.insert(QStringLiteral("background"),
                {w.background.rect(), w.background, q.quantise(w.background, w.ditherMask)});
    QStringList files{savePicture(done[QStringLiteral("background")].indexed, out,
                                  w.form + QStringLiteral("/background") + suffix)};
    windowsArt.picture(done[QStringLiteral("background")].indexed, w.form, QStringLiteral("background"), scale);
    for (const Picture &pic : w.pictures) {
        const Quantised &base = done[pic.base];
        const QRect inBase = pic.rect.translated(-base.rect.topLeft());
        if (!base.rect.translated(-base.rect.topLeft()).contains(inBase))
            throw std::runtime_error(qPrintable(pic.name + QStringLiteral(" is not on its base")));
        const QImage baseIndexed = base.indexed.copy(inBase);
        const QImage indexed = q.quantiseOver(pic.full, base.full.copy(inBase), baseIndexed);
        if (pic.light)
            checkLight(pic, indexed, baseIndexed, w.scale);
        done.insert(pic.name, {pic.rect, pic.full, indexed});
        files << savePicture(indexed, out, w.form + QLatin1Char('/') + pic.name + suffix);
        windowsArt.picture(indexed, w.form, pic.name, scale);
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
        const QString stem = preview + QLatin1Char('/') + w.form + suffix;
        save(composite(bg, rest), stem + QStringLiteral("-rest.png"));
        save(composite(bg, rest + lit), stem + QStringLiteral("-light.png"));
        save(composite(bg, rest + pressed), stem + QStringLiteral("-indent.png"));
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
        for (const scales::Scale &scale : scales::kDrawn) {
            const Scaler scaler{scale.percent};
            for (Window (*make)(const Scaler &) : {gamesWindow, cdWindow, hddWindow, exitWindow, saveWindow})
                files += process(make(scaler), scale, out, preview, windowsArt);
            const QString suffix = QLatin1String(scale.suffix);
            files << savePicture(handCursor(scaler), out, QStringLiteral("hand") + suffix)
                  << savePicture(windowIcon(scaler), out, QStringLiteral("icon") + suffix);
        }
        if (!preview.isEmpty()) {
            save(handCursor().scaled(256, 256), preview + QStringLiteral("/hand-x8.png"));
            save(windowIcon().scaled(256, 256), preview + QStringLiteral("/icon-x8.png"));
            save(handCursor(Scaler{200}).scaled(256, 256), preview + QStringLiteral("/hand@2x-x4.png"));
            save(windowIcon(Scaler{200}).scaled(256, 256), preview + QStringLiteral("/icon@2x-x4.png"));
            save(windowIcon().convertToFormat(QImage::Format_ARGB32).scaled(16, 16, Qt::IgnoreAspectRatio,
                                                                           Qt::SmoothTransformation)
                     .scaled(128, 128),
                 preview + QStringLiteral("/icon16-x8.png"));
        }

        if (!sounds.isEmpty() && !writeSounds(sounds))
            throw std::runtime_error("cannot write the sound files");

        if (!windowsArt.dir.isEmpty()) {
            for (const scales::Scale &scale : scales::kDrawn) {
                const Scaler scaler{scale.percent};
                const QString suffix = QLatin1String(scale.suffix), tag = QLatin1String(scale.tag);
                // The hot spot is the finger tip.
                const int tip = scaler.px(6);
                writeFile(windowsArt.dir + QStringLiteral("/hand%1.cur").arg(suffix),
                          cursorFile(handCursor(scaler), QPoint(tip, 0)));
                writeFile(windowsArt.dir + QStringLiteral("/icon%1.ico").arg(suffix), iconFile(windowIcon(scaler)));
                windowsArt.script << QStringLiteral("HAND%1 CURSOR \"hand%2.cur\"").arg(tag, suffix);
                // The icon of the first resource is the program's in the
                // shell; the larger ones are named like the cursors.
                windowsArt.script << (scale.percent == 100 ? QStringLiteral("1 ICON \"icon.ico\"")
                                                           : QStringLiteral("ICON%1 ICON \"icon%2.ico\"").arg(tag, suffix));
            }
            writeFile(windowsArt.dir + QStringLiteral("/quorvia.manifest"), programManifest());
            windowsArt.script << QStringLiteral("1 24 \"quorvia.manifest\"");
            std::printf("quorvia_artgen: %lld bytes of BMP pictures\n", windowsArt.bytes);
            // The script last, like the resource list below: the build
            // treats it as the sign that every file it names is written.
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
