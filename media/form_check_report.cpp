#include "form_check_report.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormCheckReport::TFormCheckReport(const QString& medium, const CheckReport& report, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Check medium - %1").arg(medium));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("report"));
    text_->setAccessibleName(tr("Check report"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setPlainText(CheckReportLines(report).join(QLatin1Char('\n')));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(560, 360);
}

QString TFormCheckReport::text() const
{
    return text_->toPlainText();
}
