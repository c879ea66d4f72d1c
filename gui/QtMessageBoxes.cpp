#include "gui/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

void QtMessageBoxes::Show(const std::string& text, const std::string& caption, MessageIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::Error)
        boxIcon = QMessageBox::Critical;
    else if (icon == MessageIcon::Information)
        boxIcon = QMessageBox::Information;
    const QString title = caption.empty() ? QApplication::applicationDisplayName()
                                          : QString::fromStdString(caption);
    QMessageBox box(boxIcon, title, QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
