#include "form_properties.h"

#include "app_pictures.h"
#include "file_list_model.h"
#include "properties_texts.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

constexpr int kValueChars = 30;  // a value column of some thirty characters
constexpr int kSizeIndent = 7;   // a partition's sizes end this far before the column's end

QFrame* Rule(QWidget* parent, const char* name)
{
    auto* rule = new QFrame(parent);
    rule->setObjectName(QLatin1String(name));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

}  // namespace

TFormProperties::TFormProperties(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormProperties"));
    setWindowTitle(tr("Properties"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);

    auto* imgPanel = new QFrame(panel);
    imgPanel->setObjectName(QStringLiteral("Panel2"));
    imgPanel->setFrameShape(QFrame::Panel);
    imgPanel->setFrameShadow(QFrame::Sunken);
    m_imgType = new QLabel(imgPanel);
    m_imgType->setObjectName(QStringLiteral("ImgType"));
    m_imgType->setAccessibleName(tr("File type picture"));
    m_imgType->setFixedSize(32, 32);
    m_imgType->setScaledContents(true);
    m_imgType->setAttribute(Qt::WA_TranslucentBackground);
    auto* imgLayout = new QHBoxLayout(imgPanel);
    imgLayout->setContentsMargins(3, 3, 3, 3);
    imgLayout->addWidget(m_imgType);

    m_txtName = new QLineEdit(panel);
    m_txtName->setObjectName(QStringLiteral("TxtName"));
    m_txtName->setAccessibleName(tr("Name"));
    m_txtName->setReadOnly(true);
    m_txtName->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab

    // Labels in the first column, their values in the second; the value
    // column is wide enough for the longest values in the dialog's font.
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(12);
    grid->setColumnMinimumWidth(1, fontMetrics().averageCharWidth() * kValueChars);
    grid->setColumnStretch(1, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(imgPanel);
    top->addSpacing(12);
    top->addWidget(m_txtName, 1);
    int gridRow = 0;
    grid->addLayout(top, gridRow++, 0, 1, 2);
    grid->addWidget(Rule(panel, "Bevel1"), gridRow++, 0, 1, 2);
    struct Row
    {
        const char* label;
        const char* caption;
        const char* value;
    };
    static const Row groups[3][3] = {
        {{"Label2", QT_TR_NOOP("File Type: "), "LblType"}, {"Label4", QT_TR_NOOP("Attributes:"), "LblAttr"},
         {"Label21", QT_TR_NOOP("Version:"), "LblVersion"}},
        {{"Label11", QT_TR_NOOP("Partition:"), "LblPartition"}, {"Label3", QT_TR_NOOP("Size:"), "LblDiskSize"},
         {"Label1", QT_TR_NOOP("HD Size:"), "LblHDSize"}},
        {{"Label5", QT_TR_NOOP("Real Size:"), "LblRSize"}, {"Label7", QT_TR_NOOP("Start:"), "LblBasic"},
         {"Label9", QT_TR_NOOP("Variable Offset:"), "LblVars"}},
    };
    for (int g = 0; g < 3; ++g) {
        if (g > 0)
            grid->addWidget(Rule(panel, g == 1 ? "Bevel2" : "Bevel3"), gridRow++, 0, 1, 2);
        for (const Row& row : groups[g]) {
            grid->addWidget(AddLabel(row.label, tr(row.caption)), gridRow, 0);
            grid->addWidget(AddLabel(row.value, QString()), gridRow, 1);
            ++gridRow;
        }
    }
    grid->setRowStretch(gridRow, 1);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QLabel* TFormProperties::AddLabel(const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, findChild<QFrame*>(QStringLiteral("Panel1")));
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

void TFormProperties::Fill(const PropertiesTexts& t)
{
    m_imgType->setPixmap(ImageListPixmap(t.icon, 32));
    m_txtName->setText(t.name);
    const std::pair<const char*, const QString*> values[] = {
        {"LblType", &t.type},         {"LblAttr", &t.attr},         {"LblVersion", &t.version},
        {"LblPartition", &t.partition}, {"LblDiskSize", &t.diskSize}, {"LblHDSize", &t.hdSize},
        {"LblRSize", &t.realSize},    {"LblBasic", &t.basic},       {"LblVars", &t.vars},
        {"Label11", &t.label11},      {"Label3", &t.label3},        {"Label1", &t.label1},
        {"Label5", &t.label5},        {"Label7", &t.label7},
    };
    for (const auto& [name, text] : values)
        findChild<QLabel*>(QLatin1String(name))->setText(*text);
    findChild<QLabel*>(QStringLiteral("Label7"))->setVisible(t.label7Visible);
    findChild<QLabel*>(QStringLiteral("Label9"))->setVisible(t.label9Visible);
    if (t.sizesRightAligned) {
        for (const char* name : {"LblPartition", "LblDiskSize", "LblHDSize"}) {
            auto* label = findChild<QLabel*>(QLatin1String(name));
            label->setContentsMargins(0, 0, kSizeIndent, 0);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}
