#pragma once
// Answers to modal dialogs in GUI tests. Each call arms a timer before the
// test opens the dialog; the timer fires inside the event loop the dialog
// runs, waits (trying again a little later) until the dialog is up, then
// answers it. No test ever blocks on a modal window.

#include <QApplication>
#include <QString>
#include <QTimer>
#include <functional>

// How long an answer waits before it looks (again) for its dialog.
inline constexpr int modal_answer_delay_ms = 30;

// Runs `answer` on the modal dialog of type Dialog once it is up.
template <class Dialog>
void answer_modal(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(modal_answer_delay_ms, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            answer_modal<Dialog>(answer);
            return;
        }
        answer(*dialog);
    });
}

// Answers the next file dialog with a path, typed into its name field as a
// user would.
void answer_file_dialog(const QString& path);

// Presses the button of the next message box whose text (without its '&')
// is `button_text`.
void answer_message_box(const QString& button_text);
