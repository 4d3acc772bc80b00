#include "platform/widgets/CommonDialog.h"

#include "platform/forms/Modal.h"
#include "platform/runtime/Error.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

namespace platform::widgets {

QString CommonDialog::cancelDescription()
{
    return QStringLiteral("Cancel was selected.");
}

CommonDialog::CommonDialog(QWidget *owner) : QObject(owner), m_owner(owner) {}

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        patterns = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        patterns = patterns.simplified();
        if (patterns.isEmpty())
            patterns = QStringLiteral("*");
        // "HTML (*.htm)" already shows its patterns; anything else gets them appended, since
        // the file dialog takes the patterns from the last parentheses.
        const QString shown = QStringLiteral("(") + patterns + QStringLiteral(")");
        if (description.endsWith(shown))
            result.append(description);
        else if (description.isEmpty())
            result.append(patterns + QLatin1Char(' ') + shown);
        else
            result.append(description + QLatin1Char(' ') + shown);
    }
    return result;
}

void CommonDialog::showOpen()
{
    show(false);
}

void CommonDialog::showSave()
{
    show(true);
}

void CommonDialog::show(bool save)
{
    QFileDialog dialog(m_owner);
    dialog.setObjectName(save ? QStringLiteral("saveFileDialog")
                              : QStringLiteral("openFileDialog"));
    // The widget-based dialog runs in-process, so it can be scripted and behaves the same on
    // every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(m_dialogTitle);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    const QStringList filters = nameFilters(m_filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (m_filterIndex >= 1 && m_filterIndex <= filters.size())
            dialog.selectNameFilter(filters[m_filterIndex - 1]);
    }
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);

    const bool accepted = forms::showModal(dialog) == QDialog::Accepted;
    const QStringList files = accepted ? dialog.selectedFiles() : QStringList();
    if (files.isEmpty() || files.first().isEmpty()) {
        cancelled();
        return;
    }
    m_fileName = files.first();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        m_filterIndex = int(chosen) + 1;
}

void CommonDialog::cancelled() const
{
    if (m_cancelError)
        throw platform::Error(cancelDescription());
}

void CommonDialog::showColor()
{
    QColorDialog dialog(m_owner);
    dialog.setObjectName(QStringLiteral("colorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(m_dialogTitle);
    const quint32 bits = quint32(m_color);
    dialog.setCurrentColor((bits & 0xFF000000u) == 0 ? QColor(
                               int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF))
                                                     : QColor(Qt::white));
    if (forms::showModal(dialog) != QDialog::Accepted) {
        cancelled();
        return;
    }
    QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        chosen = dialog.currentColor();
    m_color = qint32(quint32(chosen.red()) | (quint32(chosen.green()) << 8)
                     | (quint32(chosen.blue()) << 16));
}

void CommonDialog::showFont()
{
    QFontDialog dialog(m_owner);
    dialog.setObjectName(QStringLiteral("fontDialog"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle(m_dialogTitle);
    QFont shown = m_font.name.isEmpty() ? dialog.currentFont() : QFont(m_font.name);
    if (m_font.size > 0)
        shown.setPointSizeF(m_font.size);
    shown.setBold(m_font.bold);
    shown.setItalic(m_font.italic);
    shown.setUnderline(m_font.underline);
    shown.setStrikeOut(m_font.strikethrough);
    dialog.setCurrentFont(shown);
    if (forms::showModal(dialog) != QDialog::Accepted) {
        cancelled();
        return;
    }
    // The dialog keeps its choice on OK; a dialog closed by other means has only its current
    // font.
    QFont chosen = dialog.selectedFont();
    if (chosen.family().isEmpty())
        chosen = dialog.currentFont();
    m_font.name = chosen.family();
    if (chosen.pointSizeF() > 0)
        m_font.size = float(chosen.pointSizeF());
    m_font.bold = chosen.weight() >= QFont::DemiBold;
    m_font.italic = chosen.italic();
    m_font.underline = chosen.underline();
    m_font.strikethrough = chosen.strikeOut();
}

} // namespace platform::widgets
