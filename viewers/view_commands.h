#pragma once

#include "view_choice.h"

#include <QString>
#include <QStringList>

class CommandContext;
class CommandRegistry;

// The view command: the selected file of the selected partition shown in a
// view window of its own (TFormView), in the format its type calls for
// (automatic) or in the one the user chose.
class ViewCommands
{
public:
    explicit ViewCommands(CommandContext& context);

    // Declares "Automatic format", the "as ..." entries and "Put picture as
    // SCREEN$...".
    void registerCommands(CommandRegistry& registry);

    // Checks the selection, gets a local copy of the file with one tool run
    // and shows it. Errors and refusals go to the error box.
    void viewSelectedFile(ViewMode mode);

    // "Put picture as SCREEN$...": a host picture (asked for, or the dropped
    // `hostFile`) stored as a screen in the selected partition.
    void putPicture(const QString& hostFile = QString());
    // Dropped pictures, one after the other, each through the dialog; a
    // cancel stops the rest.
    void putPictures(const QStringList& hostFiles);

private:
    CommandContext& m_ctx;
};
