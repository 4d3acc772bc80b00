// The view file's lines, written and read without a control.
#include "Control/settings/ViewFileFormat.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

using pelmora::OrderDim;
using pelmora::parseViewFile;
using pelmora::ViewFile;
using pelmora::viewFileText;

namespace {

class ViewFileFormat : public ::testing::Test
{
protected:
    void SetUp() override { pin(QLocale::English, QLocale::UnitedStates); }
    void TearDown() override { QLocale::setDefault(m_saved); }

    static void pin(QLocale::Language language, QLocale::Territory territory)
    {
        QLocale::setDefault(QLocale(language, territory));
    }

    // The description parseViewFile throws, or "" when the file reads.
    static QString failureOf(const QByteArray &bytes)
    {
        try {
            parseViewFile(bytes);
        } catch (const platform::Error &e) {
            return e.description();
        }
        return QString();
    }

private:
    QLocale m_saved;
};

// A small view with something in every kind of line.
ViewFile smallView()
{
    ViewFile v;
    v.FormEnabled = true;
    v.Left = 0;
    v.Top = 15;
    v.Width = 9600;
    v.Height = 7200;
    v.LanguageID = 1;
    v.openParams.OpenFile = "/cubes/sales.cub";
    v.currentMDX = "SELECT \r\n{[Measures].[Sales]} ON AXIS(0)\r\nFROM [Sales]";
    v.Title = "Sales, \"2024\"";
    OrderDim time;
    time.lugar = 2;
    time.nombre = "Time";
    time.vacio = false;
    time.jerarquia = 0;
    time.jerarquiaSalto = 2;
    time.tipo = 1;
    time.opcionTipo = 1;
    time.opcionCampo = "[Measures].[Sales]";
    time.opcionValor = 5;
    time.ordenTipo = 2;
    time.ordenCampos = {"[Measures].[Sales]"};
    time.padreLlave = {"[Time].[1997]", "[Time].[1998]"};
    time.padreTexto = {"1997", "1998"};
    v.orderDim = {time};
    v.paneValues = {-1, 1440, 0, 0};
    v.buttons.fill(true);
    v.buttons[1] = false;
    for (pelmora::ViewFont &f : v.fonts)
        f = {false, 0, false, "Arial", 8.25, false, false, 400};
    v.fonts[pelmora::DataFontSlot].bold = true;
    v.fonts[pelmora::DataFontSlot].weight = 700;
    v.gridFormat.DataFormat = "#,##0.00";
    v.valueFormat.SemaphoreMinValue = 10.5;
    v.valueFormat.ActThresholdMaxForeColor = true;
    return v;
}

void expectSameView(const ViewFile &a, const ViewFile &b)
{
    EXPECT_EQ(a.FormEnabled, b.FormEnabled);
    EXPECT_EQ(a.Left, b.Left);
    EXPECT_EQ(a.Top, b.Top);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.Height, b.Height);
    EXPECT_EQ(a.LanguageID, b.LanguageID);
    EXPECT_EQ(a.openParams.OpenServer, b.openParams.OpenServer);
    EXPECT_EQ(a.openParams.OpenDB, b.openParams.OpenDB);
    EXPECT_EQ(a.openParams.openCube, b.openParams.openCube);
    EXPECT_EQ(a.openParams.OpenFile, b.openParams.OpenFile);
    EXPECT_EQ(a.openParams.OpenWWWDir, b.openParams.OpenWWWDir);
    EXPECT_EQ(a.currentMDX, b.currentMDX);
    EXPECT_EQ(a.Title, b.Title);
    ASSERT_EQ(a.orderDim.size(), b.orderDim.size());
    for (qsizetype i = 0; i < a.orderDim.size(); ++i) {
        const OrderDim &x = a.orderDim[i];
        const OrderDim &y = b.orderDim[i];
        EXPECT_EQ(x.lugar, y.lugar);
        EXPECT_EQ(x.orden, y.orden);
        EXPECT_EQ(x.padreTexto, y.padreTexto);
        EXPECT_EQ(x.padreLlave, y.padreLlave);
        EXPECT_EQ(x.nombre, y.nombre);
        EXPECT_EQ(x.vacio, y.vacio);
        EXPECT_EQ(x.jerarquia, y.jerarquia);
        EXPECT_EQ(x.jerarquiaSalto, y.jerarquiaSalto);
        EXPECT_EQ(x.tipo, y.tipo);
        EXPECT_EQ(x.opcionTipo, y.opcionTipo);
        EXPECT_EQ(x.opcionCampo, y.opcionCampo);
        EXPECT_EQ(x.opcionValor, y.opcionValor);
        EXPECT_EQ(x.opcionTipoReg, y.opcionTipoReg);
        EXPECT_EQ(x.ordenTipo, y.ordenTipo);
        EXPECT_EQ(x.ordenCampos, y.ordenCampos);
        EXPECT_EQ(x.profundidad, y.profundidad);
    }
    EXPECT_EQ(a.paneValues, b.paneValues);
    EXPECT_EQ(a.VisibleChart2d, b.VisibleChart2d);
    EXPECT_EQ(a.VisibleChart3d, b.VisibleChart3d);
    EXPECT_EQ(a.buttons, b.buttons);
    EXPECT_EQ(a.fonts, b.fonts);
    EXPECT_EQ(a.Interactive, b.Interactive);
    // The whole line text shows every look and value-format member at once.
    EXPECT_EQ(viewFileText(a), viewFileText(b));
}

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(PELMORA_FIXTURES "/views/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// The lines of a text, each with its CR LF.
QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype end; (end = text.indexOf("\r\n", start)) >= 0; start = end + 2)
        lines << text.mid(start, end + 2 - start);
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line;
    return text;
}

} // namespace

