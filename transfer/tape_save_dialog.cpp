#include "tape_save_dialog.h"

#include "prompts.h"

FileDialogRequest TapeSaveRequest(const QString& startFolder)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save As");
    request.filter =
        QStringLiteral("Zx Spectrum Tape Files (*.tap)|*.tap|Zx Spectrum TZX Files (*.tzx)|*.tzx|"
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
