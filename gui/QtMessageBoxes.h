#pragma once
#include "common/Messages.h"

// Shows the core's messages as QMessageBox over the active window.
class QtMessageBoxes : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool Ask(const std::string& text, const std::string& caption) override;
};
