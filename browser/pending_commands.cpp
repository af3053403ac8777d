// Commands whose menu entries, keys and buttons are wired already and whose
// work lands with the transfer, viewer, properties and update code. Each empty
// body moves out into the file of its folder when that command is built.
#include "formmain.h"

