#pragma once

#include "platform/forms/FontAttributes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform::widgets {

// The common dialog's open, save, colour and font dialogs. The caller sets the title and what
// the dialog is to show (filter and file name, colour, font), shows one dialog, and reads the
// choice back; a dialog left without a choice hands back the values it was given. The dispatch
// ids of the common dialog stand beside the members that serve them.
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

    // A 32-bit colour value, 0x00BBGGRR: the colour the colour dialog shows, then the one
    // chosen. A system or other negative value shows as white and stays when cancelled.
    qint32 color() const { return m_color; } // 6
    void setColor(qint32 color) { m_color = color; }
    // Kept for the caller (the chart editor gives 3 to the colour and font dialogs); the
    // dialogs look the same whatever it holds.
    qint32 flags() const { return m_flags; } // 7
    void setFlags(qint32 flags) { m_flags = flags; }

    // The font the font dialog shows, then the one chosen.
    QString fontName() const { return m_font.name; } // 8
    void setFontName(const QString &name) { m_font.name = name; }
    bool fontBold() const { return m_font.bold; } // 9
    void setFontBold(bool on) { m_font.bold = on; }
    bool fontItalic() const { return m_font.italic; } // 10
    void setFontItalic(bool on) { m_font.italic = on; }
    bool fontStrikethrough() const { return m_font.strikethrough; } // 11
    void setFontStrikethrough(bool on) { m_font.strikethrough = on; }
    bool fontUnderline() const { return m_font.underline; } // 12
    void setFontUnderline(bool on) { m_font.underline = on; }
    float fontSize() const { return float(m_font.size); } // 25, points
    void setFontSize(float size) { m_font.size = size; }

    // Ask for a colour or a font. On Cancel the members keep their values, and cancelError()
    // throws as for the file dialogs.
    void showColor(); // 32
    void showFont();  // 33

    // The filter as the file dialog lists it: one "description (patterns)" per choice.
    static QStringList nameFilters(const QString &filter);

private:
    void show(bool save);
    void cancelled() const;

    QPointer<QWidget> m_owner;
    QString m_fileName;
    QString m_dialogTitle;
    QString m_filter;
    bool m_cancelError = false;
    int m_filterIndex = 1;
    qint32 m_color = 0;
    qint32 m_flags = 0;
    // Name, size, bold, italic, underline and strikethrough; the dialog keeps no weight or
    // character set of its own.
    forms::FontAttributes m_font{false, 0, false, QString(), 8.25f, false, false, 400};
};

} // namespace platform::widgets
