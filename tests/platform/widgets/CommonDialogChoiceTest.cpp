// The common dialog's colour and font dialogs: they show what they were given, hand back the
// choice, and on Cancel keep the values given and raise the error only when asked to.
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "tests/support/ScriptedModalRunner.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>

using platform::widgets::CommonDialog;
using testing_support::ScriptedModalRunner;

namespace {

int cancel(QDialog &)
{
    return int(QDialog::Rejected);
}

// The description a call throws, or "(no error)".
template <typename F>
QString errorOf(F &&f)
{
    try {
        f();
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(no error)");
}

// A font family with bold and italic styles, so that the dialog can show both.
QString familyWithStyles()
{
    for (const QString &family : QFontDatabase::families()) {
        const QStringList styles = QFontDatabase::styles(family);
        bool bold = false;
        bool italic = false;
        for (const QString &style : styles) {
            bold = bold || style.contains(QLatin1String("Bold"));
            italic = italic || style.contains(QLatin1String("Italic"))
                     || style.contains(QLatin1String("Oblique"));
        }
        if (bold && italic)
            return family;
    }
    return {};
}

} // namespace

TEST(CommonDialogColor, ShowsTheColourGivenAndAnswersTheChoice)
{
    ScriptedModalRunner runner;
    runner.then([](QDialog &dialog) {
        auto *colors = qobject_cast<QColorDialog *>(&dialog);
        EXPECT_NE(colors, nullptr);
        if (!colors)
            return int(QDialog::Rejected);
        EXPECT_EQ(colors->windowTitle(), "Color");
        EXPECT_EQ(colors->currentColor(), QColor(0x11, 0x22, 0x33)); // 0x00BBGGRR given
        colors->setCurrentColor(QColor(200, 100, 50));
        colors->accept();
        return -1;
    });
    // Chosen without the dialog's own OK: the current colour counts.
    runner.then([](QDialog &dialog) {
        static_cast<QColorDialog &>(dialog).setCurrentColor(QColor(1, 2, 3));
        return int(QDialog::Accepted);
    });
    CommonDialog dlg;
    dlg.setDialogTitle("Color");
    dlg.setFlags(3);
    dlg.setColor(0x332211);
    dlg.setCancelError(true);
    dlg.showColor();
    EXPECT_EQ(dlg.color(), 200 | (100 << 8) | (50 << 16));
    dlg.showColor();
    EXPECT_EQ(dlg.color(), 0x030201);
    EXPECT_EQ(dlg.flags(), 3);
    EXPECT_EQ(runner.shown(), QStringList({"colorDialog", "colorDialog"}));
}

TEST(CommonDialogColor, CancelKeepsTheColourAndRaisesOnlyWhenAsked)
{
    ScriptedModalRunner runner;
    runner.then(cancel);
    runner.then(cancel);
    runner.then(cancel);
    CommonDialog dlg;
    dlg.setColor(0x00FF00);
    EXPECT_EQ(errorOf([&] { dlg.showColor(); }), "(no error)");
    EXPECT_EQ(dlg.color(), 0x00FF00);
    dlg.setCancelError(true);
    EXPECT_EQ(errorOf([&] { dlg.showColor(); }), CommonDialog::cancelDescription());
    EXPECT_EQ(dlg.color(), 0x00FF00);
    // A system colour shows as white and comes back unchanged.
    dlg.setColor(qint32(0x8000000F));
    EXPECT_EQ(errorOf([&] { dlg.showColor(); }), CommonDialog::cancelDescription());
    EXPECT_EQ(dlg.color(), qint32(0x8000000F));
    EXPECT_EQ(runner.unexpected(), 0);
}

TEST(CommonDialogFont, ShowsTheFontGivenAndAnswersTheChoice)
{
    const QString family = familyWithStyles();
    ASSERT_FALSE(family.isEmpty()) << "no font with bold and italic styles";
    ScriptedModalRunner runner;
    runner.then([&](QDialog &dialog) {
        auto *fonts = qobject_cast<QFontDialog *>(&dialog);
        EXPECT_NE(fonts, nullptr);
        if (!fonts)
            return int(QDialog::Rejected);
        EXPECT_EQ(fonts->windowTitle(), "Fuente");
        const QFont shown = fonts->currentFont();
        EXPECT_EQ(shown.family(), family);
        EXPECT_TRUE(shown.bold());
        EXPECT_FALSE(shown.italic());
        EXPECT_TRUE(shown.underline());
        EXPECT_DOUBLE_EQ(shown.pointSizeF(), 12);
        QFont chosen(family);
        chosen.setPointSize(16);
        chosen.setItalic(true);
        chosen.setStrikeOut(true);
        fonts->setCurrentFont(chosen);
        fonts->accept();
        return -1;
    });
    CommonDialog dlg;
    dlg.setDialogTitle("Fuente");
    dlg.setFlags(3);
    dlg.setFontName(family);
    dlg.setFontSize(12);
    dlg.setFontBold(true);
    dlg.setFontUnderline(true);
    dlg.setCancelError(true);
    dlg.showFont();
    EXPECT_EQ(dlg.fontName(), family);
    EXPECT_FLOAT_EQ(dlg.fontSize(), 16);
    EXPECT_FALSE(dlg.fontBold());
    EXPECT_TRUE(dlg.fontItalic());
    EXPECT_FALSE(dlg.fontUnderline());
    EXPECT_TRUE(dlg.fontStrikethrough());
    EXPECT_TRUE(runner.done());
}

TEST(CommonDialogFont, CancelKeepsTheFontAndRaisesOnlyWhenAsked)
{
    ScriptedModalRunner runner;
    runner.then(cancel);
    runner.then(cancel);
    CommonDialog dlg;
    dlg.setFontName("No Such Font Family");
    dlg.setFontSize(9.5f);
    dlg.setFontItalic(true);
    EXPECT_EQ(errorOf([&] { dlg.showFont(); }), "(no error)");
    dlg.setCancelError(true);
    EXPECT_EQ(errorOf([&] { dlg.showFont(); }), CommonDialog::cancelDescription());
    EXPECT_EQ(dlg.fontName(), "No Such Font Family");
    EXPECT_FLOAT_EQ(dlg.fontSize(), 9.5f);
    EXPECT_TRUE(dlg.fontItalic());
    EXPECT_FALSE(dlg.fontBold());
    EXPECT_EQ(runner.shown(), QStringList({"fontDialog", "fontDialog"}));
}
