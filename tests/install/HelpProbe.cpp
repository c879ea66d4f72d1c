// Opens the help as the program does, from wherever this probe is placed (the install
// test puts it beside the installed pinroute), and says whether the manual page showed.
// Exit status 0 when it did, 1 with the reason when it didn't.
#include <cstdio>
#include <string>

#include <QApplication>
#include <QTextBrowser>

#include "common/Messages.h"
#include "common/ModulePath.h"
#include "gui/HelpLauncher.h"
#include "gui/HelpViewer.h"

namespace {

class PrintedBoxes : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon) override
    {
        std::fprintf(stderr, "box \"%s\": %s\n", caption.c_str(), text.c_str());
        shown = true;
    }
    bool shown = false;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    PrintedBoxes boxes;
    SetMessageBoxes(&boxes);
    const std::string helpPath = HelpFilePath();
    HelpLauncher().ShowTopic("pinroute.html");
    QApplication::processEvents();
    SetMessageBoxes(nullptr);

    const QTextBrowser* page = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<HelpViewer*>(window) && window->isVisible())
            page = window->findChild<QTextBrowser*>("helpBrowser");
    }
    if (boxes.shown || !page || page->source().fileName() != "pinroute.html"
        || page->toPlainText().isEmpty()) {
        std::fprintf(stderr, "the help did not open from %s\n", helpPath.c_str());
        return 1;
    }
    std::printf("help opened at pinroute.html from %s\n", helpPath.c_str());
    return 0;
}
