#include "palette.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numeric>

namespace artgen {

int colourDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

namespace {

struct Entry {
    double c[3];
    double w;
};

constexpr double kChannelWeight[3] = {3.0, 4.0, 2.0};

struct Box {
    int begin, end;    // range in the entry array
    double sse;        // weighted squared error around the mean
    int axis;          // channel with the largest spread
};

Box makeBox(const std::vector<Entry> &e, int begin, int end)
{
    double sw = 0, s[3] = {0, 0, 0}, s2[3] = {0, 0, 0};
    for (int i = begin; i < end; ++i)
        for (int k = 0; k < 3; ++k) {
            s[k] += e[i].w * e[i].c[k];
            s2[k] += e[i].w * e[i].c[k] * e[i].c[k];
            if (k == 0)
                sw += e[i].w;
        }
    Box box{begin, end, 0, 0};
    double best = -1;
    for (int k = 0; k < 3; ++k) {
        const double var = (s2[k] - s[k] * s[k] / sw) * kChannelWeight[k];
        box.sse += var;
        if (var > best) {
            best = var;
            box.axis = k;
        }
    }
    if (end - begin < 2)
        box.sse = 0;
    return box;
}

QRgb mean(const std::vector<Entry> &e, int begin, int end)
{
    double sw = 0, s[3] = {0, 0, 0};
    for (int i = begin; i < end; ++i) {
        sw += e[i].w;
        for (int k = 0; k < 3; ++k)
            s[k] += e[i].w * e[i].c[k];
    }
    return qRgb(qRound(s[0] / sw), qRound(s[1] / sw), qRound(s[2] / sw));
}

} // namespace

Palette buildPalette(const QList<QImage> &images, const Palette &reserved, int size)
{
    QHash<QRgb, int> counts;
    for (const QImage &source : images) {
        const QImage image = source.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                ++counts[line[x] | 0xff000000u];
        }
    }
    Palette palette;
    for (QRgb c : reserved)
        if (!palette.contains(c | 0xff000000u))
            palette.append(c | 0xff000000u);

    // Rare colours (word edges, small details) get more say than their pixel
    // count alone would give them.
    std::vector<Entry> entries;
    entries.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (!palette.contains(it.key()))
            entries.push_back({{double(qRed(it.key())), double(qGreen(it.key())), double(qBlue(it.key()))},
                               std::sqrt(double(it.value()))});
    // QHash iterates in an order seeded anew in each process: sorting the
    // colours makes every build draw the same pictures.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return std::lexicographical_compare(a.c, a.c + 3, b.c, b.c + 3);
    });
    const int free = size - int(palette.size());
    if (entries.empty() || free <= 0)
        return palette;
    if (int(entries.size()) <= free) {
        for (const Entry &e : entries)
            palette.append(qRgb(int(e.c[0]), int(e.c[1]), int(e.c[2])));
        return palette;
    }

    std::vector<Box> boxes{makeBox(entries, 0, int(entries.size()))};
    while (int(boxes.size()) < free) {
        auto it = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box &a, const Box &b) { return a.sse < b.sse; });
        if (it->sse <= 0)
            break;
        const Box box = *it;
        const int k = box.axis;
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [k](const Entry &a, const Entry &b) { return a.c[k] < b.c[k]; });
        double total = 0;
        for (int i = box.begin; i < box.end; ++i)
            total += entries[i].w;
        double acc = 0;
        int split = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            acc += entries[i].w;
            split = i + 1;
            if (acc >= total / 2)
                break;
        }
        *it = makeBox(entries, box.begin, split);
        boxes.push_back(makeBox(entries, split, box.end));
    }

    // Refine the free colours with a few k-means passes; reserved ones stay.
    const int fixed = int(palette.size());
    for (const Box &b : boxes)
        palette.append(mean(entries, b.begin, b.end));
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (const Entry &e : entries) {
            const QRgb c = qRgb(int(e.c[0]), int(e.c[1]), int(e.c[2]));
            int best = 0, bestD = INT_MAX;
            for (int i = 0; i < palette.size(); ++i) {
                const int d = colourDistance(c, palette[i]);
                if (d < bestD) {
                    bestD = d;
                    best = i;
                }
            }
            for (int k = 0; k < 3; ++k)
                sums[best][k] += e.w * e.c[k];
            sums[best][3] += e.w;
        }
        for (int i = fixed; i < palette.size(); ++i)
            if (sums[i][3] > 0)
                palette[i] = qRgb(qRound(sums[i][0] / sums[i][3]), qRound(sums[i][1] / sums[i][3]),
                                  qRound(sums[i][2] / sums[i][3]));
    }
    // Duplicates waste entries but do no harm; keep the table at its size.
    return palette;
}

Quantiser::Quantiser(Palette palette) : mPalette(std::move(palette)) {}

int Quantiser::nearest(QRgb colour)
{
    colour |= 0xff000000u;
    auto it = mCache.constFind(colour);
    if (it != mCache.constEnd())
        return *it;
    int best = 0, bestD = INT_MAX;
    for (int i = 0; i < mPalette.size(); ++i) {
        const int d = colourDistance(colour, mPalette[i]);
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    mCache.insert(colour, best);
    return best;
}

QImage Quantiser::quantise(const QImage &source, const QImage &ditherMask)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(mPalette);
    // Floyd-Steinberg error of the current and the next row.
    std::vector<std::array<float, 3>> err(size_t(w + 2) * 2, {0, 0, 0});
    auto errAt = [&](int row, int x) -> std::array<float, 3> & { return err[size_t(row & 1) * (w + 2) + x + 1]; };
    auto masked = [&](int x, int y) {
        return !ditherMask.isNull() && x >= 0 && x < w && y < h && ditherMask.constScanLine(y)[x] != 0;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = -1; x <= w; ++x)
            errAt(y + 1, x) = {0, 0, 0};
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < w; ++x) {
            if (!masked(x, y)) {
                dst[x] = uchar(nearest(line[x]));
                continue;
            }
            const auto &e = errAt(y, x);
            const float want[3] = {qRed(line[x]) + e[0], qGreen(line[x]) + e[1], qBlue(line[x]) + e[2]};
            const QRgb c = qRgb(qBound(0, int(std::lround(want[0])), 255), qBound(0, int(std::lround(want[1])), 255),
                                qBound(0, int(std::lround(want[2])), 255));
            const int index = nearest(c);
            dst[x] = uchar(index);
            const QRgb got = mPalette[index];
            const float diff[3] = {want[0] - qRed(got), want[1] - qGreen(got), want[2] - qBlue(got)};
            auto spread = [&](int row, int dx, float f) {
                if (!masked(x + dx, row))
                    return;
                auto &t = errAt(row, x + dx);
                for (int k = 0; k < 3; ++k)
                    t[k] += std::clamp(diff[k], -24.f, 24.f) * f;
            };
            spread(y, 1, 7 / 16.f);
            spread(y + 1, -1, 3 / 16.f);
            spread(y + 1, 0, 5 / 16.f);
            spread(y + 1, 1, 1 / 16.f);
        }
    }
    return out;
}

QImage Quantiser::quantiseOver(const QImage &full, const QImage &baseFull, const QImage &baseIndexed)
{
    const QImage image = full.convertToFormat(QImage::Format_RGB32);
    const QImage base = baseFull.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_Indexed8);
    out.setColorTable(mPalette);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(base.constScanLine(y));
        const uchar *bi = baseIndexed.constScanLine(y);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            dst[x] = (a[x] | 0xff000000u) == (b[x] | 0xff000000u) ? bi[x] : uchar(nearest(a[x]));
    }
    return out;
}

} // namespace artgen