TEST_F(ViewFileFormat, TheBytesOfASmallViewAreFixed)
{
    const QByteArray written = viewFileText(smallView());
    EXPECT_EQ(written, fixture("small-en.vcg"));
    // 72 fixed lines, one for the dimension and eight for its three lists, the statement's
    // two inner line breaks.
    EXPECT_EQ(written.count("\r\n"), 72 + 9 + 2);
    EXPECT_EQ(written.count('\n'), written.count("\r\n"));
    expectSameView(parseViewFile(written), smallView());
}

TEST_F(ViewFileFormat, KeyTextsFollowTheLocaleAndItemsDoNot)
{
    pin(QLocale::Spanish, QLocale::Spain);
    const QByteArray written = viewFileText(smallView());
    EXPECT_TRUE(written.startsWith("\"FormEnabled=Verdadero\"\r\n"));
    EXPECT_TRUE(written.contains("\"SemaphoreMinValue=10,5\"\r\n"));
    EXPECT_TRUE(written.contains("\"FontData=Verdadero\",0,#FALSE#,\"Arial\",8.25,#FALSE#,"
                                 "#FALSE#,700\r\n"));
    EXPECT_TRUE(written.contains(
        "\"orderDim(0)=0\",2,2,\"Time\",\"[Measures].[Sales]\",1,0,5,0,2,0,1,#FALSE#\r\n"));

    // Read back under English: the Spanish words and the decimal comma are understood.
    pin(QLocale::English, QLocale::UnitedStates);
    expectSameView(parseViewFile(written), smallView());
}

TEST_F(ViewFileFormat, QuotesInsideTextsAreDoubledAndReadBack)
{
    // clang-format off
    const QString texts[] = {"", "\"", "\"\"", "a\"", "\",x", "say \"hi\", then\r\nbye",
                             "Format(\"#,##0\")", "x=\"1\",\"2\""};
    // clang-format on
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        ViewFile v = smallView();
        v.Title = text;
        v.currentMDX = text;
        v.orderDim[0].nombre = text;
        v.orderDim[0].padreTexto = {text, text};
        v.fonts[0].name = text.isEmpty() ? QStringLiteral("Arial") : text;
        const ViewFile back = parseViewFile(viewFileText(v));
        EXPECT_EQ(back.Title, text);
        EXPECT_EQ(back.currentMDX, text);
        EXPECT_EQ(back.orderDim[0].nombre, text);
        EXPECT_EQ(back.orderDim[0].padreTexto, QStringList({text, text}));
        EXPECT_EQ(back.fonts[0].name, v.fonts[0].name);
    }
    EXPECT_TRUE(viewFileText(smallView()).contains("\"Title=Sales, \"\"2024\"\"\"\r\n"));
}

