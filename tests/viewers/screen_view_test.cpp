// The picture view: what it paints, the FLASH timer, saving as PNG.
#include "screen_view.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace {

// A random bitmap with every attribute byte (cell n has attribute n mod 256),
// so that FLASH cells are in all three thirds.
QByteArray EveryAttribute()
{
    QByteArray screen(kScreenSize, Qt::Uninitialized);
    std::mt19937 random(6912);
    for (int i = 0; i < kScreenBitmapSize; ++i)
        screen[i] = static_cast<char>(random());
    for (int cell = 0; cell < kScreenAttributesSize; ++cell)
        screen[kScreenBitmapSize + cell] = static_cast<char>(cell);
    return screen;
}

QImage Grab(ScreenView& view)
{
    view.resize(view.sizeHint());
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class ScreenViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        view.SetScreen(EveryAttribute());
        view.ChooseColour = [this](const QColor&, QWidget*) { return pickedColour; };
        view.SaveFileName = [this](const QString&, const QString&, QWidget*) { return savePath; };
        view.ReportError = [this](const QString& message, QWidget*) { errors << message; };
    }

    ScreenView view;
    QColor pickedColour;
    QString savePath;
    QStringList errors;
};

TEST_F(ScreenViewTest, PaintsWhatRenderScreenDrawsAtEachZoomAndBorder)
{
    struct Case
    {
        int zoom;
        QColor border;  // invalid: no border
        int keypadPluses;
    };
    for (const Case& c : {Case{1, {}, 0}, Case{3, QColor(0x12, 0x34, 0x56), 2}, Case{4, Qt::red, 9}}) {
        view.SetZoom(1);
        view.SetBorderShown(false);
        pickedColour = c.border;
        if (c.border.isValid())
            view.PickBorderColour();
        for (int i = 0; i < c.keypadPluses; ++i)
            QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
        ASSERT_EQ(view.Zoom(), c.zoom);
        ScreenRenderOptions options;
        options.zoom = c.zoom;
        options.border = c.border.isValid() ? ScreenView::kScreenViewBorder : 0;
        options.borderColour = c.border.rgb();
        EXPECT_EQ(Grab(view), RenderScreen(view.Screen(), options)) << "zoom " << c.zoom;
    }
    // A cancelled colour choice leaves the border as it was.
    pickedColour = QColor();
    view.PickBorderColour();
    EXPECT_EQ(view.BorderColour(), QColor(Qt::red));
    view.SetZoom(0);
    EXPECT_EQ(view.Zoom(), 1);
    EXPECT_FALSE(view.ZoomOutAction()->isEnabled());
}

TEST_F(ScreenViewTest, FlashTimerRunsOnlyWhileShownAndSwapsThePhase)
{
    EXPECT_FALSE(view.FlashTimerActive());  // not shown yet
    view.show();
    ASSERT_TRUE(view.FlashTimerActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.FlashSwapped(); }, 2 * kFlashIntervalMs + 200));
    ScreenRenderOptions swapped;
    swapped.flashSwapped = true;
    EXPECT_EQ(Grab(view), RenderScreen(view.Screen(), swapped));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.FlashSwapped(); }, 2 * kFlashIntervalMs + 200));

    view.hide();
    EXPECT_FALSE(view.FlashTimerActive());
    view.show();
    view.FlashAction()->trigger();  // stop flashing
    EXPECT_FALSE(view.Flashing());
    EXPECT_FALSE(view.FlashTimerActive());
    QTest::qWait(kFlashIntervalMs + 100);
    EXPECT_FALSE(view.FlashSwapped());

    // No cell with FLASH: no timer.
    view.SetFlashing(true);
    QByteArray still = view.Screen();
    for (int i = kScreenBitmapSize; i < kScreenSize; ++i)
        still[i] = static_cast<char>(still[i] & 0x7F);
    view.SetScreen(still);
    EXPECT_FALSE(view.FlashTimerActive());
    view.SetScreen(still.left(kScreenBitmapSize));  // a bare bitmap: black on white
    EXPECT_EQ(Grab(view), RenderScreen(still.left(kScreenBitmapSize)));
}

TEST_F(ScreenViewTest, SavesTheUnflashedPictureAsPngAt1xOrAtTheZoom)
{
    QTemporaryDir dir;
    view.SetZoom(2);
    view.SetBorderColour(Qt::blue);
    view.SetBorderShown(true);
    view.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.FlashSwapped(); }, 2 * kFlashIntervalMs + 200));

    savePath = dir.filePath("plain.png");
    view.SavePngAction()->trigger();
    QImage saved(savePath, "PNG");
    ASSERT_EQ(saved.size(), QSize(256, 192));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), RenderScreen(view.Screen()));

    savePath = dir.filePath("zoomed.scr");  // PNG whatever the suffix
    ASSERT_TRUE(view.SaveAsPng(true));
    ScreenRenderOptions shown;
    shown.zoom = 2;
    shown.border = ScreenView::kScreenViewBorder;
    shown.borderColour = qRgb(0, 0, 255);
    EXPECT_EQ(QImage(savePath, "PNG").convertToFormat(QImage::Format_RGB32), RenderScreen(view.Screen(), shown));

    savePath.clear();  // cancelled
    EXPECT_FALSE(view.SaveAsPng(false));
    savePath = dir.filePath("no-such-folder/x.png");
    EXPECT_FALSE(view.SaveAsPng(false));
    EXPECT_EQ(errors.size(), 1);
}

}  // namespace
