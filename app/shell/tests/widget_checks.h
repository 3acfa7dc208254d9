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
// people to look at. Returns false when it cannot be written.
bool SaveShot(QWidget& window, const QString& name);

} // namespace fw::test
