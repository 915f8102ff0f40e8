// A catalogue file of the most records a catalogue holds (32,767), for the
// benchmarks that list a whole category: "Game 1", "Game 2", ..., every third
// one "- The Sequel".
#pragma once

#include <QByteArray>

namespace bench {

constexpr int kRecords = 32767;

inline QByteArray fullCatalogue()
{
    QByteArray data;
    data.reserve(kRecords * 69);
    for (int n = 1; n <= kRecords; ++n) {
        QByteArray name = "Game " + QByteArray::number(n);
        if (n % 3 == 0)
            name += " - The Sequel";
        data += name.leftJustified(36, ' ', true) + QByteArray("GAME").leftJustified(8)
                + QByteArray("GO.EXE").leftJustified(12) + QByteArray().leftJustified(12) + QByteArray("0");
    }
    return data;
}

} // namespace bench
