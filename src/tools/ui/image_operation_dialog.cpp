#include "tools/ui/image_operation_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "tools/image_operation_form.h"
#include "tools/ui/dialog_parts.h"

ImageOperationDialog::ImageOperationDialog(QWidget* parent, ImageOperationForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(image_operation_ids::dialog));
    setWindowTitle("Image Operations");

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto path_field = [this](int id) {
        auto* field = new QLineEdit(this);
        field->setObjectName(id_name(id));
        // Only Browse chooses an operand; the field shows the choice.
        field->setReadOnly(true);
        field->setMinimumWidth(320);
        return field;
    };
    auto browse_button = [this](int id) {
        auto* button = new QPushButton("Browse...", this);
        button->setObjectName(id_name(id));
        return button;
    };
    image_a_ = path_field(image_operation_ids::image_a);
    image_b_ = path_field(image_operation_ids::image_b);
    auto* browse_a = browse_button(image_operation_ids::browse_a);
    auto* browse_b = browse_button(image_operation_ids::browse_b);
    operator_ = new QComboBox(this);
    operator_->setObjectName(id_name(image_operation_ids::operator_box));
    for (const std::string& op : ImageOperationForm::operators()) operator_->addItem(QString::fromStdString(op));
    operator_->setCurrentIndex(form_.operator_index);

    grid->addWidget(new QLabel("Image A:", this), 0, 0);
    grid->addWidget(image_a_, 0, 1);
    grid->addWidget(browse_a, 0, 2);
    grid->addWidget(new QLabel("Operation:", this), 1, 0);
    grid->addWidget(operator_, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel("Image B:", this), 2, 0);
    grid->addWidget(image_b_, 2, 1);
    grid->addWidget(browse_b, 2, 2);
    layout->addLayout(grid);
    auto* buttons = ok_cancel_buttons(this);
    layout->addWidget(buttons);
    show_paths();

    connect(browse_a, &QPushButton::clicked, this, [this] {
        form_.on_browse_a();
        show_paths();
    });
    connect(browse_b, &QPushButton::clicked, this, [this] {
        form_.on_browse_b();
        show_paths();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        form_.operator_index = operator_->currentIndex();
        if (const std::optional<int> result = form_.on_ok()) done(*result);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
}

void ImageOperationDialog::show_paths() {
    image_a_->setText(QString::fromStdString(form_.a_text));
    image_b_->setText(QString::fromStdString(form_.b_text));
}
