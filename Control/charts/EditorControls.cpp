#include "Control/charts/EditorControls.h"

#include "Control/charts/frmGrf2D.h"

#include "platform/chart/ChartModel.h"
#include "platform/chart/ChartPaint.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <QComboBox>
#include <QFont>
#include <QLocale>
#include <QLabel>
#include <QPalette>
#include <QVariant>

#include <charconv>
#include <string>

namespace pelmora::charteditor {

std::optional<double> fieldNumber(const QString &text)
{
    QString compact;
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            compact += c;
    }
    if (compact.startsWith(u'&') && compact.size() > 2) {
        const QChar kind = compact.at(1).toUpper();
        const QChar first = compact.at(2);
        const bool digit = kind == u'H' ? QStringLiteral("0123456789abcdefABCDEF").contains(first)
                                        : kind == u'O' && first >= u'0' && first <= u'7';
        if (digit)
            return platform::runtime::val(compact);
        return std::nullopt;
    }
    const QString decimal = QLocale().decimalPoint();
    std::string number;
    qsizetype at = 0;
    auto digits = [&] {
        const auto from = number.size();
        while (at < compact.size() && compact.at(at).isDigit() && compact.at(at).unicode() < 128)
            number += char(compact.at(at++).unicode());
        return number.size() > from;
    };
    if (at < compact.size() && (compact.at(at) == u'-' || compact.at(at) == u'+'))
        number += char(compact.at(at++).unicode());
    bool any = digits();
    if (compact.mid(at).startsWith(decimal)) {
        at += decimal.size();
        number += '.';
        any = digits() || any;
    }
    if (!any)
        return std::nullopt;
    if (at < compact.size() && QStringLiteral("EeDd").contains(compact.at(at))) {
        const std::string mantissa = number;
        const qsizetype mark = at++;
        number += 'e';
        if (at < compact.size() && (compact.at(at) == u'-' || compact.at(at) == u'+'))
            number += char(compact.at(at++).unicode());
        if (!digits()) { // "1E" or "1E-": the exponent is not there yet
            number = mantissa;
            at = mark;
        }
    }
    double value = 0;
    const char *begin = number.data() + (number.front() == '+' ? 1 : 0);
    const auto [rest, error] = std::from_chars(begin, number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small a number is 0; too big a one does not fit a Double.
        const auto exponent = number.find('e');
        if (exponent != std::string::npos && number.compare(exponent, 2, "e-") == 0)
            return 0.0;
        throw platform::Error(QStringLiteral("Overflow"));
    }
    Q_UNUSED(rest);
    return value;
}

void showPosition(QComboBox *list, int position)
{
    if (position >= -1 && position < list->count())
        list->setCurrentIndex(position);
}

void showFontSample(QLabel *sample, const platform::chart::Font &font)
{
    sample->setText(font.name());
    QFont shown = sample->font();
    frmGrf2D::copiaFont(font, shown);
    sample->setFont(shown);
}

} // namespace pelmora::charteditor
