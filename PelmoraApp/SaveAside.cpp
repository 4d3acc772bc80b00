#include "PelmoraApp/SaveAside.h"

#include "Control/core/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace pelmoraapp {

QStringList viewFileSet(const QString &viewFile)
{
    QStringList files = {viewFile, pelmora::changeExtension(viewFile, QStringLiteral(".oc2")),
                         pelmora::changeExtension(viewFile, QStringLiteral(".oc3"))};
    files.removeDuplicates();
    return files;
}

namespace {

// A name beside `file` that nothing uses yet.
QString asideName(const QString &file)
{
    for (;;) {
        const QString candidate = file + QStringLiteral(".old-")
                                  + QString::number(QRandomGenerator::global()->generate(), 36);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

SaveAside::~SaveAside()
{
    restore();
}

bool SaveAside::moveAside(const QStringList &files)
{
    for (const QString &file : files) {
        if (!QFileInfo::exists(file))
            continue;
        const QString temporary = asideName(file);
        if (!QFile::rename(file, temporary)) {
            restore();
            return false;
        }
        m_aside.append({file, temporary});
    }
    return true;
}

void SaveAside::discard()
{
    for (const auto &[original, temporary] : m_aside)
        QFile::remove(temporary);
    m_aside.clear();
}

bool SaveAside::restore()
{
    bool restored = true;
    QList<QPair<QString, QString>> left;
    for (const auto &[original, temporary] : m_aside) {
        if (QFileInfo::exists(original))
            QFile::remove(original);
        if (!QFile::rename(temporary, original)) {
            restored = false;
            left.append({original, temporary});
        }
    }
    m_aside = left;
    return restored;
}

} // namespace pelmoraapp
