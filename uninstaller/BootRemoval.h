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

    // The entry file: "<directory>/hvun_<product>.conf", the product as productFileName gives.
    QString entryFile() const;

    // Adds a path (once); false when the entry file cannot be written or the path cannot be
    // written as a line that matches it alone (it holds a line break or a NUL).
    bool schedule(const QByteArray &path);

    // A path as a tmpfiles field that matches exactly that path: tmpfiles takes the field as
    // a glob pattern (with braces), so each pattern byte and backslash gets a pattern escape;
    // then the field is quoted: a quote or backslash after a backslash, "%" doubled as the
    // specifier sign.
    static QByteArray escaped(const QByteArray &path);
    static bool canSchedule(const QByteArray &path);

private:
    QString m_directory;
    QByteArray m_product;
};

// `prefix` + the product name + `suffix` as one file name: letters, digits, "." "_" "-" kept,
// every other byte %HH; where that passes the file system's limit on a name, the product
// name's SHA-256 in hex stands in its place.
QByteArray productFileName(const QByteArray &prefix, const QByteArray &productName,
                           const QByteArray &suffix);

} // namespace uninstaller
