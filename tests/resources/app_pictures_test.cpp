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

TEST(AppPictures, ThirtyTwoPixelPictureRepeatsEachPixel)
{
    for (int index : {int(ImgPartitionSelected), int(ImgScreen), int(ImgBad)}) {
        SCOPED_TRACE(index);
        const QImage small = ImageListPixmap(index).toImage();
        const QImage large = ImageListPixmap(index, 32).toImage();
        ASSERT_EQ(small.size(), QSize(16, 16));
        ASSERT_EQ(large.size(), QSize(32, 32));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(large.pixel(x, y), small.pixel(x / 2, y / 2)) << x << "," << y;
        // The icon offers the same enlargement to views that ask for 32 x 32.
        EXPECT_EQ(ImageListIcon(index).pixmap(32, 32).toImage(), large);
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
