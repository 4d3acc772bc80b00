#include "platform/widgets/MdxEdit.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

using platform::widgets::MdxEdit;
using platform::widgets::MdxTextKind;
using platform::widgets::MdxTextSpan;

namespace {

// Rules for the test: "{" opens a comment that runs to "}" or the end, across lines; words
// in capitals are keywords.
std::vector<MdxTextSpan> braceRules(const QString &text)
{
    std::vector<MdxTextSpan> spans;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'{') {
            const qsizetype close = text.indexOf(u'}', i);
            const int end = close < 0 ? int(text.size()) : int(close) + 1;
            spans.push_back({i, end - i, MdxTextKind::Comment});
            i = end - 1;
        } else if (text[i].isUpper()) {
            int end = i;
            while (end < text.size() && text[end].isUpper())
                ++end;
            spans.push_back({i, end - i, MdxTextKind::Keyword});
            i = end - 1;
        }
    }
    return spans;
}

// The coloured stretches of block n as "text=kind colour".
QStringList colouredIn(const MdxEdit &edit, int n)
{
    const QTextBlock block = edit.document()->findBlockByNumber(n);
    QStringList out;
    for (const QTextLayout::FormatRange &r : block.layout()->formats())
        out << block.text().mid(r.start, r.length) + u'=' + r.format.foreground().color().name();
    return out;
}

} // namespace

TEST(MdxEdit, ColoursWhatItsRulesSayAcrossLinesAsTheTextChanges)
{
    MdxEdit edit;
    const QString keyword = MdxEdit::colour(MdxTextKind::Keyword).name();
    const QString comment = MdxEdit::colour(MdxTextKind::Comment).name();
    edit.setText("SELECT {a\nb} x\nFROM");
    EXPECT_EQ(edit.text(), "SELECT {a\nb} x\nFROM");
    edit.setText("SELECT\r\nFROM");
    EXPECT_EQ(edit.text(), "SELECT\r\nFROM"); // the line breaks it was given
    edit.setText("SELECT {a\nb} x\nFROM");
    // No rules yet: plain text.
    EXPECT_TRUE(colouredIn(edit, 0).isEmpty());

    edit.setHighlightRules(braceRules);
    EXPECT_EQ(colouredIn(edit, 0), QStringList({"SELECT=" + keyword, "{a=" + comment}));
    EXPECT_EQ(colouredIn(edit, 1), QStringList({"b}=" + comment}));
    EXPECT_EQ(colouredIn(edit, 2), QStringList({"FROM=" + keyword}));

    // Closing the comment on the first line recolours the lines after it.
    QTextCursor cursor(edit.document()->findBlockByNumber(0));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText("}");
    EXPECT_EQ(colouredIn(edit, 0), QStringList({"SELECT=" + keyword, "{a}=" + comment}));
    EXPECT_TRUE(colouredIn(edit, 1).isEmpty()) << colouredIn(edit, 1).join(' ').toStdString();
    // Opening one that is never closed colours everything after it.
    cursor = QTextCursor(edit.document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText("{");
    EXPECT_EQ(colouredIn(edit, 2), QStringList({"FROM=" + comment}));

    // Without rules the colours go.
    edit.setHighlightRules({});
    EXPECT_TRUE(colouredIn(edit, 0).isEmpty());
}
