#include "Control/core/PelmoraC02.h"
#include "Control/settings/StoredDefaults.h"
#include "RegistryTestSupport.h"
#include "StoredDefaultsTestSupport.h"
#include "platform/chart/Chart2D.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>

using platform::forms::FontObject;
using platform::registry::Root;

namespace {

const QString base = QStringLiteral("SOFTWARE\\Keswire\\PelmoraApp");

void changeFont(FontObject &font, const QString &name, double size, bool bold, int weight,
                int charset)
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

// The control's 2-D chart, made when the control has none of its own.
platform::chart::Chart2D &chartOf(PelmoraC02 &control)
{
    if (!control.grf2d)
        control.grf2d = new platform::chart::Chart2D(&control);
    return *control.grf2d;
}

// Every stored member away from its default, a blue colour, system colours and a threshold
// bound with a fraction among them.
void changeEverything(PelmoraC02 &c)
{
    pelmora::GridFormat &g = c.gridFormat;
    g.Appearance = pelmora::pelmoraFlat;
    g.BackColor = 0xFF0000; // blue
    g.ForeColor = int(0x80000012);
    g.BackColorSubtotal = 0x010203;
    g.ForeColorSubtotal = 0x00FF00;
    g.GridColor = 0x0000FF;
    g.BackColorData = 0x112233;
    g.ForeColorData = 0x445566;
    g.BackColorDataSubtotal = int(0x8000000F);
    g.ForeColorDataSubtotal = 0x778899;
    g.GridColorData = 0xAABBCC;
    changeFont(*c.controlFont, "Courier New", 11.5, true, 800, 1);
    changeFont(pelmora::fontOf(g.FontData), "Data", 9.25, false, 300, 2);
    changeFont(pelmora::fontOf(g.FontDataSubtotal), "Data subtotal", 10, true, 700, 3);
    changeFont(pelmora::fontOf(g.FontSubtotal), "Subtotal", 12.75, false, 100, 4);
    g.DataFormat = QStringLiteral("#,##0.00  ") + QString(300, u'0'); // longer than 255 bytes
    g.GridLinesData = 0;
    g.GridLines = 3;
    g.GridLinesWidth = 2;
    g.FormatSubtotal = true;
    g.FormatSubtotalLevel = -3;
    pelmora::ValueFormat &v = c.valueFormat;
    v.ValueType = pelmora::pelmoraVTSemaphore;
    v.SemaphoreMinValue = 10.5;
    v.SemaphoreMaxValue = -2500.75;
    v.ThresholdMinBackColor = int(0x8000000F);
    v.ThresholdMedBackColor = 0xFF0000;
    v.ThresholdMaxBackColor = 0x00FF00;
    v.ThresholdMinForeColor = 0x0000FF;
    v.ThresholdMedForeColor = 0x123456;
    v.ThresholdMaxForeColor = 0x654321;
    v.ActThresholdMinBackColor = true;
    v.ActThresholdMedBackColor = false;
    v.ActThresholdMaxBackColor = true;
    v.ActThresholdMinForeColor = true;
    v.ActThresholdMedForeColor = false;
    v.ActThresholdMaxForeColor = true;
    pelmora::PreviewOptions &p = c.previewOptions;
    p.PreviewComment = QString(1000, u'c');
    p.PreviewHeaderAndFooter = false;
    p.PreviewComments = true;
    p.PreviewTitle = false;
    p.PreviewHeadings = false;
    p.PreviewData = false;
    p.PreviewChart = false;
    p.PreviewChartInNewPage = true;
    p.PreviewBW = true;
    testing_support::changeChart(pelmora::defaults::Chart2DParts::of(chartOf(c)));
}

// Every stored member as text, one "name=value" per member.
QStringList fontMembers(const QString &label, const FontObject *font)
{
    if (!font)
        return {label + "=none"};
    return {QStringLiteral("%1=%2|%3|%4|%5|%6|%7|%8|%9")
                .arg(label, font->name())
                .arg(font->size())
                .arg(font->bold())
                .arg(font->italic())
                .arg(font->underline())
                .arg(font->strikethrough())
                .arg(font->weight())
                .arg(font->charset())};
}

QStringList formatMembers(const PelmoraC02 &c)
{
    const pelmora::GridFormat &g = c.gridFormat;
    const pelmora::ValueFormat &v = c.valueFormat;
    QStringList m;
#define M(group, name) m << QStringLiteral(#name "=%1").arg(group.name)
    M(g, Appearance);
    M(g, BackColor);
    M(g, ForeColor);
    M(g, BackColorSubtotal);
    M(g, ForeColorSubtotal);
    M(g, GridColor);
    M(g, BackColorData);
    M(g, ForeColorData);
    M(g, BackColorDataSubtotal);
    M(g, ForeColorDataSubtotal);
    M(g, GridColorData);
    M(g, DataFormat);
    M(v, ValueType);
    M(g, GridLinesData);
    M(g, GridLines);
    M(g, GridLinesWidth);
    M(g, FormatSubtotal);
    M(g, FormatSubtotalLevel);
    M(v, SemaphoreMinValue);
    M(v, SemaphoreMaxValue);
    M(v, ThresholdMinBackColor);
    M(v, ThresholdMedBackColor);
    M(v, ThresholdMaxBackColor);
    M(v, ThresholdMinForeColor);
    M(v, ThresholdMedForeColor);
    M(v, ThresholdMaxForeColor);
    M(v, ActThresholdMinBackColor);
    M(v, ActThresholdMedBackColor);
    M(v, ActThresholdMaxBackColor);
    M(v, ActThresholdMinForeColor);
    M(v, ActThresholdMedForeColor);
    M(v, ActThresholdMaxForeColor);
#undef M
    m << fontMembers("Font", c.controlFont) << fontMembers("FontData", g.FontData.get())
      << fontMembers("FontDataSubtotal", g.FontDataSubtotal.get())
      << fontMembers("FontSubtotal", g.FontSubtotal.get());
    return m;
}

QStringList previewMembers(const PelmoraC02 &c)
{
    const pelmora::PreviewOptions &p = c.previewOptions;
    QStringList m;
#define M(name) m << QStringLiteral(#name "=%1").arg(p.name)
    M(PreviewComment);
    M(PreviewHeaderAndFooter);
    M(PreviewComments);
    M(PreviewTitle);
    M(PreviewHeadings);
    M(PreviewData);
    M(PreviewChart);
    M(PreviewChartInNewPage);
    M(PreviewBW);
#undef M
    return m;
}

// The members of `after` that differ from `before`, by name.
QStringList changed(const QStringList &before, const QStringList &after)
{
    QStringList names;
    for (qsizetype i = 0; i < before.size() && i < after.size(); ++i) {
        if (before[i] != after[i])
            names << before[i].section(u'=', 0, 0);
    }
    return names;
}

class StoredDefaultsTest : public testing_support::TemporaryRegistry
{
protected:
    // Writes the three sections of a control with every member changed.
    void writeAll()
    {
        PelmoraC02 source;
        changeEverything(source);
        written = formatMembers(source);
        writtenPreview = previewMembers(source);
        writtenChart = chartOf(source).model();
        EXPECT_TRUE(source.doAction("WRITEREGISTRY"));
        EXPECT_TRUE(source.doAction("WRITECHARTREGISTRY"));
        EXPECT_TRUE(source.doAction("WRITEPREVIEWREGISTRY"));
    }
    QString stored(const QString &key, const QString &name)
    {
        return store().queryValue(Root::LocalMachine, base + key, name).value_or("<missing>");
    }
    void storeValue(const QString &key, const QString &name, const QString &text)
    {
        ASSERT_TRUE(store().setValue(Root::LocalMachine, base + key, name, text));
    }
    void remove(const QString &key, const QString &name)
    {
        ASSERT_TRUE(store().deleteValue(Root::LocalMachine, base + key, name));
    }
    // Sets a grid colour in the member only, so that the grid shows whether the look was
    // applied after a reading.
    static void markLook(PelmoraC02 &control) { control.gridFormat.GridColor = 0x0F0E0D; }
    // Reads the defaults into `control` and checks that the look was applied.
    bool readInto(PelmoraC02 &control)
    {
        const bool result = control.doAction("READREGISTRY");
        EXPECT_EQ(control.grdResults->gridColorFixed(), control.gridFormat.GridColor);
        EXPECT_EQ(control.grdTitulos->appearance(), control.gridFormat.Appearance);
        return result;
    }

