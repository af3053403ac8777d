#pragma once

#include <QString>

struct zip;

// Reads the disk tool out of a downloaded zip archive.
namespace update {

// The archive member that holds the tool, and the name it is installed under.
inline constexpr const char* kToolMemberName = "3E.EXE";

class ToolArchive
{
public:
    enum class Extraction {
        Extracted, // the member was written into the folder
        NoMember,  // the archive holds no top-level "3E.EXE"; nothing written
        Failed     // reading or writing failed; errorText() says why, nothing replaced
    };

    ToolArchive() = default;
    ~ToolArchive();
    ToolArchive(const ToolArchive&) = delete;
    ToolArchive& operator=(const ToolArchive&) = delete;

    // Opens path as a zip archive for reading. On failure errorText() holds
    // the zip reader's message (for example "Not a zip archive").
    bool open(const QString& path);

    // Writes the member named exactly "3E.EXE" at the archive's top level to
    // folder + "/3E.EXE", replacing a file of that name whether it is newer
    // or older. Members with any folder part ("x/3E.EXE", "../3E.EXE") and
    // every other member are never touched, so nothing is written outside
    // folder. The new file is written beside the old one and renamed over it
    // once complete, carries the member's stored modification time and is
    // executable.
    Extraction extractTool(const QString& folder);

    // Closes the archive; the destructor does the same.
    void close();

    QString errorText() const { return m_error; }

private:
    zip* m_archive = nullptr;
    QString m_error;
};

} // namespace update
