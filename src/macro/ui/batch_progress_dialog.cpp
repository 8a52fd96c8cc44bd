#include "macro/ui/batch_progress_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "macro/batch_form.h"

BatchProgressDialog::BatchProgressDialog(QWidget* parent, int steps) : QDialog(parent) {
    setObjectName(QString::number(batch_ids::progress_dialog));
    setWindowTitle("Batch Process");
    // The replay runs on this thread; nothing else may start meanwhile.
    setWindowModality(Qt::ApplicationModal);

    auto* layout = new QVBoxLayout(this);
    text_ = new QLabel(this);
    text_->setObjectName("progress_text");
    text_->setMinimumWidth(360);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("progress_bar");
    bar_->setRange(0, steps);
    bar_->setValue(0);
    stop_ = new QPushButton("Stop", this);
    stop_->setObjectName("stop");
    layout->addWidget(text_);
    layout->addWidget(bar_);
    layout->addWidget(stop_, 0, Qt::AlignHCenter);
    connect(stop_, &QPushButton::clicked, this, &BatchProgressDialog::request_stop);
}

void BatchProgressDialog::set_progress(int done, const QString& text) {
    bar_->setValue(done);
    if (!stop_requested_) text_->setText(text);
}

void BatchProgressDialog::request_stop() {
    stop_requested_ = true;
    stop_->setEnabled(false);
    text_->setText("Stopping after the current step...");
}

void BatchProgressDialog::closeEvent(QCloseEvent* event) {
    request_stop();
    event->ignore();
}

void BatchProgressDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would reject the dialog behind the replay's back.
    if (event->key() == Qt::Key_Escape) {
        request_stop();
        return;
    }
    QDialog::keyPressEvent(event);
}
