#include "put_picture.h"

#include "app_error.h"
#include "command_builders.h"
#include "command_context.h"
#include "command_guards.h"
#include "conflict_dialog.h"
#include "form_put_basic.h"
#include "name_conflicts.h"
#include "prompts.h"
#include "screen_image.h"
#include "short_name.h"
#include "temp_folder.h"
#include "tool_steps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

constexpr int kHeaderSize = 128;
constexpr int kBytesType = 3;
constexpr quint16 kUnusedParameter = 0x8000; // parameter 2 of a Bytes file
constexpr int kPreviewZoom = 2;

const char* const kPictureSuffixes[] = {"png", "jpg", "jpeg", "gif", "bmp"};

void PutWord(QByteArray& bytes, int at, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

} // namespace

QByteArray ScreenFileBytes(const QByteArray& screen)
{
    QByteArray header(kHeaderSize, '\0');
    header.replace(0, 8, "PLUS3DOS");
    header[8] = 0x1A;
    header[9] = 1; // issue
    header[10] = 0; // version
    PutWord(header, 11, static_cast<quint32>(kHeaderSize + screen.size()), 4);
    header[15] = kBytesType;
    PutWord(header, 16, static_cast<quint32>(screen.size()), 2);
    PutWord(header, 18, kScreenLoadAddress, 2);
    PutWord(header, 20, kUnusedParameter, 2);
    unsigned sum = 0;
    for (int i = 0; i < kHeaderSize - 1; ++i)
        sum += static_cast<unsigned char>(header[i]);
    header[kHeaderSize - 1] = static_cast<char>(sum);
    return header + screen;
}

QString ScreenFileName(const QString& hostPath)
{
    QString name = ShortName(hostPath);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name + QStringLiteral(".SCR");
}

QString PictureFileFilter()
{
    return QStringLiteral("Pictures (*.png;*.jpg;*.jpeg;*.gif;*.bmp)|*.png;*.jpg;*.jpeg;*.gif;*.bmp|"
                          "All Files (*.*)|*.*");
}

bool IsPictureFileName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char* known : kPictureSuffixes) {
        if (suffix == QLatin1String(known))
            return true;
    }
    return false;
}

bool LooksLikePicture(const QString& path)
{
    return IsPictureFileName(path) && QImageReader(path).canRead();
}

TFormPutPicture::TFormPutPicture(const QString& hostFile, const QImage& picture, QWidget* parent)
    : QDialog(parent),
      m_picture(picture),
      m_preview(new QLabel(this)),
      m_fit(new QComboBox(this)),
      m_dither(new QCheckBox(tr("&Dither inside each 8 x 8 cell"), this)),
      m_name(new QLineEdit(this)),
      m_problem(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Put picture as SCREEN$"));

    auto* source = new QLabel(QStringLiteral("%1 (%2 x %3)")
                                  .arg(QFileInfo(hostFile).fileName())
                                  .arg(picture.width())
                                  .arg(picture.height()),
                              this);
    source->setToolTip(hostFile);

    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->setFixedSize(kScreenWidth * kPreviewZoom, kScreenHeight * kPreviewZoom);
    m_preview->setToolTip(tr("The picture as the Spectrum shows it"));

    m_fit->addItem(tr("Scale to fit, keep proportions"), static_cast<int>(PictureFit::Fit));
    m_fit->addItem(tr("Scale to fill, crop what overflows"), static_cast<int>(PictureFit::Fill));
    m_fit->addItem(tr("Stretch to 256 x 192"), static_cast<int>(PictureFit::Stretch));
    m_fit->addItem(tr("Crop the middle, no scaling"), static_cast<int>(PictureFit::Centre));
    // A picture of the screen's own size needs no scaling.
    if (picture.width() == kScreenWidth && picture.height() == kScreenHeight)
        m_fit->setCurrentIndex(3);

    m_name->setMaxLength(12);
    m_name->setText(ScreenFileName(hostFile));

    auto* form = new QFormLayout;
    form->addRow(tr("Picture:"), source);
    form->addRow(tr("&Size:"), m_fit);
    form->addRow(QString(), m_dither);
    form->addRow(tr("+3DOS &name:"), m_name);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (IsPlus3FileName(Name()))
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_fit, &QComboBox::currentIndexChanged, this, &TFormPutPicture::UpdatePreview);
    connect(m_dither, &QCheckBox::toggled, this, &TFormPutPicture::UpdatePreview);
    connect(m_name, &QLineEdit::textChanged, this, &TFormPutPicture::UpdateOk);
    UpdatePreview();
    UpdateOk();
}

