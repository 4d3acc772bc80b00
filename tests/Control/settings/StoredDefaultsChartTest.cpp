#include "Control/settings/StoredDefaults.h"
#include "RegistryTestSupport.h"
#include "StoredDefaultsTestSupport.h"

#include <gtest/gtest.h>

using namespace pelmora::defaults;
using platform::chart::Chart2DModel;
using platform::registry::Root;

namespace {

const QString base = QStringLiteral("SOFTWARE\\Keswire\\PelmoraApp");

class StoredChartTest : public testing_support::TemporaryRegistry
{
protected:
    void SetUp() override
    {
        TemporaryRegistry::SetUp();
        testing_support::changeChart(written);
    }

    bool write() { return writeSection(chartSection(Chart2DParts::of(written))); }
    SectionRead read() { return readSection(chartSection(Chart2DParts::of(model))); }
    QString stored(const QString &key, const QString &name)
    {
        return store().queryValue(Root::LocalMachine, base + key, name).value_or("<missing>");
    }
    void remove(const QString &key, const QString &name)
    {
        ASSERT_TRUE(store().deleteValue(Root::LocalMachine, base + key, name));
    }

    Chart2DModel written; // every stored setting changed
    Chart2DModel model;   // read into
};

TEST_F(StoredChartTest, EverySettingComesBack)
{
    ASSERT_NE(written, model);
    EXPECT_TRUE(write());
    EXPECT_EQ(read(), SectionRead::Read);
    EXPECT_EQ(model, written);
    EXPECT_EQ(model.header.text(), QString(600, u'h'));
    EXPECT_EQ(model.interior.foreground(), qint32(0x8000000F)); // a system colour, negative
    EXPECT_EQ(messages->count(), 0);
}

TEST_F(StoredChartTest, KeysAndNamesAsStored)
{
    ASSERT_TRUE(write());
    const QStringList font{"Bold", "Charset", "Italic", "Name", "Size", "Strikethrough"};
    const QStringList titleFont = font + QStringList{"underline", "weight"};
    const QStringList axisFont = font + QStringList{"Underline", "Weight"};
    const QStringList title{"BorderType", "BorderWidth",     "Alignment",
                            "IsShowing",  "FileImageLayout", "FileName",
                            "Background", "Foreground",      "Text"};
    const QStringList x{"IsShowing", "IsReversed", "LineStyle", "GridStyle", "LineColor",
                        "GridColor", "Spacing",    "LineWidth", "GridWidth", "Rotation"};
    const QStringList y{"IsShowing",     "IsLogarithmic", "Is100Percente", "IsReversed",
                        "LabelFormat",   "LabelCategory", "LineStyle",     "GridStyle",
                        "TitleRotation", "LineColor",     "GridColor",     "Spacing",
                        "LineWidth",     "GridWidth",     "Rotation"};
    const std::pair<QString, QStringList> keys[] = {
        {"\\Chart2d",
         {"BorderType", "BorderWidth", "IsStacked", "IsHorizontal", "FileImageLayout", "FileName",
          "ChartType", "Background", "Foreground", "Shading", "Depth", "Elevation", "Rotation"}},
        {"\\Chart2d\\Area", {"IsBoxed", "BorderType", "BorderWidth"}},
        {"\\Chart2d\\Footer", title},
        {"\\Chart2d\\Footer\\Font", titleFont},
        {"\\Chart2d\\Header", title},
        {"\\Chart2d\\Header\\Font", titleFont},
        {"\\Chart2d\\Legend",
         {"BorderType", "BorderWidth", "IsShowing", "Orientation", "FileImageLayout", "FileName",
          "Background", "Foreground", "Text", "Anchor"}},
        {"\\Chart2d\\Legend\\Font", titleFont},
        {"\\Chart2d\\X", x},
        {"\\Chart2d\\X\\Font", axisFont},
        {"\\Chart2d\\X\\TitleFont", axisFont},
        {"\\Chart2d\\Y", y},
        {"\\Chart2d\\Y\\Font", axisFont},
        {"\\Chart2d\\Y\\TitleFont", axisFont},
    };
    qsizetype count = 0;
    for (const auto &[key, names] : keys) {
        EXPECT_EQ(store().valueNames(Root::LocalMachine, base + key), names) << key.toStdString();
        count += names.size();
    }
    EXPECT_EQ(count, 125);
    EXPECT_TRUE(store().valueNames(Root::LocalMachine, base).isEmpty());
    EXPECT_EQ(store().subKeys(Root::LocalMachine, base + "\\Chart2d"),
              QStringList({"Area", "Footer", "Header", "Legend", "X", "Y"}));

    // The encodings.
    const struct
    {
        const char *key;
        const char *name;
        const char *text;
    } texts[] = {
        {"\\Chart2d", "Background", "FF0000"},
        {"\\Chart2d", "Foreground", "8000000F"},
        {"\\Chart2d", "IsStacked", "True"},
        {"\\Chart2d", "Rotation", "-300"},
        {"\\Chart2d\\Area", "IsBoxed", "True"},
        {"\\Chart2d\\Header", "IsShowing", "False"},
        {"\\Chart2d\\Header\\Font", "Size", "12.25"},
        {"\\Chart2d\\Header\\Font", "weight", "800"},
        {"\\Chart2d\\Footer", "Text", "Footer   text"},
        {"\\Chart2d\\X", "Rotation", "-45.5"},
        {"\\Chart2d\\Y", "Spacing", "1250.125"},
        {"\\Chart2d\\Y", "LabelCategory", "3"},
    };
    for (const auto &t : texts)
        EXPECT_EQ(stored(t.key, t.name), t.text) << t.key << " " << t.name;
}

TEST_F(StoredChartTest, AbsentSectionChangesNothing)
{
    const Chart2DModel fresh;
    EXPECT_EQ(read(), SectionRead::Absent); // nothing stored
    ASSERT_TRUE(write());
    remove("\\Chart2d", "BorderType"); // the probe: the rest is all there
    EXPECT_EQ(read(), SectionRead::Absent);
    EXPECT_EQ(model, fresh);
    ASSERT_TRUE(store().setValue(Root::LocalMachine, base + "\\Chart2d", "BorderType", "error"));
    EXPECT_EQ(read(), SectionRead::Absent);
    EXPECT_EQ(model, fresh);
}

// A value missing inside a present section: a number ends the reading, the settings read
// before it staying set; a flag reads as set and a text as "Error", and the reading goes on.
TEST_F(StoredChartTest, MissingValues)
{
    using namespace platform::chart;
    ASSERT_TRUE(write());
    remove("\\Chart2d\\Legend", "Orientation");
    EXPECT_EQ(read(), SectionRead::Failed);
    EXPECT_EQ(model.legend.border().borderType(), BorderType::Plain);
    EXPECT_EQ(model.legend.border().borderWidth(), 7);
    EXPECT_FALSE(model.legend.isShowing());
    EXPECT_EQ(model.legend.orientation(), Chart2DModel().legend.orientation());
    EXPECT_EQ(model.legend.text(), Chart2DModel().legend.text());
    EXPECT_EQ(model.header.text(), written.header.text()); // read before the legend
    EXPECT_EQ(model.chartArea.axes().x(), Chart2DModel().chartArea.axes().x());

    ASSERT_TRUE(write());
    remove("\\Chart2d\\X", "IsShowing");
    remove("\\Chart2d\\Header", "Text");
    remove("\\Chart2d\\Y\\TitleFont", "Name");
    EXPECT_EQ(read(), SectionRead::Read);
    EXPECT_TRUE(model.chartArea.axes().x().isShowing());
    EXPECT_EQ(model.header.text(), "Error");
    EXPECT_EQ(model.chartArea.axes().y().titleFont().name(), "Error");
    EXPECT_EQ(model.chartArea.axes().y().titleFont().size(), 16); // read after the name
}

TEST_F(StoredChartTest, RefusedOrUnconvertibleValuesEndTheReading)
{
    const struct
    {
        const char *key;
        const char *name;
        const char *text;
    } cases[] = {
        {"\\Chart2d", "Shading", "70000"},   // beyond 16 bits
        {"\\Chart2d", "Depth", "deep"},      // not a number
        {"\\Chart2d", "Background", "blue"}, // not hexadecimal
        {"\\Chart2d", "Background", ""},
        {"\\Chart2d", "ChartType", "99"},    // refused by the chart
        {"\\Chart2d\\X\\Font", "Size", "0"}, // refused by the font
        {"\\Chart2d\\Y", "Spacing", "1.5.5"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(write());
        ASSERT_TRUE(store().setValue(Root::LocalMachine, base + c.key, c.name, c.text));
        model = Chart2DModel();
        EXPECT_EQ(read(), SectionRead::Failed) << c.key << " " << c.name;
        EXPECT_NE(model, written) << c.key << " " << c.name;
    }
}

TEST_F(StoredChartTest, WordsAndNumbersFollowTheReadingLocale)
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    ASSERT_TRUE(write());
    EXPECT_EQ(stored("\\Chart2d\\Header", "IsShowing"), "Falso");
    EXPECT_EQ(stored("\\Chart2d\\Y", "Spacing"), "1250,125");
    // Read under the same locale, everything comes back.
    EXPECT_EQ(read(), SectionRead::Read);
    EXPECT_EQ(model, written);
    // Under English the flags still read, and the real numbers follow the English rules with
    // no special handling: the comma is a thousands separator, so the footer's font size 12,25
    // becomes 1225, and the X axis's rotation -45,5 becomes -455, which the chart refuses.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    model = Chart2DModel();
    EXPECT_EQ(read(), SectionRead::Failed);
    EXPECT_FALSE(model.header.isShowing());
    EXPECT_TRUE(model.group().isStacked());
    EXPECT_EQ(model.footer.font().size(), 1225);
    EXPECT_EQ(model.chartArea.axes().x().spacing(), 25);
    EXPECT_EQ(model.chartArea.axes().x().rotation(), 0);
}

} // namespace
