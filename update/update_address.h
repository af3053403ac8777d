#pragma once

#include <QString>

// Where the disk tool's update archive comes from and where it is saved.
namespace update {

// The fixed download address of the tool's archive.
inline constexpr const char* kDefaultUpdateUrl =
    "https://harnwick.example.org/images/stories/3e_harnwick/3e.zip";

// When set and not empty, this environment variable replaces the whole
// download address (the tests point it at a server on 127.0.0.1).
inline constexpr const char* kUpdateUrlVariable = "HARNWICK_UPDATE_URL";

// The download file's name inside the start folder.
inline constexpr const char* kDownloadFileName = "3E.ZIP";

// The address to download from: the environment's override or the fixed one.
QString updateDownloadUrl();

// startFolder + "/3E.ZIP".
QString updateDownloadFile(const QString& startFolder);

} // namespace update
