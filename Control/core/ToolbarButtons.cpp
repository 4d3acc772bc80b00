#include "Control/core/ToolbarButtons.h"

#include "platform/widgets/ThemeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace pelmora {

const QList<ToolbarItem> &toolbarItems()
{
    static const QList<ToolbarItem> items = {
        {QStringLiteral("openOlap"), QStringLiteral("Abrir conexión a un cubo cubo"), 1},
        {QStringLiteral("saveView"), QStringLiteral("Guarda la vista actual"), 2},
        {QString(), QString(), 0},
        {QStringLiteral("printView"), QStringLiteral("Imprimir"), 3},
        {QStringLiteral("exportView"), QStringLiteral("Exportar"), 4},
        {QStringLiteral("copyView"), QStringLiteral("Copiar"), 5},
        {QString(), QString(), 0},
        {QStringLiteral("directMDX"), QStringLiteral("Pantalla de SQL directo"), 6},
        {QStringLiteral("showElements"), QStringLiteral("Muestra o esconde elementos de la forma"),
         7},
        {QStringLiteral("showChart2d"), QStringLiteral("Muestra gráfica 2d"), 8},
        {QStringLiteral("showChart3d"), QStringLiteral("Muestra gráfica 2d"), 9},
        {QString(), QString(), 0},
        {QStringLiteral("doSwapXY"), QStringLiteral("Rota el cubo en su eje"), 10},
        {QStringLiteral("showLayout"), QStringLiteral("Cambia el layout del cubo"), 11},
        {QStringLiteral("dimensionOptions"), QStringLiteral("Cambia opciones de dimensiones"), 12},
        {QString(), QString(), 0},
        {QStringLiteral("doFormat"), QStringLiteral("Formato del cubo"), 13},
        {QString(), QString(), 0},
        {QStringLiteral("aboutBox"), QStringLiteral("Muestra la ventana Acerca de.."), 14},
    };
    return items;
}

const QList<int> &cubeButtonItems()
{
    static const QList<int> items = {2, 4, 5, 6, 8, 9, 10, 11, 13, 14, 15, 17, 3, 7, 12, 16, 18};
    return items;
}

const QList<int> &layoutButtonItems()
{
    static const QList<int> items = {13, 14, 15, 17};
    return items;
}

