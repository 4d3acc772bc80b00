#pragma once

// A 2-D chart look with every stored setting away from its default, for a chart or a model.
#include "Control/settings/StoredDefaults.h"
#include "platform/chart/ChartModel.h"

#include <QString>

namespace testing_support {

inline void changeFont(platform::chart::Font &font, const QString &name, double size, bool bold,
                       qint16 weight, qint16 charset)
{
    font.setName(name);
    font.setSize(size);
    font.setBold(bold);
    font.setItalic(!bold);
    font.setUnderline(true);
    font.setStrikethrough(bold);
    font.setWeight(weight);
    font.setCharset(charset);
}

inline void changeChart(const pelmora::defaults::Chart2DParts &m)
{
    using namespace platform::chart;
    m.border.setBorderType(BorderType::Bevel);
    m.border.setBorderWidth(3);
    m.chartGroups.item(1).setIsStacked(true);
    m.chartGroups.item(1).setChartType(ChartType::Bar);
    m.chartArea.setIsHorizontal(true);
    m.interior.image().setFileImageLayout(ImageLayout::Stretched);
    m.interior.image().setFileName(QStringLiteral("/pictures/back ground.png"));
    m.interior.setBackground(0xFF0000);
    m.interior.setForeground(qint32(0x8000000F));
    m.chartArea.effect3D().setShading(Shading::Shadow);
    m.chartArea.effect3D().setDepth(20);
    m.chartArea.effect3D().setElevation(-30);
    m.chartArea.effect3D().setRotation(-300);
    m.chartArea.areaBox().setIsBoxed(true);
    m.chartArea.border().setBorderType(BorderType::EtchedIn);
    m.chartArea.border().setBorderWidth(2);

    int n = 0;
    for (Title *t : {&m.footer, &m.header}) {
        ++n;
        t->border().setBorderType(BorderType::Shadow + n);
        t->border().setBorderWidth(4 + n);
        t->setAlignment(n == 1 ? Alignment::Left : Alignment::Right);
        t->setIsShowing(false);
        t->interior().image().setFileImageLayout(ImageLayout::Centered);
        t->interior().image().setFileName(QStringLiteral("title%1.jpg").arg(n));
        t->interior().setBackground(0x00FF00 + n);
        t->interior().setForeground(qint32(0x80000012));
        changeFont(t->font(), QStringLiteral("Serif %1").arg(n), 12.25, true, 800, 2);
    }
    m.footer.setText(QStringLiteral("Footer   text"));
    m.header.setText(QString(600, u'h')); // far longer than 255 bytes

    m.legend.border().setBorderType(BorderType::Plain);
    m.legend.border().setBorderWidth(7);
    m.legend.setIsShowing(false);
    m.legend.setOrientation(Orientation::Horizontal);
    m.legend.interior().image().setFileImageLayout(ImageLayout::CropFitted);
    m.legend.interior().image().setFileName(QStringLiteral("legend.bmp"));
    m.legend.interior().setBackground(0x123456);
    m.legend.interior().setForeground(0x654321);
    m.legend.setText(QStringLiteral("Series"));
    m.legend.setAnchor(Anchor::SouthWest);
    changeFont(m.legend.font(), QStringLiteral("Mono"), 9.5, false, 300, 1);

    Axis &x = m.chartArea.axes().item(1);
    x.setIsShowing(false);
    x.setIsReversed(true);
    x.setLineStyle(LinePattern::Dotted);
    x.setGridStyle(LinePattern::LongDash);
    x.setLineColor(0xFF0000);
    x.setGridColor(qint32(0x80000005));
    x.setSpacing(2.5);
    x.setLineWidth(3);
    x.setGridWidth(2);
    x.setRotation(-45.5);
    changeFont(x.font(), QStringLiteral("X labels"), 7, true, 700, 0);
    changeFont(x.titleFont(), QStringLiteral("X title"), 14.5, false, 100, 3);

    Axis &y = m.chartArea.axes().item(2);
    y.setIsShowing(false);
    y.setIsLogarithmic(true);
    y.setIs100Percente(true);
    y.setIsReversed(true);
    y.setLabelFormat(QStringLiteral("#,##0.00"));
    y.setLabelCategory(LabelCategory::Currency);
    y.setLineStyle(LinePattern::DashDot);
    y.setGridStyle(LinePattern::Solid);
    y.setTitleRotation(TitleRotation::Rotate270);
    y.setLineColor(0x0000FF);
    y.setGridColor(0x00FFFF);
    y.setSpacing(1250.125);
    y.setLineWidth(4);
    y.setGridWidth(5);
    y.setRotation(90);
    changeFont(y.font(), QStringLiteral("Y labels"), 8.75, false, 500, 4);
    changeFont(y.titleFont(), QStringLiteral("Y title"), 16, true, 900, 5);
}

inline void changeChart(platform::chart::Chart2DModel &model)
{
    changeChart(pelmora::defaults::Chart2DParts::of(model));
}

} // namespace testing_support
