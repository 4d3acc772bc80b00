#include "uninstaller/BootRemoval.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <unistd.h>

namespace uninstaller {

QByteArray fileNameOf(const QByteArray &productName)
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
    return name;
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
    return m_directory + QStringLiteral("/hvun_") + QString::fromLatin1(fileNameOf(m_product))
           + QStringLiteral(".conf");
}

QByteArray BootRemoval::escaped(const QByteArray &path)
{
    QByteArray out("\"");
    for (char byte : path) {
        if (byte == '%')
            out.append("%%");
        else if (byte == '"' || byte == '\\')
            out.append('\\').append(byte);
        else
            out.append(byte);
    }
    return out.append('"');
}

bool BootRemoval::schedule(const QByteArray &path)
{
    if (path.contains('\n') || path.contains('\0'))
        return false; // a line of the entry file cannot hold it
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
