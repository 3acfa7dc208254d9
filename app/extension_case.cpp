#include "extension_case.h"

#include <QFileInfo>
#include <QStringList>

namespace fw {

namespace {

int ExtensionDot(const QString& path) {
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) ? dot : -1;
}

bool IsFile(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace

QString ChangeFileExt(const QString& path, const QString& extension) {
    const int dot = ExtensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

QString ExistingFileAnyExtensionCase(const QString& path) {
    if (IsFile(path))
        return path;
    const int dot = ExtensionDot(path);
    if (dot < 0)
        return {};
    const QString stem = path.left(dot + 1);
    const QString extension = path.mid(dot + 1);
    QStringList tried = {path, stem + extension.toUpper()};
    if (IsFile(tried.back()))
        return tried.back();
    // Every other mix of cases; an extension of more than a few letters is not worth 2^n tries.
    const qsizetype letters = extension.size();
    if (letters > 5)
        return {};
    for (int mask = 0; mask < (1 << letters); ++mask) {
        QString mixed = extension;
        for (qsizetype i = 0; i < letters; ++i)
            mixed[i] = (mask >> i) & 1 ? mixed[i].toUpper() : mixed[i].toLower();
        const QString candidate = stem + mixed;
        if (tried.contains(candidate))
            continue;
        tried << candidate;
        if (IsFile(candidate))
            return candidate;
    }
    return {};
}

} // namespace fw
