#include "tape_save_dialog.h"

#include "prompts.h"

#include <QCoreApplication>

FileDialogRequest TapeSaveRequest(const QString& startFolder)
{
    FileDialogRequest request;
    request.title = QCoreApplication::translate("TapeSaveDialog", "Save As");
    request.filter = QCoreApplication::translate(
        "TapeSaveDialog",
        "Zx Spectrum Tape Files (*.tap)|*.tap|Zx Spectrum TZX Files (*.tzx)|*.tzx|"
        "All Files (*.*)|*.*");
    request.defaultSuffix = QStringLiteral("tap");
    request.fileName = QStringLiteral("*.tap");
    request.folder = startFolder;
    request.confirmOverwrite = false;
    return request;
}

QString AskTapeFile(Prompts& prompts, const QString& startFolder)
{
    return prompts.saveFile(TapeSaveRequest(startFolder));
}
