#include "pictures.h"

#include "app_pictures.h"

namespace pictures {

std::vector<QIcon> ImageList()
{
    const QList<QIcon> icons = ImageList1();
    return std::vector<QIcon>(icons.begin(), icons.end());
}

QPixmap AboutLogo()
{
    return ::AboutLogo();
}

QIcon AppIcon()
{
    return ::AppIcon();
}

} // namespace pictures
