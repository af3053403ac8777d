#include "app_pictures.h"

#include <QString>
#include <Qt>

// Q_INIT_RESOURCE declares the resource's registration function, which lives
// in the global namespace, so it is called from a global-namespace function.
static void RegisterPictureResource()
{
    Q_INIT_RESOURCE(harnwick_pictures);
}

namespace {

// File names inside the resource, in ImageList1 index order.
constexpr const char* kImageListFiles[ImageList1Count] = {
    "list_00_part_uzix.xpm",       "list_01_part_plus3dos.xpm",   "list_02_part_boot.xpm",
    "list_03_part_cpm.xpm",        "list_04_unused.xpm",          "list_05_part_mb02.xpm",
    "list_06_part_msdos.xpm",      "list_07_part_samdos.xpm",     "list_08_part_swap.xpm",
    "list_09_part_system.xpm",     "list_10_part_trdos.xpm",      "list_11_part_free.xpm",
    "list_12_folder_open.xpm",     "list_13_folder_closed.xpm",   "list_14_medium.xpm",
    "list_15_file_program.xpm",    "list_16_file_numarray.xpm",   "list_17_file_chararray.xpm",
    "list_18_file_bytes.xpm",      "list_19_file_headerless.xpm", "list_20_file_screen.xpm",
    "list_21_warning.xpm",         "list_22_bad.xpm",
};

// In ToolbarPicture order.
constexpr const char* kToolbarFiles[ToolbarPictureCount] = {
    "tool_open_image.xpm",   "tool_open_device.xpm",  "tool_partition_table.xpm",
    "tool_copy.xpm",         "tool_paste.xpm",        "tool_delete.xpm",
    "tool_view.xpm",         "tool_get_all.xpm",      "tool_get_selected.xpm",
    "tool_put_binary.xpm",   "tool_put_tape.xpm",     "tool_exit.xpm",
};

QPixmap LoadPicture(const char* fileName)
{
    InitAppPictures();
    return QPixmap(QStringLiteral(":/pictures/") + QLatin1String(fileName));
}

// Pixel art loses its edges when smoothed: whole-number enlargements repeat
// each pixel instead.
QPixmap Enlarged(const QPixmap& picture, int width, int height)
{
    if (picture.isNull())
        return {};
    const bool whole = width % picture.width() == 0 && height % picture.height() == 0;
    return picture.scaled(width, height, Qt::IgnoreAspectRatio,
                          whole ? Qt::FastTransformation : Qt::SmoothTransformation);
}

QIcon IconWithDouble(const QPixmap& picture)
{
    QIcon icon;
    if (picture.isNull())
        return icon;
    icon.addPixmap(picture);
    icon.addPixmap(Enlarged(picture, picture.width() * 2, picture.height() * 2));
    return icon;
}

} // namespace

void InitAppPictures()
{
    static const bool registered = (RegisterPictureResource(), true);
    (void)registered;
}

QList<QIcon> ImageList1()
{
    QList<QIcon> icons;
    icons.reserve(ImageList1Count);
    for (int i = 0; i < ImageList1Count; ++i)
        icons.append(ImageListIcon(i));
    return icons;
}

QIcon ImageListIcon(int index)
{
    if (index < 0 || index >= ImageList1Count)
        return {};
    return IconWithDouble(LoadPicture(kImageListFiles[index]));
}

QPixmap ImageListPixmap(int index, int size)
{
    if (index < 0 || index >= ImageList1Count || size < 1)
        return {};
    const QPixmap picture = LoadPicture(kImageListFiles[index]);
    if (picture.isNull() || size == picture.width())
        return picture;
    return Enlarged(picture, size, size);
}

QIcon ToolbarIcon(ToolbarPicture which)
{
    const int index = static_cast<int>(which);
    if (index < 0 || index >= ToolbarPictureCount)
        return {};
    return IconWithDouble(LoadPicture(kToolbarFiles[index]));
}

QPixmap AboutLogo()
{
    return LoadPicture("about_logo.xpm");
}

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(LoadPicture("app_icon_16.xpm"));
    const QPixmap large = LoadPicture("app_icon_32.xpm");
    icon.addPixmap(large);
    icon.addPixmap(Enlarged(large, 64, 64));
    return icon;
}
