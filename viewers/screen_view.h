#pragma once

#include "screen_image.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

class QAction;

// A save-file dialog of the view windows: the default suffix is added to a
// name typed without one before an existing file of that name is confirmed.
// Returns the chosen path, empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix);

// Shows screen memory (a SCREEN$ of 6912 bytes, or a bare 6144-byte bitmap)
// as the Spectrum does: every Spectrum pixel a square of zoom x zoom screen
// pixels, never smoothed, the picture in the middle of the widget.
//
// Cells with FLASH swap ink and paper every kFlashIntervalMs while the widget
// is shown; the timer only runs when the screen has such a cell, flashing is
// on and the widget is visible. A border of kScreenViewBorder Spectrum pixels
// in a colour the user picks can be drawn around the picture.
//
// Its actions (also its context menu): flashing on/off, border on/off,
// border colour, zoom in/out, save as PNG at 1x or at the current zoom, and
// copy. The keys are left to the window holding the view; on its own, the
// view takes Ctrl with the keypad's plus and minus for the zoom.
class ScreenView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kScreenViewBorder = 32;

    explicit ScreenView(QWidget* parent = nullptr);

    // Replaces the screen memory; the FLASH phase starts unswapped.
    void SetScreen(const QByteArray& screen);
    const QByteArray& Screen() const { return m_screen; }

    int Zoom() const { return m_options.zoom; }
    // Brought into 1..kMaxScreenZoom.
    void SetZoom(int zoom);
    void ZoomIn() { SetZoom(Zoom() + 1); }
    void ZoomOut() { SetZoom(Zoom() - 1); }

    // Flashing on (the default) or stopped; stopping it shows the cells as
    // their attributes say.
    bool Flashing() const { return m_flashing; }
    void SetFlashing(bool on);
    bool FlashSwapped() const { return m_options.flashSwapped; }
    // True while the FLASH timer runs.
    bool FlashTimerActive() const { return m_flashTimer.isActive(); }

    bool BorderShown() const { return m_options.border > 0; }
    void SetBorderShown(bool on);
    QColor BorderColour() const { return QColor(m_options.borderColour); }
    void SetBorderColour(const QColor& colour);
    // Asks the user for the border colour (through ChooseColour) and shows
    // the border in it; a cancelled choice changes nothing.
    void PickBorderColour();

    // The picture as the widget shows it now (zoom, border, FLASH phase).
    QImage Picture() const;
    // The picture unflashed: at 1x exactly 256 x 192 without border, or at
    // the current zoom with the border as shown.
    QImage PictureToSave(bool atCurrentZoom) const;
    // Asks for a file name (through SaveFileName) and writes
    // PictureToSave(atCurrentZoom) there as PNG, whatever the name's suffix. Returns false when the user
    // cancelled or the file could not be written (the latter reported
    // through ReportError).
    bool SaveAsPng(bool atCurrentZoom);
    // Puts the picture as shown (unflashed) on the clipboard.
    void Copy();

    QAction* FlashAction() const { return m_flashAction; }
    QAction* BorderAction() const { return m_borderAction; }
    QAction* BorderColourAction() const { return m_borderColourAction; }
    QAction* ZoomInAction() const { return m_zoomInAction; }
    QAction* ZoomOutAction() const { return m_zoomOutAction; }
    QAction* SavePngAction() const { return m_savePngAction; }
    QAction* SaveZoomedPngAction() const { return m_saveZoomedPngAction; }
    QAction* CopyAction() const { return m_copyAction; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The dialogs, replaceable (tests answer them without a window).
    // Colour: the current colour in, the chosen one out (invalid: cancelled).
    std::function<QColor(const QColor& current, QWidget* parent)> ChooseColour;
    // Save file name: empty when cancelled.
    std::function<QString(const QString& title, const QString& filter, QWidget* parent)> SaveFileName;
    std::function<void(const QString& message, QWidget* parent)> ReportError;

signals:
    void ZoomChanged(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void Rerender();
    void UpdateFlashTimer();
    void ToggleFlashPhase();

    QByteArray m_screen;
    ScreenRenderOptions m_options;
    QImage m_picture;
    bool m_flashing = true;
    bool m_hasFlash = false;
    QTimer m_flashTimer;

    QAction* m_flashAction;
    QAction* m_borderAction;
    QAction* m_borderColourAction;
    QAction* m_zoomInAction;
    QAction* m_zoomOutAction;
    QAction* m_savePngAction;
    QAction* m_saveZoomedPngAction;
    QAction* m_copyAction;
};
