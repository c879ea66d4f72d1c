#pragma once
#include <QDialog>

// The program's one window. For now it only says that the program is being built.
class MainDialog : public QDialog {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr);
};
