#include "app/MainDialog.h"

#include <QLabel>
#include <QVBoxLayout>

MainDialog::MainDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Pinroute");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Pinroute is being built.", this));
}
