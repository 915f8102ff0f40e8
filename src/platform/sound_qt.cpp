// The sound player on POSIX, a module of its own: Qt Multimedia and the sound
// system's libraries behind it (PulseAudio, codecs, Kerberos, ...) are some
// twenty libraries whose loading would otherwise come before the first window.
// The platform layer loads this module once the program runs (see
// prepareSound in shell_posix.cpp) and calls quorvia_sound_play from the GUI
// thread, and quorvia_sound_stop before the system's beep.
#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

namespace {

QPointer<QSoundEffect> player;

QSoundEffect *soundPlayer()
{
    if (!player) {
        player = new QSoundEffect(QCoreApplication::instance());
        // A file that turns out to be unplayable once loaded gives the beep.
        QObject::connect(player, &QSoundEffect::statusChanged, player, [] {
            if (player && player->status() == QSoundEffect::Error)
                QApplication::beep();
        });
    }
    return player;
}

} // namespace

// Plays the wave file at the host path `path` (UTF-8) without waiting,
// cutting off the sound that is playing. The caller has checked the file.
extern "C" __attribute__((visibility("default"))) void quorvia_sound_play(const char *path)
{
    // Without a sound device there is nothing to play, and the player would
    // only warn on standard error at every button.
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    QSoundEffect *player = soundPlayer();
    player->stop();
    player->setSource(QUrl::fromLocalFile(QString::fromUtf8(path)));
    player->play();
}

// Stops the sound that is playing, if any.
extern "C" __attribute__((visibility("default"))) void quorvia_sound_stop()
{
    if (player)
        player->stop();
}
