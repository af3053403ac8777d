#include "formmain.h"
#include "harnwick_application.h"

int main(int argc, char** argv)
{
    HarnwickApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("3e Harnwick"));

    TFormMain form;
    form.show();
    return QApplication::exec();
}
