// Texts cross into the platform layer as UTF-8 standard strings.
#pragma once

#include <QString>
#include <string>

inline std::string toStd(const QString &text) { return text.toStdString(); }
inline QString fromStd(const std::string &text) { return QString::fromStdString(text); }
