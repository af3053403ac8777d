#pragma once

#include <QDialog>

#include "check_report.h"

class QPlainTextEdit;

// Partition > Check medium: the report of the tool's check in a read-only
// text with a Close button.
class TFormCheckReport : public QDialog
{
    Q_OBJECT
public:
    TFormCheckReport(const QString& medium, const CheckReport& report, QWidget* parent = nullptr);

    QString text() const;

private:
    QPlainTextEdit* text_ = nullptr;
};
