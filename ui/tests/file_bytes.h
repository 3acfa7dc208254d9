#pragma once
// Reading back, byte for byte, the files a test's code wrote.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace fw::test {

// The whole file; empty when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace fw::test
