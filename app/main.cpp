#include "app_error.h"
#include "clipboard_cache.h"
#include "formmain.h"
#include "harnwick_application.h"
#include "list_prompts.h"

#include <QClipboard>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <QTreeWidgetItem>

#include <cstdio>
#include <memory>

namespace {

// Opens `medium` in a window that is never shown and prints the names of its
// partitions, one per line, as the partition tree holds them. Returns the
// exit code: 0, or 1 when the medium could not be listed.
int ListMedium(const TFormMainOptions& options)
{
    TFormMain form(options);
    auto prompts = std::make_unique<ListPrompts>();
    ListPrompts& seen = *prompts;
    form.SetPrompts(std::move(prompts));
    try {
        form.OpenMedium(options.medium);
    } catch (const AppError& e) {
        seen.error(e.message());
    }
    // The tree has a root only when the partition table was read; otherwise
    // the tool's complaint, when it made one, is in the last status panel.
    if (form.TreeNodes().isEmpty()) {
        if (!seen.failed()) {
            const QString complaint = form.StatusPanel(2);
            seen.error(complaint.isEmpty() ? QStringLiteral("cannot read ") + options.medium
                                           : complaint);
        }
        return 1;
    }
    const QTreeWidgetItem* root = form.TreeNodes().first();
    for (int i = 0; i < root->childCount(); ++i) {
        const QString name = root->child(i)->text(0);
        if (!name.isEmpty()) // the free-space entries have no name
            std::printf("%s\n", name.toLocal8Bit().constData());
    }
    return 0;
}

// Removes the folders of files copied to the desktop clipboard in earlier
// runs that the clipboard no longer names. The clipboard is read once the
// program is first active: some desktops show it only to the program that
// has the focus, and an empty answer would remove copies still waiting to be
// pasted.
void RemoveStaleClipboardCopiesWhenActive(QGuiApplication& app)
{
    const auto removeStale = [] {
        RemoveUnreferencedClipboardFolders(
            ClipboardCacheRoot(), PathsOnClipboard(QGuiApplication::clipboard()->mimeData()));
    };
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        &app, &QGuiApplication::applicationStateChanged, &app,
        [connection, removeStale](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                return;
            QObject::disconnect(*connection);
            // The desktop hands the clipboard over just after the focus.
            QTimer::singleShot(500, removeStale);
        });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("3e Harnwick"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HARNWICK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A file browser for ZX Spectrum +3e hard-disk media."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("Print the partitions of IMAGE, one per line, and quit without "
                       "showing the window."));
    parser.addOption(listOption);
    parser.addPositionalArgument(
        QStringLiteral("image"),
        QStringLiteral("The hard-disk image or device to open instead of the one opened last."),
        QStringLiteral("[IMAGE]"));

    // --help and --version are answered before the application object is
    // made, so they need no display. Qt's own options (-platform, ...) are
    // unknown here; they are taken out by the application object and the
    // rest is checked again below.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (parser.isSet(QStringLiteral("version")) || parser.isSet(QStringLiteral("help"))) {
        QCoreApplication core(argc, argv);
        parser.process(core); // prints the text and ends the program
    }
    // A listing shows no window, so it needs no display either.
    if (parser.isSet(listOption) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    HarnwickApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.harnwick.Harnwick3e"));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "3eharnwick: only one image can be opened\n");
        return 2;
    }

    TFormMainOptions options;
    if (!positional.isEmpty()) {
        // Made absolute, as the file dialog gives it: the window keeps it as
        // the last medium, and a later start may be made in another folder.
        options.medium = QFileInfo(positional.first()).absoluteFilePath();
    }
    try {
        if (parser.isSet(listOption)) {
            if (options.medium.isEmpty()) {
                std::fprintf(stderr, "3eharnwick: --list needs an IMAGE\n");
                return 2;
            }
            return ListMedium(options);
        }
        RemoveStaleClipboardCopiesWhenActive(app);
        TFormMain form(options);
        form.show();
        return QApplication::exec();
    } catch (...) {
        std::fprintf(stderr, "3eharnwick: %s\n",
                     ExceptionText(std::current_exception()).toLocal8Bit().constData());
        return 1;
    }
}
