#pragma once

#include "Control/core/PelmoraC02.h"
#include "tests/platform/olap/xmla/QtPrinters.h"

#include <QDebug>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QVariant &value, std::ostream *out)
{
    QString text;
    QDebug(&text) << value;
    *out << text.toStdString();
}

namespace propertytest {

// The automation properties in the order of their dispatch ids.
inline const QStringList &publicPropertyNames()
{
    // clang-format off
    static const QStringList names{
        "VisibleTitle", "VisibleHeading", "VisibleMatrix", "VisibleChart", "VisibleToolBar",
        "VisibleButtonOpen", "VisibleButtonSave", "VisibleButtonPrint", "VisibleButtonExport",
        "VisibleButtonCopy", "VisibleButtonDirectMDX", "VisibleButtonShowElements",
        "VisibleButtonChart2d", "VisibleButtonChart3d", "VisibleButtonSwapXY",
        "VisibleButtonLayout", "VisibleButtonDimension", "VisibleButtonFormat",
        "VisibleButtonAbout", "LanguageID", "OpenServer", "OpenDB", "openCube", "OpenFile",
        "OpenWWWDir", "OpenView", "MDX", "ValueType", "SemaphoreMinValue", "SemaphoreMaxValue",
        "ThresholdMinBackColor", "ThresholdMedBackColor", "ThresholdMaxBackColor",
        "ThresholdMinForeColor", "ThresholdMedForeColor", "ThresholdMaxForeColor",
        "Interactive", "Enabled", "Caption", "Font", "FontData", "FontSubtotal",
        "FontDataSubtotal", "BackColorData", "BackColorSubtotal", "BackColorDataSubtotal",
        "BackColor", "ForeColorData", "ForeColorSubtotal", "ForeColorDataSubtotal", "ForeColor",
        "GridColorData", "GridColor", "WordWrap", "Appearance", "DataFormat", "GridLinesData",
        "GridLines", "GridLinesWidth", "FormatSubtotal", "FormatSubtotalLevel",
        "PreviewComment", "PreviewHeaderAndFooter", "PreviewComments", "PreviewTitle",
        "PreviewHeadings", "PreviewData", "PreviewChart", "PreviewChartInNewPage", "PreviewBW"};
    // clang-format on
    return names;
}

// The names of the notifications a control sends while the recorder lives.
class Notifications
{
public:
    explicit Notifications(PelmoraC02 &control)
        : m_connection(QObject::connect(&control, &PelmoraC02::PropertyChanged,
                                        [this](const QString &name) { m_names << name; }))
    {}
    ~Notifications() { QObject::disconnect(m_connection); }
    Notifications(const Notifications &) = delete;
    Notifications &operator=(const Notifications &) = delete;

    const QStringList &names() const { return m_names; }
    void clear() { m_names.clear(); }

private:
    QStringList m_names;
    QMetaObject::Connection m_connection;
};

} // namespace propertytest