TEST_F(ViewFileFormat, AFileOfTheOriginalReadsAsBefore)
{
    // Windows-1252, empty texts as "", a statement over several lines with "=" inside, lower
    // case words, no lines after the appearance, a count of 0 for a missing list.
    const ViewFile v = parseViewFile(fixture("original-1252.vcg"));
    EXPECT_FALSE(v.FormEnabled);
    EXPECT_EQ(v.Left, 120);
    EXPECT_EQ(v.Top, 240.5);
    EXPECT_EQ(v.Width, 9600);
    EXPECT_EQ(v.Height, 7201);  // taken as a whole number
    EXPECT_EQ(v.LanguageID, 2); // stored as it is
    EXPECT_EQ(v.openParams.OpenServer, "olapsrv");
    EXPECT_EQ(v.openParams.OpenDB, "Ventas");
    EXPECT_EQ(v.openParams.openCube, "Ventas Año");
    EXPECT_EQ(v.openParams.OpenFile, "");
    EXPECT_EQ(v.currentMDX, "SELECT \r\n{[Tiempo].[1997]} ON AXIS(0)\r\nFROM [Ventas Año]\r\n"
                            "WHERE ([Medidas].[Importe €]) -- a=b");
    EXPECT_EQ(v.Title, "Ventas, año €");
    ASSERT_EQ(v.orderDim.size(), 2);
    EXPECT_EQ(v.orderDim[0].nombre, "Tiempo");
    EXPECT_EQ(v.orderDim[0].padreLlave, QStringList({"[Tiempo].[1997]"}));
    EXPECT_EQ(v.orderDim[0].padreTexto, QStringList({"1997"}));
    EXPECT_TRUE(v.orderDim[0].ordenCampos.isEmpty());
    EXPECT_TRUE(v.orderDim[0].vacio);
    EXPECT_EQ(v.orderDim[1].nombre, "Medidas");
    EXPECT_EQ(v.orderDim[1].lugar, 1);
    EXPECT_EQ(v.orderDim[1].tipo, 2);
    EXPECT_EQ(v.orderDim[1].opcionCampo, "");
    EXPECT_EQ(v.paneValues, (std::array<int, 4>{-1, 1440, 0, 3000}));
    EXPECT_TRUE(v.displayFlags.VisibleTitle);    // "Verdadero"
    EXPECT_FALSE(v.displayFlags.VisibleHeading); // "Falso"
    EXPECT_TRUE(v.displayFlags.VisibleMatrix);   // "true": either case
    EXPECT_FALSE(v.displayFlags.VisibleToolBar);
    EXPECT_EQ(v.fonts[0], (pelmora::ViewFont{true, 0, false, "Arial", 9.75, false, true, 700}));
    EXPECT_EQ(v.gridFormat.DataFormat, "#,##0");
    EXPECT_FALSE(v.Interactive);
    EXPECT_EQ(v.gridFormat.BackColor, 16777215);
    EXPECT_EQ(v.gridFormat.GridColorData, -2147483643);
    EXPECT_EQ(v.valueFormat.SemaphoreMinValue, 100.5);
    EXPECT_EQ(v.valueFormat.SemaphoreMaxValue, 1000.25);
    EXPECT_EQ(v.gridFormat.Appearance, 1);
}

