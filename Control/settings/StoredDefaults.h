#pragma once

#include "Control/core/ControlState.h"
#include "platform/chart/ChartModel.h"

#include <QString>

#include <functional>
#include <vector>

namespace platform::chart {
class Chart2D;
} // namespace platform::chart

namespace platform::forms {
class FontObject;
} // namespace platform::forms

// The stored defaults of the control's look: the format, the 2-D chart and the preview
// sections below one base key of the registry store, every value a text. Each section is a
// list of values in the order its writer writes them; the writers and the reader walk those
// lists, so the two sides cannot drift apart.
namespace pelmora::defaults {

// "HKEY_LOCAL_MACHINE\SOFTWARE\Keswire\PelmoraApp".
QString baseKey();

// --- Encodings -------------------------------------------------------------------------------
// Writing a value that does not fit its encoding and reading a text that cannot be converted
// throw platform::Error.

// A 32-bit colour as upper-case hexadecimal without prefix or leading zeros ("FF0000"; system
// colours give eight digits from 80000000 up). Read back with "&H" in front, as a 32-bit value.
QString colourText(qint32 colour);
qint32 colourFromText(const QString &text);
// A flag as hexadecimal: "FFFF" set, "0" clear; read back as set when not zero.
QString flagText(bool on);
bool flagFromText(const QString &text);
// The locale's word for the value; read back as false only when the first letter is "F" (in
// any case), so a missing value ("Error") and the empty text read as true.
QString booleanText(bool value);
bool booleanFromText(const QString &text);
// Whole numbers in decimal; a 16-bit value out of range throws "Overflow" when written.
QString longText(qint64 value);
QString integerText(qint64 value);
// Real numbers with the locale's decimal separator.
QString realText(double value);

// --- Sections --------------------------------------------------------------------------------

// One stored value: the key it lives in (below the base key, "" for the base key itself), its
// name as written and as read (the reader spells a few names differently; the store ignores
// case), and how it is taken from and given to the control.
struct StoredValue
{
    QString key;
    QString name;
    QString readName;
    std::function<QString()> get;             // throws when the value cannot be taken
    std::function<void(const QString &)> set; // throws when the text cannot be converted
};

struct Section
{
    QString probeKey; // the key of the value whose presence marks the section
    QString probeName;
    std::vector<StoredValue> values; // in the order written
    std::vector<StoredValue> readOrder;
};

// The grid colours, fonts, grid lines, data format, value type and thresholds. The grid fonts
// are reached through their slots at each value, so a font that does not exist yet is created
// (with the default attributes) when it is read or written.
Section formatSection(GridFormat &grid, ValueFormat &values,
                      platform::forms::FontObject &controlFont);

// The objects of a 2-D chart that the chart section reads and sets; made from a chart's model
// or from a chart itself.
struct Chart2DParts
{
    platform::chart::Title &header;
    platform::chart::Title &footer;
    platform::chart::Legend &legend;
    platform::chart::Border &border;
    platform::chart::Interior &interior;
    platform::chart::ChartArea &chartArea;
    platform::chart::ChartGroups &chartGroups;

    static Chart2DParts of(platform::chart::Chart2DModel &model);
    static Chart2DParts of(platform::chart::Chart2D &chart);
};

// The 125 values of the 2-D chart's look.
Section chartSection(const Chart2DParts &chart);

// The preview comment and the eight print switches.
Section previewSection(PreviewOptions &preview);

// Creates the base key, then each key of the section before its first value, and writes every
// value in order; a value that cannot be taken or written is skipped and the next one written.
// Answers whether every key was created and every value written.
bool writeSection(const Section &section);

enum class SectionRead { Read, Absent, Failed };

// Reads the probe: a section whose probe reads as "Error" (in any case) is absent and nothing
// of it is read. Otherwise every value is read afresh in read order and set at once; the
// first that cannot be set ends the reading (Failed), the values set before it staying set.
SectionRead readSection(const Section &section);

} // namespace pelmora::defaults
