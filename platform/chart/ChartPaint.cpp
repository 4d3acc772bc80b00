#include "platform/chart/ChartPaint.h"

#include "platform/chart/Picture.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Numbers.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPolygonF>

#include <cmath>

namespace platform::chart {

QColor toColor(qint32 value, const QColor &automatic)
{
    const quint32 bits = quint32(value);
    if ((bits & 0xFFFFFF00u) == 0x80000000u) {
        // The system colours by their index, from the application's palette.
        const QPalette palette = QApplication::palette();
        switch (bits & 0xFF) {
        case 1:  // desktop
        case 12: // application workspace
            return palette.color(QPalette::Dark);
        case 2:  // active caption
        case 13: // highlight
            return palette.color(QPalette::Highlight);
        case 5: // window
            return palette.color(QPalette::Base);
        case 6:  // window frame
        case 21: // 3-D dark shadow
            return palette.color(QPalette::Shadow);
        case 7: // menu text
        case 8: // window text
        case 9: // caption text
            return palette.color(QPalette::WindowText);
        case 14: // highlighted text
            return palette.color(QPalette::HighlightedText);
        case 4:  // menu
        case 15: // button face
            return palette.color(QPalette::Button);
        case 16: // button shadow
            return palette.color(QPalette::Mid);
        case 17: // grey text
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18: // button text
            return palette.color(QPalette::ButtonText);
        case 20: // button highlight
        case 22: // 3-D light
            return palette.color(QPalette::Light);
        case 23: // tooltip text
            return palette.color(QPalette::ToolTipText);
        case 24: // tooltip background
            return palette.color(QPalette::ToolTipBase);
        default:
            return palette.color(QPalette::Window);
        }
    }
    if (value < 0 || (bits & 0xFF000000u) != 0)
        return automatic;
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 colorValue(const QColor &color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8)
                  | (quint32(color.blue()) << 16));
}

QFont toQFont(const Font &font)
{
    QFont result(font.name());
    result.setPointSizeF(font.size());
    result.setWeight(QFont::Weight(qBound(1, int(font.weight() ? font.weight() : 400), 1000)));
    result.setItalic(font.italic());
    result.setUnderline(font.underline());
    result.setStrikeOut(font.strikethrough());
    return result;
}

QPen linePen(qint32 pattern, const QColor &color, qint32 width)
{
    if (pattern == LinePattern::None)
        return QPen(Qt::NoPen);
    QPen pen(color, qMax(1, width));
    pen.setCapStyle(Qt::FlatCap);
    switch (pattern) {
    case LinePattern::LongDash:
        pen.setDashPattern({8, 4});
        break;
    case LinePattern::Dotted:
        pen.setStyle(Qt::DotLine);
        break;
    case LinePattern::ShortDash:
        pen.setDashPattern({3, 3});
        break;
    case LinePattern::LongShortLongDash:
        pen.setDashPattern({8, 3, 3, 3});
        break;
    case LinePattern::DashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    default:
        break;
    }
    return pen;
}

namespace {

// An 8x8 tile of a fill pattern.
QImage patternTile(qint32 pattern, const QColor &foreground, const QColor &background)
{
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    tile.fill(background);
    QPainter painter(&tile);
    auto qtPattern = [&](Qt::BrushStyle style) {
        painter.fillRect(tile.rect(), QBrush(foreground, style));
    };
    QPen thick(foreground, 2.5);
    switch (pattern) {
    case FillPattern::Percent25:
        qtPattern(Qt::Dense5Pattern);
        break;
    case FillPattern::Percent50:
        qtPattern(Qt::Dense4Pattern);
        break;
    case FillPattern::Percent75:
        qtPattern(Qt::Dense3Pattern);
        break;
    case FillPattern::HorizontalStripe:
        painter.fillRect(0, 0, 8, 3, foreground);
        break;
    case FillPattern::VerticalStripe:
        painter.fillRect(0, 0, 3, 8, foreground);
        break;
    case FillPattern::Stripe45:
    case FillPattern::Stripe135:
    case FillPattern::DiagonalHatched: {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(thick);
        const bool up = pattern != FillPattern::Stripe135;
        const bool down = pattern != FillPattern::Stripe45;
        for (int k = -8; k <= 8; k += 8) {
            if (up)
                painter.drawLine(QPointF(k - 1, 9), QPointF(k + 9, -1));
            if (down)
                painter.drawLine(QPointF(k - 1, -1), QPointF(k + 9, 9));
        }
        break;
    }
    case FillPattern::CrossHatched:
        painter.fillRect(0, 0, 8, 2, foreground);
        painter.fillRect(0, 0, 2, 8, foreground);
        break;
    case FillPattern::DiagonalBackward:
        qtPattern(Qt::BDiagPattern);
        break;
    case FillPattern::DiagonalForward:
        qtPattern(Qt::FDiagPattern);
        break;
    case FillPattern::Horizontal:
        qtPattern(Qt::HorPattern);
        break;
    case FillPattern::Vertical:
        qtPattern(Qt::VerPattern);
        break;
    case FillPattern::Cross:
        qtPattern(Qt::CrossPattern);
        break;
    case FillPattern::DiagonalCross:
        qtPattern(Qt::DiagCrossPattern);
        break;
    default:
        break;
    }
    return tile;
}

struct CachedPicture
{
    QDateTime modified;
    qint64 size = -1;
    QImage image;
};

} // namespace

