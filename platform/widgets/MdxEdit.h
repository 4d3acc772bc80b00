#pragma once

#include <QPlainTextEdit>
#include <QString>

#include <functional>
#include <vector>

namespace platform::widgets {

class MdxHighlighter;

// What a stretch of statement text is, for its colour.
enum class MdxTextKind : int {
    Keyword,  // SELECT, FROM, ON, NON EMPTY ...
    Function, // a function or property word: CrossJoin(, .Members
    Name,     // [bracketed name]
    String,   // "text" or 'text'
    Comment,  // -- and // to the end of the line, /* ... */
    Number,
};

struct MdxTextSpan
{
    int start = 0; // offset in the whole text
    int length = 0;
    MdxTextKind kind = MdxTextKind::Keyword;
};

// The colouring rules: the spans of a whole statement text, in any order. Text outside every
// span keeps the plain colour. The box holds no rules of its own: its owner knows the language.
using MdxHighlightRules = std::function<std::vector<MdxTextSpan>(const QString &text)>;

// A plain-text editor for MDX statements. Its text is the statement (text() / setText());
// with highlighting rules the words are coloured as they are typed.
class MdxEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MdxEdit(QWidget *parent = nullptr);
    ~MdxEdit() override;

    // The text keeps the line breaks it was given: an editor holds them as LF, and a text set
    // with CR LF reads back with CR LF.
    QString text() const; // id 0
    void setText(const QString &text);

    // An empty function turns the colouring off.
    void setHighlightRules(MdxHighlightRules rules);

    // The colour a kind is drawn in.
    static QColor colour(MdxTextKind kind);

private:
    MdxHighlighter *m_highlighter;
    QString m_lineBreak = QStringLiteral("\n");
};

} // namespace platform::widgets
