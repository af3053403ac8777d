#include "app_error.h"

#include "tool_command.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>

namespace {

ErrorDisplay& InstalledDisplay()
{
    static ErrorDisplay display;
    return display;
}

struct InstalledStatus
{
    bool owned = false;
    QPointer<const QObject> owner;
    StatusDisplay display;
};

InstalledStatus& StatusHook()
{
    static InstalledStatus hook;
    return hook;
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

void SetStatusDisplay(const QObject* owner, StatusDisplay display)
{
    InstalledStatus& hook = StatusHook();
    hook.owned = owner != nullptr;
    hook.owner = owner;
    hook.display = std::move(display);
}

void ShowStatusText(const QString& text)
{
    const InstalledStatus& hook = StatusHook();
    if (!hook.display || (hook.owned && !hook.owner))
        return;
    hook.display(text);
}

void ShowErrorMessageBox(const QString& text)
{
    QString shown = text;
    // The messages use CR LF line ends; a label draws a lone LF only.
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("AppError", "Error"), shown,
                    QMessageBox::Ok, QApplication::activeWindow());
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
    } catch (const ToolRunStopped& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QCoreApplication::translate("AppError", "Unknown error");
}

void ShowCurrentException() noexcept
{
    try {
        const std::exception_ptr error = std::current_exception();
        try {
            std::rethrow_exception(error);
        } catch (const ToolRunStopped& e) {
            // A cancel is the user's own choice, not an error.
            if (e.kind() == ToolRunStopped::Kind::Cancelled) {
                ShowStatusText(e.message());
                return;
            }
        } catch (...) {
        }
        ShowErrorBox(ExceptionText(error));
    } catch (...) {
        // Nothing more can be done when showing the error fails as well.
    }
}
