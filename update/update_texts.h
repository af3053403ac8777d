#pragma once

// The status texts of an update check, shown in status panel 2.
namespace update {

inline constexpr const char* kHostResolvedText = "Host Resolved";
inline constexpr const char* kConnectedText = "Connected";
inline constexpr const char* kInvalidHostText = "Invalid host";
inline constexpr const char* kConnectionFailedText = "Connection Failed";
inline constexpr const char* kNoUpdateText = "No 3E.EXE update available";

} // namespace update
