#include <QApplication>

#include "formmain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("3e Harnwick"));

    TFormMain form;
    form.show();
    return QApplication::exec();
}
