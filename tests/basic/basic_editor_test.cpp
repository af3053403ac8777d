// The BASIC editor window, its colouring and the Put BASIC text dialog,
// with the store function and the questions scripted.
#include "basic_code_edit.h"
#include "basic_highlighter.h"
#include "form_basic_editor.h"
#include "form_put_basic.h"
#include "qt_printers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTextBlock>

#include <map>

namespace {

using CloseAnswer = TFormBasicEditor::CloseAnswer;

const QString kProgram = QStringLiteral("10 PRINT \"HI\"\n20 GO TO 10");

struct StoreCall
{
    QString text;
    QString name;
};

class BasicEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor_.SetProgram(QStringLiteral("MY DATA"), QStringLiteral("GAME.BAS"), kProgram);
        editor_.SetStoreFunction([this](const QString& text, const QString& name) {
            calls_.push_back({text, name});
            if (reenter_)
                reentered_ = editor_.Save() || editor_.close();
            return storeResult_;
        });
        editor_.SetCloseQuestion([this](const QString& question) {
            questions_.push_back(question);
            return closeAnswer_;
        });
    }

    void Type(const QString& text)
    {
        QTextCursor cursor(editor_.Editor()->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }

    TFormBasicEditor editor_;
    std::vector<StoreCall> calls_;
    QStringList questions_;
    QString storeResult_;
    CloseAnswer closeAnswer_ = CloseAnswer::Cancel;
    bool reenter_ = false;
    bool reentered_ = false;
};

TEST_F(BasicEditorTest, SaveStoresTheTextUnderTheFileName)
{
    EXPECT_TRUE(editor_.windowTitle().contains(QStringLiteral("MY DATA:GAME.BAS")));
    EXPECT_EQ(editor_.SaveAction()->shortcut(), QKeySequence(QKeySequence::Save));
    Type(QStringLiteral("\n30 CLS"));
    ASSERT_TRUE(editor_.IsModified());
    EXPECT_TRUE(editor_.isWindowModified());

    QStringList stored;
    QObject::connect(&editor_, &TFormBasicEditor::Stored, [&](const QString& name) { stored << name; });
    // A Save or close while the store runs is refused.
    reenter_ = true;
    editor_.show();
    editor_.SaveAction()->trigger();
    EXPECT_FALSE(reentered_);
    EXPECT_TRUE(editor_.isVisible());

    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].text, kProgram + QStringLiteral("\n30 CLS"));
    EXPECT_EQ(calls_[0].name, QStringLiteral("GAME.BAS"));
    EXPECT_FALSE(editor_.IsModified());
    EXPECT_FALSE(editor_.isWindowModified());
    EXPECT_EQ(stored, QStringList{QStringLiteral("GAME.BAS")});
}

TEST_F(BasicEditorTest, AFaultMovesToItsLineAndKeepsTheChanges)
{
    Type(QStringLiteral("\n30 PRINT \\{300}"));
    storeResult_ = QStringLiteral("/tmp/3E.BAS: line 3, column 10: expected a byte code from 0 to 255\r\n");
    QStringList stored;
    QObject::connect(&editor_, &TFormBasicEditor::Stored, [&](const QString& name) { stored << name; });

    EXPECT_FALSE(editor_.Save());

    const QTextCursor cursor = editor_.Editor()->textCursor();
    EXPECT_EQ(cursor.blockNumber(), 2);
    EXPECT_EQ(cursor.positionInBlock(), 9);
    EXPECT_EQ(editor_.Editor()->MarkedLine(), 3);
    EXPECT_EQ(editor_.Editor()->extraSelections().size(), 1);
    EXPECT_TRUE(editor_.IsModified());
    EXPECT_TRUE(editor_.StatusText().contains(QStringLiteral("expected a byte code from 0 to 255")));
    EXPECT_TRUE(editor_.StatusText().contains(QStringLiteral("Line 3")));
    EXPECT_TRUE(stored.isEmpty());
    EXPECT_EQ(editor_.FileName(), QStringLiteral("GAME.BAS"));

    // The mark goes with the next change of the text; a fault without a
    // position is shown as it is.
    Type(QStringLiteral(" "));
    EXPECT_EQ(editor_.Editor()->MarkedLine(), 0);
    storeResult_ = QStringLiteral("cannot open \"x.hdf\"\r\n");
    EXPECT_FALSE(editor_.Save());
    EXPECT_EQ(editor_.StatusText(), QStringLiteral("cannot open \"x.hdf\""));
    EXPECT_TRUE(editor_.IsModified());
}

