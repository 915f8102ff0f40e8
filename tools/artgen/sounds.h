// The two sound cues, synthesised: 22 050 Hz, 16-bit mono PCM.
#pragma once

#include <QString>

namespace artgen {

// Writes ROLLOVER.WAV and BUTCLICK.WAV into `folder`; false on a write error.
bool writeSounds(const QString &folder);

} // namespace artgen
