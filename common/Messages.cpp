#include "common/Messages.h"
#include <cstdio>
namespace { MessageBoxes* current = nullptr; }
void SetMessageBoxes(MessageBoxes* boxes) { current = boxes; }
void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (current) {
        current->Show(text, caption, icon);
        return;
    }
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}
bool AskMessage(const std::string& text, const std::string& caption)
{
    return current != nullptr && current->Ask(text, caption);
}