QBrush fillBrush(const FillStyle &fill, const QColor &automatic)
{
    if (fill.pattern() == FillPattern::None)
        return QBrush(Qt::NoBrush);
    const QImage picture = loadPicture(fill.interior().image().fileName());
    if (!picture.isNull())
        return QBrush(picture);
    const QColor background = toColor(fill.interior().background(), automatic);
    if (fill.pattern() == FillPattern::Solid)
        return QBrush(background);
    const QColor foreground = toColor(fill.interior().foreground(), Qt::black);
    return QBrush(patternTile(fill.pattern(), foreground, background));
}

QImage loadPicture(const QString &fileName)
{
    if (fileName.isEmpty())
        return {};
    static QHash<QString, CachedPicture> cache;
    const QFileInfo info(fileName);
    if (!info.isFile()) {
        cache.remove(fileName);
        return {};
    }
    auto found = cache.constFind(fileName);
    if (found != cache.constEnd() && found->modified == info.lastModified()
        && found->size == info.size())
        return found->image;
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        image = readMetafile(fileName);
    if (cache.size() > 32)
        cache.clear();
    cache.insert(fileName, CachedPicture{info.lastModified(), info.size(), image});
    return image;
}

void paintImage(QPainter &painter, const QRect &rect, const QImage &image, qint32 layout)
{
    if (image.isNull() || rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize natural = image.size();
    auto centred = [&](const QSize &size) {
        return QRect(rect.x() + (rect.width() - size.width()) / 2,
                     rect.y() + (rect.height() - size.height()) / 2, size.width(), size.height());
    };
    switch (layout) {
    case ImageLayout::Centered:
        painter.drawImage(centred(natural), image);
        break;
    case ImageLayout::Tiled:
        painter.setBrushOrigin(rect.topLeft());
        painter.fillRect(rect, QBrush(image));
        break;
    case ImageLayout::Fitted:
        painter.drawImage(centred(natural.scaled(rect.size(), Qt::KeepAspectRatio)), image);
        break;
    case ImageLayout::StretchedToWidth:
        painter.drawImage(centred(QSize(rect.width(), qMax(1, natural.height() * rect.width()
                                                                  / qMax(1, natural.width())))),
                          image);
        break;
    case ImageLayout::StretchedToHeight:
        painter.drawImage(
            centred(QSize(qMax(1, natural.width() * rect.height() / qMax(1, natural.height())),
                          rect.height())),
            image);
        break;
    case ImageLayout::CropFitted:
        painter.drawImage(centred(natural.scaled(rect.size(), Qt::KeepAspectRatioByExpanding)),
                          image);
        break;
    default: // Stretched
        painter.drawImage(rect, image);
        break;
    }
    painter.restore();
}

void paintInterior(QPainter &painter, const QRect &rect, const Interior &interior,
                   const QColor &automatic)
{
    const QColor background = toColor(interior.background(), automatic);
    if (background.alpha() > 0)
        painter.fillRect(rect, background);
    paintImage(painter, rect, loadPicture(interior.image().fileName()),
               interior.image().fileImageLayout());
}

int borderExtent(const Border &border)
{
    const int w = border.borderWidth();
    switch (border.borderType()) {
    case BorderType::None:
        return 0;
    case BorderType::ThreeDOut:
    case BorderType::ThreeDIn:
    case BorderType::Plain:
        return w;
    case BorderType::FrameIn:
    case BorderType::FrameOut:
        return w + 2;
    default: // shadow, etched, bevel: two bands
        return 2 * w;
    }
}

void paintBorder(QPainter &painter, const QRect &rect, const Border &border)
{
    const int w = border.borderWidth();
    if (border.borderType() == BorderType::None || w <= 0 || rect.isEmpty())
        return;
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    const QColor black(0, 0, 0);
    // A band of width `width` just inside `r`, lit from the top left when `raised`.
    auto band = [&](const QRect &r, int width, bool raised, const QColor &top,
                    const QColor &bottom) {
        const QColor a = raised ? top : bottom;
        const QColor b = raised ? bottom : top;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), width), a);
        painter.fillRect(QRect(r.left(), r.top(), width, r.height()), a);
        painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), b);
        painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), b);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    switch (border.borderType()) {
    case BorderType::ThreeDOut:
        band(rect, w, true, light, dark);
        break;
    case BorderType::ThreeDIn:
        band(rect, w, false, light, dark);
        break;
    case BorderType::Shadow: {
        const QRect box = rect.adjusted(0, 0, -w, -w);
        band(box, w, true, black, black);
        painter.fillRect(QRect(box.left() + w, box.bottom() + 1, box.width(), w), dark);
        painter.fillRect(QRect(box.right() + 1, box.top() + w, w, box.height()), dark);
        break;
    }
    case BorderType::Plain:
        band(rect, w, true, black, black);
        break;
    case BorderType::EtchedIn:
        band(rect, w, false, light, dark);
        band(rect.adjusted(w, w, -w, -w), w, true, light, dark);
        break;
    case BorderType::EtchedOut:
        band(rect, w, true, light, dark);
        band(rect.adjusted(w, w, -w, -w), w, false, light, dark);
        break;
    case BorderType::FrameIn:
    case BorderType::FrameOut: {
        const bool out = border.borderType() == BorderType::FrameOut;
        band(rect, 1, out, light, dark);
        const QRect inner = rect.adjusted(w + 1, w + 1, -w - 1, -w - 1);
        band(inner, 1, !out, light, dark);
        break;
    }
    case BorderType::Bevel:
        band(rect, w, true, light, dark);
        band(rect.adjusted(w, w, -w, -w), w, true, QColor(224, 224, 224), QColor(96, 96, 96));
        break;
    default:
        break;
    }
    painter.restore();
}

