#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: logo, title, author, version and date, and the disk tool's
// credit line.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAbout(QWidget* parent = nullptr);

    QLabel* ImgLogo = nullptr;
    QLabel* LblTitle = nullptr;
    QLabel* LblAuthor = nullptr;
    QLabel* LblVersion = nullptr;
    QLabel* LblDate = nullptr;
    QLabel* LblCredit = nullptr;
    QPushButton* CmdOK = nullptr;
};
