// The command summary printed by 3E.EXE with no arguments or --help, and the
// version line of --version. Both end their lines in LF: they are read by
// people in a terminal, not parsed by the browser.
#include "commands.h"

namespace p3tool {

std::string usageText()
{
    static const char* const lines[] = {
        "3E.EXE - reads and writes ZX Spectrum +3e hard-disk media (IDEDOS partitions, +3DOS files)",
        "",
        "Usage:",
        "  3E.EXE <medium> showptable [-backend]        the partition table",
        "  3E.EXE <medium> showpentry <partition>       one partition described",
        "  3E.EXE <medium> dir <partition> [-backend]   the files of user 0",
        "  3E.EXE <medium> get <partition>:<file> <folder>/",
        "                                               writes <folder>/<file>",
        "  3E.EXE <medium> put <host file> <partition>:<name>",
        "                                               stores the file's bytes as they are",
        "  3E.EXE <medium> putbin <host file> <partition>:<name> [<address>]",
        "                                               stores it with a +3DOS header",
        "  3E.EXE <medium> del <partition>:<file>",
        "  3E.EXE <medium> puttap <tape .tap or .tzx> <partition>",
        "  3E.EXE <medium> putdsk <+3 floppy .dsk> <partition>",
        "  3E.EXE <medium> check [<partition>]          looks for faults (all +3DOS partitions",
        "                                               and the table when no partition is named)",
        "  3E.EXE <new image> create [--size <n>[K|M|G] | --cyl <c> --heads <h> --spt <s>]",
        "         [--halved] [--raw] [--hdf10] [--table-at-head1] [--max-partitions <n>]",
        "  3E.EXE <medium> newpart <name> <size>M [--drive <letter>]",
        "  3E.EXE scan [-backend]                       whole disks holding an IDEDOS table",
        "  3E.EXE --help | --version",
        "",
        "<medium> is an HDF image (RS-IDE header, revision 1.0 or 1.1, full or halved sectors),",
        "a raw image (recognised by its content), or a whole-disk block device such as /dev/sdb.",
        "Partition and file names are matched exactly first, then without regard to case.",
        "",
        "Writing: names are 1-8 characters, a dot and 0-3 characters of A-Z 0-9 ! # $ % & ' - @",
        "^ _ { } ~; lower case is stored as upper case, so names differing only in case are one",
        "file. put and putbin replace a file of that name (unless it is read-only): the new data",
        "and entries are written before the old entries are released. A host file that starts",
        "with a valid +3DOS header is stored with it by put, and keeps it with putbin (an address",
        "then becomes a Bytes file's load address). putbin gives any other file a Bytes header",
        "(type 3) loading at <address>, a whole number 0-65535; without one at 16384 for a",
        "6912-byte file (a screen), else at 32768. puttap and putdsk never replace a file: a",
        "taken name gets a number (GAME.BAS, GAME1.BAS, ...); they print one line per file.",
        "",
        "create makes an image that holds an IDEDOS partition table and one free-space entry:",
        "  --size        disk size in 512-byte sectors' worth of bytes (default 32M); the geometry",
        "                is 16 heads x 32 sectors, or 16 x 63, or 255 x 63 for larger disks",
        "  --cyl/--heads/--spt  the geometry itself",
        "  --halved      an 8-bit interface: halved 256-byte sectors in an HDF, data in the",
        "                even bytes of a raw image",
        "  --raw         no HDF header (also chosen by the extensions .raw and .img)",
        "  --hdf10       an HDF 1.0 header instead of 1.1",
        "  --table-at-head1  the table at C0/H1, leaving the first track to a PC boot record",
        "  --max-partitions  entries in the table, the system partition's included (default 64)",
        "newpart adds a +3DOS partition of 1M to 16M with the parameters the +3e gives it,",
        "carved from the first free space large enough; --drive maps it to a drive letter.",
        "",
        "Records written with -backend (fields separated by commas, lines ending in CR LF):",
        "  showptable  cylinders,heads,sectors per track",
        "              entries used,entries free",
        "              then per partition: name,type,attr,begin cylinder,begin head,end cylinder,",
        "              end head,first LBA,last LBA,size in bytes (LBAs are physical sectors)",
        "  dir         a header line, then per file: name,size (records x 128),attr,header issue,",
        "              header version,bytes allocated,type (0-3, 255 without header),data length,",
        "              parameter 1,parameter 2",
        "  scan        the number of devices, then per device: device,size in bytes,cylinders,",
        "              heads,sectors per track,partitions,model",
        "Attr of a partition: \"C:\" when a +3DOS partition is mapped to drive C, else empty.",
        "Attr of a file: R read-only, S system, A archive, \"-\" where the attribute is clear",
        "  (\"R--\" is a read-only file), followed by 1 2 3 4 for the user attributes f1'-f4' set.",
        "",
        "Environment: HARNWICK_SCAN_EXTRA  colon-separated image or device paths that scan",
        "  examines as well as the whole disks listed in /sys/block.",
        "Exit codes: 0 done; 1 failed (the reason is the one line on standard error);",
        "  2 bad command line; 3 check found faults.",
    };
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\n";
    return text;
}

std::string versionText()
{
    return std::string("3E.EXE ") + HARNWICK_VERSION + "\n";
}

}  // namespace p3tool