TEST_F(BasicEditorTest, SaveAsStoresUnderAValidNewName)
{
    std::optional<QString> answer = QStringLiteral("p*.bas");
    QString offered;
    editor_.SetNameQuestion([&](const QString& current) {
        offered = current;
        return answer;
    });
    EXPECT_FALSE(editor_.SaveAs());
    EXPECT_EQ(offered, QStringLiteral("GAME.BAS"));
    EXPECT_TRUE(calls_.empty());

    answer = std::nullopt;
    EXPECT_FALSE(editor_.SaveAs());
    EXPECT_TRUE(calls_.empty());

    answer = QStringLiteral(" copy.bas ");
    EXPECT_TRUE(editor_.SaveAs());
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].name, QStringLiteral("COPY.BAS"));
    EXPECT_EQ(editor_.FileName(), QStringLiteral("COPY.BAS"));
    EXPECT_TRUE(editor_.windowTitle().contains(QStringLiteral("MY DATA:COPY.BAS")));

    // A refused store keeps the old name.
    storeResult_ = QStringLiteral("t: line 1, column 1: expected a line number (0 to 16383)");
    answer = QStringLiteral("OTHER.BAS");
    EXPECT_FALSE(editor_.SaveAs());
    EXPECT_EQ(editor_.FileName(), QStringLiteral("COPY.BAS"));
}

