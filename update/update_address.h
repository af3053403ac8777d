#pragma once

#include <QString>

// Where the disk tool's update archive comes from and where it is saved.
namespace update {

// The download address built in: the CMake cache variable
// HARNWICK_UPDATE_URL, empty by default (and always for the distribution
// package, whose tool is updated by the package manager).
inline constexpr const char* kDefaultUpdateUrl = HARNWICK_DEFAULT_UPDATE_URL;

// When set and not empty, this environment variable replaces the whole
// download address (the tests point it at a server on 127.0.0.1).
inline constexpr const char* kUpdateUrlVariable = "HARNWICK_UPDATE_URL";

// The download file's name inside the start folder.
inline constexpr const char* kDownloadFileName = "3E.ZIP";

// The address to download from: the environment's override or the built-in
// one; empty when neither is configured.
QString updateDownloadUrl();

// True when there is an address to download from. Without one the check at
// start-up does nothing and the menu entry says so.
bool updateAddressConfigured();

// True for an http (not https) address of this machine's loopback
// interface (127.0.0.1 or [::1]). Only such an address may be plain http:
// the traffic never leaves the machine. Every other address, and every
// redirection, must be https.
bool isLoopbackHttpAddress(const QString& url);

// folder + "/3E.ZIP".
QString updateDownloadFile(const QString& folder);

} // namespace update
