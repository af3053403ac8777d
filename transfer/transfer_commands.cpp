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
    add({"Getallfilesfromselectedpartition1", "Get all files from selected &partition"},
        &TransferCommands::getAllFilesFromPartition);
    add({"Getallfilesfromdisk2", "Get all files from disk &image/device", "",
         "Get all files from disk image/device", P::GetAllFiles},
        &TransferCommands::getAllFilesFromMedium);
    add({"Saveselectedfiles2", "Get selected &file(s)", "Ctrl+G", "Get selected file(s)",
         P::GetSelectedFiles},
        &TransferCommands::getSelectedFiles);
    add({"Getselectedfileswithoutheader1", "Get selected file(s) without &header"},
        &TransferCommands::getSelectedFilesWithoutHeader);
    add({"GetselectedfilesintoTAP1", "Get selected file(s) into &Tape "},
        &TransferCommands::getSelectedFilesIntoTape);
    add({.id = "Rname1",
         .caption = "&Rename current file",
         .shortcut = "F2",
         .popupShortcut = "F2"},
        &TransferCommands::renameCurrentFile);
    add({.id = "Deleteselectedfiles2",
         .caption = "&Delete selected file(s)",
         .shortcut = "Del",
         .hint = "Delete",
         .picture = P::Delete,
         .popupShortcut = "Del"},
        &TransferCommands::deleteSelectedFiles);
    add({"Putfilestandard1", "&Put file(s) in binary mode (no header)", "",
         "Put file(s) in binary mode", P::PutFilesBinary},
        &TransferCommands::putFilesBinary);
    add({"Putfile3DOS1", "Put file(s) with +3DOS header", "Ctrl+Ins"},
        &TransferCommands::putFilesWithHeader);
    add({"Putfilesinstandardmodetoaspecificaddress1", "Put file(s) to a specific address"},
        &TransferCommands::putFilesAtAddress);
    // One run imports a whole tape or floppy image: it may take longer.
    add({.id = "Putalltapecontents1",
         .caption = "Put TAP contents",
         .hint = "Put tape contents",
         .picture = P::PutTapeContents,
         .toolLimitMs = kImportLimitMs},
        &TransferCommands::putTapeContents);
    add({.id = "Putalldiskcontents1",
         .caption = "Put &floppy disk image contents",
         .toolLimitMs = kImportLimitMs},
        &TransferCommands::putFloppyContents);
    add({"Cut1", "C&ut", "Ctrl+X"}, &TransferCommands::cutFiles);
    add({"Copy1", "&Copy", "Ctrl+C", "Copy", P::Copy}, &TransferCommands::copyFiles);
    add({"Paste1", "&Paste", "Ctrl+V", "Paste", P::Paste}, &TransferCommands::pasteFiles);
}
