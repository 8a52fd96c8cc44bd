#include "analysis/ui/wizard_sheet_dialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "analysis/wizard_sheet.h"

WizardSheetDialog::WizardSheetDialog(WizardSheet& sheet) : QDialog(nullptr), sheet_(sheet) {
    setWindowTitle(QString::fromStdString(sheet.caption()));
    setWindowModality(Qt::ApplicationModal);

    auto* layout = new QVBoxLayout(this);
    header_ = new QLabel(this);
    header_->setObjectName("header_title");
    QFont header_font = header_->font();
    header_font.setPointSizeF(header_font.pointSizeF() * 1.35);
    header_->setFont(header_font);
    header_->setStyleSheet("color: #003399;");
    layout->addWidget(header_);

    stack_ = new QStackedWidget(this);
    layout->addWidget(stack_, 1);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    back_ = new QPushButton("< &Back", this);
    back_->setObjectName("back");
    next_ = new QPushButton("&Next >", this);
    next_->setObjectName("next");
    finish_ = new QPushButton("&Finish", this);
    finish_->setObjectName("finish");
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("cancel");
    for (QPushButton* button : {back_, next_, finish_, cancel_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    connect(back_, &QPushButton::clicked, this, [this] { sheet_.press_back(); });
    connect(next_, &QPushButton::clicked, this, [this] { sheet_.press_next(); });
    connect(finish_, &QPushButton::clicked, this, [this] { sheet_.press_finish(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { sheet_.press_cancel(); });
    sheet_.set_observer([this] { refresh(); });
}

WizardSheetDialog::~WizardSheetDialog() { sheet_.set_observer({}); }

void WizardSheetDialog::add_page(int template_id, QWidget* page) {
    page->setObjectName(QString::number(template_id));
    stack_->addWidget(page);
    pages_[template_id] = page;
}

QWidget* WizardSheetDialog::page(int template_id) const {
    auto found = pages_.find(template_id);
    return found == pages_.end() ? nullptr : found->second;
}

void WizardSheetDialog::refresh() {
    // A page's widgets report their own changes back while being set; those
    // reports are taken up in one more pass instead of nesting.
    if (refreshing_) {
        refresh_again_ = true;
        return;
    }
    refreshing_ = true;
    do {
        refresh_again_ = false;
        header_->setText(QString::fromStdString(sheet_.header_title()));
        if (QWidget* current = page(sheet_.current_page())) stack_->setCurrentWidget(current);
        back_->setEnabled(sheet_.back_enabled());
        next_->setVisible(!sheet_.finish_offered());
        next_->setEnabled(sheet_.next_enabled() && !sheet_.finish_offered());
        finish_->setVisible(sheet_.finish_offered());
        finish_->setEnabled(sheet_.next_enabled() && sheet_.finish_offered());
        cancel_->setEnabled(sheet_.cancel_enabled());
        setEnabled(sheet_.enabled());
        if (refresh_pages_) refresh_pages_();
        if (sheet_.shown() && !isVisible()) {
            show();
            raise();
            activateWindow();
        } else if (!sheet_.shown() && isVisible()) {
            hide();
        }
    } while (refresh_again_);
    refreshing_ = false;
    if (sheet_.closed() && loop_) loop_->quit();
}

int WizardSheetDialog::run() {
    refresh();
    if (!sheet_.closed()) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    hide();
    return sheet_.result();
}

void WizardSheetDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    sheet_.press_close();
}

void WizardSheetDialog::reject() { sheet_.press_cancel(); }
