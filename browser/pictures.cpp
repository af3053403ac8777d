#include "pictures.h"

namespace pictures {

std::vector<QIcon> ImageList()
{
    return std::vector<QIcon>(kImageListSize);
}

QIcon ToolButton(const QString&)
{
    return {};
}

QPixmap AboutLogo()
{
    return {};
}

QIcon AppIcon()
{
    return {};
}

}  // namespace pictures
