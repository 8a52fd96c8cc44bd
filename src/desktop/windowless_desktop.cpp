#include "desktop/windowless_desktop.h"

std::string one_line(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
        } else if (i + 1 < text.size()) {
            line += " / ";
        }
    }
    return line;
}

std::string WindowlessDesktop::first_message() const { return messages.empty() ? std::string() : one_line(messages.front()); }

void WindowlessDesktop::message_box(const std::string& text, const std::string& caption, MessageIcon, Owner) {
    messages.push_back(caption.empty() ? text : caption + ": " + text);
}

FileDialogAnswer WindowlessDesktop::file_dialog(const FileDialogRequest&) {
    if (file_answers.empty()) return {};
    FileDialogAnswer answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

bool WindowlessDesktop::ask_yes_no(const std::string& text, const std::string&, Owner) {
    questions.push_back(text);
    return yes_answer;
}
