#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "media_command_lines.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// What the medium holds that a new partition must not clash with.
struct NewPartitionContext
{
    QStringList existingNames; // every partition's name, the system partition's too
    QString mappedLetters;     // drive letters already mapped, e.g. "AC"
};

struct NewPartitionResult
{
    QString name; // trailing blanks removed
    PartitionKind kind = PartitionKind::Plus3Dos;
    int megabytes = 0;
    QChar driveLetter; // null: none
};

// The newpart run that makes it.
QString NewPartitionCommandLine(const QString& tool, const QString& medium, const NewPartitionResult& result);

// Partition > New partition: the name (1-16 characters, no other partition's
// name in any case), the type (+3DOS or swap), the size (1-16 MB) and, for a
// +3DOS partition, a drive letter among those A-P not yet mapped. OK is
// enabled only while the input is valid.
class TFormNewPartition : public QDialog
{
    Q_OBJECT
public:
    explicit TFormNewPartition(NewPartitionContext context, QWidget* parent = nullptr);

    QString problem() const;
    NewPartitionResult result() const;

private:
    void update();

    NewPartitionContext context_;
    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QSpinBox* size_ = nullptr;
    QComboBox* drive_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};
