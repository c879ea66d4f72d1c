#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/MainDialog.h"
#include "gui/AboutDialog.h"
#include "support/TestSupport.h"
#include "gui/LinkEdit.h"
#include "common/VersionInfo.h"

namespace {

class RecordingOpener : public LinkOpener {
public:
    bool Open(const QString& address) override { opened.push_back(address.toStdString()); return true; }
    std::vector<std::string> opened;
};

void Enter(QWidget* w)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &event);
}

void Leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(w, &event);
}

QColor TextColour(const LinkEdit* link)
{
    return link->palette().color(QPalette::Text);
}

const bool kHovered = true;

void ExpectColour(const LinkEdit* link, bool hovered)
{
    EXPECT_EQ(hovered ? QColor(255, 0, 0) : QColor(0, 0, 255), TextColour(link));
}

// The text of the control with the given object name, as the user sees it.
std::string Text(const QDialog& dialog, const char* name)
{
    if (auto* label = dialog.findChild<QLabel*>(name))
        return label->text().toStdString();
    if (auto* link = dialog.findChild<LinkEdit*>(name))
        return link->text().toStdString();
    ADD_FAILURE() << "no control " << name;
    return {};
}

LinkEdit* Link(const QDialog& dialog, const char* name)
{
    auto* link = dialog.findChild<LinkEdit*>(name);
    EXPECT_NE(nullptr, link) << name;
    return link;
}

TEST(AboutDialog, ShowsVersionLegalTextAndTheThreeAddresses)
{
    AboutDialog dialog;
    EXPECT_EQ("About Pinroute", dialog.windowTitle());
    struct { const char* name; int id; const char* text; } controls[] = {
        {"versionLabel", 1020, "1.00.0.19 "},   // SpecialBuild is empty
        {"legalLabel", 1023, "Copyright (C) 2026 The Pinroute developers"},
        {"siteLink", 1022, "https://pinroute.org"},
        {"tracksLink", 1026, "https://www.openstreetmap.org/traces"},
        {"donateLink", 1027, "https://pinroute.org/donate"},
        {"versionCaption", 0, "Pinroute Version"},
        {"siteCaption", 0, "Web Site:-"},
        {"tracksCaption", 0, "Share GPS tracks:-"},
        {"donateCaption", 0, "Donate:-"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, Text(dialog, c.name));
        if (c.id != 0) {
            EXPECT_EQ(c.id, dialog.findChild<QWidget*>(c.name)->property("controlId").toInt());
        }
    }
    // The licence is named where the notice is.
    EXPECT_TRUE(dialog.findChild<QLabel*>("legalLabel")->toolTip().contains("GNU General Public"));
}

TEST(AboutDialog, OpensModallyFromTheMainWindowsAboutButton)
{
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    MainDialog main(dir.File("pinroute.ini"));
    QString seen;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (qobject_cast<AboutDialog*>(modal))
                seen = modal->windowTitle();
            modal->close();
        }
    });
    main.findChild<QPushButton*>("aboutButton")->click();
    EXPECT_EQ("About Pinroute", seen);
}

TEST(AboutDialog, EveryTextFitsInsideTheBox)
{
    AboutDialog dialog;
    dialog.show();
    const QRect inside = dialog.rect();
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_TRUE(inside.contains(label->geometry()));
    }
    for (LinkEdit* link : dialog.findChildren<LinkEdit*>()) {
        SCOPED_TRACE(link->text().toStdString());
        EXPECT_GE(link->width(), link->fontMetrics().horizontalAdvance(link->text()));
        EXPECT_TRUE(inside.contains(link->geometry()));
    }
}

TEST(AboutDialog, MissingVersionValuesShowTheirFailureText)
{
    AboutDialog dialog(nullptr, VersionInfo(VersionInfo::Table{{"FileVersion", "1.00.0.19"}}));
    EXPECT_EQ("1.00.0.19 Failure getting SpecialBuild", Text(dialog, "versionLabel"));
    EXPECT_EQ("Failure getting LegalCopyright", Text(dialog, "legalLabel"));
}

TEST(LinkEdit, TurnsRedOnlyWhileThePointerIsOverIt)
{
    AboutDialog dialog;
    dialog.show();
    LinkEdit* link = Link(dialog, "siteLink");
    ASSERT_NE(nullptr, link);
    EXPECT_EQ(Qt::PointingHandCursor, link->cursor().shape());
    EXPECT_TRUE(link->isReadOnly());

    ExpectColour(link, !kHovered);
    Enter(link);
    ExpectColour(link, kHovered);
    Leave(link);
    ExpectColour(link, !kHovered);

    // Losing the focus ends the hover state too (the pointer may leave unnoticed).
    Enter(link);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(link, &focusOut);
    ExpectColour(link, !kHovered);
}

TEST(LinkEdit, OpensOnADoubleClickOnly)
{
    RecordingOpener opener;
    AboutDialog dialog(nullptr, VersionInfo(), &opener);
    dialog.show();
    LinkEdit* link = Link(dialog, "donateLink");
    ASSERT_NE(nullptr, link);
    const QPoint inside(5, link->height() / 2);

    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_TRUE(opener.opened.empty());

    Enter(link);
    QTest::mouseDClick(link, Qt::LeftButton, Qt::NoModifier, inside);
    ASSERT_EQ(1u, opener.opened.size());
    EXPECT_EQ("https://pinroute.org/donate", opener.opened[0]);
    EXPECT_EQ("", link->selectedText().toStdString());   // the double-click selects nothing
    ExpectColour(link, !kHovered);
}

TEST(LinkEdit, AnAddressWithAnAtSignOpensAMailForm)
{
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("pinroute");
    RecordingOpener opener;
    LinkEdit link;
    link.SetOpener(&opener);
    link.show();
    for (const char* address : {"help@pinroute.org", "https://pinroute.org/donate"}) {
        link.SetLink(address);
        QTest::mouseDClick(&link, Qt::LeftButton, Qt::NoModifier, QPoint(3, link.height() / 2));
    }
    QCoreApplication::setApplicationName(name);
    ASSERT_EQ(2u, opener.opened.size());
    EXPECT_EQ("mailto:help@pinroute.org?subject=pinroute 1.00.0.19 ", opener.opened[0]);
    EXPECT_EQ("https://pinroute.org/donate", opener.opened[1]);
}

TEST(LinkEdit, BoxFitsItsTextAndKeepsItsTopLeftCorner)
{
    QWidget parent;
    struct {
        const char* text;
        bool wider;
    } cases[] = {
        {"https://a-very-long-address.example.org/with/a/path/that/does/not/fit", true},
        {"x.org", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LinkEdit link(&parent);
        link.setGeometry(40, 30, 120, 40);
        link.SetLink(c.text);
        EXPECT_EQ(QPoint(40, 30), link.pos());
        EXPECT_EQ(c.wider, link.width() > 120);
        EXPECT_GE(link.width(), link.fontMetrics().horizontalAdvance(c.text));
        EXPECT_GE(link.height(), link.fontMetrics().height());
        EXPECT_LT(link.height(), 40);
    }

    // A centred box keeps its centre instead.
    LinkEdit centred(&parent);
    centred.setAlignment(Qt::AlignHCenter);
    centred.setGeometry(40, 30, 120, 40);
    const QPoint centre = centred.geometry().center();
    centred.SetLink("x.org");
    EXPECT_LE((centred.geometry().center() - centre).manhattanLength(), 2);
    EXPECT_LT(centred.width(), 120);
}

}  // namespace
