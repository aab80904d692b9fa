#pragma once
// The confirmation message dialog: its own window class "TMessageForm", modal, caption
// "Confirmation", the question icon and the buttons "&Oui" (default) and "&Non".
#include <string>

namespace vrin {

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

extern const char* const kConfirmCaption;  // "Confirmation"
extern const char* const kYesButton;       // "&Oui"
extern const char* const kNoButton;        // "&Non"

// Shows the question and waits for the answer: mrYes, mrNo, or mrCancel (Esc, close box).
int confirm(const std::string& text);

}  // namespace vrin
