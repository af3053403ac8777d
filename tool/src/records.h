#pragma once

#include <optional>
#include <string>

#include "cpm_filesystem.h"
#include "idedos_table.h"
#include "plus3_header.h"

namespace p3tool {

// Records of the -backend outputs: comma-separated fields, no quoting; the
// caller ends each line with CR LF.

// Attr of a partition: "C:" for a +3DOS partition mapped to drive C, empty
// otherwise.
std::string partitionAttrText(const PartitionEntry& e);
// Attr of a file: "R" read-only, "S" system, "A" archive, "-" where clear,
// then the digits 1-4 of the user attributes f1'-f4' that are set.
std::string fileAttrText(const CpmFile& f);

std::string geometryRecord(const Geometry& g);
std::string countsRecord(const PartitionTable& t);
// name,type,attr,begin cyl,begin head,end cyl,end head,first LBA,last LBA,size in bytes
std::string partitionRecord(const PartitionTable& t, const PartitionEntry& e);

std::string dirHeaderRecord();
// The facts of one file as dir shows them.
struct FileFacts {
    uint64_t size = 0;       // records x 128
    uint64_t allocated = 0;  // blocks x block size
    unsigned issue = 0, version = 0;
    unsigned type = 255;     // 255: no header
    uint64_t realSize = 0;   // header's data length, else the exact length
    unsigned start = 0, vars = 0;
};
FileFacts fileFacts(const CpmFile& f, const std::optional<Plus3Header>& header, uint32_t blockSize);
// name,size,attr,issue,version,allocated,type,data length,param 1,param 2
std::string fileRecord(const CpmFile& f, const FileFacts& facts);

}  // namespace p3tool