TEST_F(ViewFileFormat, AnUnknownWordInAKeyTextReadsAsFalse)
{
    ViewFile v = smallView();
    v.displayFlags = {true, true, true, true, true};
    v.VisibleChart2d = v.VisibleChart3d = true;
    v.buttons.fill(true);
    v.fonts[pelmora::ControlFontSlot].bold = true;
    v.gridFormat.FormatSubtotal = true;
    v.valueFormat.ActThresholdMinBackColor = true;
    v.Interactive = true;
    QByteArray text = viewFileText(v);
    const qsizetype words = text.count("=True\"");
    text.replace("=True\"", "=Wahr\"");
    text.replace("\"Interactive=Wahr\"", "\"Interactive=True\"");
    ASSERT_GE(words, 25);

    const ViewFile back = parseViewFile(text);
    EXPECT_FALSE(back.FormEnabled);
    for (bool flag :
         {back.displayFlags.VisibleTitle, back.displayFlags.VisibleHeading,
          back.displayFlags.VisibleMatrix, back.displayFlags.VisibleChart,
          back.displayFlags.VisibleToolBar, back.VisibleChart2d, back.VisibleChart3d,
          back.fonts[pelmora::ControlFontSlot].bold, back.gridFormat.FormatSubtotal,
          back.valueFormat.ActThresholdMinBackColor, back.valueFormat.ActThresholdMaxForeColor})
        EXPECT_FALSE(flag);
    for (bool shown : back.buttons)
        EXPECT_FALSE(shown);
    EXPECT_TRUE(back.Interactive);
    EXPECT_EQ(back.fonts[pelmora::ControlFontSlot].weight, 400); // the rest reads as written
    EXPECT_EQ(back.Title, v.Title);
}