TEST_F(BasicEditorTest, ClosingWithChangesAsks)
{
    struct Case
    {
        CloseAnswer answer;
        const char* storeResult;
        bool closes;
        size_t stores;
    };
    const Case cases[] = {
        {CloseAnswer::Cancel, "", false, 0},
        {CloseAnswer::Discard, "", true, 0},
        {CloseAnswer::Save, "t: line 1, column 2: expected a line number (0 to 16383)", false, 1},
        {CloseAnswer::Save, "", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        editor_.SetProgram(QStringLiteral("MY DATA"), QStringLiteral("GAME.BAS"), kProgram);
        editor_.show();
        calls_.clear();
        questions_.clear();
        closeAnswer_ = c.answer;
        storeResult_ = QString::fromUtf8(c.storeResult);
        Type(QStringLiteral("\n30 CLS"));
        EXPECT_EQ(editor_.close(), c.closes);
        EXPECT_EQ(editor_.isVisible(), !c.closes);
        ASSERT_EQ(questions_.size(), 1);
        EXPECT_TRUE(questions_[0].contains(QStringLiteral("MY DATA:GAME.BAS")));
        EXPECT_EQ(calls_.size(), c.stores);
    }
    // Without changes nothing is asked.
    editor_.SetProgram(QStringLiteral("MY DATA"), QStringLiteral("GAME.BAS"), kProgram);
    editor_.show();
    questions_.clear();
    EXPECT_TRUE(editor_.close());
    EXPECT_TRUE(questions_.isEmpty());
}

// The texts of each class in a line, in order.
std::map<BasicTextClass, QStringList> Classes(const QString& line, BasicLineState start,
                                              BasicLineState* end = nullptr)
{
    const BasicLineClasses classes = ClassifyBasicLine(line, start);
    std::map<BasicTextClass, QStringList> texts;
    for (const BasicTextSpan& span : classes.spans)
        texts[span.textClass] << line.mid(span.start, span.length);
    if (end)
        *end = classes.end;
    return texts;
}

TEST(BasicHighlighterTest, ClassifiesThePartsOfALine)
{
    using C = BasicTextClass;
    auto texts = Classes(QStringLiteral("10 PRINT \"PRINT\";a$: GO TO 20: LET x=.5\\#7F7FFFFFFF: REM go to \\a"),
                         BasicLineState::LineStart);
    EXPECT_EQ(texts[C::LineNumber], QStringList{"10"});
    EXPECT_EQ(texts[C::Keyword], (QStringList{"PRINT", "GO TO", "LET", "REM"}));
    EXPECT_EQ(texts[C::String], QStringList{"\"PRINT\""});
    EXPECT_EQ(texts[C::Number], (QStringList{"20", ".5", "\\#7F7FFFFFFF"}));
    EXPECT_EQ(texts[C::Comment], QStringList{" go to "});
    EXPECT_EQ(texts[C::Escape], QStringList{"\\a"});

    texts = Classes(QStringLiteral("  20 if inkey$=\"\" then goto 20: print at 1,2;\\{16}\\{2}\"\\:.\""),
                    BasicLineState::LineStart);
    EXPECT_EQ(texts[C::LineNumber], QStringList{"20"});
    EXPECT_EQ(texts[C::Keyword], (QStringList{"if", "inkey$", "then", "goto", "print", "at"}));
    EXPECT_EQ(texts[C::Number], (QStringList{"20", "1", "2"}));
    EXPECT_EQ(texts[C::Escape], (QStringList{"\\{16}", "\\{2}", "\\:."}));
    EXPECT_EQ(texts[C::String], (QStringList{"\"\"", "\"", "\""}));

    texts = Classes(QStringLiteral("40 DEF FN a(x)=x*1E3: OPEN #4,\"b\": LET printer=1"), BasicLineState::LineStart);
    EXPECT_EQ(texts[C::Keyword], (QStringList{"DEF FN", "OPEN #", "LET"}));
    EXPECT_EQ(texts[C::Number], (QStringList{"1E3", "4", "1"}));

    EXPECT_EQ(Classes(QStringLiteral("#autostart 10"), BasicLineState::LineStart)[C::Directive].size(), 1);
    EXPECT_EQ(Classes(QStringLiteral("#variables 8A 00"), BasicLineState::LineStart)[C::Directive].size(), 1);
    EXPECT_EQ(Classes(QStringLiteral("#variables used:"), BasicLineState::LineStart)[C::Comment].size(), 1);

    // A line ending in "\" goes on in the next text line.
    BasicLineState end = BasicLineState::LineStart;
    Classes(QStringLiteral("30 REM part one \\"), BasicLineState::LineStart, &end);
    EXPECT_EQ(end, BasicLineState::InRem);
    texts = Classes(QStringLiteral("PRINT 5"), end, &end);
    EXPECT_EQ(texts[C::Comment], QStringList{"PRINT 5"});
    EXPECT_EQ(end, BasicLineState::LineStart);
    Classes(QStringLiteral("50 PRINT \"abc\\"), BasicLineState::LineStart, &end);
    EXPECT_EQ(end, BasicLineState::InString);
    texts = Classes(QStringLiteral("def\": CLS"), end, &end);
    EXPECT_EQ(texts[C::String], QStringList{"def\""});
    EXPECT_EQ(texts[C::Keyword], QStringList{"CLS"});
    EXPECT_TRUE(texts[C::LineNumber].isEmpty());
}

TEST(BasicHighlighterTest, ColoursAreReadableOnLightAndDarkThemes)
{
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Link, QColor(0x00, 0x00, 0xff)); // a light theme's link left in
    dark.setColor(QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
    dark.setColor(QPalette::PlaceholderText, QColor(0x50, 0x50, 0x50));
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    light.setColor(QPalette::Link, QColor(0x80, 0xc0, 0xff));
    light.setColor(QPalette::LinkVisited, QColor(0xff, 0x80, 0xff));
    light.setColor(QPalette::PlaceholderText, QColor(0xc0, 0xc0, 0xc0));
    for (const QPalette& palette : {dark, light}) {
        const auto formats = BasicTextFormats(palette);
        for (int i = 0; i < kBasicTextClassCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_GE(ContrastRatio(formats[size_t(i)].foreground().color(), palette.color(QPalette::Base)), 4.5);
        }
        EXPECT_NE(formats[size_t(BasicTextClass::Keyword)].foreground().color(),
                  formats[size_t(BasicTextClass::String)].foreground().color());
    }

    // The highlighter puts the formats on the document's lines, and new ones
    // when the window's palette changes (a switch to a dark theme).
    TFormBasicEditor editor;
    editor.SetProgram(QStringLiteral("A"), QStringLiteral("P"), QStringLiteral("10 REM x"));
    auto keywordColour = [&] {
        for (const QTextLayout::FormatRange& range : editor.Editor()->document()->firstBlock().layout()->formats())
            if (range.start == 3 && range.length == 3)
                return range.format.foreground().color();
        return QColor();
    };
    for (const QPalette& palette : {light, dark}) {
        editor.setPalette(palette);
        EXPECT_EQ(keywordColour(), BasicTextFormats(palette)[size_t(BasicTextClass::Keyword)].foreground().color());
        EXPECT_GE(ContrastRatio(keywordColour(), palette.color(QPalette::Base)), 4.5);
    }
}

TEST(FormPutBasicTest, AsksForAValidNameAndAutostartLine)
{
    TFormPutBasic dialog(QStringLiteral("/home/u/My Program.bas"));
    QPushButton* ok = dialog.Buttons()->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.Name(), QStringLiteral("MY_PRO~1.BAS"));
    EXPECT_FALSE(dialog.Autostart().has_value());
    EXPECT_TRUE(ok->isEnabled());

    struct Case
    {
        const char* name;
        const char* autostart;
        bool acceptable;
        int line; // -1: none
    };
    const Case cases[] = {
        {"game.bas", "10", true, 10},      {"GAME", "0", true, 0},   {"GAME.BAS", "9999", true, 9999},
        {"GAME.BAS", "", true, -1},        {"P*.BAS", "10", false, 10}, {"TOOLONGNAME.BAS", "", false, -1},
        {"A.BASIC", "", false, -1},        {"", "", false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.NameEdit()->setText(QString::fromUtf8(c.name));
        dialog.AutostartEdit()->setText(QString::fromUtf8(c.autostart));
        EXPECT_EQ(dialog.IsAcceptable(), c.acceptable);
        EXPECT_EQ(ok->isEnabled(), c.acceptable);
        EXPECT_EQ(dialog.Autostart().value_or(-1), c.line);
    }
    // The field takes no more than four digits.
    dialog.AutostartEdit()->setText(QString());
    dialog.AutostartEdit()->insert(QStringLiteral("12345"));
    EXPECT_EQ(dialog.AutostartEdit()->text(), QString());
}

} // namespace
