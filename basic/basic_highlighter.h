#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>
#include <vector>

class QPalette;

// What a stretch of a program text is, for its colour.
enum class BasicTextClass {
    LineNumber, // the number that starts a program line
    Keyword,    // PRINT, GO TO, goto, DEF FN, OPEN #, INKEY$ ...
    Number,     // 10, .5, 1E3, and a hidden value \#0000050000
    String,     // "..." with its quotes
    Comment,    // REM and what follows it; "#" lines that are no directive
    Directive,  // #autostart, #variables, #tail lines
    Escape,     // \a ... \u, block graphics, \{n}, \*, \\, \@ and a line-continuing "\"
};
inline constexpr int kBasicTextClassCount = 7;

struct BasicTextSpan
{
    int start = 0;
    int length = 0;
    BasicTextClass textClass = BasicTextClass::Keyword;
};

// How a text line ends, carried into the next one: a line ending in "\" goes
// on in the next text line (inside a REM, a string, code or a comment).
enum class BasicLineState : int {
    LineStart = 0, // a new program line (also the state before the first line)
    InCode = 1,
    InString = 2,
    InRem = 3,
    InComment = 4,
};

struct BasicLineClasses
{
    std::vector<BasicTextSpan> spans; // in order, not overlapping
    BasicLineState end = BasicLineState::LineStart;
};

// The classes of one text line that starts in `start`. Pure: the highlighter
// only turns these into formats. Keywords are found as whole words (letters,
// with a "$" where the keyword has one), in any case, with the tool's own
// spellings (GOTO, GOSUB, DEFFN, OPEN#, CLOSE#, RANDOMISE) and the
// two-word keywords with blanks between their parts.
BasicLineClasses ClassifyBasicLine(const QString& line, BasicLineState start);

// The text formats of the classes, derived from a palette: hues from its
// link colours and fixed ones for numbers, strings and escapes, the comment
// from its placeholder text, each made light or dark enough to be read
// against the palette's Base colour (a contrast ratio of at least 4.5:1, so
// a dark theme gets light colours). Indexed by int(BasicTextClass).
std::array<QTextCharFormat, kBasicTextClassCount> BasicTextFormats(const QPalette& palette);

// The contrast ratio of two colours (1 to 21), from their relative luminance.
double ContrastRatio(const QColor& a, const QColor& b);

// Colours a program text in a document.
class BasicHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    BasicHighlighter(QTextDocument* document, const QPalette& palette);

    // New colours (the palette changed); the document is coloured again.
    void SetPalette(const QPalette& palette);

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, kBasicTextClassCount> m_formats;
};
