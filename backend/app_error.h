#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <stdexcept>

// Errors raised below the command handlers (a file that cannot be created for
// a tool run, a tool that cannot be started, a field that is no number, ...)
// and the one place where they end up: an error box with the caption "Error"
// and one OK button.
//
// A tool run that the user cancelled or that took too long (ToolRunStopped,
// tool_command.h) takes the same path but is no error of the program: a
// cancel shows "Cancelled" through the status display, a timeout shows an
// error box naming the command and its limit.
//
// No handler catches AppError itself. Command handlers are connected through
// Guarded()/GuardedCall(), which stop the command at the error (destructors do
// the clean-up) and show the message; the application's notify() override
// does the same for anything that escapes an event handler.

// An error that carries the text shown to the user.
class QObject;

class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString& message);

    // The text for the error box, exactly as raised.
    const QString& message() const noexcept { return message_; }

private:
    QString message_;
};

// Shows one error text to the user. Receives the text exactly as raised
// (line ends included); the default display renders it in a QMessageBox.
using ErrorDisplay = std::function<void(const QString& text)>;

// Replaces the error display for the whole program (the main window routes it
// through its prompts, tests record it). An empty function restores the
// default QMessageBox display. Returns the display that was installed before.
ErrorDisplay SetErrorDisplay(ErrorDisplay display);

// Shows a short outcome ("Cancelled") where the program reports its state;
// the main window routes it to its status bar.
using StatusDisplay = std::function<void(const QString& text)>;

// Installs the status display for the whole program. It stays in force while
// owner lives (nothing is shown once owner is destroyed); a null owner keeps
// it until the next call. An empty function removes it.
void SetStatusDisplay(const QObject* owner, StatusDisplay display);

// Shows text through the installed status display, if there is one.
void ShowStatusText(const QString& text);

// Shows text through the installed error display.
void ShowErrorBox(const QString& text);

// The default display: a modal QMessageBox, caption "Error", one OK button,
// plain text, parented to the active window.
void ShowErrorMessageBox(const QString& text);

// The text to show for an exception: AppError's and ToolRunStopped's
// message, std::exception's what() (read as UTF-8), or "Unknown error" for
// anything else.
QString ExceptionText(std::exception_ptr error);

// Reports the exception currently being handled: a cancelled tool run
// through the status display, anything else in the error box. Call it only
// inside a catch block.
void ShowCurrentException() noexcept;

// Runs f; an exception that leaves it is reported (ShowCurrentException) and
// swallowed. Returns true when f ran to its end.
template <class F> bool GuardedCall(F&& f) noexcept
{
    try {
        std::forward<F>(f)();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

// Wraps a command handler for QObject::connect: the returned functor takes no
// arguments (Qt drops the signal's) and runs f through GuardedCall.
template <class F> auto Guarded(F f)
{
    return [f = std::move(f)]() mutable { GuardedCall(f); };
}
