#include <QApplication>

#include "app/Icons.h"
#include "app/MainDialog.h"
#include "app/QtMessageBoxes.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setWindowIcon(AppIcon());
    QtMessageBoxes boxes;
    SetMessageBoxes(&boxes);
    {
        MainDialog dialog;
        dialog.exec();
    }
    SetMessageBoxes(nullptr);
    return 0;
}
