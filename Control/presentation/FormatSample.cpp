// The format dialog's sample grid: a fixed layout painted from the dialog's members the way the
// control paints its data grid, so that every choice shows at once.
#include "Control/core/ControlState.h"
#include "Control/core/ErrorTrap.h"
#include "Control/presentation/FormatDialog.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/Numbers.h"
#include "platform/widgets/TabStrip.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>

using platform::forms::FontObject;
using platform::grid::CellSetting;
namespace runtime = platform::runtime;

namespace {

// A colour of a cell's own: 0 there means "the grid's colour", so black is written as 1.
int cellColor(int color)
{
    return color == 0 ? 1 : color;
}

// A sample text as a number by the system's conventions; a text that is none counts as 0.
double sampleValue(const QString &text)
{
    return pelmora::valueOr([&text] { return runtime::toDouble(text); }, 0.0);
}

} // namespace

double pelmora::thresholdNumber(const QString &text)
{
    const QString decimal = QLocale().decimalPoint();
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (decimal.size() == 1 && c == decimal.front())
            plain += u'.';
        else if (c == u'.')
            break; // a thousands separator ends the number
        else
            plain += c;
    }
    // Only a number beyond the Double range fails; the boxes accept no such text.
    return valueOr([&plain] { return runtime::val(plain); }, 0.0);
}

void frmFormato::creaDatos()
{
    const int lastRow = fg->rows() - 1;
    const int lastCol = fg->cols() - 1;
    for (int r = 1; r <= lastRow; ++r)
        fg->setTextMatrix(r, 0, QStringLiteral("Y") + QString::number(r));
    for (int c = 1; c <= lastCol; ++c)
        fg->setTextMatrix(0, c, QStringLiteral("X") + QString::number(c));
    QRandomGenerator &random = *QRandomGenerator::global();
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c)
            fg->setTextMatrix(r, c, runtime::singleText(float(random.generateDouble() * 10000)));
    }
    fg->setTextMatrix(3, 2, runtime::singleText(-runtime::toDouble(fg->textMatrix(3, 2))));
    fg->setTextMatrix(4, 1, QStringLiteral("0"));
}

void frmFormato::paintFont(int row1, int col1, int row2, int col2, FontObject &font)
{
    fg->setCell(CellSetting::FontBold, row1, col1, row2, col2, font.bold());
    fg->setCell(CellSetting::FontItalic, row1, col1, row2, col2, font.italic());
    fg->setCell(CellSetting::FontName, row1, col1, row2, col2, font.name());
    fg->setCell(CellSetting::FontSize, row1, col1, row2, col2, font.size());
    fg->setCell(CellSetting::FontStrikethrough, row1, col1, row2, col2, font.strikethrough());
    fg->setCell(CellSetting::FontUnderline, row1, col1, row2, col2, font.underline());
}

void frmFormato::actualizaFormato()
{
    platform::grid::FlexGrid &g = *fg;
    const int lastRow = g.rows() - 1;
    const int lastCol = g.cols() - 1;
    g.setAppearance(vAppearance);
    g.setBackColorFixed(vBackColor);
    g.setForeColorFixed(vForeColor);
    g.setGridColorFixed(vGridColor);
    g.setCell(CellSetting::BackColor, 1, 1, lastRow, lastCol, cellColor(vBackColorData));
    g.setCell(CellSetting::ForeColor, 1, 1, lastRow, lastCol, cellColor(vForeColorData));
    g.setGridColor(vGridColorData);
    g.setFont(titleFont().toQFont());
    paintFont(1, 1, lastRow, lastCol, pelmora::fontOf(vFontData));
    for (int c = 1; c <= lastCol; ++c)
        g.setColFormat(c, vDataFormat);
    g.setGridLines(vGridLinesData);
    g.setGridLinesFixed(vGridLines);
    g.setGridLineWidth(vGridLinesWidth);
    if (vFormatSubtotal) {
        paintFont(1, 1, 1, lastCol, pelmora::fontOf(vFontDataSubtotal));
        paintFont(1, 0, 1, 0, pelmora::fontOf(vFontSubtotal));
        g.setCell(CellSetting::BackColor, 1, 1, 1, lastCol, cellColor(vBackColorDataSubtotal));
        g.setCell(CellSetting::ForeColor, 1, 1, 1, lastCol, cellColor(vForeColorDataSubtotal));
        g.setCell(CellSetting::BackColor, 1, 0, cellColor(vBackColorSubtotal));
        g.setCell(CellSetting::ForeColor, 1, 0, cellColor(vForeColorSubtotal));
    }
    switch (vValueType) {
    case 2:
        chkVN->setChecked(false);
        TabOne3->setCurrentTab(1);
        for (int k = 0; k < 6; ++k)
            cmdSemaforo[size_t(k)]->setChecked(thresholdOn(k));
        for (int k = 0; k < 6; ++k) {
            if (thresholdOn(k))
                actualizaSemaforo(k);
        }
        break;
    case 1:
        chkVN->setChecked(false);
        TabOne3->setCurrentTab(0);
        for (int k = 0; k < 6; ++k)
            cmdPN[size_t(k)]->setChecked(thresholdOn(k));
        for (int k = 0; k < 6; ++k) {
            if (thresholdOn(k))
                actualizaPN(k);
        }
        break;
    case 0:
        chkVN->setChecked(true);
        break;
    default:
        break;
    }
    g.autoSize(0, lastCol);
    g.refresh();
}

template <typename Test>
void frmFormato::paintSlot(int k, Test &&test)
{
    const CellSetting setting = k < 3 ? CellSetting::BackColor : CellSetting::ForeColor;
    const int color = cellColor(thresholdColor(k));
    for (int r = 1; r < fg->rows(); ++r) {
        for (int c = 1; c < fg->cols(); ++c) {
            if (test(sampleValue(fg->textMatrix(r, c))))
                fg->setCell(setting, r, c, color);
        }
    }
}

void frmFormato::actualizaPN(int &k)
{
    switch (k % 3) {
    case 0:
        paintSlot(k, [](double v) { return v < 0; });
        break;
    case 1:
        paintSlot(k, [](double v) { return v == 0; });
        break;
    default:
        paintSlot(k, [](double v) { return v > 0; });
        break;
    }
}

void frmFormato::actualizaSemaforo(int &k)
{
    // The bounds are read from the boxes as the format action reads them back.
    const double min = pelmora::thresholdNumber(txtVal[0]->text());
    const double max = pelmora::thresholdNumber(txtVal[1]->text());
    switch (k % 3) {
    case 0:
        paintSlot(k, [min](double v) { return v <= min; });
        break;
    case 1:
        paintSlot(k, [min, max](double v) { return min < v && v < max; });
        break;
    default:
        paintSlot(k, [max](double v) { return v >= max; });
        break;
    }
}
