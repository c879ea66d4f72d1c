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
    else if (icon == MessageIcon::Warning)
        boxIcon = QMessageBox::Warning;
    const QString title = caption.empty() ? QStringLiteral("Pinroute")
                                          : QString::fromStdString(caption);
    QMessageBox box(boxIcon, title, QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);   // names and paths are the user's: never markup
    box.exec();
}

bool QtMessageBoxes::Ask(const std::string& text, const std::string& caption)
{
    const QString title = caption.empty() ? QStringLiteral("Pinroute")
                                          : QString::fromStdString(caption);
    QMessageBox box(QMessageBox::Question, title, QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return box.exec() == QMessageBox::Yes;
}
