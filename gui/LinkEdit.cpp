#include "gui/LinkEdit.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QUrl>

#include "common/VersionInfo.h"

const QColor LinkEdit::kNormalColour(0, 0, 255);
const QColor LinkEdit::kHoverColour(255, 0, 0);

namespace {

class DesktopOpener : public LinkOpener {
public:
    bool Open(const QString& address) override
    {
        return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
    }
};

// QLineEdit keeps this much room around its text, inside any frame (see its sizeHint).
const int kHorizontalMargin = 2;
const int kVerticalMargin = 1;

}  // namespace

LinkOpener& DesktopLinkOpener()
{
    static DesktopOpener opener;
    return opener;
}

LinkEdit::LinkEdit(QWidget* parent) : QLineEdit(parent), opener(&DesktopLinkOpener())
{
    setReadOnly(true);
    setFrame(false);
    setCursor(Qt::PointingHandCursor);   // after setReadOnly, which sets its own cursor
    setContextMenuPolicy(Qt::NoContextMenu);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);   // the dialog shows through
    colours.setColor(QPalette::Text, kNormalColour);
    setPalette(colours);
    setAutoFillBackground(false);
}

void LinkEdit::SetLink(const QString& address)
{
    setText(address);
    setCursorPosition(0);
    setToolTip(address.contains(u'@') ? tr("Double-click to write a mail") : tr("Double-click to open"));
    FitToText();
}

void LinkEdit::FitToText()
{
    ensurePolished();
    const QFontMetrics metrics(font());
    // One pixel for the text cursor and one spare, so that the text never scrolls.
    const QMargins text = textMargins();
    const QMargins content = contentsMargins();
    QSize inner(metrics.horizontalAdvance(this->text()) + 2 * kHorizontalMargin + 2 +
                    text.left() + text.right() + content.left() + content.right(),
                metrics.height() + 2 * kVerticalMargin + text.top() + text.bottom() +
                    content.top() + content.bottom());
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize outer = style()->sizeFromContents(QStyle::CT_LineEdit, &option, inner, this);

    QRect box = geometry();
    if (alignment() & Qt::AlignHCenter) {
        // Shrink or grow about the centre; a negative amount moves the edges outwards.
        const int dy = (box.height() - outer.height()) / 2;
        const int dx = (box.width() - outer.width()) / 2;
        box.adjust(dx, dy, -dx, -dy);
        box.setSize(outer);
    } else {
        box.setSize(outer);
    }
    setGeometry(box);
    update();
}

void LinkEdit::SetHovered(bool on)
{
    if (hovered == on)
        return;
    hovered = on;
    QPalette colours = palette();
    colours.setColor(QPalette::Text, on ? kHoverColour : kNormalColour);
    setPalette(colours);
    update();
}

void LinkEdit::enterEvent(QEnterEvent* event)
{
    SetHovered(true);
    QLineEdit::enterEvent(event);
}

void LinkEdit::leaveEvent(QEvent* event)
{
    SetHovered(false);
    QLineEdit::leaveEvent(event);
}

void LinkEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    SetHovered(false);
}

void LinkEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    // Not passed on: a double-click opens the link and selects no text.
    event->accept();
    OpenLink();
}

void LinkEdit::OpenLink()
{
    const QString address = text();
    SetHovered(false);
    if (!address.contains(u'@')) {
        opener->Open(address);
        return;
    }
    const VersionInfo version;
    opener->Open(QStringLiteral("mailto:%1?subject=%2 %3 %4")
                     .arg(address, QCoreApplication::applicationName(),
                          QString::fromStdString(version.Query("FileVersion")),
                          QString::fromStdString(version.Query("SpecialBuild"))));
}
