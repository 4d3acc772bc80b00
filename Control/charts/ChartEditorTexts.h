#pragma once

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

// The chart format editor's texts. It is designed with Spanish captions and English list items:
// language 0 puts English captions over the Spanish ones, any other language refills the lists
// with Spanish items, each at the position of the English item it translates.
namespace pelmora::charteditor {

// A control's caption; `control` is its name, with the index in brackets for an element of a
// control array ("chkIsShowing(1)").
struct Caption
{
    const char *control;
    const char16_t *spanish; // as designed
    const char16_t *english;
};
std::span<const Caption> captions();

// One list's items in both languages, the lists in the order they are refilled for Spanish.
struct ListItems
{
    QString control;
    QStringList english; // as designed
    QStringList spanish;
};
const std::vector<ListItems> &lists();

inline const QString dialogCaptionSpanish = QStringLiteral("Formato gráfica 2D");
inline const QString dialogCaptionEnglish = QStringLiteral("Format 2D Chart");
inline const QString tabsSpanish = QStringLiteral(
    "&Gráfica|&Título|&Pie|&Leyenda|Eje &X|Eje &Y|&Estilo|&Series|&Datos|&Movimientos");
inline const QString tabsEnglish = QStringLiteral(
    "&Chart|&Header|&Footer|&Legend|&X Axis|&Y Axis|S&tyle|&Series|&Data|&Movements");
// The 3-D effect list: designed in Spanish, replaced by English for language 0 only.
inline const QStringList effect3DSpanish = {QStringLiteral("Color"), QStringLiteral("Sombra"),
                                            QStringLiteral("Ninguno")};
inline const QStringList effect3DEnglish = {QStringLiteral("Color"), QStringLiteral("Shadow"),
                                            QStringLiteral("None")};

} // namespace pelmora::charteditor
