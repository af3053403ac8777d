#include "app_pictures.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

bool HasTransparentPixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                return true;
    return false;
}

QList<QIcon> ToolbarIcons()
{
    QList<QIcon> icons;
    for (int i = 0; i < ToolbarPictureCount; ++i)
        icons.append(ToolbarIcon(static_cast<ToolbarPicture>(i)));
    return icons;
}

// Every picture loads at its own size, has a transparent background somewhere,
// and no two pictures of a set are the same (a wrong or repeated file name in
// the index tables would show up here).
void ExpectDistinctPictures(const QList<QIcon>& icons, int size)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < icons.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_FALSE(icons[i].isNull());
        const QImage image = icons[i].pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(HasTransparentPixel(image));
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(argb.constBits()), argb.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << "picture repeats an earlier one";
        seen.insert(bytes);
    }
}

} // namespace

TEST(AppPictures, ImageListHasTwentyThreeDistinctPicturesOfSixteenPixels)
{
    const QList<QIcon> icons = ImageList1();
    ASSERT_EQ(icons.size(), ImageList1Count);
    ExpectDistinctPictures(icons, 16);
    for (int i = 0; i < ImageList1Count; ++i)
        EXPECT_EQ(ImageListIcon(i).pixmap(16, 16).toImage(), icons[i].pixmap(16, 16).toImage());
}

TEST(AppPictures, ImageListOutsideItsRangeGivesNothing)
{
    for (int index : {-1, ImageList1Count, 255}) {
        EXPECT_TRUE(ImageListIcon(index).isNull()) << index;
        EXPECT_TRUE(ImageListPixmap(index, 32).isNull()) << index;
    }
    EXPECT_TRUE(ImageListPixmap(ImgBytes, 0).isNull());
}

TEST(AppPictures, ThirtyTwoPixelPictureIsTheScale2xDoubling)
{
    for (int index : {int(ImgPartitionSelected), int(ImgScreen), int(ImgBad)}) {
        SCOPED_TRACE(index);
        const QImage small = ImageListPixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage large = ImageListPixmap(index, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(small.size(), QSize(16, 16));
        ASSERT_EQ(large.size(), QSize(32, 32));
        EXPECT_EQ(large, Scale2x(small));
        // The icon offers the same doubling to views (and screens of scale
        // factor 2) that ask for 32 x 32.
        EXPECT_EQ(ImageListIcon(index).pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                  large);
    }
}

namespace {

// A picture from rows of characters: 'X' black, 'w' white, 'o' the light
// outline, anything else transparent; and back.
QImage Art(const QStringList& rows)
{
    QImage image(rows.first().size(), rows.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = rows[y][x];
            image.setPixel(x, y, c == 'X' ? qRgba(0, 0, 0, 255)
                                 : c == 'w' ? qRgba(255, 255, 255, 255)
                                 : c == 'o' ? qRgba(0xe0, 0xe0, 0xe0, 0x90)
                                            : qRgba(0, 0, 0, 0));
        }
    return image;
}

QStringList Rows(const QImage& image)
{
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            row += qAlpha(c) == 0 ? '.' : c == qRgba(0xe0, 0xe0, 0xe0, 0x90) ? 'o' : qGray(c) < 128 ? 'X' : 'w';
        }
        rows << row;
    }
    return rows;
}

} // namespace

TEST(AppPictures, DoublingFollowsDiagonalsAndOutlineRingsDarkPixels)
{
    const struct
    {
        const char* what;
        QStringList in;
        QStringList out;
        bool outline; // WithLightOutline, else Scale2x
    } cases[] = {
        {"a diagonal stays a diagonal", {"X.", ".X"}, {"XX..", "X.X.", ".X.X", "..XX"}, false},
        {"a straight edge stays straight", {"XX", ".."}, {"XXXX", "XXXX", "....", "...."}, false},
        {"a lone pixel stays square", {"...", ".X.", "..."},
         {"......", "......", "..XX..", "..XX..", "......", "......"}, false},
        {"dark pixels get an outline on their sides", {"...", ".X.", "..."}, {".o.", "oXo", ".o."}, true},
        {"light pixels and filled neighbours get none", {"w..", "XX."}, {"wo.", "XXo"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage in = Art(c.in);
        EXPECT_EQ(Rows(c.outline ? WithLightOutline(in) : Scale2x(in)), c.out);
    }
}

TEST(AppPictures, ToolbarHasTwelveDistinctPicturesOfTwentyPixels)
{
    ExpectDistinctPictures(ToolbarIcons(), ToolbarPictureSize);
    EXPECT_TRUE(ToolbarIcon(static_cast<ToolbarPicture>(ToolbarPictureCount)).isNull());
}

TEST(AppPictures, AboutLogoAndWindowIcon)
{
    const QPixmap logo = AboutLogo();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(AboutLogoWidth, AboutLogoHeight));

    const QIcon icon = AppIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32));
}