namespace {

// Theme names for each picture, best first.
QStringList themeNames(int image)
{
    switch (image) {
    case 1:
        return {QStringLiteral("document-open")};
    case 2:
        return {QStringLiteral("document-save")};
    case 3:
        return {QStringLiteral("document-print")};
    case 4:
        return {QStringLiteral("document-send"), QStringLiteral("document-export")};
    case 5:
        return {QStringLiteral("edit-copy")};
    case 6:
        return {QStringLiteral("utilities-terminal"), QStringLiteral("text-x-script")};
    case 7:
        return {QStringLiteral("preferences-system-windows"), QStringLiteral("view-restore")};
    // Themes without chart icons (Adwaita) get the drawn charts.
    case 8:
        return {QStringLiteral("office-chart-bar")};
    case 9:
        return {QStringLiteral("office-chart-area")};
    case 10:
        return {QStringLiteral("object-rotate-right")};
    case 11:
        return {QStringLiteral("view-grid"), QStringLiteral("view-grid-symbolic")};
    case 12:
        return {QStringLiteral("preferences-system")};
    case 13:
        return {QStringLiteral("preferences-desktop-font"), QStringLiteral("format-text-bold")};
    case 14:
        return {QStringLiteral("help-about")};
    default:
        return {};
    }
}

void drawSheet(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 1.5));
    for (qreal y = r.top() + 5; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void drawArrow(QPainter &p, QPointF from, QPointF to, const QColor &color)
{
    p.setPen(QPen(color, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing1 = line;
    wing1.setLength(7);
    wing1.setAngle(line.angle() + 35);
    QLineF wing2 = line;
    wing2.setLength(7);
    wing2.setAngle(line.angle() - 35);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

void drawPicture(QPainter &p, int image)
{
    const QColor outline(70, 70, 70);
    p.setPen(QPen(outline, 1.5));
    switch (image) {
    case 1: { // a folder
        QPainterPath folder;
        folder.moveTo(3, 9);
        folder.lineTo(12, 9);
        folder.lineTo(15, 12);
        folder.lineTo(29, 12);
        folder.lineTo(29, 27);
        folder.lineTo(3, 27);
        folder.closeSubpath();
        p.setBrush(QColor(240, 190, 70));
        p.drawPath(folder);
        break;
    }
    case 2: // a diskette
        p.setBrush(QColor(60, 100, 180));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case 3: // a printer
        drawSheet(p, QRectF(9, 3, 14, 10));
        p.setBrush(QColor(160, 160, 160));
        p.setPen(QPen(outline, 1.5));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        drawSheet(p, QRectF(9, 20, 14, 9));
        break;
    case 4: // a sheet sent away
        drawSheet(p, QRectF(4, 6, 16, 21));
        drawArrow(p, QPointF(14, 17), QPointF(29, 17), QColor(40, 150, 60));
        break;
    case 5: // two sheets
        drawSheet(p, QRectF(4, 3, 15, 19));
        drawSheet(p, QRectF(13, 10, 15, 19));
        break;
    case 6: { // a terminal
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(QRectF(3, 5, 26, 22), 2, 2);
        p.setPen(QPen(QColor(120, 230, 120), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPolyline(QPolygonF({QPointF(8, 11), QPointF(13, 16), QPointF(8, 21)}));
        p.drawLine(QPointF(15, 22), QPointF(23, 22));
        break;
    }
    case 7: // a window with its parts
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 4, 26, 24));
        p.setBrush(QColor(60, 100, 180));
        p.drawRect(QRectF(3, 4, 26, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(6, 12, 20, 4));
        p.drawRect(QRectF(6, 19, 20, 6));
        break;
    case 8: // a bar chart
        p.drawLine(QPointF(4, 28), QPointF(28, 28));
        p.setBrush(QColor(60, 100, 180));
        p.drawRect(QRectF(6, 16, 5, 12));
        p.setBrush(QColor(220, 80, 60));
        p.drawRect(QRectF(13, 8, 5, 20));
        p.setBrush(QColor(70, 170, 80));
        p.drawRect(QRectF(20, 12, 5, 16));
        break;
    case 9: { // bars with depth
        const QList<QPair<qreal, qreal>> bars = {{5, 14}, {13, 6}, {21, 11}};
        const QList<QColor> colours = {QColor(60, 100, 180), QColor(220, 80, 60),
                                       QColor(70, 170, 80)};
        for (int i = 0; i < bars.size(); ++i) {
            const qreal x = bars[i].first;
            const qreal top = bars[i].second;
            p.setBrush(colours[i].darker(130));
            p.drawPolygon(QPolygonF({QPointF(x + 5, top), QPointF(x + 8, top - 3),
                                     QPointF(x + 8, 25), QPointF(x + 5, 28)}));
            p.setBrush(colours[i]);
            p.drawRect(QRectF(x, top, 5, 28 - top));
        }
        break;
    }
    case 10: // the axes swapped
        drawArrow(p, QPointF(6, 8), QPointF(26, 8), QColor(60, 100, 180));
        drawArrow(p, QPointF(8, 6), QPointF(8, 27), QColor(220, 80, 60));
        break;
    case 11: // a layout of four blocks
        p.setBrush(QColor(60, 100, 180));
        p.drawRect(QRectF(4, 4, 11, 11));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(17, 4, 11, 11));
        p.drawRect(QRectF(4, 17, 11, 11));
        p.setBrush(QColor(70, 170, 80));
        p.drawRect(QRectF(17, 17, 11, 11));
        break;
    case 12: // sliders
        for (int i = 0; i < 3; ++i) {
            const qreal y = 7 + i * 9;
            p.setPen(QPen(outline, 2));
            p.drawLine(QPointF(4, y), QPointF(28, y));
            p.setBrush(QColor(240, 190, 70));
            p.setPen(QPen(outline, 1.5));
            p.drawEllipse(QPointF(8 + i * 8, y), 3.5, 3.5);
        }
        break;
    case 13: { // a letter with a colour bar
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(20);
        p.setFont(font);
        p.setPen(outline);
        p.drawText(QRectF(4, 1, 24, 22), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 80, 60));
        p.drawRect(QRectF(5, 24, 22, 5));
        break;
    }
    case 14: { // information
        p.setBrush(QColor(60, 100, 180));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(16, 9.5));
        p.drawLine(QPointF(16, 14.5), QPointF(16, 23));
        break;
    }
    default:
        break;
    }
}

} // namespace

QIcon drawnToolbarImage(int image)
{
    if (image < 1 || image > toolbarImageCount)
        return QIcon();
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPicture(painter, image);
    painter.end();
    return QIcon(pixmap);
}

QIcon toolbarImage(int image)
{
    return platform::widgets::themeIcon(themeNames(image), drawnToolbarImage(image));
}

} // namespace pelmora
