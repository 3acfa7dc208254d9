#pragma once
// The program's version as the windows show it.

#include <QString>

namespace fw {

// "1.0": the project version the program was built with.
inline QString ProgramVersion() {
    return QStringLiteral(FRETWICK_VERSION);
}

} // namespace fw