namespace {

QPolygonF regular(const QPointF &c, double r, int points, double startDegrees)
{
    QPolygonF polygon;
    for (int i = 0; i < points; ++i) {
        const double a = (startDegrees + 360.0 * i / points) * M_PI / 180.0;
        polygon << QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
    }
    return polygon;
}

void drawShape(QPainter &painter, const QRectF &box, qint32 shape, const QColor &color,
               const QImage &picture)
{
    const QPointF c = box.center();
    const double r = box.width() / 2;
    const QPen outline(color, qMax(1.0, r / 4));
    painter.setRenderHint(QPainter::Antialiasing);
    auto filled = [&](const QPolygonF &polygon) {
        painter.setPen(QPen(color.darker(130), 1));
        painter.setBrush(color);
        painter.drawPolygon(polygon);
    };
    auto open = [&](const QPolygonF &polygon) {
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(polygon);
    };
    switch (shape) {
    case SymbolShape::Dot:
        painter.setPen(QPen(color.darker(130), 1));
        painter.setBrush(color);
        painter.drawEllipse(c, r * 0.9, r * 0.9);
        break;
    case SymbolShape::Box:
        filled(QPolygonF(box.adjusted(1, 1, -1, -1)));
        break;
    case SymbolShape::Triangle:
        filled(regular(c, r, 3, 90));
        break;
    case SymbolShape::Diamond:
        filled(regular(c, r, 4, 90));
        break;
    case SymbolShape::Star: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double a = (90 + 36.0 * i) * M_PI / 180.0;
            const double radius = i % 2 ? r * 0.45 : r;
            star << QPointF(c.x() + radius * std::cos(a), c.y() - radius * std::sin(a));
        }
        filled(star);
        break;
    }
    case SymbolShape::VerticalLine:
        painter.setPen(outline);
        painter.drawLine(QPointF(c.x(), box.top()), QPointF(c.x(), box.bottom()));
        break;
    case SymbolShape::HorizontalLine:
        painter.setPen(outline);
        painter.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
        break;
    case SymbolShape::Cross:
        painter.setPen(outline);
        painter.drawLine(QPointF(c.x(), box.top()), QPointF(c.x(), box.bottom()));
        painter.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
        break;
    case SymbolShape::Circle:
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, r * 0.8, r * 0.8);
        break;
    case SymbolShape::Square:
        open(QPolygonF(box.adjusted(r / 4, r / 4, -r / 4, -r / 4)));
        break;
    case SymbolShape::InvertedTriangle:
        filled(regular(c, r, 3, -90));
        break;
    case SymbolShape::DiagonalCross:
        painter.setPen(outline);
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.bottomLeft(), box.topRight());
        break;
    case SymbolShape::OpenTriangle:
        open(regular(c, r * 0.85, 3, 90));
        break;
    case SymbolShape::OpenDiamond:
        open(regular(c, r * 0.85, 4, 90));
        break;
    case SymbolShape::OpenInvertedTriangle:
        open(regular(c, r * 0.85, 3, -90));
        break;
    case SymbolShape::Image:
        if (!picture.isNull()) {
            paintImage(painter, box.toAlignedRect(), picture, ImageLayout::Fitted);
        } else {
            filled(QPolygonF(box.adjusted(1, 1, -1, -1)));
        }
        break;
    default:
        break;
    }
}

} // namespace

