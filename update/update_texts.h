#pragma once

// The status texts of an update check, shown in status panel 2.
namespace update {

inline constexpr const char* kHostResolvedText = "Host Resolved";
inline constexpr const char* kConnectedText = "Connected";
inline constexpr const char* kInvalidHostText = "Invalid host";
inline constexpr const char* kConnectionFailedText = "Connection Failed";
inline constexpr const char* kNoUpdateText = "No 3E.EXE update available";
// A tool the user cannot replace (installed by the package manager).
inline constexpr const char* kManagedToolText = "3E.EXE is managed by the system package";
// The menu entry's answer when there is no address to download from.
inline constexpr const char* kNoUpdateAddressText = "No update address is configured.";

} // namespace update
