#include <QApplication>

#include "gui/Icons.h"
#include "gui/MainDialog.h"
#include "gui/QtMessageBoxes.h"

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
