#include "sounds.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace artgen {

namespace {

constexpr int kRate = 22050;
constexpr double kPeak = 0.5;   // -6 dBFS

// Scales to the peak and fades both ends so that neither starts nor stops
// with a step.
std::vector<qint16> finish(std::vector<double> s, double fadeInMs, double fadeOutMs)
{
    const size_t in = size_t(kRate * fadeInMs / 1000), out = size_t(kRate * fadeOutMs / 1000);
    for (size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= double(i) / in;
    for (size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= double(i) / out;
    double peak = 0;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    std::vector<qint16> pcm;
    pcm.reserve(s.size());
    for (double v : s)
        pcm.push_back(qint16(std::lround(v / peak * kPeak * 32767)));
    return pcm;
}

std::vector<qint16> rollover()
{
    // 40 ms: a high sine with a fast exponential decay and a touch of its
    // octave for brightness.
    const int n = kRate * 40 / 1000;
    std::vector<double> s(n);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        s[i] = std::exp(-t / 0.007) *
               (std::sin(2 * std::numbers::pi * 2600 * t) + 0.25 * std::sin(2 * std::numbers::pi * 5200 * t));
    }
    return finish(std::move(s), 0.6, 6);
}

std::vector<qint16> buttonClick()
{
    // 65 ms: a short noise burst over a lower, damped body of two sines.
    const int n = kRate * 65 / 1000;
    std::vector<double> s(n);
    quint32 seed = 0x2545f491u;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        seed = seed * 1664525u + 1013904223u;
        const double white = (seed >> 8) / double(1 << 24) * 2 - 1;
        const double body = std::exp(-t / 0.014) *
                            (std::sin(2 * std::numbers::pi * 900 * t) + 0.5 * std::sin(2 * std::numbers::pi * 1450 * t));
        s[i] = body + 1.2 * std::exp(-t / 0.0018) * white;
    }
    return finish(std::move(s), 0.3, 10);
}

bool writeWav(const QString &path, const std::vector<qint16> &pcm)
{
    QByteArray data;
    auto u32 = [&](quint32 v) { v = qToLittleEndian(v); data.append(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](quint16 v) { v = qToLittleEndian(v); data.append(reinterpret_cast<const char *>(&v), 2); };
    const quint32 bytes = quint32(pcm.size() * 2);
    data.append("RIFF");
    u32(36 + bytes);
    data.append("WAVEfmt ");
    u32(16);
    u16(1);          // PCM
    u16(1);          // mono
    u32(kRate);
    u32(kRate * 2);  // bytes per second
    u16(2);          // block align
    u16(16);         // bits per sample
    data.append("data");
    u32(bytes);
    for (qint16 v : pcm)
        u16(quint16(v));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

} // namespace

bool writeSounds(const QString &folder)
{
    const QDir dir(folder);
    return writeWav(dir.filePath(QStringLiteral("ROLLOVER.WAV")), rollover()) &&
           writeWav(dir.filePath(QStringLiteral("BUTCLICK.WAV")), buttonClick());
}

} // namespace artgen
