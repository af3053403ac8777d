#pragma once

#include "app_pictures.h"
#include "tool_command.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

// The action registry: every command of the program is declared once, as a
// Command, and becomes exactly one QAction. The menu bar, the tool bar and
// both pop-up menus show that same QAction, so a command's caption, keys,
// checked state and enabling live in one place.
//
// A command module (transfer/, viewers/, update/, browser/) registers its
// commands with their functions; the main window then lays the places out by
// listing command ids (CommandRegistry::fillMenu and friends). Adding a
// command is: one Command and one function in its module, plus its id in
// the lists of the places that show it.
//
// Captions, hints and pop-up captions are shown through
// QCoreApplication::translate in the context "Commands"
// (CommandRegistry::kTranslationContext); the tables mark them with
// QT_TRANSLATE_NOOP("Commands", ...) so that a translation can be made.
struct Command
{
    // The handler name the command is known by, kept as the QAction's
    // objectName (findChild<QAction*>("Saveselectedfiles2") finds it).
    const char* id;
    // The menu caption; "&" marks the access key.
    const char* caption;
    // QKeySequence text, or "".
    const char* shortcut = "";
    // The tool button's hint (its tool tip and status bar text), or "".
    const char* hint = "";
    // The tool button's picture, for commands that have a button.
    std::optional<ToolbarPicture> picture = {};
    // How a pop-up menu shows the command. Pop-up entries carry no access
    // key: by default the caption without "&" and outer blanks. They show a
    // shortcut only where one is named here (it works while the pop-up is
    // open); the command's own shortcut is off meanwhile.
    const char* popupCaption = nullptr; // nullptr: the default above
    const char* popupShortcut = "";
    bool checkable = false;
    // The longest one disk tool run of the command may take; a run that
    // takes longer is stopped with a message naming the command.
    int toolLimitMs = ToolCommandScope::kDefaultLimitMs;
};

class CommandRegistry : public QObject
{
    Q_OBJECT

public:
    // Runs a command's function; the main window passes its one guarded entry
    // point, so an error raised below any command ends it with an error box.
    // The function runs inside a ToolCommandScope named by the command's
    // caption, with the command's tool limit.
    using Runner = std::function<void(const std::function<void()>&)>;

    // The actions are children of `window`, where the places live.
    CommandRegistry(QWidget* window, Runner runner);

    // Declares a command and returns its action. Each id is registered once.
    QAction* add(const Command& command, std::function<void()> function);

    // The action of a registered command; raises AppError for an unknown id
    // (a layout naming a command no module registered is a program error).
    QAction* action(const QString& id) const;
    // Triggers a command as its entries do.
    void trigger(const QString& id) const;

    // The places. Ids name commands; "-" is a separator.
    void fillMenu(QMenu* menu, std::initializer_list<const char*> ids) const;
    // Tool buttons: {id, the button's objectName}; {"-", ""} is a gap.
    struct Button
    {
        const char* id;
        const char* buttonName;
    };
    void fillToolBar(QToolBar* bar, std::initializer_list<Button> buttons) const;
    // A pop-up menu: its entries show the commands' pop-up captions and
    // shortcuts while it is open; at other times the action shows what the
    // menu bar shows.
    void fillPopup(QMenu* popup, std::initializer_list<const char*> ids);

    // The caption a pop-up menu shows for a command.
    static QString PopupCaption(const Command& command);

    // A command's text in the user's language (as it is when no translation
    // is installed).
    static constexpr const char* kTranslationContext = "Commands";
    static QString Translated(const char* text);

private:
    struct Entry
    {
        Command command;
        QAction* action = nullptr;
    };
    void showPopupPresentation(QMenu* popup);
    void restorePresentation(QMenu* popup);

    // What an action shows in the menu bar, kept while a pop-up shows it
    // otherwise.
    struct Presentation
    {
        QString text;
        QList<QKeySequence> shortcuts;
        Qt::ShortcutContext context;
    };

    QWidget* m_window;
    Runner m_runner;
    QHash<QString, Entry> m_entries;
    QHash<QAction*, Presentation> m_menuPresentation;
};
