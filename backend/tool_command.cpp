#include "tool_command.h"

#include <QCoreApplication>

#include <utility>

namespace {

ToolCommandScope*& InnermostScope()
{
    static ToolCommandScope* scope = nullptr;
    return scope;
}

} // namespace

ToolRunStopped::ToolRunStopped(Kind kind, QString command, int limitMs)
    : kind_(kind), command_(std::move(command)), limitMs_(limitMs), what_(message().toStdString())
{
}

QString ToolRunStopped::message() const
{
    if (kind_ == Kind::Cancelled)
        return QCoreApplication::translate("ToolCommand", "Cancelled");
    // Whole seconds, rounded up: a limit of 1.5 s is not "1 seconds".
    const int seconds = (limitMs_ + 999) / 1000;
    return QCoreApplication::translate(
               "ToolCommand",
               "The disk tool did not answer within %1 %2.\nThe command \"%3\" was stopped.")
        .arg(seconds)
        .arg(seconds == 1 ? QCoreApplication::translate("ToolCommand", "second")
                          : QCoreApplication::translate("ToolCommand", "seconds"))
        .arg(command_);
}

ToolCommandScope::ToolCommandScope(QString caption, int limitMs)
    : caption_(std::move(caption)), limitMs_(limitMs > 0 ? limitMs : kDefaultLimitMs),
      outer_(InnermostScope())
{
    InnermostScope() = this;
}

ToolCommandScope::~ToolCommandScope()
{
    InnermostScope() = outer_;
}

QString ToolCommandScope::CurrentCaption()
{
    const ToolCommandScope* scope = InnermostScope();
    return scope ? scope->caption_ : QString();
}

QStringList ToolCommandScope::OpenCaptions()
{
    QStringList captions;
    for (const ToolCommandScope* scope = InnermostScope(); scope; scope = scope->outer_)
        captions << scope->caption_;
    return captions;
}

int ToolCommandScope::CurrentLimitMs()
{
    const ToolCommandScope* scope = InnermostScope();
    return scope ? scope->limitMs_ : kDefaultLimitMs;
}

QString ToolCommandScope::EnclosingCaption()
{
    const ToolCommandScope* scope = InnermostScope();
    return scope && scope->outer_ ? scope->outer_->caption_ : QString();
}
