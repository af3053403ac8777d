#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

#include "media_command_lines.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// What the new-image dialog asks for.
struct NewImageResult
{
    QString path;
    NewImageLayout layout;
    DiskGeometry geometry;      // the disk's geometry (also when made by size)
    QString partitionName;      // the first +3DOS partition; empty for none
    int partitionMegabytes = 0; // its size, 1 to 16
};

// The runs of the tool that make the image: create, then newpart for the
// first partition when there is one.
QStringList NewImageCommandLines(const QString& tool, const NewImageResult& result);

// File > New hard disk image: the file, its format (HDF 1.1, HDF 1.0, raw),
// the interface (16-bit, or 8-bit with halved sectors), the size (a card
// size preset, or cylinders/heads/sectors) and an optional first +3DOS
// partition that takes as much as fits, up to 16 MB. OK is enabled only
// while everything is valid; the reason otherwise is shown in the dialog.
class TFormNewImage : public QDialog
{
    Q_OBJECT
public:
    // The Browse button's file dialog: given the file now typed, the chosen
    // file, or empty when cancelled. Replaceable so that the window can route
    // it through its prompts and tests can answer it.
    using SaveFileFunction = std::function<QString(QWidget* parent, const QString& current)>;

    explicit TFormNewImage(const QString& startFolder, QWidget* parent = nullptr);

    void setSaveFileFunction(SaveFileFunction function);

    // Why OK is disabled; empty when the input is valid.
    QString problem() const;
    // The input as it stands (meaningful while problem() is empty).
    NewImageResult result() const;

private:
    void browse();
    void formatChanged();
    void update();
    DiskGeometry geometry() const;
    bool halved() const;

    SaveFileFunction saveFile_;
    QLineEdit* file_ = nullptr;
    QPushButton* browse_ = nullptr;
    QComboBox* format_ = nullptr;
    QComboBox* interface_ = nullptr;
    QRadioButton* byPreset_ = nullptr;
    QRadioButton* byGeometry_ = nullptr;
    QComboBox* preset_ = nullptr;
    QSpinBox* cylinders_ = nullptr;
    QSpinBox* heads_ = nullptr;
    QSpinBox* sectors_ = nullptr;
    QLabel* capacity_ = nullptr;
    QCheckBox* partition_ = nullptr;
    QLineEdit* partitionName_ = nullptr;
    QLabel* partitionSize_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
