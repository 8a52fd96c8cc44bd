#pragma once
// The window shown while a batch replays (dialog 147): what runs, a bar over
// every step of every picture, and Stop, which ends the replay after the
// step that is running. Closing the window counts as Stop.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class BatchProgressDialog : public QDialog {
    Q_OBJECT
public:
    BatchProgressDialog(QWidget* parent, int steps);

    void set_progress(int done, const QString& text);
    bool stop_requested() const { return stop_requested_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void request_stop();

    QLabel* text_;
    QProgressBar* bar_;
    QPushButton* stop_;
    bool stop_requested_ = false;
};
