#pragma once
#include <QLineEdit>
#include <QString>

class QEnterEvent;

// Opens a web or mail address; tests record instead.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // False when nothing could be started to open it (no browser or mail program).
    virtual bool Open(const QString& address) = 0;
};

// The desktop's own handler (QDesktopServices::openUrl).
LinkOpener& DesktopLinkOpener();

// A read-only edit box that acts as a link: blue text, red while the pointer is over it,
// a hand cursor, and a double-click that opens the address, or a mail form when the text
// holds an "@".
class LinkEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LinkEdit(QWidget* parent = nullptr);

    // Sets the address and fits the box to it, keeping its top-left corner (or, for a
    // centred box, its centre) where it is.
    void SetLink(const QString& address);
    void SetOpener(LinkOpener* opener) { this->opener = opener; }

    static const QColor kNormalColour;   // blue (0, 0, 255)
    static const QColor kHoverColour;    // red (255, 0, 0)

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OpenLink();
    void SetHovered(bool on);
    void FitToText();

    bool hovered = false;
    LinkOpener* opener;
};
