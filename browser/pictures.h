#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

// The program's pictures, as the main window uses them.
namespace pictures {

constexpr int kImageListSize = 23;

// The 23 pictures of the image list shared by the tree and the file list.
std::vector<QIcon> ImageList();
// The About box's logo, 112 by 48.
QPixmap AboutLogo();
// The window icon.
QIcon AppIcon();

} // namespace pictures
