// The program's pictures: the shared 16 x 16 image list of the partition tree
// and the file list, the tool-bar pictures, the About box logo and the window
// icon. All are XPM images of our own kept in a Qt resource.
//
// The resource is compiled into the static library harnwick_resources. Every
// function below registers it on first use (InitAppPictures), so callers need
// no Q_INIT_RESOURCE of their own. A QGuiApplication must exist before any of
// them is called, as for every QPixmap.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

// Indices into ImageList1. They are stable: rows and tree nodes store them,
// and a file row's icon is ImgProgram plus its +3DOS type code.
enum ImageList1Index : int {
    ImgUzix = 0,               // partition type "UZI(X)"
    ImgPlus3Dos = 1,           // partition type "+3DOS"
    ImgBoot = 2,               // partition type "Boot"
    ImgCpm = 3,                // partition type "CP/M"
    ImgNotUsed = 4,            // no role; a faint sketch
    ImgMb02 = 5,               // partition type "MB-02"
    ImgMsDos = 6,              // partition type "MS-DOS"
    ImgSamDos = 7,             // partition type "SAMDOS"
    ImgSwap = 8,               // partition type "Swap"
    ImgSystem = 9,             // partition type "System"
    ImgTrDos = 10,             // partition type "TR-DOS"
    ImgFree = 11,              // partition types "Unused" and "Free"
    ImgPartitionSelected = 12, // tree: the selected partition node
    ImgPartition = 13,         // tree: a partition node
    ImgMedium = 14,            // tree: the medium node
    ImgProgram = 15,           // file type 0 "Program"
    ImgNumberArray = 16,       // file type 1 "Number Array"
    ImgCharacterArray = 17,    // file type 2 "Character Array"
    ImgBytes = 18,             // file type 3 "Bytes"
    ImgHeaderless = 19,        // "Headerless" and type codes that are no number
    ImgScreen = 20,            // a screen picture (Bytes of 6912 at 16384)
    ImgUnknown = 21,           // partition type "Unknown"
    ImgBad = 22,               // partition type "Bad"
};

inline constexpr int ImageList1Count = 23;
inline constexpr int ImageList1Size = 16; // pixels, square
inline constexpr int ToolbarPictureSize = 20;
inline constexpr int AboutLogoWidth = 112;
inline constexpr int AboutLogoHeight = 48;

// The tool bar's buttons, left to right.
enum class ToolbarPicture : int {
    OpenHardDiskImage,  // "Open hard disk image"
    OpenPhysicalDevice, // "Open physical device"
    ShowPartitionTable, // "Show partition table"
    Copy,               // "Copy"
    Paste,              // "Paste"
    Delete,             // "Delete"
    ViewSelectedFile,   // "View selected file (Automatic format)"
    GetAllFiles,        // "Get all files from disk image/device"
    GetSelectedFiles,   // "Get selected file(s)"
    PutFilesBinary,     // "Put file(s) in binary mode"
    PutTapeContents,    // "Put tape contents"
    Exit,               // "Exit"
};

inline constexpr int ToolbarPictureCount = 12;

// Registers the pictures' resource. Safe to call any number of times.
void InitAppPictures();

// The 23 pictures in index order. Each icon holds the 16 x 16 picture and a
// 32 x 32 one enlarged by Scale2x, so large icons and screens of scale
// factor 1.5 and 2 stay crisp. Near-black edges of the list and tool-bar
// pictures carry a faint light outline, so they do not vanish on a dark
// theme.
QList<QIcon> ImageList1();

// One picture of ImageList1; a null icon for an index outside 0..22.
QIcon ImageListIcon(int index);

// One picture of ImageList1 as a square pixmap of the given size (the
// properties dialog shows a row's icon at 32 x 32). Doublings are made by
// Scale2x, other whole multiples of 16 repeat each pixel; other sizes are
// scaled smoothly. Null for an index
// outside 0..22 or a size below 1.
QPixmap ImageListPixmap(int index, int size = ImageList1Size);

// A tool-bar picture of 20 x 20 (with a 40 x 40 Scale2x enlargement).
QIcon ToolbarIcon(ToolbarPicture which);

// The About box logo, 112 x 48.
QPixmap AboutLogo();

// The window icon, drawn at 16 x 16 and 32 x 32.
QIcon AppIcon();

// Pixel art at twice its size: each pixel becomes four, and a corner takes
// the colour of the two neighbours it touches when they agree and the two
// others differ (Scale2x), so diagonal edges stay diagonal instead of
// turning into a staircase. Keeps the picture's colours; ARGB32.
QImage Scale2x(const QImage& picture);

// The picture with a light, half-covering outline on the transparent pixels
// beside a near-black one.
QImage WithLightOutline(const QImage& picture);
