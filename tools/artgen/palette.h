// Colour reduction: one 256-colour palette per window, built from all of the
// window's full-colour pictures, and the mapping of pictures onto it.
#pragma once

#include <QHash>
#include <QImage>
#include <QList>

namespace artgen {

using Palette = QList<QRgb>;

// A palette of at most `size` opaque colours for the given images: the
// reserved colours first (kept exactly), then colours found by weighted
// median cut and a few k-means passes over the images' pixels.
Palette buildPalette(const QList<QImage> &images, const Palette &reserved, int size = 256);

// Maps colours to their nearest palette entry (with a cache).
class Quantiser {
public:
    explicit Quantiser(Palette palette);

    const Palette &palette() const { return mPalette; }
    int nearest(QRgb colour);

    // The image as Indexed8 on the palette. Pixels where `ditherMask` (same
    // size, Grayscale8) is non-zero are error-diffused among themselves;
    // every other pixel takes its nearest colour.
    QImage quantise(const QImage &image, const QImage &ditherMask = QImage());

    // A picture that lies on a base already quantised: every pixel whose
    // full colour equals the base's keeps the base's index, so the picture
    // and the base agree exactly wherever they show the same thing.
    QImage quantiseOver(const QImage &full, const QImage &baseFull, const QImage &baseIndexed);

private:
    Palette mPalette;
    QHash<QRgb, int> mCache;
};

// Squared colour distance with a rough perceptual weighting.
int colourDistance(QRgb a, QRgb b);

} // namespace artgen
