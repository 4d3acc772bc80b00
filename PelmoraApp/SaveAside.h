#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Replacing a saved view without losing it: the old view file and its two chart format files
// are moved aside under temporary names in their folder before the new view is written, then
// deleted when the write succeeded or put back when it failed.
namespace pelmoraapp {

// The view file and the chart format files written beside it (".oc2", ".oc3"), as the
// control's writer names them; each named once.
QStringList viewFileSet(const QString &viewFile);

class SaveAside
{
public:
    SaveAside() = default;
    // Puts back whatever is still aside.
    ~SaveAside();
    SaveAside(const SaveAside &) = delete;
    SaveAside &operator=(const SaveAside &) = delete;

    // Moves aside those of `files` that exist. When one cannot be moved, those already moved
    // are put back and the answer is false.
    bool moveAside(const QStringList &files);
    // The new files are in place: the old ones go.
    void discard();
    // The new files failed: whatever the failed write left is removed and the old files return.
    // Answers false when one of them cannot be put back (it then stays under its temporary
    // name, see aside()).
    bool restore();

    // Original name and temporary name of each file moved aside.
    const QList<QPair<QString, QString>> &aside() const { return m_aside; }

private:
    QList<QPair<QString, QString>> m_aside;
};

} // namespace pelmoraapp
