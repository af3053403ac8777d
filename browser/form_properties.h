#pragma once

#include <QDialog>

struct PropertiesTexts;
class QLabel;
class QLineEdit;

// The properties dialog: the icon, name, type, attributes, version, sizes and
// start of one file or partition row of the file list. It changes nothing:
// OK and Cancel both just close it. Controls carry their names (ImgType,
// TxtName, LblType, ..., Label2, ...) as object names.
class TFormProperties : public QDialog
{
    Q_OBJECT

public:
    explicit TFormProperties(QWidget* owner);

    // Shows these texts.
    void Fill(const PropertiesTexts& texts);

private:
    QLabel* AddLabel(const char* name, const QString& caption);

    QLabel* m_imgType;
    QLineEdit* m_txtName;
};
