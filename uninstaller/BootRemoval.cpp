#include "uninstaller/BootRemoval.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace uninstaller {

QByteArray productFileName(const QByteArray &prefix, const QByteArray &productName,
                           const QByteArray &suffix)
{
    QByteArray name;
    for (char byte : productName) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
            || c == '_' || c == '-')
            name.append(byte);
        else
            name.append('%').append(QByteArray::number(c, 16).rightJustified(2, '0'));
    }
    if (prefix.size() + name.size() + suffix.size() > NAME_MAX)
        name = QCryptographicHash::hash(productName, QCryptographicHash::Sha256).toHex();
    return prefix + name + suffix;
}

BootRemoval::BootRemoval(const QString &directory, const QByteArray &productName)
    : m_directory(directory), m_product(productName)
{}

QString BootRemoval::defaultDirectory()
{
    if (::geteuid() == 0)
        return QStringLiteral("/etc/tmpfiles.d");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/user-tmpfiles.d");
}

QString BootRemoval::entryFile() const
{
    return m_directory + QLatin1Char('/')
           + QString::fromLatin1(productFileName("hvun_", m_product, ".conf"));
}

QByteArray BootRemoval::escaped(const QByteArray &path)
{
    QByteArray out("\"");
    for (char byte : path) {
        if (byte && std::strchr("\\*?[]{}", byte))
            out.append("\\\\"); // the pattern's backslash, itself quoted
        if (byte == '%')
            out.append("%%");
        else if (byte == '"' || byte == '\\')
            out.append('\\').append(byte);
        else
            out.append(byte);
    }
    return out.append('"');
}

bool BootRemoval::canSchedule(const QByteArray &path)
{
    // tmpfiles ends a line at CR as well as at LF.
    return !path.isEmpty() && !path.contains('\n') && !path.contains('\r') && !path.contains('\0');
}

bool BootRemoval::schedule(const QByteArray &path)
{
    if (!canSchedule(path))
        return false;
    const QString entry = entryFile();
    const QByteArray line = "r! " + escaped(path);
    const QByteArray selfLine = "r! " + escaped(QFile::encodeName(entry));
    QList<QByteArray> lines;
    QFile existing(entry);
    if (existing.exists() && !existing.open(QIODevice::ReadOnly))
        return false; // an entry file that cannot be read is never replaced
    if (existing.isOpen())
        for (const QByteArray &old : existing.readAll().split('\n'))
            if (!old.isEmpty() && old != selfLine)
                lines.append(old);
    if (!lines.contains(line))
        lines.append(line);
    lines.append(selfLine);
    if (!QDir().mkpath(m_directory))
        return false;
    QSaveFile file(entry);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("# Left over by an uninstallation: removed at the next boot.\n");
    for (const QByteArray &each : lines)
        if (!each.startsWith('#'))
            file.write(each + '\n');
    return file.commit();
}

} // namespace uninstaller
