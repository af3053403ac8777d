#include "name_conflicts.h"

#include <gtest/gtest.h>

namespace {

using A = ConflictAnswer;

// Answers questions from a script, in order, and records what was asked.
struct ScriptedAsker
{
    QList<ConflictReply> replies;
    QList<ConflictQuestion> asked;

    ConflictAsker asker()
    {
        return [this](const ConflictQuestion& q) {
            asked << q;
            return replies.isEmpty() ? ConflictReply{} : replies.takeFirst();
        };
    }
};

// Decisions as "KIND NAME" words, for one comparison per case.
QStringList Words(const QList<PutDecision>& decisions)
{
    static const char* kinds[] = {"store", "replace", "skip", "keep", "cancel"};
    QStringList words;
    for (const PutDecision& d : decisions)
        words << QString::fromLatin1(kinds[d.kind]) + u' ' + d.targetName;
    return words;
}

QList<PutRequest> Batch(const QStringList& names)
{
    QList<PutRequest> batch;
    for (const QString& name : names)
        batch << PutRequest{QStringLiteral("/host/") + name.toLower(), name};
    return batch;
}

} // namespace

TEST(NameConflicts, EachAnswerAndApplyToAll)
{
    struct Case
    {
        const char* what;
        QList<ConflictReply> replies;
        QStringList expected;
        int questions;
    };
    const QStringList batch{"GAME.BAS", "NEW.BAS", "SCREEN.SCR", "GAME1.BAS"};
    const Case cases[] = {
        {"each answer in turn",
         {{A::Replace, false}, {A::KeepBoth, false}, {A::Skip, false}},
         {"replace GAME.BAS", "store NEW.BAS", "keep SCREEN1.SCR", "skip GAME1.BAS"},
         3},
        {"keep both for all",
         {{A::KeepBoth, true}},
         {"keep GAME2.BAS", "store NEW.BAS", "keep SCREEN1.SCR", "keep GAME11.BAS"},
         1},
        {"skip for all",
         {{A::Skip, true}},
         {"skip GAME.BAS", "store NEW.BAS", "skip SCREEN.SCR", "skip GAME1.BAS"},
         1},
        {"cancel stops the rest",
         {{A::Skip, false}, {A::Cancel, false}},
         {"skip GAME.BAS", "store NEW.BAS", "cancel SCREEN.SCR", "cancel GAME1.BAS"},
         2},
    };
    for (const Case& c : cases) {
        ScriptedAsker script{c.replies, {}};
        NameConflicts conflicts("GAMES", {"game.bas", "SCREEN.SCR", "GAME1.BAS"}, {},
                                script.asker());
        EXPECT_EQ(Words(conflicts.DecideAll(Batch(batch))), c.expected) << c.what;
        ASSERT_EQ(script.asked.size(), c.questions) << c.what;
        const ConflictQuestion& first = script.asked.front();
        EXPECT_EQ(first.text, "A file named GAME.BAS already exists in GAMES.");
        EXPECT_EQ(first.offered, (QList<A>{A::Replace, A::Skip, A::KeepBoth, A::Cancel}));
        EXPECT_EQ(first.remaining, 3);
    }
}

TEST(NameConflicts, ReadOnlyFilesAreNeverReplaced)
{
    // A standing Replace for all does not reach the read-only file: it is
    // asked about without Replace, and a Replace given anyway skips it.
    ScriptedAsker script{{{A::Replace, true}, {A::Replace, false}}, {}};
    NameConflicts conflicts("P", {"A.BAS", "LOCKED.BAS", "B.BAS"}, {"locked.bas"}, script.asker());
    EXPECT_EQ(Words(conflicts.DecideAll(Batch({"A.BAS", "LOCKED.BAS", "B.BAS"}))),
              (QStringList{"replace A.BAS", "skip LOCKED.BAS", "replace B.BAS"}));
    ASSERT_EQ(script.asked.size(), 2);
    EXPECT_TRUE(script.asked[1].readOnly);
    EXPECT_EQ(script.asked[1].note, "LOCKED.BAS is read-only and is never replaced.");
    EXPECT_EQ(script.asked[1].offered, (QList<A>{A::Skip, A::KeepBoth, A::Cancel}));
}

TEST(NameConflicts, NamesOfTheBatchCountAsTaken)
{
    // Two files of one name in a batch, and a kept copy's new name, are asked
    // about like names already there; the source passes through.
    ScriptedAsker script{{{A::KeepBoth, false}, {A::KeepBoth, false}, {A::Skip, false}}, {}};
    NameConflicts conflicts("P", {"LONGNAME.BIN"}, {}, script.asker());
    const QList<PutDecision> decisions =
        conflicts.DecideAll(Batch({"X.BIN", "x.bin", "LONGNAME.BIN", "LONGNAM1.BIN"}));
    EXPECT_EQ(Words(decisions), (QStringList{"store X.BIN", "keep x1.bin", "keep LONGNAM1.BIN",
                                             "skip LONGNAM1.BIN"}));
    EXPECT_EQ(script.asked.size(), 3);
    EXPECT_EQ(decisions[1].source, "/host/x.bin");
}
