// What the benchmarks share: the median of their timed rounds, and a full
// catalogue file to list.
#pragma once

#include <QByteArray>

#include <algorithm>
#include <vector>

namespace bench {

// The median of the rounds, as a double whatever the unit.
template <typename T>
double median(std::vector<T> rounds)
{
    std::sort(rounds.begin(), rounds.end());
    return double(rounds[rounds.size() / 2]);
}

// A catalogue file of the most records a catalogue holds (32,767), for the
// benchmarks that list a whole category: "Game 1", "Game 2", ..., every third
// one "- The Sequel".
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
