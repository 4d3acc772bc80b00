#include "tests/platform/chart/ChartTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace platform::chart;

namespace chart_test {

namespace {

void fill(Font &font, int k)
{
    font.setName(QStringLiteral("Serif %1").arg(k));
    font.setSize(7.25 + k);
    const bool bold = !font.bold();
    font.setBold(bold);
    font.setWeight(qint16((bold ? 800 : 300) + k)); // after Bold: a weight of its own
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikethrough(true);
    font.setCharset(qint16(k + 1));
}

void fill(Border &border, int k)
{
    border.setBorderType(BorderType::Bevel - (k % 3));
    border.setBorderWidth(3 + k);
}

void fill(Interior &interior, int k)
{
    interior.setBackground(0x102030 + k);
    interior.setForeground(0x80000000 | k); // a system colour
    interior.image().setFileName(QStringLiteral("/pictures/back %1.png").arg(k));
    interior.image().setFileImageLayout(ImageLayout::CropFitted - (k % 3));
}

void fill(TextBox &box, int k)
{
    box.setIsShowing(!box.isShowing());
    box.setText(QStringLiteral("Line \"%1\"\nsecond\ttab \\ back ñ €").arg(k));
    fill(box.font(), k);
    fill(box.border(), k);
    fill(box.interior(), k);
}

void fill(Axis &axis, int k)
{
    axis.setIsShowing(false);
    axis.setIsReversed(true);
    axis.setIsLogarithmic(true);
    axis.setIs100Percente(true);
    axis.setTitleText(QStringLiteral("Axis %1 = \"title\"").arg(k));
    axis.setTitleRotation(TitleRotation::Rotate315 - k);
    fill(axis.titleFont(), 10 + k);
    axis.setRotation(-37.5 + k);
    fill(axis.font(), 20 + k);
    axis.setLabelCategory(LabelCategory::Custom);
    axis.setLabelFormat(QStringLiteral("#,##0.0;(#,##0.0)"));
    axis.setAnnotationMethod(AnnotationMethod::DataLabels - k);
    axis.setLineStyle(LinePattern::DashDot - k);
    axis.setLineColor(-1);
    axis.setLineWidth(4 + k);
    axis.setGridStyle(LinePattern::LongShortLongDash - k);
    axis.setGridColor(0x00FF00 + k);
    axis.setGridWidth(5 + k);
    axis.setSpacing(0.1 + k);
    axis.setMin(-1e-300);
    axis.setMinAuto(false);
    axis.setMax(1.0 / 3.0 + k);
}

} // namespace

void fillData(Chart2DModel &model, int series, int points)
{
    fillData(model.group(), series, points);
}

void fillData(ChartGroup &group, int series, int points)
{
    group.data().setNumSeries(series);
    if (series > 0)
        group.data().setNumPoints(1, points);
    group.pointLabels().removeAll();
    group.seriesLabels().removeAll();
    for (int p = 1; p <= points; ++p)
        group.pointLabels().add(QStringLiteral("P%1").arg(p));
    for (int s = 1; s <= series; ++s) {
        group.seriesLabels().add(QStringLiteral("Series %1").arg(s));
        for (int p = 1; p <= points; ++p)
            group.data().setValue(s, p, 10 + 5 * s + 3 * ((p * 7 + s) % 5));
    }
}

void fillEverything(Chart2DModel &model)
{
    fill(model.header, 1);
    model.header.setAlignment(Alignment::Left);
    fill(model.footer, 2);
    model.footer.setAlignment(Alignment::Right);
    fill(model.legend, 3);
    model.legend.setOrientation(Orientation::Horizontal);
    model.legend.setAnchor(Anchor::SouthWest);
    fill(model.border, 4);
    fill(model.interior, 5);
    ChartArea &area = model.chartArea;
    area.setIsHorizontal(true);
    fill(area.border(), 6);
    area.areaBox().setIsBoxed(true);
    area.effect3D().setShading(Shading::Shadow);
    area.effect3D().setDepth(17);
    area.effect3D().setElevation(-30);
    area.effect3D().setRotation(-200);
    fill(area.axes().x(), 0);
    fill(area.axes().y(), 1);

    ChartGroup &group = model.group();
    group.setChartType(ChartType::Bubble);
    group.setIsStacked(true);
    fillData(model, 3, 4);
    group.data().setValue(1, 1, std::numeric_limits<double>::quiet_NaN());
    group.data().setValue(1, 2, std::numeric_limits<double>::infinity());
    group.data().setValue(2, 1, -1.0 / 7.0);
    group.data().setValue(3, 4, 1e300);
    group.pointLabels().setItem(2, QString()); // an empty label among the others
    group.seriesLabels().setItem(3, QStringLiteral("with = and \"quotes\""));
    for (int s = 1; s <= 5; ++s) { // more styles than series
        SeriesStyle &style = group.styles().item(s);
        style.line().setPattern(LinePattern::LongDash);
        style.line().setColor(0x010203 * s);
        style.line().setWidth(s);
        style.fill().setPattern(FillPattern::Cross);
        style.fill().interior().setBackground(0x111111 * s);
        style.fill().interior().setForeground(-1);
        style.image().setFileName(QStringLiteral("series%1.bmp").arg(s));
        style.image().setFileImageLayout(ImageLayout::Centered);
        style.symbol().setShape(SymbolShape::OpenInvertedTriangle);
        style.symbol().setColor(0x00ABCDEF);
        style.symbol().setSize(11 + s);
    }
}

void fillEverything(Chart3DModel &model)
{
    model.header.setIsShowing(false);
    model.header.setText(QStringLiteral("Sales \"3-D\"\nby region"));
    fill(model.header.font(), 5);
    model.view.setIsInteractive(false);
    model.view.setSelectionMode(3);
    model.view.setColorStyle(0);
    model.chartArea.axes().x().setTitleText(QStringLiteral("Columns ñ"));
    model.chartArea.axes().x().setAnnotationMethod(AnnotationMethod::DataLabels);
    model.chartArea.axes().y().setTitleText(QStringLiteral("Rows"));
    model.chartArea.axes().y().setAnnotationMethod(AnnotationMethod::PointLabels);
    ChartGroup3D &group = model.group();
    group.setChartType(2);
    for (int i = 1; i <= 2; ++i) {
        group.styles().item(i).setIsFilled(false);
        group.styles().item(i).setIsMeshed(false);
        group.styles().item(i).setShading(2);
    }
    ElevationData &data = group.elevation();
    data.setColumnCount(4);
    data.setRowCount(3);
    for (int r = 1; r <= 3; ++r) {
        data.rowLabels().add(QStringLiteral("Row %1").arg(r));
        for (int c = 1; c <= 4; ++c)
            data.setValue(r, c, r * 10.5 - c * c);
    }
    for (int c = 1; c <= 4; ++c)
        data.columnLabels().add(QStringLiteral("Col \"%1\"").arg(c));
    data.setValue(2, 2, std::numeric_limits<double>::quiet_NaN());
}

int pixelsUnlike(const QImage &image, const QColor &background)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - background.red()) + std::abs(qGreen(p) - background.green())
                    + std::abs(qBlue(p) - background.blue())
                > 48)
                ++count;
        }
    }
    return count;
}

bool hasColor(const QImage &image, const QColor &color, int tolerance)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - color.red()) <= tolerance
                && std::abs(qGreen(p) - color.green()) <= tolerance
                && std::abs(qBlue(p) - color.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}

} // namespace chart_test
