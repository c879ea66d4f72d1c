#pragma once
#include <string>

enum class MessageIcon { None, Error, Information, Warning };

// Where the core's message boxes go. The GUI installs one that shows QMessageBox;
// tests install one that records. Without one, messages go to standard error.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An empty caption means the application's default caption.
    virtual void Show(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // A question with yes (true) and no; yes is what Enter gives. Without a way to ask,
    // the answer is no: nothing is done unasked.
    virtual bool Ask(const std::string& text, const std::string& caption)
    {
        (void)text;
        (void)caption;
        return false;
    }
};

void SetMessageBoxes(MessageBoxes* boxes);   // null restores the standard-error fall-back
void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon);
bool AskMessage(const std::string& text, const std::string& caption);
