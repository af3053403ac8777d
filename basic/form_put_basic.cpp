#include "form_put_basic.h"

#include "basic_command_lines.h"
#include "short_name.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

bool IsPlus3FileName(const QString& name)
{
    static const QRegularExpression rule(
        QStringLiteral("^[A-Za-z0-9!#$%&'\\-@^_{}~]{1,8}(\\.[A-Za-z0-9!#$%&'\\-@^_{}~]{0,3})?$"));
    return rule.match(name.trimmed()).hasMatch();
}

TFormPutBasic::TFormPutBasic(const QString& hostFile, QWidget* parent)
    : QDialog(parent),
      m_name(new QLineEdit(this)),
      m_autostart(new QLineEdit(this)),
      m_problem(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Put BASIC text"));

    auto* source = new QLabel(QFileInfo(hostFile).fileName(), this);
    source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    source->setToolTip(hostFile);

    m_name->setMaxLength(12);
    m_name->setText(ShortName(hostFile));
    m_autostart->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), m_autostart));
    m_autostart->setPlaceholderText(tr("none"));
    m_autostart->setToolTip(tr("The line the program runs from when loaded: %1 to %2, empty for none")
                                .arg(kMinAutostartLine)
                                .arg(kMaxAutostartLine));

    auto* form = new QFormLayout;
    form->addRow(tr("Text file:"), source);
    form->addRow(tr("+3DOS &name:"), m_name);
    form->addRow(tr("&Autostart line:"), m_autostart);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (IsAcceptable())
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, &TFormPutBasic::UpdateOk);
    connect(m_autostart, &QLineEdit::textChanged, this, &TFormPutBasic::UpdateOk);
    UpdateOk();
}

QString TFormPutBasic::Name() const
{
    return m_name->text().trimmed().toUpper();
}

std::optional<int> TFormPutBasic::Autostart() const
{
    const QString text = m_autostart->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int line = text.toInt(&ok);
    if (!ok || line < kMinAutostartLine || line > kMaxAutostartLine)
        return std::nullopt;
    return line;
}

bool TFormPutBasic::IsAcceptable() const
{
    const QString autostart = m_autostart->text().trimmed();
    return IsPlus3FileName(Name()) && (autostart.isEmpty() || Autostart().has_value());
}

void TFormPutBasic::UpdateOk()
{
    QString problem;
    if (!IsPlus3FileName(Name()))
        problem = tr("A name is 1-8 characters, a dot and 0-3 characters.");
    else if (!m_autostart->text().trimmed().isEmpty() && !Autostart())
        problem = tr("The autostart line is a number from %1 to %2.")
                      .arg(kMinAutostartLine)
                      .arg(kMaxAutostartLine);
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}
