#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform::widgets {

// The common dialog's open and save file dialogs. The caller sets the title, the filter and
// the file name, shows one dialog, and reads the chosen file name and filter back. The
// dispatch ids of the common dialog stand beside the members that serve them.
//
// The dialogs run through platform::forms::showModal, so tests can script them.
class CommonDialog : public QObject
{
    Q_OBJECT

public:
    // The error description of a cancelled dialog when cancelError() is set.
    static QString cancelDescription();

    // `owner` parents and centres the dialogs; it may be null.
    explicit CommonDialog(QWidget *owner = nullptr);

    QString fileName() const { return m_fileName; } // 1
    void setFileName(const QString &name) { m_fileName = name; }

    QString dialogTitle() const { return m_dialogTitle; } // 2
    void setDialogTitle(const QString &title) { m_dialogTitle = title; }

    // "description|patterns|description|patterns...", patterns separated by ";".
    QString filter() const { return m_filter; } // 3
    void setFilter(const QString &filter) { m_filter = filter; }

    // Whether cancelling a dialog throws platform::Error(cancelDescription()).
    bool cancelError() const { return m_cancelError; } // 18
    void setCancelError(bool on) { m_cancelError = on; }

    // The filter chosen, counted from 1; set before a dialog to preselect one.
    int filterIndex() const { return m_filterIndex; } // 23
    void setFilterIndex(int index) { m_filterIndex = index; }

    // Ask for an existing file to open, or for a file name to save under. On OK fileName()
    // and filterIndex() hold the choice; on Cancel they keep their values. A save dialog does
    // not ask before naming an existing file: the caller decides what to do with it.
    void showOpen(); // 30
    void showSave(); // 31

    // The filter as the file dialog lists it: one "description (patterns)" per choice.
    static QStringList nameFilters(const QString &filter);

private:
    void show(bool save);

    QPointer<QWidget> m_owner;
    QString m_fileName;
    QString m_dialogTitle;
    QString m_filter;
    bool m_cancelError = false;
    int m_filterIndex = 1;
};

} // namespace platform::widgets
