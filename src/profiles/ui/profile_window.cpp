#include "profiles/ui/profile_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "profiles/ui/vignetting_plot.h"

ProfileWindow::ProfileWindow(QWidget* parent, ProfileForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(profile_ids::window));
    setWindowTitle("Camera Profiles");
    setAttribute(Qt::WA_DeleteOnClose);

    list_ = new QListWidget(this);
    list_->setObjectName(id_name(profile_ids::list));
    connect(list_, &QListWidget::currentRowChanged, this, &ProfileWindow::on_row_changed);

    auto* fields = new QFormLayout;
    const std::array<const char*, profile_field::count> labels = {
        "&Name:",        "&Camera:",      "&Lens:",        "&ND factor:",         "Calibration &factor:", "&View type:",
        "&Horizontal angle (°):", "Ver&tical angle (°):", "Circle centre &x (px):", "Circle centre &y (px):",
        "Circle &radius (px):", "N&ote:", "Vignetting &picture:"};
    for (int f = 0; f < profile_field::count; ++f) {
        QWidget* widget = nullptr;
        if (f == profile_field::view) {
            view_ = new QComboBox(this);
            for (const char* type : profile_view_types) view_->addItem(*type ? type : "None");
            connect(view_, &QComboBox::activated, this, [this](int index) {
                form_.on_edit(profile_field::view, profile_view_types[static_cast<size_t>(index)]);
                show_form();
            });
            widget = view_;
        } else {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) {
                form_.on_edit(f, text.trimmed().toStdString());
                save_->setEnabled(form_.changed);
            });
            widget = edit;
        }
        widget->setObjectName(id_name(profile_ids::first_field + f));
        fields_[static_cast<size_t>(f)] = widget;
        if (f == profile_field::vignetting_picture) {
            widget->setToolTip("A picture of a uniform scene, the size of the assembled pictures; assembly divides "
                               "by it instead of the fitted fall-off. Empty for the fit.");
            choose_picture_ = new QPushButton("C&hoose...", this);
            choose_picture_->setObjectName(id_name(profile_ids::choose_picture));
            auto* row = new QHBoxLayout;
            row->addWidget(widget, 1);
            row->addWidget(choose_picture_);
            auto* label = new QLabel(QString::fromUtf8(labels[static_cast<size_t>(f)]), this);
            label->setBuddy(widget);
            fields->addRow(label, row);
            continue;
        }
        fields->addRow(QString::fromUtf8(labels[static_cast<size_t>(f)]), widget);
    }

    new_ = new QPushButton("&New...", this);
    new_->setObjectName(id_name(profile_ids::new_profile));
    open_ = new QPushButton("&Open...", this);
    open_->setObjectName(id_name(profile_ids::open));
    remove_ = new QPushButton("&Delete...", this);
    remove_->setObjectName(id_name(profile_ids::remove));
    save_ = new QPushButton("&Save", this);
    save_->setObjectName(id_name(profile_ids::save));
    save_->setDefault(true);
    close_ = new QPushButton("Close", this);
    close_->setObjectName(id_name(profile_ids::close));
    fit_ = new QPushButton("&Fit Vignetting...", this);
    fit_->setObjectName(id_name(profile_ids::fit_vignetting));
    fit_->setToolTip("Fits the radial fall-off to an assembled picture of a uniform scene");
    plot_ = new VignettingPlot(this);
    plot_->setObjectName(id_name(profile_ids::plot));
    details_ = new QLabel(this);
    details_->setObjectName(id_name(profile_ids::details));
    details_->setWordWrap(true);
    status_ = new QLabel(this);
    status_->setObjectName(id_name(profile_ids::status));
    status_->setWordWrap(true);

    const auto then_show = [this](auto action) {
        return [this, action] {
            (form_.*action)();
            show_form();
        };
    };
    connect(new_, &QPushButton::clicked, this, then_show(&ProfileForm::on_new));
    connect(open_, &QPushButton::clicked, this, then_show(&ProfileForm::on_open));
    connect(remove_, &QPushButton::clicked, this, then_show(&ProfileForm::on_delete));
    connect(save_, &QPushButton::clicked, this, then_show(&ProfileForm::on_save));
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(fit_, &QPushButton::clicked, this, then_show(&ProfileForm::on_fit_vignetting));
    connect(choose_picture_, &QPushButton::clicked, this, then_show(&ProfileForm::on_choose_vignetting_picture));

    auto* list_buttons = new QHBoxLayout;
    list_buttons->addWidget(new_);
    list_buttons->addWidget(open_);
    list_buttons->addWidget(remove_);
    auto* left = new QVBoxLayout;
    left->addWidget(list_, 1);
    left->addLayout(list_buttons);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(details_);
    right->addWidget(plot_, 1);
    top->addLayout(right, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fit_);
    bottom->addWidget(status_, 1);
    bottom->addWidget(save_);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(820, 640);
    show_form();
}

void ProfileWindow::show_form() {
    showing_ = true;
    list_->clear();
    for (const ProfileEntry& entry : form_.entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name), list_);
        item->setToolTip(QString::fromStdString(entry.path));
    }
    list_->setCurrentRow(form_.selected);
    const bool chosen = form_.selected >= 0;
    for (int f = 0; f < profile_field::count; ++f) {
        const std::string& text = form_.fields[static_cast<size_t>(f)];
        QWidget* widget = fields_[static_cast<size_t>(f)];
        widget->setEnabled(chosen);
        if (f == profile_field::view) {
            int index = 0;
            for (size_t i = 0; i < profile_view_types.size(); ++i)
                if (text == profile_view_types[i]) index = static_cast<int>(i);
            view_->setCurrentIndex(index);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget); edit->text().toStdString() != text) {
            edit->setText(QString::fromStdString(text));
        }
    }
    // The projection's numbers mean nothing without a view type.
    const bool projection = chosen && !form_.fields[profile_field::view].empty();
    for (int f = profile_field::horizontal_angle; f <= profile_field::radius; ++f)
        fields_[static_cast<size_t>(f)]->setEnabled(projection);
    remove_->setEnabled(chosen);
    fit_->setEnabled(chosen);
    choose_picture_->setEnabled(chosen);
    plot_->show_profile(chosen ? &form_.shown_profile() : nullptr);
    save_->setEnabled(chosen && form_.changed);
    status_->setText(QString::fromStdString(form_.status));
    details_->setText(QString::fromStdString(form_.details));
    showing_ = false;
}

void ProfileWindow::on_row_changed(int row) {
    if (showing_) return;
    form_.on_select(row);
    show_form();
}

void ProfileWindow::closeEvent(QCloseEvent* event) {
    form_.on_close();
    QDialog::closeEvent(event);
}
