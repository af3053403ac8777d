#include "pictures.h"

#include "app_pictures.h"

#include <QHash>

namespace pictures {

std::vector<QIcon> ImageList()
{
    const QList<QIcon> icons = ImageList1();
    return std::vector<QIcon>(icons.begin(), icons.end());
}

QIcon ToolButton(const QString& buttonName)
{
    static const QHash<QString, ToolbarPicture> kByButton{
        {QStringLiteral("ToolButtonOpenImage"), ToolbarPicture::OpenHardDiskImage},
        {QStringLiteral("ToolButtonOpenDevice"), ToolbarPicture::OpenPhysicalDevice},
        {QStringLiteral("ToolButtonPartitionTable"), ToolbarPicture::ShowPartitionTable},
        {QStringLiteral("ToolButton9"), ToolbarPicture::Copy},
        {QStringLiteral("ToolButton11"), ToolbarPicture::Paste},
        {QStringLiteral("ToolButtonDelete"), ToolbarPicture::Delete},
        {QStringLiteral("ToolButton14"), ToolbarPicture::ViewSelectedFile},
        {QStringLiteral("ToolButtonGetAll"), ToolbarPicture::GetAllFiles},
        {QStringLiteral("ToolButtonGetSelected"), ToolbarPicture::GetSelectedFiles},
        {QStringLiteral("ToolButtonPutBinary"), ToolbarPicture::PutFilesBinary},
        {QStringLiteral("ToolButtonPutTape"), ToolbarPicture::PutTapeContents},
        {QStringLiteral("ToolButtonExit"), ToolbarPicture::Exit},
    };
    const auto it = kByButton.constFind(buttonName);
    return it == kByButton.constEnd() ? QIcon() : ToolbarIcon(*it);
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