QImage symbolImage(const SymbolStyle &symbol, const QImage &picture, int size)
{
    if (symbol.shape() == SymbolShape::None)
        return {};
    const int side = qMax(2, size > 0 ? size : symbol.size());
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawShape(painter, QRectF(0.5, 0.5, side - 1, side - 1), symbol.shape(),
              toColor(symbol.color(), Qt::black), picture);
    return image;
}

void paintSymbol(QPainter &painter, const QPointF &centre, const SymbolStyle &symbol,
                 const QImage &picture)
{
    if (symbol.shape() == SymbolShape::None || symbol.size() <= 0)
        return;
    const double side = qMax(2, symbol.size());
    painter.save();
    drawShape(painter, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
              symbol.shape(), toColor(symbol.color(), Qt::black), picture);
    painter.restore();
}

namespace {

QString fractionText(double value)
{
    const double magnitude = std::fabs(value);
    double whole = std::floor(magnitude);
    const double part = magnitude - whole;
    long numerator = 0;
    int denominator = 1;
    double bestError = 2;
    for (int d = 1; d <= 16; ++d) {
        const long n = std::lround(part * d);
        const double error = std::fabs(part - double(n) / d);
        if (error < bestError - 1e-12) {
            bestError = error;
            numerator = n;
            denominator = d;
        }
    }
    if (numerator == denominator) {
        whole += 1;
        numerator = 0;
    }
    QString text;
    if (whole > 0 || numerator == 0)
        text = QLocale().toString(whole, 'f', 0);
    if (numerator > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral(" "))
                + QStringLiteral("%1/%2").arg(numerator).arg(denominator);
    if (value < 0 && (whole > 0 || numerator > 0))
        text.prepend(QLatin1Char('-'));
    return text;
}

} // namespace

QString valueLabel(double value, const Axis &axis)
{
    if (!std::isfinite(value))
        return {};
    // Tick values are sums of steps: round away the binary noise before writing them.
    if (std::fabs(value) < 1e-12)
        value = 0;
    switch (axis.labelCategory()) {
    case LabelCategory::Number:
        return runtime::format(value, QStringLiteral("#,##0.00"));
    case LabelCategory::Currency:
        return runtime::format(value, QStringLiteral("Currency"));
    case LabelCategory::Accounting: {
        QString sign = QLocale().currencySymbol(QLocale::CurrencySymbol);
        sign.replace(QLatin1Char('"'), QString());
        const QString quoted = QLatin1Char('"') + sign + QLatin1Char('"');
        return runtime::format(value, quoted + QStringLiteral("#,##0.00;(") + quoted
                                          + QStringLiteral("#,##0.00)"));
    }
    case LabelCategory::Percentage:
        return runtime::format(value, QStringLiteral("0%"));
    case LabelCategory::Fraction:
        return fractionText(value);
    case LabelCategory::Scientific:
        return runtime::format(value, QStringLiteral("0.00E+00"));
    case LabelCategory::Custom:
        if (!axis.labelFormat().isEmpty())
            return runtime::format(value, axis.labelFormat());
        break;
    default:
        break;
    }
    return runtime::numberText(value);
}

} // namespace platform::chart