QString TFormPutPicture::Name() const
{
    return m_name->text().trimmed().toUpper();
}

ScreenConversionOptions TFormPutPicture::Options() const
{
    ScreenConversionOptions options;
    options.fit = static_cast<PictureFit>(m_fit->currentData().toInt());
    options.dither = m_dither->isChecked();
    return options;
}

void TFormPutPicture::UpdatePreview()
{
    m_screen = PictureToScreen(m_picture, Options());
    ScreenRenderOptions render;
    render.zoom = kPreviewZoom;
    m_preview->setPixmap(QPixmap::fromImage(RenderScreen(m_screen, render)));
}

void TFormPutPicture::UpdateOk()
{
    const bool ok = IsPlus3FileName(Name());
    m_problem->setText(ok ? QString() : tr("A name is 1-8 characters, a dot and 0-3 characters."));
    m_problem->setVisible(!ok);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
}

bool PutPictureAsScreen(CommandContext& ctx, const QString& hostFile)
{
    if (!ctx.checkTool())
        return false;
    QTreeWidgetItem* node = RequirePartitionNode(ctx);
    if (!node)
        return false;
    QString file = hostFile;
    if (file.isEmpty()) {
        FileDialogRequest request;
        request.title = QStringLiteral("Put picture as SCREEN$");
        request.filter = PictureFileFilter();
        request.folder = ctx.openDialogFolder();
        const QStringList files = ctx.prompts().openFiles(request);
        if (files.isEmpty())
            return false;
        file = files.first();
        ctx.openDialogFolder() = QFileInfo(file).absolutePath();
    }

    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        ctx.prompts().error(QStringLiteral("%1 cannot be read as a picture: %2")
                                .arg(QDir::toNativeSeparators(file), reader.errorString()));
        return true; // the next picture of a drop may be readable
    }

    TFormPutPicture dialog(file, picture, ctx.dialogParent());
    if (ctx.prompts().execDialog(dialog) != QDialog::Accepted)
        return false;
    const QString name = dialog.Name();
    const QString partition = node->text(0);
    const ToolRunner tool = ctx.tool();

    // Never replaced unasked, and a read-only file not at all: a taken name
    // asks Replace, Skip, Keep both (the next free name) or Cancel.
    QString error;
    QStringList readOnly;
    const QStringList names = ListPartitionFiles(tool, partition, &error, &readOnly);
    if (!error.isEmpty()) {
        ctx.prompts().error(error);
        return false;
    }
    NameConflicts conflicts(partition, names, readOnly, DialogConflictAsker(ctx.prompts(), ctx.dialogParent()));
    const PutDecision decision = conflicts.Decide({file, name});
    if (decision.kind == PutDecision::Cancel)
        return false;
    if (decision.kind == PutDecision::Skip)
        return true;
    const QString target = decision.targetName;

    // The screen with its header, in a folder of its own under the name it
    // is stored as.
    QTemporaryDir folder(PrivateTempFolder() + QStringLiteral("/picture-XXXXXX"));
    if (!folder.isValid())
        throw AppError(QStringLiteral("Cannot create a temporary folder in %1: %2")
                           .arg(PrivateTempFolder(), folder.errorString()));
    const QString staged = folder.filePath(QStringLiteral("SCREEN.SCR"));
    QFile out(staged);
    const QByteArray bytes = ScreenFileBytes(dialog.Screen());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(staged, out.errorString()));
    out.close();

    ctx.setStatusPanel(2, QStringLiteral("Putting ") + file + QStringLiteral(" to ") + partition);
    const QString toolError = tool.runForErrors(PutCommand(tool.toolPath, tool.medium, staged, partition, target));
    if (!toolError.isEmpty()) {
        ctx.prompts().error(QDir::toNativeSeparators(file) + QStringLiteral(":\r\n") + toolError);
        return true;
    }
    ctx.listPartitionAgain();
    return true;
}
