#include "form_properties.h"

#include "app_pictures.h"
#include "file_list_model.h"
#include "properties_texts.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidgetItem>

namespace {

constexpr int kLabelX = 12;         // labels at the panel's left edge
constexpr int kValueX = kLabelX + 112;
constexpr int kValueWidth = 187;
constexpr int kSizeValueWidth = 180;  // a partition's sizes, right-aligned
constexpr int kRowStep = 24;
constexpr int kRowHeight = 16;

QFrame* Rule(QWidget* parent, const char* name, int y)
{
    auto* rule = new QFrame(parent);
    rule->setObjectName(QLatin1String(name));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(8, y, 329, 2);
    return rule;
}

}  // namespace

TFormProperties::TFormProperties(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormProperties"));
    setWindowTitle(QStringLiteral("Properties"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(361, 464);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setGeometry(8, 8, 345, 408);

    auto* imgPanel = new QFrame(panel);
    imgPanel->setObjectName(QStringLiteral("Panel2"));
    imgPanel->setFrameShape(QFrame::Panel);
    imgPanel->setFrameShadow(QFrame::Sunken);
    imgPanel->setGeometry(kLabelX, 12, 38, 38);
    m_imgType = new QLabel(imgPanel);
    m_imgType->setObjectName(QStringLiteral("ImgType"));
    m_imgType->setGeometry(3, 3, 32, 32);
    m_imgType->setScaledContents(true);
    m_imgType->setAttribute(Qt::WA_TranslucentBackground);

    m_txtName = new QLineEdit(panel);
    m_txtName->setObjectName(QStringLiteral("TxtName"));
    m_txtName->setReadOnly(true);
    m_txtName->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    m_txtName->setGeometry(kValueX - 50, 20, 255, 21);

    Rule(panel, "Bevel1", 60);
    struct Row
    {
        const char* label;
        const char* caption;
        const char* value;
    };
    const Row groups[3][3] = {
        {{"Label2", "File Type: ", "LblType"}, {"Label4", "Attributes:", "LblAttr"},
         {"Label21", "Version:", "LblVersion"}},
        {{"Label11", "Partition:", "LblPartition"}, {"Label3", "Size:", "LblDiskSize"},
         {"Label1", "HD Size:", "LblHDSize"}},
        {{"Label5", "Real Size:", "LblRSize"}, {"Label7", "Start:", "LblBasic"},
         {"Label9", "Variable Offset:", "LblVars"}},
    };
    int y = 74;
    for (int g = 0; g < 3; ++g) {
        if (g > 0) {
            Rule(panel, g == 1 ? "Bevel2" : "Bevel3", y);
            y += 14;
        }
        for (const Row& row : groups[g]) {
            AddLabel(row.label, QString::fromLatin1(row.caption), kLabelX, y, kValueX - kLabelX);
            AddLabel(row.value, QString(), kValueX, y, kValueWidth);
            y += kRowStep;
        }
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    ok->setGeometry(196, 428, 75, 25);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setGeometry(278, 428, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* TFormProperties::AddLabel(const char* name, const QString& caption, int x, int y, int width)
{
    auto* label = new QLabel(caption, findChild<QFrame*>(QStringLiteral("Panel1")));
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, kRowHeight);  // fixed: not sized to the text
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
            label->resize(kSizeValueWidth, label->height());
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
    }
}
