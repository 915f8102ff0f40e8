// Catalogue fixtures: raw records and a drive that maps to a temporary folder.
#pragma once

#include "platform/drives.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace fixture {

// A field's bytes as given, filled up to its width with spaces.
inline QByteArray pad(QByteArray bytes, int width)
{
    Q_ASSERT(bytes.size() <= width);
    return bytes + QByteArray(width - bytes.size(), ' ');
}

// One 69-byte record from the raw bytes of its fields.
inline QByteArray record(const QByteArray &name, const QByteArray &folder = "GAME",
                         const QByteArray &program = "GO.EXE", const QByteArray &parameters = "",
                         const QByteArray &flag = "")
{
    return pad(name, 36) + pad(folder, 8) + pad(program, 12) + pad(parameters, 12) + pad(flag, 1);
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Maps the drive letter to the folder, so DOS paths on that drive reach it.
inline void mapDrive(char letter, const QString &folder)
{
    qputenv("QUORVIA_DRIVES", (QString(QLatin1Char(letter)) + u'=' + folder).toUtf8());
    platform::reloadDrives();
}

} // namespace fixture
