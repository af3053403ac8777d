#include "basic_highlighter.h"

#include "basic_tokens.h"

#include <QPalette>

#include <cmath>
#include <set>
#include <string>

namespace {

// The keywords as whole upper-case words: the table's one-word keywords
// and the tool's other spellings. The two-word keywords are found by their
// first word (see KeywordLength).
const std::set<QString>& SingleWordKeywords()
{
    static const std::set<QString> words = [] {
        std::set<QString> set;
        for (std::string_view keyword : BasicTokens) {
            const QString text = QString::fromLatin1(keyword.data(), qsizetype(keyword.size()));
            if (!text.isEmpty() && text[0].isLetter() && !text.contains(QLatin1Char(' ')))
                set.insert(text);
        }
        for (const char* extra : {"GOTO", "GOSUB", "DEFFN", "RANDOMISE"})
            set.insert(QString::fromLatin1(extra));
        return set;
    }();
    return words;
}

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsHexDigit(QChar c)
{
    return IsDigit(c) || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool IsGraphicMark(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('\'') || c == QLatin1Char(':');
}

class LineScanner
{
public:
    explicit LineScanner(const QString& line) : m_line(line), m_size(int(line.size())) {}

    BasicLineClasses Run(BasicLineState start)
    {
        BasicLineState state = start;
        int i = 0;
        if (state == BasicLineState::LineStart) {
            if (m_size > 0 && m_line[0] == QLatin1Char('#')) {
                const bool directive = IsDirective();
                Add(0, m_size, directive ? BasicTextClass::Directive : BasicTextClass::Comment);
                m_result.end = directive || !EndsContinued() ? BasicLineState::LineStart
                                                             : BasicLineState::InComment;
                return m_result;
            }
            while (i < m_size && IsBlank(m_line[i]))
                ++i;
            const int numberStart = i;
            while (i < m_size && IsDigit(m_line[i]))
                ++i;
            Add(numberStart, i - numberStart, BasicTextClass::LineNumber);
            state = BasicLineState::InCode;
        }
        if (state == BasicLineState::InComment) {
            Add(0, m_size, BasicTextClass::Comment);
            m_result.end = EndsContinued() ? BasicLineState::InComment : BasicLineState::LineStart;
            return m_result;
        }
        if (state == BasicLineState::InRem)
            return Rem(i);
        if (state == BasicLineState::InString) {
            i = String(i, false);
            if (i < 0)
                return m_result;
        }
        return Code(i);
    }

private:
    void Add(int start, int length, BasicTextClass textClass)
    {
        if (length > 0)
            m_result.spans.push_back({start, length, textClass});
    }

    bool EndsContinued() const
    {
        return m_size > 0 && m_line[m_size - 1] == QLatin1Char('\\');
    }

    // "#word" with a blank after the word and a digit (autostart) or a hex
    // byte after the blanks, as the tool reads it.
    bool IsDirective() const
    {
        for (const char* word : {"autostart", "variables", "tail"}) {
            const QString w = QString::fromLatin1(word);
            if (m_line.mid(1, w.size()) != w)
                continue;
            int d = 1 + int(w.size());
            if (d >= m_size || !IsBlank(m_line[d]))
                return false;
            while (d < m_size && IsBlank(m_line[d]))
                ++d;
            if (d >= m_size)
                return false;
            if (w == QLatin1String("autostart"))
                return IsDigit(m_line[d]);
            return d + 1 < m_size && IsHexDigit(m_line[d]) && IsHexDigit(m_line[d + 1]);
        }
        return false;
    }

    // The length of the escape at i ("\" first); 0 for a lone "\".
    int EscapeLength(int i) const
    {
        if (i + 1 >= m_size)
            return 1; // the line-continuing backslash
        const QChar c = m_line[i + 1];
        if (c == QLatin1Char('{')) {
            const int close = int(m_line.indexOf(QLatin1Char('}'), i + 2));
            return close < 0 ? 1 : close - i + 1;
        }
        if (c == QLatin1Char('#')) {
            int n = 0;
            while (n < 10 && i + 2 + n < m_size && IsHexDigit(m_line[i + 2 + n]))
                ++n;
            return n == 10 ? 12 : 1;
        }
        if (IsGraphicMark(c))
            return i + 2 < m_size && IsGraphicMark(m_line[i + 2]) ? 3 : 1;
        const QChar lower = c.toLower();
        if ((lower >= QLatin1Char('a') && lower <= QLatin1Char('u')) || c == QLatin1Char('*') ||
            c == QLatin1Char('\\') || c == QLatin1Char('@'))
            return 2;
        return 1;
    }

    // A stretch of REM or string text from i to `end`, its escapes marked.
    void TextWithEscapes(int i, int end, BasicTextClass textClass)
    {
        int run = i;
        while (i < end) {
            if (m_line[i] != QLatin1Char('\\')) {
                ++i;
                continue;
            }
            const int length = std::min(EscapeLength(i), end - i);
            Add(run, i - run, textClass);
            Add(i, length, BasicTextClass::Escape);
            i += length;
            run = i;
        }
        Add(run, end - run, textClass);
    }

    BasicLineClasses Rem(int i)
    {
        TextWithEscapes(i, m_size, BasicTextClass::Comment);
        m_result.end = EndsContinued() ? BasicLineState::InRem : BasicLineState::LineStart;
        return m_result;
    }

    // A string from i (its opening quote already behind when `opened` is
    // false). Returns where code goes on, or -1 when the line ended in it.
    int String(int i, bool opened)
    {
        const int start = i;
        int k = opened ? i + 1 : i;
        while (k < m_size && m_line[k] != QLatin1Char('"'))
            ++k;
        if (k >= m_size) {
            TextWithEscapes(start, m_size, BasicTextClass::String);
            m_result.end = EndsContinued() ? BasicLineState::InString : BasicLineState::LineStart;
            return -1;
        }
        TextWithEscapes(start, k + 1, BasicTextClass::String);
        return k + 1;
    }

    // The length of the keyword starting with the word at i (of `length`
    // letters and maybe a "$"), 0 when it is none.
    int KeywordLength(int i, int length) const
    {
        const QString word = m_line.mid(i, length).toUpper();
        auto nextWord = [&](const char* expected) {
            int k = i + length;
            while (k < m_size && IsBlank(m_line[k]))
                ++k;
            const QString w = QString::fromLatin1(expected);
            if (k == i + length || m_line.mid(k, w.size()).toUpper() != w)
                return 0;
            const int end = k + int(w.size());
            return end < m_size && IsAsciiLetter(m_line[end]) ? 0 : end - i;
        };
        if (word == QLatin1String("GO")) {
            const int to = nextWord("TO");
            return to ? to : nextWord("SUB");
        }
        if (word == QLatin1String("DEF"))
            return nextWord("FN");
        if (word == QLatin1String("OPEN") || word == QLatin1String("CLOSE")) {
            int k = i + length;
            while (k < m_size && IsBlank(m_line[k]))
                ++k;
            return k < m_size && m_line[k] == QLatin1Char('#') ? k + 1 - i : 0;
        }
        return SingleWordKeywords().count(word) ? length : 0;
    }

    int NumberEnd(int i) const
    {
        int k = i;
        while (k < m_size && IsDigit(m_line[k]))
            ++k;
        if (k < m_size && m_line[k] == QLatin1Char('.')) {
            ++k;
            while (k < m_size && IsDigit(m_line[k]))
                ++k;
        }
        if (k < m_size && m_line[k].toLower() == QLatin1Char('e')) {
            int e = k + 1;
            if (e < m_size && (m_line[e] == QLatin1Char('+') || m_line[e] == QLatin1Char('-')))
                ++e;
            if (e < m_size && IsDigit(m_line[e])) {
                k = e;
                while (k < m_size && IsDigit(m_line[k]))
                    ++k;
            }
        }
        return k;
    }

    BasicLineClasses Code(int i)
    {
        while (i < m_size) {
            const QChar c = m_line[i];
            if (c == QLatin1Char('"')) {
                i = String(i, true);
                if (i < 0)
                    return m_result;
            } else if (c == QLatin1Char('\\')) {
                const int length = EscapeLength(i);
                // A hidden number belongs to the number it follows.
                const bool hidden = length == 12 && m_line[i + 1] == QLatin1Char('#');
                Add(i, length, hidden ? BasicTextClass::Number : BasicTextClass::Escape);
                i += length;
            } else if (IsDigit(c) || (c == QLatin1Char('.') && i + 1 < m_size && IsDigit(m_line[i + 1]))) {
                const int end = NumberEnd(i);
                Add(i, end - i, BasicTextClass::Number);
                i = end;
            } else if (IsAsciiLetter(c)) {
                int k = i;
                while (k < m_size && IsAsciiLetter(m_line[k]))
                    ++k;
                int length = k - i;
                // "INKEY$", "STR$": the dollar belongs to the keyword.
                if (k < m_size && m_line[k] == QLatin1Char('$') &&
                    SingleWordKeywords().count(m_line.mid(i, length + 1).toUpper()))
                    ++length;
                const int keyword = KeywordLength(i, length);
                if (keyword == 0) {
                    i += length;
                    continue;
                }
                Add(i, keyword, BasicTextClass::Keyword);
                const bool rem = m_line.mid(i, keyword).toUpper() == QLatin1String("REM");
                i += keyword;
                if (rem)
                    return Rem(i);
            } else {
                ++i;
            }
        }
        m_result.end = EndsContinued() ? BasicLineState::InCode : BasicLineState::LineStart;
        return m_result;
    }

    const QString& m_line;
    const int m_size;
    BasicLineClasses m_result;
};

double Luminance(const QColor& colour)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor c = colour.toRgb();
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The colour with its lightness moved away from the background's until the
// two contrast enough (towards white on a dark background, black on a light).
QColor Readable(QColor colour, const QColor& background)
{
    constexpr double kMinContrast = 4.5;
    const bool darkBackground = Luminance(background) < 0.18;
    colour = colour.toHsl();
    for (int step = 0; step < 40 && ContrastRatio(colour, background) < kMinContrast; ++step) {
        const float lightness = std::clamp(colour.lightnessF() + (darkBackground ? 0.05f : -0.05f), 0.0f, 1.0f);
        colour.setHslF(colour.hslHueF(), colour.hslSaturationF(), lightness);
    }
    return colour.toRgb();
}

QTextCharFormat Format(const QColor& colour, const QColor& background, bool bold = false, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(Readable(colour, background));
    if (bold)
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

} // namespace

BasicLineClasses ClassifyBasicLine(const QString& line, BasicLineState start)
{
    return LineScanner(line).Run(start);
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::array<QTextCharFormat, kBasicTextClassCount> BasicTextFormats(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    std::array<QTextCharFormat, kBasicTextClassCount> formats;
    auto at = [&](BasicTextClass c) -> QTextCharFormat& { return formats[size_t(c)]; };
    at(BasicTextClass::LineNumber) = Format(palette.color(QPalette::Text), base, true);
    at(BasicTextClass::Keyword) = Format(palette.color(QPalette::Link), base, true);
    at(BasicTextClass::Number) = Format(QColor::fromHsl(25, 200, 110), base);
    at(BasicTextClass::String) = Format(QColor::fromHsl(120, 160, 80), base);
    at(BasicTextClass::Comment) = Format(palette.color(QPalette::PlaceholderText), base, false, true);
    at(BasicTextClass::Directive) = Format(palette.color(QPalette::LinkVisited), base, true);
    at(BasicTextClass::Escape) = Format(QColor::fromHsl(300, 160, 110), base);
    return formats;
}

BasicHighlighter::BasicHighlighter(QTextDocument* document, const QPalette& palette)
    : QSyntaxHighlighter(document), m_formats(BasicTextFormats(palette))
{
}

void BasicHighlighter::SetPalette(const QPalette& palette)
{
    m_formats = BasicTextFormats(palette);
    rehighlight();
}

void BasicHighlighter::highlightBlock(const QString& text)
{
    const int previous = previousBlockState();
    const BasicLineState start =
        previous < 0 ? BasicLineState::LineStart : static_cast<BasicLineState>(previous);
    const BasicLineClasses classes = ClassifyBasicLine(text, start);
    for (const BasicTextSpan& span : classes.spans)
        setFormat(span.start, span.length, m_formats[size_t(span.textClass)]);
    setCurrentBlockState(int(classes.end));
}
