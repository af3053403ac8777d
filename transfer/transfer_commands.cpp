// The transfer module's commands, declared once each. The places that show
// them (menus, tool bar, pop-ups) list them by id in the main window.
#include "transfer_commands.h"

#include "command_context.h"
#include "command_registry.h"

namespace {

constexpr int kImportLimitMs = 10 * 60 * 1000;

} // namespace

TransferCommands::TransferCommands(CommandContext& context) : m_ctx(context) {}

void TransferCommands::registerCommands(CommandRegistry& registry)
{
    using P = ToolbarPicture;
    const auto add = [&](const Command& command, void (TransferCommands::*function)()) {
        registry.add(command, [this, function] { (this->*function)(); });
    };
    add({"Getallfilesfromselectedpartition1", QT_TRANSLATE_NOOP("Commands", "Get all files from selected &partition")},
        &TransferCommands::getAllFilesFromPartition);
    add({"Getallfilesfromdisk2", QT_TRANSLATE_NOOP("Commands", "Get all files from disk &image/device"), "",
         QT_TRANSLATE_NOOP("Commands", "Get all files from disk image/device"), P::GetAllFiles},
        &TransferCommands::getAllFilesFromMedium);
    add({"Saveselectedfiles2", QT_TRANSLATE_NOOP("Commands", "Get selected &file(s)"), "Ctrl+G", QT_TRANSLATE_NOOP("Commands", "Get selected file(s)"),
         P::GetSelectedFiles},
        &TransferCommands::getSelectedFiles);
    add({"Getselectedfileswithoutheader1", QT_TRANSLATE_NOOP("Commands", "Get selected file(s) without &header")},
        &TransferCommands::getSelectedFilesWithoutHeader);
    add({"GetselectedfilesintoTAP1", QT_TRANSLATE_NOOP("Commands", "Get selected file(s) into &Tape ")},
        &TransferCommands::getSelectedFilesIntoTape);
    add({.id = "Rname1",
         .caption = QT_TRANSLATE_NOOP("Commands", "&Rename current file"),
         .shortcut = "F2",
         .popupShortcut = "F2"},
        &TransferCommands::renameCurrentFile);
    add({.id = "Deleteselectedfiles2",
         .caption = QT_TRANSLATE_NOOP("Commands", "&Delete selected file(s)"),
         .shortcut = "Del",
         .hint = QT_TRANSLATE_NOOP("Commands", "Delete"),
         .picture = P::Delete,
         .popupShortcut = "Del"},
        &TransferCommands::deleteSelectedFiles);
    add({"Putfilestandard1", QT_TRANSLATE_NOOP("Commands", "&Put file(s) in binary mode (no header)"), "",
         QT_TRANSLATE_NOOP("Commands", "Put file(s) in binary mode"), P::PutFilesBinary},
        &TransferCommands::putFilesBinary);
    add({"Putfile3DOS1", QT_TRANSLATE_NOOP("Commands", "Put file(s) with +3DOS header"), "Ctrl+Ins"},
        &TransferCommands::putFilesWithHeader);
    add({"Putfilesinstandardmodetoaspecificaddress1", QT_TRANSLATE_NOOP("Commands", "Put file(s) to a specific address")},
        &TransferCommands::putFilesAtAddress);
    // One run imports a whole tape or floppy image: it may take longer.
    add({.id = "Putalltapecontents1",
         .caption = QT_TRANSLATE_NOOP("Commands", "Put TAP contents"),
         .hint = QT_TRANSLATE_NOOP("Commands", "Put tape contents"),
         .picture = P::PutTapeContents,
         .toolLimitMs = kImportLimitMs},
        &TransferCommands::putTapeContents);
    add({.id = "Putalldiskcontents1",
         .caption = QT_TRANSLATE_NOOP("Commands", "Put &floppy disk image contents"),
         .toolLimitMs = kImportLimitMs},
        &TransferCommands::putFloppyContents);
    add({"Cut1", QT_TRANSLATE_NOOP("Commands", "C&ut"), "Ctrl+X"}, &TransferCommands::cutFiles);
    add({"Copy1", QT_TRANSLATE_NOOP("Commands", "&Copy"), "Ctrl+C", QT_TRANSLATE_NOOP("Commands", "Copy"), P::Copy}, &TransferCommands::copyFiles);
    add({"Paste1", QT_TRANSLATE_NOOP("Commands", "&Paste"), "Ctrl+V", QT_TRANSLATE_NOOP("Commands", "Paste"), P::Paste}, &TransferCommands::pasteFiles);
}
