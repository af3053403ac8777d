#include "form_new_image.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "media_rules.h"

namespace {

// The tool's create makes a raw image of a file with these extensions,
// whatever else it is told.
bool HasRawExtension(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("raw") || suffix == QLatin1String("img");
}

QString SizeText(qint64 bytes)
{
    if (bytes >= qint64(1) << 30)
        return QCoreApplication::translate("TFormNewImage", "%1 GB").arg(double(bytes) / double(qint64(1) << 30), 0, 'f', 1);
    return QCoreApplication::translate("TFormNewImage", "%1 MB").arg(double(bytes) / double(1 << 20), 0, 'f', 1);
}

} // namespace

QStringList NewImageCommandLines(const QString& tool, const NewImageResult& result)
{
    QStringList lines{CreateImageCommand(tool, result.path, result.layout)};
    if (!result.partitionName.isEmpty())
        lines << NewPartCommand(tool, result.path, result.partitionName, result.partitionMegabytes,
                                PartitionKind::Plus3Dos);
    return lines;
}

TFormNewImage::TFormNewImage(const QString& startFolder, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("New hard disk image"));
    saveFile_ = [](QWidget* owner, const QString& current) {
        return QFileDialog::getSaveFileName(owner, tr("New hard disk image"), current,
                                            tr("Hard disk images (*.hdf *.img *.raw);;All files (*)"),
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    };

    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("file"));
    file_->setText(QDir(startFolder.isEmpty() ? QDir::homePath() : startFolder).filePath(QStringLiteral("card.hdf")));
    browse_ = new QPushButton(tr("&Browse..."), this);
    browse_->setObjectName(QStringLiteral("browse"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);

    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("format"));
    format_->addItem(QStringLiteral("HDF 1.1"), int(ImageFormat::Hdf11));
    format_->addItem(QStringLiteral("HDF 1.0"), int(ImageFormat::Hdf10));
    format_->addItem(tr("Raw image (no header)"), int(ImageFormat::Raw));

    interface_ = new QComboBox(this);
    interface_->setObjectName(QStringLiteral("interface"));
    interface_->addItem(tr("16-bit"));
    interface_->addItem(tr("8-bit (halved sectors)"));

    auto* form = new QFormLayout;
    auto* fileLabel = new QLabel(tr("&File:"), this);
    fileLabel->setBuddy(file_);
    form->addRow(fileLabel, fileRow);
    form->addRow(tr("F&ormat:"), format_);
    form->addRow(tr("&Interface:"), interface_);

    // Size: a card size, or the geometry itself.
    auto* sizeBox = new QGroupBox(tr("Size"), this);
    byPreset_ = new QRadioButton(tr("&Card size:"), sizeBox);
    byPreset_->setObjectName(QStringLiteral("byPreset"));
    byPreset_->setChecked(true);
    preset_ = new QComboBox(sizeBox);
    preset_->setObjectName(QStringLiteral("preset"));
    for (qint64 size : CardSizePresets())
        preset_->addItem(CardSizeText(size), size);
    byGeometry_ = new QRadioButton(tr("C&ylinders/heads/sectors:"), sizeBox);
    byGeometry_->setObjectName(QStringLiteral("byGeometry"));
    auto spin = [&](const char* name, int maximum, int value) {
        auto* box = new QSpinBox(sizeBox);
        box->setObjectName(QLatin1String(name));
        box->setRange(1, maximum);
        box->setValue(value);
        return box;
    };
    cylinders_ = spin("cylinders", 65535, 128);
    heads_ = spin("heads", 255, 16);
    sectors_ = spin("sectors", 255, 32);
    capacity_ = new QLabel(sizeBox);
    capacity_->setObjectName(QStringLiteral("capacity"));
    auto* geometryRow = new QHBoxLayout;
    geometryRow->addWidget(cylinders_);
    geometryRow->addWidget(new QLabel(QStringLiteral("/"), sizeBox));
    geometryRow->addWidget(heads_);
    geometryRow->addWidget(new QLabel(QStringLiteral("/"), sizeBox));
    geometryRow->addWidget(sectors_);
    auto* sizeGrid = new QFormLayout(sizeBox);
    sizeGrid->addRow(byPreset_, preset_);
    sizeGrid->addRow(byGeometry_, geometryRow);
    sizeGrid->addRow(capacity_);

    // The first partition.
    auto* partitionBox = new QGroupBox(tr("First partition"), this);
    partition_ = new QCheckBox(tr("&Make a +3DOS partition named:"), partitionBox);
    partition_->setObjectName(QStringLiteral("partition"));
    partition_->setChecked(true);
    partitionName_ = new QLineEdit(QStringLiteral("MAIN"), partitionBox);
    partitionName_->setObjectName(QStringLiteral("partitionName"));
    partitionName_->setMaxLength(32); // longer names are refused with a reason
    partitionSize_ = new QLabel(partitionBox);
    partitionSize_->setObjectName(QStringLiteral("partitionSize"));
    auto* partitionGrid = new QFormLayout(partitionBox);
    partitionGrid->addRow(partition_, partitionName_);
    partitionGrid->addRow(partitionSize_);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sizeBox);
    layout->addWidget(partitionBox);
    layout->addWidget(problem_);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, &TFormNewImage::browse);
    connect(format_, &QComboBox::currentIndexChanged, this, &TFormNewImage::formatChanged);
    for (QComboBox* box : {interface_, preset_})
        connect(box, &QComboBox::currentIndexChanged, this, &TFormNewImage::update);
    for (QSpinBox* box : {cylinders_, heads_, sectors_})
        connect(box, &QSpinBox::valueChanged, this, &TFormNewImage::update);
    for (QLineEdit* edit : {file_, partitionName_})
        connect(edit, &QLineEdit::textChanged, this, &TFormNewImage::update);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{byPreset_, byGeometry_, partition_})
        connect(button, &QAbstractButton::toggled, this, &TFormNewImage::update);
    update();
}

