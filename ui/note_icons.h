#pragma once
// Icons drawn by the program: note values for the duration buttons and arrows for transposing.

#include <QIcon>

namespace fw {

// A note head with stem and flags for a duration letter W, H, Q, E, S, T or F.
QIcon NoteValueIcon(QChar letter, const QColor& ink);

// A left- or right-pointing arrow for the transpose buttons.
QIcon ArrowIcon(bool right, const QColor& ink);

} // namespace fw
