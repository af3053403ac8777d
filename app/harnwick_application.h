#pragma once

#include <QApplication>

// The program's application object. Its notify() is the last resort for
// errors: anything thrown from an event handler that no Guarded() wrapper
// caught is shown in the error box and the event loop goes on.
class HarnwickApplication : public QApplication
{
public:
    HarnwickApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
