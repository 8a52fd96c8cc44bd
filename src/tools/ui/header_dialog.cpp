#include "tools/ui/header_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "tools/header_editing.h"
#include "tools/ui/dialog_parts.h"

HeaderDialog::HeaderDialog(QWidget* parent, HeaderForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(header_ids::dialog));
    setWindowTitle("Edit Header");

    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(id_name(header_ids::text));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setMinimumSize(480, 240);
    text_->setPlainText(QString::fromStdString(form_.text));
    layout->addWidget(text_);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.text = text_->toPlainText().toStdString();
        if (const std::optional<int> result = form_.on_ok()) done(*result);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}