    QStringList written;
    QStringList writtenPreview;
    platform::chart::Chart2DModel writtenChart;
};

TEST_F(StoredDefaultsTest, WrittenSectionsReadBackIntoAFreshControl)
{
    writeAll();
    PelmoraC02 fresh;
    chartOf(fresh);
    markLook(fresh);
    ASSERT_NE(formatMembers(fresh), written);
    EXPECT_TRUE(readInto(fresh));
    EXPECT_EQ(formatMembers(fresh), written);
    EXPECT_EQ(previewMembers(fresh), writtenPreview);
    EXPECT_TRUE(chartOf(fresh).model() == writtenChart);
    EXPECT_EQ(messages->count(), 0) << messages->texts().join("; ").toStdString();
}

// A store that refuses every write (the system's file size limit stands for a full disk): the
// writers answer False, the store says why on standard error, and what was stored before is
// still there for the next control.
TEST_F(StoredDefaultsTest, AStoreThatRefusesWritesKeepsWhatItHeld)
{
    writeAll();
    QFile file(store().filePath(Root::LocalMachine));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    PelmoraC02 source;
    ASSERT_TRUE(source.doAction("readRegistry")); // the defaults read before the changes
    source.gridFormat.GridLinesWidth = 1;
    source.previewOptions.PreviewComment = "never stored";
    testing::internal::CaptureStderr();
    {
        const testing_support::FileSizeLimit full(64);
        ASSERT_TRUE(full.isSet());
        EXPECT_FALSE(source.doAction("WRITEREGISTRY"));
        EXPECT_FALSE(source.doAction("WRITEPREVIEWREGISTRY"));
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Pelmora registry: cannot write"), std::string::npos) << said;

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    PelmoraC02 fresh;
    chartOf(fresh);
    EXPECT_TRUE(readInto(fresh));
    EXPECT_EQ(formatMembers(fresh), written);
    EXPECT_EQ(previewMembers(fresh), writtenPreview);
}

TEST_F(StoredDefaultsTest, StoredTexts)
{
    writeAll();
    const struct
    {
        const char *key;
        const char *name;
        const char *text;
    } cases[] = {
        {"", "Appearance", "0"},
        {"", "BackColor", "FF0000"},
        {"", "ForeColor", "80000012"},
        {"", "BackColorSubtotal", "10203"}, // no leading zeros
        {"", "GridLines", "3"},
        {"", "FormatSubtotal", "True"},
        {"", "FormatSubtotalLevel", "-3"},
        {"", "SemaphoreMinValue", "10.5"},
        {"", "SemaphoreMaxValue", "-2500.75"},
        {"", "ThresholdMinBackColor", "8000000F"},
        {"", "ActThresholdMinBackColor", "FFFF"},
        {"", "ActThresholdMedBackColor", "0"},
        {"\\Font", "Name", "Courier New"},
        {"\\Font", "Size", "11.5"},
        {"\\Font", "Bold", "True"},
        {"\\Font", "UnderLine", "True"},
        {"\\FontData", "Weight", "300"},
        {"\\FontSubtotal", "Charset", "4"},
        {"\\Preview", "ShowBW", "True"},
        {"\\Preview", "ShowTitle", "False"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(stored(c.key, c.name), c.text) << c.key << " " << c.name;

    // clang-format off
    const QStringList base32{
        "Appearance", "BackColor", "ForeColor", "BackColorSubtotal", "ForeColorSubtotal",
        "GridColor", "BackColorData", "ForeColorData", "BackColorDataSubtotal",
        "ForeColorDataSubtotal", "GridColorData", "DataFormat", "ValueType", "GridLinesData",
        "GridLines", "GridLinesWidth", "FormatSubtotal", "FormatSubtotalLevel",
        "SemaphoreMinValue", "SemaphoreMaxValue", "ThresholdMinBackColor",
        "ThresholdMedBackColor", "ThresholdMaxBackColor", "ThresholdMinForeColor",
        "ThresholdMedForeColor", "ThresholdMaxForeColor", "ActThresholdMinBackColor",
        "ActThresholdMedBackColor", "ActThresholdMaxBackColor", "ActThresholdMinForeColor",
        "ActThresholdMedForeColor", "ActThresholdMaxForeColor"};
    // clang-format on
    EXPECT_EQ(store().valueNames(Root::LocalMachine, base), base32);
    const QStringList font{"Bold", "Charset",       "Italic",    "Name",
                           "Size", "Strikethrough", "UnderLine", "Weight"};
    for (const QString key : {"\\Font", "\\FontData", "\\FontDataSubtotal", "\\FontSubtotal"})
        EXPECT_EQ(store().valueNames(Root::LocalMachine, base + key), font);
    EXPECT_EQ(store().subKeys(Root::LocalMachine, base),
              QStringList(
                  {"Font", "FontData", "FontDataSubtotal", "FontSubtotal", "Chart2d", "Preview"}));
    EXPECT_EQ(
        store().valueNames(Root::LocalMachine, base + "\\Preview"),
        QStringList({"Comment", "ShowHeaderAndFooter", "ShowComments", "ShowTitle", "ShowHeadings",
                     "ShowData", "ShowChart", "ShowChartInNewPage", "ShowBW"}));
}

TEST_F(StoredDefaultsTest, MissingSectionsLeaveTheDefaults)
{
    const PelmoraC02 defaults;
    {
        PelmoraC02 fresh; // nothing stored at all
        markLook(fresh);
        EXPECT_TRUE(readInto(fresh));
        fresh.gridFormat.GridColor = defaults.gridFormat.GridColor;
        EXPECT_EQ(formatMembers(fresh), formatMembers(defaults));
        EXPECT_EQ(previewMembers(fresh), previewMembers(defaults));
    }
    // Only the preview section stored: the format and chart sections are skipped quietly.
    PelmoraC02 source;
    changeEverything(source);
    EXPECT_TRUE(source.doAction("WRITEPREVIEWREGISTRY"));
    EXPECT_EQ(store().subKeys(Root::LocalMachine, base), QStringList({"Preview"}));
    EXPECT_TRUE(store().valueNames(Root::LocalMachine, base).isEmpty());
    PelmoraC02 fresh;
    const platform::chart::Chart2DModel chartBefore = chartOf(fresh).model();
    markLook(fresh);
    EXPECT_TRUE(readInto(fresh));
    fresh.gridFormat.GridColor = defaults.gridFormat.GridColor;
    EXPECT_EQ(formatMembers(fresh), formatMembers(defaults));
    EXPECT_TRUE(chartOf(fresh).model() == chartBefore);
    EXPECT_EQ(previewMembers(fresh), previewMembers(source));
    EXPECT_EQ(messages->count(), 0);
}

// A value that cannot be converted ends the reading: the values before it are set, the rest
// of its section and the later sections keep what they had, the answer is False, and the look
// is applied all the same.
TEST_F(StoredDefaultsTest, TheFirstFailedValueEndsTheReading)
{
    using Check = std::function<void(const PelmoraC02 &)>;
    const struct
    {
        const char *what;
        std::function<void()> spoil;
        QStringList setBeforeTheStop; // format members read before it
        Check more;
    } cases[] = {
        {"Appearance present, BackColor missing",
         [this] { remove("", "BackColor"); },
         {"Appearance"},
         {}},
        {"Appearance not a number", [this] { storeValue("", "Appearance", "flat"); }, {}, {}},
        {"a colour that is the empty text",
         [this] { storeValue("", "GridColor", ""); },
         {"Appearance", "BackColor", "ForeColor", "BackColorSubtotal", "ForeColorSubtotal"},
         {}},
        {"GridLines, read before GridLinesData, not a number",
         [this] { storeValue("", "GridLines", "solid"); },
         {"Appearance", "BackColor", "ForeColor", "BackColorSubtotal", "ForeColorSubtotal",
          "GridColor", "BackColorData", "ForeColorData", "BackColorDataSubtotal",
          "ForeColorDataSubtotal", "GridColorData", "DataFormat", "ValueType", "Font", "FontData",
          "FontDataSubtotal", "FontSubtotal"},
         {}},
        {"a data font's size not a number",
         [this] { storeValue("\\FontData", "Size", "large"); },
         {"Appearance", "BackColor", "ForeColor", "BackColorSubtotal", "ForeColorSubtotal",
          "GridColor", "BackColorData", "ForeColorData", "BackColorDataSubtotal",
          "ForeColorDataSubtotal", "GridColorData", "Font", "FontData"},
         [](const PelmoraC02 &c) {
             const FontObject &f = *c.gridFormat.FontData;
             EXPECT_EQ(f.name(), "Data"); // read before the size
             EXPECT_EQ(f.size(), FontObject().size());
             EXPECT_EQ(f.underline(), FontObject().underline());
             EXPECT_EQ(c.gridFormat.FontDataSubtotal, nullptr);
         }},
        {"the legend without its orientation",
         [this] { remove("\\Chart2d\\Legend", "Orientation"); },
         // clang-format off
         {"Appearance", "BackColor", "ForeColor", "BackColorSubtotal", "ForeColorSubtotal",
          "GridColor", "BackColorData", "ForeColorData", "BackColorDataSubtotal",
          "ForeColorDataSubtotal", "GridColorData", "DataFormat", "ValueType",
          "GridLinesData", "GridLines", "GridLinesWidth", "FormatSubtotal",
          "FormatSubtotalLevel", "SemaphoreMinValue", "SemaphoreMaxValue",
          "ThresholdMinBackColor", "ThresholdMedBackColor", "ThresholdMaxBackColor",
          "ThresholdMinForeColor", "ThresholdMedForeColor", "ThresholdMaxForeColor",
          "ActThresholdMinBackColor", "ActThresholdMaxBackColor", "ActThresholdMinForeColor",
          "ActThresholdMaxForeColor", "Font", "FontData", "FontDataSubtotal",
          // clang-format on
          "FontSubtotal"},
         [this](const PelmoraC02 &c) {
             const platform::chart::Legend &legend = c.grf2d->legend();
             EXPECT_EQ(legend.border(), writtenChart.legend.border());
             EXPECT_EQ(legend.isShowing(), writtenChart.legend.isShowing());
             EXPECT_EQ(legend.orientation(), platform::chart::Legend().orientation());
             EXPECT_EQ(legend.anchor(), platform::chart::Legend().anchor());
             EXPECT_EQ(c.grf2d->header(), writtenChart.header);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeAll();
        c.spoil();
        PelmoraC02 fresh;
        markLook(fresh);
        const QStringList before = formatMembers(fresh);
        const QStringList previewBefore = previewMembers(fresh);
        const platform::chart::Chart2DModel chartBefore = chartOf(fresh).model();
        EXPECT_FALSE(readInto(fresh));
        // Members in the order formatMembers lists them; a font read in part counts.
        EXPECT_EQ(changed(before, formatMembers(fresh)), c.setBeforeTheStop);
        EXPECT_EQ(previewMembers(fresh), previewBefore); // the preview section was not read
        if (c.more)
            c.more(fresh);
        else
            EXPECT_TRUE(fresh.grf2d->model() == chartBefore);
    }
    EXPECT_EQ(messages->count(), 0) << messages->texts().join("; ").toStdString();
}

TEST_F(StoredDefaultsTest, MissingFlagsReadAsSetAndMissingTextsAsError)
{
    writeAll();
    remove("", "FormatSubtotal");
    remove("", "DataFormat");
    remove("\\FontSubtotal", "Name");
    for (const char *name : {"ShowHeaderAndFooter", "ShowComments", "ShowTitle", "ShowHeadings",
                             "ShowData", "ShowChart", "ShowChartInNewPage", "ShowBW"})
        remove("\\Preview", name);
    PelmoraC02 fresh;
    EXPECT_TRUE(readInto(fresh));
    EXPECT_TRUE(fresh.gridFormat.FormatSubtotal);
    EXPECT_EQ(fresh.gridFormat.DataFormat, "Error");
    EXPECT_EQ(fresh.gridFormat.FontSubtotal->name(), "Error");
    EXPECT_EQ(fresh.gridFormat.FontSubtotal->size(), 12.75); // read after the name
    const pelmora::PreviewOptions &p = fresh.previewOptions;
    EXPECT_EQ(p.PreviewComment, QString(1000, u'c'));
    for (const bool on :
         {p.PreviewHeaderAndFooter, p.PreviewComments, p.PreviewTitle, p.PreviewHeadings,
          p.PreviewData, p.PreviewChart, p.PreviewChartInNewPage, p.PreviewBW})
        EXPECT_TRUE(on);
}

TEST_F(StoredDefaultsTest, APreviewCommentReadingErrorHidesItsSection)
{
    PelmoraC02 source;
    changeEverything(source);
    for (const char *comment : {"", "eRRor"}) {
        source.previewOptions.PreviewComment = comment;
        ASSERT_TRUE(source.doAction("WRITEPREVIEWREGISTRY"));
        PelmoraC02 fresh;
        fresh.previewOptions.PreviewComment = "before";
        EXPECT_TRUE(readInto(fresh));
        // An empty comment is present and read; "error" in any case counts as absent.
        EXPECT_EQ(fresh.previewOptions.PreviewComment, *comment ? "before" : "");
        EXPECT_EQ(fresh.previewOptions.PreviewBW, *comment ? false : true);
    }
}

// The writers answer whether every value was written, and a value that cannot be written
// never keeps the later ones from being written.
TEST_F(StoredDefaultsTest, WritersAnswerWhetherEverythingWasWritten)
{
    PelmoraC02 source;
    changeEverything(source);
    EXPECT_TRUE(source.doAction("WRITEREGISTRY"));
    // Beyond 16 bits: skipped, the value stored before stays, and the rest is written.
    source.gridFormat.GridLinesWidth = 40000;
    source.gridFormat.FormatSubtotalLevel = -40000;
    source.gridFormat.FormatSubtotal = false;
    source.valueFormat.SemaphoreMinValue = 11.25;
    source.valueFormat.ActThresholdMaxForeColor = false;
    EXPECT_FALSE(source.doAction("WRITEREGISTRY"));
    EXPECT_EQ(stored("", "GridLinesWidth"), "2");
    EXPECT_EQ(stored("", "FormatSubtotalLevel"), "-3");
    EXPECT_EQ(stored("", "FormatSubtotal"), "False");
    EXPECT_EQ(stored("", "SemaphoreMinValue"), "11.25");
    EXPECT_EQ(stored("", "ActThresholdMaxForeColor"), "0");

    // A store that cannot be written: nothing is stored, every writer answers False, quietly.
    QFile blocker(tempPath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    useStore(tempPath("blocker/registry"));
    source.gridFormat.GridLinesWidth = 1;
    source.gridFormat.FormatSubtotalLevel = 1;
    EXPECT_FALSE(source.doAction("WRITEREGISTRY"));
    EXPECT_FALSE(source.doAction("WRITECHARTREGISTRY"));
    EXPECT_FALSE(source.doAction("WRITEPREVIEWREGISTRY"));
    EXPECT_EQ(messages->count(), 0);
}

TEST_F(StoredDefaultsTest, AControlReadsTheDefaultsBeforeItsFirstCommandOnly)
{
    PelmoraC02 source;
    source.gridFormat.Appearance = pelmora::pelmora3D;
    source.previewOptions.PreviewComment = "first";
    ASSERT_TRUE(source.doAction("WRITEREGISTRY"));
    ASSERT_TRUE(source.doAction("WRITEPREVIEWREGISTRY"));

    PelmoraC02 control;
    EXPECT_EQ(control.gridFormat.Appearance, pelmora::pelmora3DLight); // nothing read yet
    EXPECT_FALSE(control.doAction("NOSUCHCOMMAND"));                   // but the defaults are
    EXPECT_EQ(control.gridFormat.Appearance, pelmora::pelmora3D);
    EXPECT_EQ(control.grdResults->appearance(), pelmora::pelmora3D);
    EXPECT_EQ(control.previewOptions.PreviewComment, "first");

    storeValue("", "Appearance", "0");
    storeValue("\\Preview", "Comment", "second");
    EXPECT_TRUE(control.doAction("STARTLOG")); // a later command reads nothing
    EXPECT_EQ(control.gridFormat.Appearance, pelmora::pelmora3D);
    EXPECT_EQ(control.previewOptions.PreviewComment, "first");
    EXPECT_TRUE(control.doAction("readRegistry")); // asked for: read again
    EXPECT_EQ(control.gridFormat.Appearance, pelmora::pelmoraFlat);
    EXPECT_EQ(control.previewOptions.PreviewComment, "second");
}

} // namespace
