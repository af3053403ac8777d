// Cancelling the long transfer commands in the middle: a tool run that hangs
// is stopped from the busy window, and the command still cleans up after
// itself and reports nothing as done.
#include "change_fixture.h"

#include "file_list_model.h"
#include "form_wait.h"
#include "temp_folder.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSet>
#include <QTimer>

#include <functional>

namespace {

// Counts the busy windows that were shown, each window once.
class BusyWindowCounter : public QObject
{
public:
    QSet<QObject*> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TFormWait*>(watched))
            shown.insert(watched);
        return false;
    }
};

using CancelTest = ChangeTest;

const QList<QByteArray> kFiles{"F1", "1", "F2", "22", "F3", "333", "F4", "4444"};

struct CancelCase
{
    const char* name;
    const char* slowRuns; // runs that take long enough to need a busy window
    const char* hangRun;  // the run that is cancelled
    const char* hangLog;  // part of its log line
    const char* action;
};

TEST_F(CancelTest, ACancelledCommandCleansUpAndReportsNothingAsDone)
{
    const QList<CancelCase> cases{
        {"get all", "get|TWO:F1|*", "get|TWO:F2|*", "get|TWO:F2|",
         "Getallfilesfromselectedpartition1"},
        {"get selected", "get|TWO:F1|*", "get|TWO:F2|*", "get|TWO:F2|", "Saveselectedfiles2"},
        {"cut and paste", "put|*|TWO:F1|", "put|*|TWO:F2|", "|TWO:F2|", "Paste1"},
        {"delete", "del|ONE:F[12]|", "del|ONE:F3|", "del|ONE:F3|", "Deleteselectedfiles2"},
    };
    for (const CancelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name);
        const QString dest = path("dest-" + QString(name).replace(' ', '-'));
        QDir().mkpath(dest);
        const bool get = name.startsWith("get");
        if (get) {
            QList<QByteArray> inTwo;
            for (const QByteArray& item : kFiles)
                inTwo << (item.startsWith('F') ? "TWO:" + item : item);
            openMedium({"ONE", "TWO"}, inTwo, "TWO");
            selectRows({0, 1, 2, 3});
            // The copy puts these captions back whatever they showed.
            form->rows().setColumnCaption(FileListModel::ColStart, "X");
            form->rows().setColumnCaption(FileListModel::ColVars, "Y");
            prompts->answerDialog([dest](QDialog& dialog) {
                dialog.findChild<QLineEdit*>("DirectoryEdit1")->setText(dest);
                dialog.findChild<QAbstractButton*>("BitBtn1")->click();
                return dialog.result();
            });
        } else {
            openMedium({"ONE", "TWO"}, kFiles, "ONE");
            selectRows({0, 1, 2, 3});
            if (name == "delete") {
                prompts->answerConfirm(Prompts::Answer::Yes);
            } else {
                form->Transfer().cutFiles();
                selectPartition("TWO");
            }
        }
        QGuiApplication::clipboard()->setText("from another program");
        delayRuns(c.slowRuns, c.hangRun);

        // Cancel once the hanging run has begun and a busy window is up.
        BusyWindowCounter counter;
        QCoreApplication::instance()->installEventFilter(&counter);
        QElapsedTimer sinceCancel;
        QTimer canceller;
        QObject::connect(&canceller, &QTimer::timeout, [&] {
            TFormWait* wait = TFormWait::Current();
            if (sinceCancel.isValid() || !wait || !wait->isVisible() ||
                runs().filter(QString::fromLatin1(c.hangLog)).isEmpty())
                return;
            sinceCancel.start();
            wait->RequestCancel();
        });
        canceller.start(20);
        form->findChild<QAction*>(c.action)->trigger();
        canceller.stop();
        QCoreApplication::instance()->removeEventFilter(&counter);
        delayRuns({}, {});

        ASSERT_TRUE(sinceCancel.isValid());
        EXPECT_LT(sinceCancel.elapsed(), 2500);
        EXPECT_EQ(form->StatusPanel(2), "Cancelled");
        EXPECT_TRUE(prompts->errors().isEmpty()) << prompts->errors().join('\n').toStdString();
        EXPECT_EQ(counter.shown.size(), 1); // one busy window for the whole command
        // No local copy or staging folder is left behind.
        EXPECT_TRUE(QDir(PrivateTempFolder()).entryList({"F?"}, QDir::Files).isEmpty());

        if (get) {
            EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QStringList{"F1"});
        }
        if (name == "get all") {
            EXPECT_EQ(form->rows().columnCaption(FileListModel::ColStart), "Start");
            EXPECT_EQ(form->rows().columnCaption(FileListModel::ColVars), "Vars");
        } else if (name == "cut and paste") {
            // F1 was copied, but no source goes before every copy is confirmed.
            EXPECT_EQ(filesIn("ONE"), (QStringList{"F1", "F2", "F3", "F4"}));
            EXPECT_EQ(filesIn("TWO"), QStringList{"F1"});
            EXPECT_TRUE(runs().filter("del|").isEmpty());
            const QMimeData* desktop = QGuiApplication::clipboard()->mimeData();
            EXPECT_TRUE(!desktop || !desktop->hasText());
            EXPECT_EQ(form->Transfer().FileClipboard, QStringList{});
        } else if (name == "delete") {
            EXPECT_EQ(filesIn("ONE"), (QStringList{"F3", "F4"}));
            EXPECT_TRUE(runs().filter("del|ONE:F4|").isEmpty());
            EXPECT_EQ(columnTexts(FileListModel::ColName), (QStringList{"F3", "F4"}));
        }
    }
}

} // namespace
