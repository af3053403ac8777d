// Commands whose menu entries, keys and buttons are wired already and whose
// work lands with the transfer, viewer, properties and update code. Each empty
// body moves out into the file of its folder when that command is built.
#include "formmain.h"

// Partition details in a view window.
void TFormMain::Showpartitiondetails1Click() {}
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
// View the selected file in the format its type calls for.
void TFormMain::ViewBASICcode1Click() {}
// View the selected file as a ZX BASIC listing.
void TFormMain::AsBASIC1Click() {}
// View the selected file as a hexadecimal dump.
void TFormMain::AsBinary1Click() {}
// View the selected file as text.
void TFormMain::AsText1Click() {}
// View the selected file as a byte list.
void TFormMain::AsList1Click() {}
// View the selected file as a BASIC loader with DATA lines.
void TFormMain::AsData1Click() {}
// The properties dialog of the selected file or partition.
void TFormMain::Properties1Click() {}
// Download the disk tool's archive and install the tool.
void TFormMain::Check3Eupdates1Click() {}
