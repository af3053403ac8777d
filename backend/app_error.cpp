#include "app_error.h"

#include <QApplication>
#include <QMessageBox>

namespace {

ErrorDisplay& InstalledDisplay()
{
    static ErrorDisplay display;
    return display;
}

} // namespace

AppError::AppError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

ErrorDisplay SetErrorDisplay(ErrorDisplay display)
{
    ErrorDisplay previous = std::move(InstalledDisplay());
    InstalledDisplay() = std::move(display);
    return previous;
}

void ShowErrorBox(const QString& text)
{
    const ErrorDisplay& display = InstalledDisplay();
    if (display)
        display(text);
    else
        ShowErrorMessageBox(text);
}

void ShowErrorMessageBox(const QString& text)
{
    QString shown = text;
    // The messages use CR LF line ends; a label draws a lone LF only.
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString ExceptionText(std::exception_ptr error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const AppError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QStringLiteral("Unknown error");
}

void ShowCurrentException() noexcept
{
    try {
        ShowErrorBox(ExceptionText(std::current_exception()));
    } catch (...) {
        // Nothing more can be done when showing the error fails as well.
    }
}
