#include "formmain.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
const char* const kBaseCaption = "3e Harnwick - a Zx Spectrum +3e File Browser";
}

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("FormMain");
    setWindowTitle(QString::fromLatin1(kBaseCaption));
    resize(800, 589);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

TFormMain::~TFormMain() = default;
