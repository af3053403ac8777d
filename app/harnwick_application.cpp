#include "harnwick_application.h"

#include "app_error.h"

HarnwickApplication::HarnwickApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool HarnwickApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}
