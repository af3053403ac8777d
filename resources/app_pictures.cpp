#include "app_pictures.h"

#include <QString>
#include <Qt>

#include <algorithm>

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

// Pixel art loses its edges when smoothed: doublings are made by Scale2x
// (edges along diagonals follow the diagonal instead of a staircase of
// 2 x 2 blocks), other whole-number enlargements repeat each pixel, and
// only sizes that are no whole multiple are smoothed.
QPixmap Enlarged(const QPixmap& picture, int width, int height)
{
    if (picture.isNull())
        return {};
    QImage image = picture.toImage();
    while (width % (image.width() * 2) == 0 && height % (image.height() * 2) == 0 &&
           width / image.width() == height / image.height())
        image = Scale2x(image);
    const bool whole = width % image.width() == 0 && height % image.height() == 0;
    return QPixmap::fromImage(image.scaled(width, height, Qt::IgnoreAspectRatio,
                                           whole ? Qt::FastTransformation : Qt::SmoothTransformation));
}

// The picture with a doubling for screens of scale factor 1.5 and 2 (Qt
// draws the larger one scaled down where it needs fewer pixels).
QIcon IconWithDouble(const QPixmap& picture)
{
    QIcon icon;
    if (picture.isNull())
        return icon;
    icon.addPixmap(picture);
    icon.addPixmap(QPixmap::fromImage(Scale2x(picture.toImage())));
    return icon;
}

// A list or tool-bar picture, outlined so that it stays visible on a dark
// theme.
QPixmap LoadOutlined(const char* fileName)
{
    const QPixmap picture = LoadPicture(fileName);
    return picture.isNull() ? picture : QPixmap::fromImage(WithLightOutline(picture.toImage()));
}

} // namespace

QImage Scale2x(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage in = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.width() * 2, in.height() * 2, QImage::Format_ARGB32);
    const int w = in.width();
    const int h = in.height();
    // Outside the picture counts as the edge pixel repeated.
    const auto at = [&](int x, int y) {
        return in.pixel(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = at(x, y);
            const QRgb above = at(x, y - 1), below = at(x, y + 1);
            const QRgb left = at(x - 1, y), right = at(x + 1, y);
            // A corner takes the colour of its two neighbours when they agree
            // and the other two neighbours differ from them: the pixel lies
            // on a diagonal edge of that colour.
            const bool edge = above != below && left != right;
            out.setPixel(2 * x, 2 * y, edge && left == above ? above : p);
            out.setPixel(2 * x + 1, 2 * y, edge && above == right ? right : p);
            out.setPixel(2 * x, 2 * y + 1, edge && left == below ? left : p);
            out.setPixel(2 * x + 1, 2 * y + 1, edge && below == right ? below : p);
        }
    }
    return out;
}

QImage WithLightOutline(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage in = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out = in;
    const auto dark = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= in.width() || y >= in.height())
            return false;
        const QRgb c = in.pixel(x, y);
        return qAlpha(c) > 127 && qGray(c) < 64;
    };
    // Light grey, half covering: next to nothing on a light background, an
    // edge on a dark one.
    const QRgb outline = qRgba(0xe0, 0xe0, 0xe0, 0x90);
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            if (qAlpha(in.pixel(x, y)) == 0 &&
                (dark(x - 1, y) || dark(x + 1, y) || dark(x, y - 1) || dark(x, y + 1)))
                out.setPixel(x, y, outline);
        }
    }
    return out;
}

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
    return IconWithDouble(LoadOutlined(kImageListFiles[index]));
}

QPixmap ImageListPixmap(int index, int size)
{
    if (index < 0 || index >= ImageList1Count || size < 1)
        return {};
    const QPixmap picture = LoadOutlined(kImageListFiles[index]);
    if (picture.isNull() || size == picture.width())
        return picture;
    return Enlarged(picture, size, size);
}

QIcon ToolbarIcon(ToolbarPicture which)
{
    const int index = static_cast<int>(which);
    if (index < 0 || index >= ToolbarPictureCount)
        return {};
    return IconWithDouble(LoadOutlined(kToolbarFiles[index]));
}

QPixmap AboutLogo()
{
    return LoadPicture("about_logo.xpm");
}

QIcon AppIcon()
{
    QIcon icon;
    icon.addPixmap(LoadOutlined("app_icon_16.xpm"));
    const QPixmap large = LoadOutlined("app_icon_32.xpm");
    icon.addPixmap(large);
    icon.addPixmap(Enlarged(large, 64, 64));
    return icon;
}
