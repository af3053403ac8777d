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
