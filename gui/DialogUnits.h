#pragma once
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QWidget>

// Dialog units scale with the dialog font: x units are a quarter of the average width of
// the letters A-Z and a-z (rounded), y units an eighth of the character height.
inline QRect DialogRect(const QFont& font, int x, int y, int w, int h)
{
    QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int cw = (letters / 26 + 1) / 2;
    const int ch = metrics.height();
    return QRect(x * cw / 4, y * ch / 8, w * cw / 4, h * ch / 8);
}

// Gives a control its id (the "controlId" property; 0 for none), a readable object name
// and its place in dialog units.
template <typename Widget>
Widget* PlaceControl(QWidget* dialog, Widget* widget, int id, const char* name, int x, int y,
                     int w, int h)
{
    if (id != 0)
        widget->setProperty("controlId", id);
    widget->setObjectName(name);
    widget->setGeometry(DialogRect(dialog->font(), x, y, w, h));
    return widget;
}
