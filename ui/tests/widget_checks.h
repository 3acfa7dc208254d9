#pragma once
// Checks shared by the window tests.

#include <QString>

#include <string>

class QWidget;

namespace fw::test {

// Describes every label or button of `window` whose text does not fit its place, or that
// lies outside the window; empty when everything fits.
std::string CutOffTexts(const QWidget& window);

// Saves a picture of `window` as `name`.png in the build folder's shell_shots folder, for
// people to look at; what the window must look like is checked by the tests themselves. Returns
// false when it cannot be written.
bool SaveShot(QWidget& window, const QString& name);

// The number of different colours in a grid of every fourth pixel of `widget`'s picture: a
// drawn picture has many, a plain fill or an empty widget a few.
int SampledColours(QWidget& widget);

} // namespace fw::test
