#include "screen_view.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter, const QString& suffix)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

ScreenView::ScreenView(QWidget* parent)
    : QWidget(parent),
      m_flashAction(new QAction(tr("&Flash"), this)),
      m_borderAction(new QAction(tr("&Border"), this)),
      m_borderColourAction(new QAction(tr("Border &colour..."), this)),
      m_zoomInAction(new QAction(tr("Zoom &in"), this)),
      m_zoomOutAction(new QAction(tr("Zoom &out"), this)),
      m_savePngAction(new QAction(tr("Save as &PNG..."), this)),
      m_saveZoomedPngAction(new QAction(tr("Save as PNG at current &zoom..."), this)),
      m_copyAction(new QAction(tr("&Copy"), this))
{
    setObjectName(QStringLiteral("ScreenView"));
    ChooseColour = [](const QColor& current, QWidget* owner) {
        return QColorDialog::getColor(current, owner, tr("Border colour"));
    };
    SaveFileName = [](const QString& title, const QString& filter, QWidget* owner) {
        return AskSaveFileName(owner, title, filter, QStringLiteral("png"));
    };
    ReportError = [](const QString& message, QWidget* owner) {
        QMessageBox::critical(owner, tr("Error"), message);
    };

    m_flashTimer.setInterval(kFlashIntervalMs);
    connect(&m_flashTimer, &QTimer::timeout, this, &ScreenView::ToggleFlashPhase);

    m_flashAction->setCheckable(true);
    m_flashAction->setChecked(true);
    m_borderAction->setCheckable(true);
    m_zoomInAction->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)));
    m_zoomOutAction->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)));
    m_copyAction->setShortcut(QKeySequence::Copy);
    // The keys are the window's (see keyReleaseEvent); the shortcuts only
    // show in the menus.
    for (QAction* action : {m_zoomInAction, m_zoomOutAction, m_copyAction})
        action->setShortcutContext(Qt::WidgetShortcut);
    connect(m_flashAction, &QAction::toggled, this, &ScreenView::SetFlashing);
    connect(m_borderAction, &QAction::toggled, this, &ScreenView::SetBorderShown);
    connect(m_borderColourAction, &QAction::triggered, this, &ScreenView::PickBorderColour);
    connect(m_zoomInAction, &QAction::triggered, this, &ScreenView::ZoomIn);
    connect(m_zoomOutAction, &QAction::triggered, this, &ScreenView::ZoomOut);
    connect(m_savePngAction, &QAction::triggered, this, [this] { SaveAsPng(false); });
    connect(m_saveZoomedPngAction, &QAction::triggered, this, [this] { SaveAsPng(true); });
    connect(m_copyAction, &QAction::triggered, this, &ScreenView::Copy);
    addActions({m_flashAction, m_borderAction, m_borderColourAction, m_zoomInAction, m_zoomOutAction,
                m_savePngAction, m_saveZoomedPngAction, m_copyAction});
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    SetZoom(1);
    Rerender();
}

void ScreenView::SetScreen(const QByteArray& screen)
{
    m_screen = screen;
    m_hasFlash = ScreenHasFlash(m_screen);
    m_options.flashSwapped = false;
    m_flashAction->setEnabled(m_hasFlash);
    Rerender();
    UpdateFlashTimer();
}

void ScreenView::SetZoom(int zoom)
{
    zoom = std::clamp(zoom, 1, kMaxScreenZoom);
    m_zoomInAction->setEnabled(zoom < kMaxScreenZoom);
    m_zoomOutAction->setEnabled(zoom > 1);
    if (zoom == m_options.zoom)
        return;
    m_options.zoom = zoom;
    Rerender();
    emit ZoomChanged(zoom);
}

void ScreenView::SetFlashing(bool on)
{
    m_flashing = on;
    m_flashAction->setChecked(on);
    if (!on && m_options.flashSwapped) {
        m_options.flashSwapped = false;
        Rerender();
    }
    UpdateFlashTimer();
}

void ScreenView::SetBorderShown(bool on)
{
    m_borderAction->setChecked(on);
    const int border = on ? kScreenViewBorder : 0;
    if (border == m_options.border)
        return;
    m_options.border = border;
    Rerender();
}

void ScreenView::SetBorderColour(const QColor& colour)
{
    m_options.borderColour = colour.rgb();
    Rerender();
}

void ScreenView::PickBorderColour()
{
    const QColor colour = ChooseColour(BorderColour(), this);
    if (!colour.isValid())
        return;
    SetBorderColour(colour);
    SetBorderShown(true);
}

QImage ScreenView::Picture() const
{
    return m_picture;
}

QImage ScreenView::PictureToSave(bool atCurrentZoom) const
{
    ScreenRenderOptions options;
    if (atCurrentZoom) {
        options = m_options;
        options.flashSwapped = false;
    }
    return RenderScreen(m_screen, options);
}

bool ScreenView::SaveAsPng(bool atCurrentZoom)
{
    const QString path =
        SaveFileName(tr("Save picture as PNG"), tr("PNG pictures (*.png)"), this);
    if (path.isEmpty())
        return false;
    if (!PictureToSave(atCurrentZoom).save(path, "PNG")) {
        ReportError(tr("Cannot write %1").arg(path), this);
        return false;
    }
    return true;
}

void ScreenView::Copy()
{
    QGuiApplication::clipboard()->setImage(PictureToSave(true));
}

QSize ScreenView::sizeHint() const
{
    return m_picture.size();
}

void ScreenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Whole device pixels per Spectrum pixel and no smoothing: sharp squares.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QPoint topLeft((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
    painter.drawImage(QPoint(std::max(0, topLeft.x()), std::max(0, topLeft.y())), m_picture);
}

void ScreenView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UpdateFlashTimer();
}

void ScreenView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    UpdateFlashTimer();
}

void ScreenView::keyReleaseEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && (mods & Qt::KeypadModifier)
        && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)) {
        SetZoom(Zoom() + (event->key() == Qt::Key_Plus ? 1 : -1));
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ScreenView::Rerender()
{
    m_picture = RenderScreen(m_screen, m_options);
    updateGeometry();
    update();
}

void ScreenView::UpdateFlashTimer()
{
    const bool run = m_hasFlash && m_flashing && isVisible();
    if (run && !m_flashTimer.isActive())
        m_flashTimer.start();
    else if (!run)
        m_flashTimer.stop();
}

void ScreenView::ToggleFlashPhase()
{
    m_options.flashSwapped = !m_options.flashSwapped;
    Rerender();
}
