#pragma once

#include <QByteArray>
#include <QString>

namespace uninstaller {

// Removal at the next boot: a systemd-tmpfiles entry file in `directory` whose boot-only lines
// ("r! path") remove each scheduled path, the last one the entry file itself.
// /etc/tmpfiles.d for root, ~/.config/user-tmpfiles.d (read at the user's first login after a
// boot) for anyone else.
class BootRemoval
{
public:
    BootRemoval(const QString &directory, const QByteArray &productName);

    static QString defaultDirectory();

    // The entry file: "<directory>/hvun_<product, escaped>.conf".
    QString entryFile() const;

    // Adds a path (once); false when the entry file cannot be written or the path holds a
    // line break.
    bool schedule(const QByteArray &path);

    // A path as a tmpfiles field: in double quotes, a quote or backslash after a backslash,
    // "%" doubled as the specifier sign.
    static QByteArray escaped(const QByteArray &path);

private:
    QString m_directory;
    QByteArray m_product;
};

// The product name as a file name: letters, digits, "." "_" "-" kept, every other byte %HH.
QByteArray fileNameOf(const QByteArray &productName);

} // namespace uninstaller
