#include "transfer_error.h"

TransferError::TransferError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}
