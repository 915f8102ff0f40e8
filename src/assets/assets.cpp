#include "assets.h"

#include <QBitmap>
#include <QDir>
#include <QImage>

#include <future>
#include <map>
#include <vector>

static void initArtwork()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace assets {

struct Preload::State {
    QString form;
    QStringList names;                     // file stems, in decoding order
    std::vector<std::promise<QImage>> decoded;
    std::map<QString, std::future<QImage>> waiting;  // by stem; taken once
};

namespace {
QString path(const QString &form, const QString &name)
{
    return QStringLiteral(":/art/%1/%2.png").arg(form, name);
}

// The preload in progress; only the GUI thread reads or sets it.
Preload::State *gPreload = nullptr;
} // namespace

Preload::Preload(const QString &form) : mState(std::make_shared<State>())
{
    initArtwork();
    mState->form = form;
    const QStringList files = QDir(QStringLiteral(":/art/") + form).entryList({QStringLiteral("*.png")}, QDir::Files);
    mState->decoded.resize(std::size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString stem = files[i].chopped(4);
        mState->names << stem;
        mState->waiting.emplace(stem, mState->decoded[std::size_t(i)].get_future());
    }
    // The thread touches only the names and the promises; QImage and the
    // resources may be read from any thread.
    mThread = std::thread([state = mState] {
        for (qsizetype i = 0; i < state->names.size(); ++i) {
            QImage image(path(state->form, state->names[i]));
            // Converted here rather than when the pixmap is made on the GUI
            // thread: the 256-colour pictures become the screen's format.
            image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
            state->decoded[std::size_t(i)].set_value(std::move(image));
        }
    });
    gPreload = mState.get();
}

Preload::~Preload()
{
    if (gPreload == mState.get())
        gPreload = nullptr;
    mThread.join();
}

QPixmap picture(const QString &form, const QString &name)
{
    initArtwork();
    if (gPreload && gPreload->form == form) {
        auto found = gPreload->waiting.find(name);
        if (found != gPreload->waiting.end()) {
            QImage image = found->second.get();
            gPreload->waiting.erase(found);
            return QPixmap::fromImage(std::move(image));
        }
    }
    return QPixmap(path(form, name));
}

QCursor handCursor()
{
    initArtwork();
    static const QCursor cursor(QPixmap(QStringLiteral(":/art/hand.png")), 6, 0);
    return cursor;
}

QIcon windowIcon()
{
    initArtwork();
    static const QIcon icon(QStringLiteral(":/art/icon.png"));
    return icon;
}

} // namespace assets
