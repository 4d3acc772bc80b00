#include "platform/widgets/MdxEdit.h"

#include <QFontDatabase>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace platform::widgets {

// Colours each block from the spans of the whole text, so that a comment or string that runs
// over several lines is coloured on each of them. A block's state is the kind of the span that
// runs on past its end (-1 for none): when it changes, the next block is coloured again.
class MdxHighlighter : public QSyntaxHighlighter
{
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

    void setRules(MdxHighlightRules rules)
    {
        m_rules = std::move(rules);
        m_text.clear();
        m_spans.clear();
        m_valid = false;
        rehighlight();
    }

protected:
    void highlightBlock(const QString &block) override
    {
        if (!m_rules)
            return;
        refresh();
        const int begin = currentBlock().position();
        const int end = begin + int(block.size());
        int carried = -1;
        for (const MdxTextSpan &span : m_spans) {
            const int from = std::max(span.start, begin);
            const int to = std::min(span.start + span.length, end);
            if (from < to)
                setFormat(from - begin, to - from, format(span.kind));
            // The span covers this block's line break: it goes on in the next block.
            if (span.start <= end && span.start + span.length > end)
                carried = int(span.kind);
        }
        setCurrentBlockState(carried);
    }

private:
    // The spans are worked out once per text, not once per block.
    void refresh()
    {
        const QString text = document()->toPlainText();
        if (m_valid && text == m_text)
            return;
        m_text = text;
        m_spans = m_rules(text);
        m_valid = true;
    }

    static QTextCharFormat format(MdxTextKind kind)
    {
        QTextCharFormat f;
        f.setForeground(MdxEdit::colour(kind));
        if (kind == MdxTextKind::Keyword)
            f.setFontWeight(QFont::Bold);
        if (kind == MdxTextKind::Comment)
            f.setFontItalic(true);
        return f;
    }

    MdxHighlightRules m_rules;
    QString m_text;
    std::vector<MdxTextSpan> m_spans;
    bool m_valid = false;
};

MdxEdit::MdxEdit(QWidget *parent)
    : QPlainTextEdit(parent), m_highlighter(new MdxHighlighter(document()))
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
}

MdxEdit::~MdxEdit() = default;

QString MdxEdit::text() const
{
    QString text = toPlainText();
    if (m_lineBreak != QLatin1String("\n"))
        text.replace(u'\n', m_lineBreak);
    return text;
}

void MdxEdit::setText(const QString &text)
{
    m_lineBreak =
        text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    setPlainText(text);
}

void MdxEdit::setHighlightRules(MdxHighlightRules rules)
{
    m_highlighter->setRules(std::move(rules));
}

QColor MdxEdit::colour(MdxTextKind kind)
{
    switch (kind) {
    case MdxTextKind::Keyword:
        return QColor(0x00, 0x00, 0xC0);
    case MdxTextKind::Function:
        return QColor(0x80, 0x00, 0x80);
    case MdxTextKind::Name:
        return QColor(0x00, 0x70, 0x30);
    case MdxTextKind::String:
        return QColor(0xB0, 0x30, 0x00);
    case MdxTextKind::Comment:
        return QColor(0x70, 0x70, 0x70);
    case MdxTextKind::Number:
        return QColor(0x00, 0x70, 0x90);
    }
    return QColor(Qt::black);
}

} // namespace platform::widgets
