#pragma once

// The texts of the error boxes that commands show when what they need is not
// there. Each guard text is written here once; the commands of every folder
// show these.
namespace guard {

inline constexpr const char* kNoPartitionSelected = "No partition selected.";
inline constexpr const char* kNoFilesInPartition = "No files in partition.";
inline constexpr const char* kNoFileSelected = "No file selected.";
// A file command while the list shows the partition table.
inline constexpr const char* kInvalidOperation = "Invalid operation.";
// A command started while another one runs; %1 names the running one.
inline constexpr const char* kCommandRunning =
    "\"%1\" is still running. Try again when it has ended.";
inline constexpr const char* kNoDevice = "No compatible physical device found.";

} // namespace guard
