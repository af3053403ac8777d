#pragma once

#include <QMainWindow>

// The program's one main window: partition tree, file list, menus, tool bar
// and status bar. Its slots are the commands of the program.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;
};
