#include <QApplication>

#include "app/MainDialog.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    MainDialog dialog;
    dialog.exec();
    return 0;
}
