// Commands whose menu entries, keys and buttons are wired already and whose
// work lands with the transfer, viewer, properties and update code. Each empty
// body moves out into the file of its folder when that command is built.
#include "formmain.h"

// Get every file of the selected partition (or of the whole medium).
void TFormMain::Getallfilesfromselectedpartition1Click() {}
// Get every file of every partition, one sub-folder each.
void TFormMain::Getallfilesfromdisk2Click() {}
// Get the selected files into a host folder.
void TFormMain::Saveselectedfiles2Click() {}
// Get the selected files without their +3DOS header.
void TFormMain::Getselectedfileswithoutheader1Click() {}
// Get the selected files into a tape image.
void TFormMain::GetselectedfilesintoTAP1Click() {}
// Rename the selected file in place.
void TFormMain::Rname1Click() {}
// Delete the selected files after confirmation.
void TFormMain::Deleteselectedfiles2Click() {}
// Put host files without a +3DOS header.
void TFormMain::Putfilestandard1Click() {}
// Put host files with a +3DOS header.
void TFormMain::Putfile3DOS1Click() {}
// Put host files with a +3DOS header at a typed load address.
void TFormMain::Putfilesinstandardmodetoaspecificaddress1Click() {}
// Put the contents of a tape image.
void TFormMain::Putalltapecontents1Click() {}
// Put the contents of a +3 floppy disk image.
void TFormMain::Putalldiskcontents1Click() {}
// Cut the selected files to the file clipboard.
void TFormMain::Cut1Click() {}
// Copy the selected files to the file clipboard and the desktop clipboard.
void TFormMain::Copy1Click() {}
// Paste the file clipboard (or the desktop's files) into the partition.
void TFormMain::Paste1Click() {}
// Put files dropped on the list from the desktop.
void TFormMain::PJCtrlDropFilesDropFiles(const QStringList&) {}
// Rename: start of in-place editing of a caption (refused until rename exists).
bool TFormMain::ListViewEditing(int)
{
    return false;
}
// Rename: end of in-place editing with the typed text.
void TFormMain::ListViewEdited(int, const QString&) {}