TEST_F(ViewFileFormat, BadFilesFailWithTheRuntimesDescription)
{
    ViewFile flat = smallView();
    flat.currentMDX = "SELECT FROM [Sales]";
    const QList<QByteArray> lines = linesOf(viewFileText(flat));
    ASSERT_EQ(lines.size(), 72 + 9);
    // Line numbers of this file: the dimension block is lines 12 to 20, so fixed line n from
    // 12 on is line n + 9.
    auto replaced = [&](int line, const QByteArray &with) {
        QList<QByteArray> copy = lines;
        copy[line - 1] = with;
        return joined(copy);
    };
    auto truncated = [&](int keep) { return joined(lines.mid(0, keep)); };
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *description;
    } cases[] = {
        {"empty file", "", "Input past end of file"},
        {"only line ends", "\r\n\r\n\n", "Input past end of file"},
        {"ends after line 1", truncated(1), "Input past end of file"},
        {"ends in the dimension block", truncated(15), "Input past end of file"},
        {"ends at the fonts", truncated(43), "Input past end of file"},
        {"ends before the appearance", truncated(77), "Input past end of file"},
        {"ends inside a quoted text", truncated(21) + "\"VisibleTitle=Tr",
         "Input past end of file"},
        {"a count beyond its lines", replaced(11, "\"NumDims=3\"\r\n"), "Bad record length"},
        {"a list count beyond its lines", replaced(13, "\"orderFieldNum=4\"\r\n"),
         "Bad record length"},
        {"more dimensions than records", replaced(11, "\"NumDims=130\"\r\n"),
         "Subscript out of range"},
        {"a negative count", replaced(11, "\"NumDims=-1\"\r\n"), "Subscript out of range"},
        {"a word where a number goes", replaced(3, "\"LanguageID=one\"\r\n"), "Type mismatch"},
        {"a text where a colour goes", replaced(48, "\"BackColor=white\"\r\n"), "Type mismatch"},
        {"a number beyond 32 bits", replaced(48, "\"BackColor=99999999999\"\r\n"), "Overflow"},
        {"a bad item of a dimension",
         replaced(12, "\"orderDim(0)=0\",2,2,\"Time\",\"\",x,0,5,"
                      "0,2,0,1,#FALSE#\r\n"),
         "Type mismatch"},
        {"a bound with grouping", replaced(64, "\"SemaphoreMinValue=1.000,5\"\r\n"),
         "Type mismatch"},
        {"an unknown word for Interactive", replaced(47, "\"Interactive=Yes\"\r\n"),
         "Type mismatch"},
        {"a missing item", replaced(2, "\"FormPosition=0\",15,9600\r\n"), "Bad record length"},
        {"an empty font name",
         replaced(43, "\"FontData=True\",0,#FALSE#,\"\",8,#FALSE#,"
                      "#FALSE#,400\r\n"),
         "Invalid property value"},
        {"a blank font name",
         replaced(43, "\"FontData=True\",0,#FALSE#,\"  \",8,#FALSE#,"
                      "#FALSE#,400\r\n"),
         "Invalid property value"},
        {"a font size that rounds to 0",
         replaced(43, "\"FontData=True\",0,#FALSE#,\"Arial\","
                      "0.00004,#FALSE#,#FALSE#,400\r\n"),
         "Invalid property value"},
        {"a negative width", replaced(2, "\"FormPosition=0\",15,-9600,7200\r\n"),
         "Invalid property value"},
        {"an infinite width", replaced(2, "\"FormPosition=0\",15,inf,7200\r\n"), "Type mismatch"},
        {"a negative height", replaced(2, "\"FormPosition=0\",15,9600,-7200\r\n"),
         "Invalid property value"},
        {"an unknown grid line style", replaced(58, "\"GridLinesData=99\"\r\n"),
         "Invalid property value"},
        {"an unknown fixed grid line style", replaced(59, "\"GridLines=-1\"\r\n"),
         "Invalid property value"},
        {"an unknown appearance", replaced(78, "\"Appearance=7\"\r\n"), "Invalid property value"},
        // The first line reads as a Boolean False; the second lacks its items.
        {"binary bytes", QByteArray("\x00\xff\x13\x89PNG\r\n\x1a\n\x00\x00", 14),
         "Bad record length"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(failureOf(c.bytes), QString::fromLatin1(c.description));
    }

    // Lines after the appearance are not needed; a last line without its line end reads too.
    EXPECT_EQ(failureOf(truncated(78)), "");
    QByteArray noEnd = truncated(78);
    noEnd.chop(2);
    EXPECT_EQ(failureOf(noEnd), "");
    // Files of other systems: LF line ends, a byte-order mark.
    QByteArray lf = viewFileText(smallView());
    lf.replace("\r\n", "\n");
    EXPECT_EQ(failureOf(lf), "");
    EXPECT_EQ(failureOf("\xEF\xBB\xBF" + viewFileText(smallView())), "");
}

TEST_F(ViewFileFormat, AViewWithoutDimensionsOrPositions)
{
    ViewFile v = smallView();
    v.orderDim.clear();
    v.Left = v.Top = v.Width = v.Height = std::nullopt;
    const QByteArray written = viewFileText(v);
    EXPECT_TRUE(written.contains("\"FormPosition=\",,,\r\n"));
    EXPECT_TRUE(written.contains("\"NumDims=0\"\r\n\"VisibleTitle=True\",-1\r\n"));
    expectSameView(parseViewFile(written), v);
}

TEST_F(ViewFileFormat, TextsAreUtf8OrElseWindows1252)
{
    EXPECT_EQ(pelmora::decodeViewFileText("A\xC3\xB1o \xE2\x82\xAC"), QString("Año €"));
    EXPECT_EQ(pelmora::decodeViewFileText("A\xF1o \x80 \x93x\x94 \x81"),
              QString("Año € “x” ") + QChar(0x81));
}

TEST_F(ViewFileFormat, TheOriginalsChartNamesCutAtTheFirstDot)
{
    EXPECT_EQ(pelmora::firstDotFileName("/a.b/v.vcg", ".oc2"), "/a.oc2");
    EXPECT_EQ(pelmora::firstDotFileName("/views/v.vcg", ".oc3"), "/views/v.oc3");
    EXPECT_EQ(pelmora::firstDotFileName("/views/v", ".oc3"), "/views/v.oc3");
}
