#include "form_new_partition.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "media_rules.h"

QString NewPartitionCommandLine(const QString& tool, const QString& medium, const NewPartitionResult& result)
{
    return NewPartCommand(tool, medium, result.name, result.megabytes, result.kind, result.driveLetter);
}

TFormNewPartition::TFormNewPartition(NewPartitionContext context, QWidget* parent)
    : QDialog(parent)
    , context_(std::move(context))
{
    setWindowTitle(tr("New partition"));

    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("name"));
    name_->setMaxLength(32); // longer names are refused with a reason

    type_ = new QComboBox(this);
    type_->setObjectName(QStringLiteral("type"));
    type_->addItem(tr("+3DOS"), int(PartitionKind::Plus3Dos));
    type_->addItem(tr("Swap"), int(PartitionKind::Swap));

    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("size"));
    size_->setRange(1, kMaxPartitionMegabytes);
    size_->setValue(kMaxPartitionMegabytes);
    size_->setSuffix(tr(" MB"));

    // Only the letters still free are offered.
    drive_ = new QComboBox(this);
    drive_->setObjectName(QStringLiteral("drive"));
    drive_->addItem(tr("None"));
    for (char letter = 'A'; letter <= 'P'; ++letter)
        if (!context_.mappedLetters.contains(QLatin1Char(letter), Qt::CaseInsensitive))
            drive_->addItem(QStringLiteral("%1:").arg(QLatin1Char(letter)), QChar(QLatin1Char(letter)));

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), name_);
    form->addRow(tr("&Type:"), type_);
    form->addRow(tr("&Size:"), size_);
    form->addRow(tr("&Drive letter:"), drive_);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, &TFormNewPartition::update);
    connect(type_, &QComboBox::currentIndexChanged, this, &TFormNewPartition::update);
    connect(size_, &QSpinBox::valueChanged, this, &TFormNewPartition::update);
    connect(drive_, &QComboBox::currentIndexChanged, this, &TFormNewPartition::update);
    update();
}

NewPartitionResult TFormNewPartition::result() const
{
    NewPartitionResult r;
    r.name = name_->text();
    while (r.name.endsWith(QLatin1Char(' ')))
        r.name.chop(1);
    r.kind = PartitionKind(type_->currentData().toInt());
    r.megabytes = size_->value();
    // Only a +3DOS partition is mapped to a drive.
    if (r.kind == PartitionKind::Plus3Dos)
        r.driveLetter = drive_->currentData().toChar();
    return r;
}

QString TFormNewPartition::problem() const
{
    const NewPartitionResult r = result();
    if (const QString why = PartitionNameProblem(r.name, context_.existingNames); !why.isEmpty())
        return why;
    if (r.megabytes < 1 || r.megabytes > kMaxPartitionMegabytes)
        return tr("A new partition has 1 to %1 MB.").arg(kMaxPartitionMegabytes);
    return {};
}

void TFormNewPartition::update()
{
    drive_->setEnabled(PartitionKind(type_->currentData().toInt()) == PartitionKind::Plus3Dos);
    const QString why = problem();
    problem_->setText(why);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(why.isEmpty());
}
