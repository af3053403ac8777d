#pragma once

// Where the build put the programs the tests run.
namespace testpaths {
inline constexpr const char* kToolExe = HARNWICK_TOOL_EXE;
inline constexpr const char* kSourceDir = HARNWICK_SOURCE_DIR;
inline constexpr const char* kBinaryDir = HARNWICK_BINARY_DIR;
}  // namespace testpaths
