#pragma once

#include <QString>

#include <stdexcept>

// A failure of a host-file operation in the transfer code (a file that cannot
// be opened, read, written or replaced). It carries the message the user is
// shown; the command that runs into it stops and its clean-up runs.
class TransferError : public std::runtime_error
{
public:
    explicit TransferError(const QString& message);

    QString message() const { return message_; }

private:
    QString message_;
};
