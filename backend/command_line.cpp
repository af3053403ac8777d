#include "command_line.h"

#include <QFileInfo>

namespace {

bool IsBlank(QChar ch)
{
    return ch == QLatin1Char(' ') || ch == QLatin1Char('\t');
}

} // namespace

std::vector<CommandLineWord> SplitCommandLineWords(const QString& commandLine)
{
    std::vector<CommandLineWord> words;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;
    for (;;) {
        while (i < n && IsBlank(commandLine[i]))
            ++i;
        if (i == n)
            return words;
        CommandLineWord word;
        word.begin = i;
        bool inQuotes = false;
        while (i < n && (inQuotes || !IsBlank(commandLine[i]))) {
            const QChar ch = commandLine[i];
            if (ch == QLatin1Char('\\') && i + 1 < n && commandLine[i + 1] == QLatin1Char('"')) {
                word.text.append(QLatin1Char('"'));
                word.quoted = true;
                i += 2;
            } else if (ch == QLatin1Char('"')) {
                inQuotes = !inQuotes;
                word.quoted = true;
                ++i;
            } else {
                word.text.append(ch);
                ++i;
            }
        }
        word.end = i;
        words.push_back(std::move(word));
    }
}

QStringList SplitCommandLine(const QString& commandLine)
{
    QStringList args;
    for (CommandLineWord& word : SplitCommandLineWords(commandLine))
        args.append(std::move(word.text));
    return args;
}

QString QuoteArgument(const QString& text)
{
    qsizetype body = text.size();
    while (body > 0 && text[body - 1] == QLatin1Char('\\'))
        --body;
    QString out;
    out.reserve(text.size() + 4);
    out.append(QLatin1Char('"'));
    for (qsizetype i = 0; i < body; ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('"')) {
            out.append(QLatin1String("\\\""));
        } else if (ch == QLatin1Char('\\') && text[i + 1] == QLatin1Char('"')) {
            // Written as \\" : the first backslash is followed by a backslash,
            // so it stays; the second escapes the quote. The program gets \".
            out.append(QLatin1Char('\\'));
            out.append(QLatin1String("\\\""));
            ++i;
        } else {
            out.append(ch);
        }
    }
    out.append(QLatin1Char('"'));
    out.append(QStringView(text).sliced(body));
    return out;
}

QString BareArgument(const QString& text)
{
    for (QChar ch : text) {
        if (IsBlank(ch) || ch == QLatin1Char('"'))
            return QuoteArgument(text);
    }
    return text;
}

ResolvedCommand ResolveCommandLine(const QString& commandLine)
{
    const std::vector<CommandLineWord> words = SplitCommandLineWords(commandLine);
    ResolvedCommand resolved;
    if (words.empty())
        return resolved;

    // Candidates are the runs of leading words written without quotes, so the
    // exact text of the command line between them is the path's own.
    size_t plainWords = 0;
    while (plainWords < words.size() && !words[plainWords].quoted)
        ++plainWords;
    size_t programWords = 1;
    for (size_t count = plainWords; count >= 2; --count) {
        const QString candidate =
            commandLine.mid(words[0].begin, words[count - 1].end - words[0].begin);
        if (QFileInfo(candidate).isFile()) {
            programWords = count;
            break;
        }
    }
    if (programWords == 1) {
        resolved.program = words[0].text;
    } else {
        resolved.program =
            commandLine.mid(words[0].begin, words[programWords - 1].end - words[0].begin);
    }
    for (size_t i = programWords; i < words.size(); ++i)
        resolved.arguments.append(words[i].text);
    return resolved;
}