void TFormNewImage::setSaveFileFunction(SaveFileFunction function)
{
    saveFile_ = std::move(function);
}

void TFormNewImage::browse()
{
    const QString chosen = saveFile_ ? saveFile_(this, file_->text()) : QString();
    if (!chosen.isEmpty())
        file_->setText(chosen);
}

// The extension follows the format: an HDF format renames a .raw or .img
// file to .hdf (the tool would otherwise write a raw image), the raw format
// an .hdf file to .img.
void TFormNewImage::formatChanged()
{
    const QString path = file_->text();
    const QString suffix = QFileInfo(path).suffix();
    const bool raw = ImageFormat(format_->currentData().toInt()) == ImageFormat::Raw;
    const QString stem = path.left(path.size() - suffix.size());
    if (!raw && HasRawExtension(path))
        file_->setText(stem + QStringLiteral("hdf"));
    else if (raw && suffix.compare(QLatin1String("hdf"), Qt::CaseInsensitive) == 0)
        file_->setText(stem + QStringLiteral("img"));
    update();
}

bool TFormNewImage::halved() const
{
    return interface_->currentIndex() == 1;
}

DiskGeometry TFormNewImage::geometry() const
{
    if (byPreset_->isChecked())
        return GeometryForSize(preset_->currentData().toLongLong());
    return {cylinders_->value(), heads_->value(), sectors_->value()};
}

NewImageResult TFormNewImage::result() const
{
    NewImageResult r;
    r.path = file_->text().trimmed();
    if (!r.path.isEmpty())
        r.path = QFileInfo(r.path).absoluteFilePath(); // the tool runs in another folder
    r.layout.format = ImageFormat(format_->currentData().toInt());
    r.layout.halved = halved();
    r.geometry = geometry();
    if (byPreset_->isChecked())
        r.layout.sizeBytes = preset_->currentData().toLongLong();
    else
        r.layout.geometry = r.geometry;
    if (partition_->isChecked()) {
        r.partitionName = partitionName_->text();
        while (r.partitionName.endsWith(QLatin1Char(' ')))
            r.partitionName.chop(1);
        r.partitionMegabytes =
            LargestPartitionMegabytes(FreeTracksOfNewDisk(r.geometry, r.layout.halved), r.geometry.sectors,
                                      r.layout.halved);
    }
    return r;
}

QString TFormNewImage::problem() const
{
    const NewImageResult r = result();
    if (r.path.isEmpty())
        return tr("Choose a file for the new image.");
    const QFileInfo info(r.path);
    if (info.exists())
        return tr("%1 exists already; a new image is never written over a file.").arg(r.path);
    if (!info.absoluteDir().exists())
        return tr("The folder %1 does not exist.").arg(info.absolutePath());
    if (r.layout.format != ImageFormat::Raw && HasRawExtension(r.path))
        return QStringLiteral("A file ending in .%1 is always made a raw image: choose the raw format or "
                              "another name.")
            .arg(info.suffix());
    if (const QString why = GeometryProblem(r.geometry, r.layout.halved); !why.isEmpty())
        return why;
    if (partition_->isChecked()) {
        if (r.partitionMegabytes < 1)
            return tr("The disk is too small for a +3DOS partition of 1 MB.");
        if (const QString why = PartitionNameProblem(r.partitionName, {QStringLiteral("PLUSIDEDOS")});
            !why.isEmpty())
            return why;
    }
    return {};
}

void TFormNewImage::update()
{
    const bool geometryChosen = byGeometry_->isChecked();
    preset_->setEnabled(!geometryChosen);
    for (QSpinBox* box : {cylinders_, heads_, sectors_})
        box->setEnabled(geometryChosen);
    partitionName_->setEnabled(partition_->isChecked());

    const NewImageResult r = result();
    const DiskGeometry& g = r.geometry;
    const qint64 bytes = qint64(g.cylinders) * g.heads * g.sectors * (r.layout.halved ? 256 : 512);
    capacity_->setText(g.cylinders > 0 ? tr("C/H/S %1/%2/%3, %4 of data")
                                             .arg(g.cylinders)
                                             .arg(g.heads)
                                             .arg(g.sectors)
                                             .arg(SizeText(bytes))
                                       : QString());
    const int mb =
        LargestPartitionMegabytes(FreeTracksOfNewDisk(g, r.layout.halved), g.sectors, r.layout.halved);
    partitionSize_->setText(mb > 0 ? tr("The partition takes %1 MB; the rest stays free space.").arg(mb)
                                   : tr("No +3DOS partition fits on this disk."));

    const QString why = problem();
    problem_->setText(why);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(why.isEmpty());
}
