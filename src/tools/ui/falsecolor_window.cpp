#include "tools/ui/falsecolor_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_form.h"
#include "tools/falsecolor_render.h"

namespace {

// The palette index each label stands beside, bottom to top.
constexpr std::array<int, 6> label_indices{50, 85, 115, 150, 185, 220};
constexpr int label_gap = 6;
constexpr int label_width = 80;

QPixmap legend_pixmap(const FalsecolorScale& choice) {
    const std::vector<uint8_t> bgr = falsecolor_legend(choice);
    QImage image(legend_width, legend_height, QImage::Format_RGB888);
    for (int y = 0; y < legend_height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < legend_width; ++x) {
            const size_t at = (static_cast<size_t>(y) * legend_width + static_cast<size_t>(x)) * 3;
            line[3 * x] = bgr[at + 2];
            line[3 * x + 1] = bgr[at + 1];
            line[3 * x + 2] = bgr[at];
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace

FalsecolorWindow::FalsecolorWindow(QWidget* parent, FalsecolorForm& form) : QDialog(parent), form_(form) {
    setObjectName(QString::number(falsecolor_ids::dialog));
    setWindowTitle("Falsecolor");
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    maximum_range_ = with_id(new QCheckBox("Maximum Range", this), falsecolor_ids::maximum_range);
    layout->addWidget(maximum_range_);

    auto* fields = new QGridLayout;
    top_ = with_id(new QLineEdit(this), falsecolor_ids::top);
    bottom_ = with_id(new QLineEdit(this), falsecolor_ids::bottom);
    top_caption_ = new QLabel(this);
    bottom_caption_ = new QLabel(this);
    fields->addWidget(top_caption_, 0, 0);
    fields->addWidget(top_, 0, 1);
    layout->addLayout(fields);
    layout->addWidget(build_legend(), 0, Qt::AlignLeft);
    auto* bottom_row = new QGridLayout;
    bottom_row->addWidget(bottom_caption_, 0, 0);
    bottom_row->addWidget(bottom_, 0, 1);
    layout->addLayout(bottom_row);

    auto* buttons = new QHBoxLayout;
    auto* optimized = with_id(new QPushButton("Optimized Range", this), falsecolor_ids::optimized_range);
    optimized->hide();
    auto* apply = with_id(new QPushButton("Apply", this), falsecolor_ids::apply);
    apply->setDefault(true);
    options_button_ = with_id(new QPushButton("Options >>", this), falsecolor_ids::options);
    options_button_->setCheckable(true);
    options_button_->setAutoDefault(false);
    buttons->addWidget(options_button_);
    buttons->addStretch(1);
    buttons->addWidget(optimized);
    buttons->addWidget(apply);
    layout->addLayout(buttons);
    options_ = build_options();
    options_->hide();
    layout->addWidget(options_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(options_button_, &QPushButton::toggled, this, [this](bool shown) {
        form_.options_shown = shown;
        options_button_->setText(shown ? "Options <<" : "Options >>");
        options_->setVisible(shown);
    });

    for (auto [field, text] : {std::pair{top_, &form_.top_text}, std::pair{bottom_, &form_.bottom_text}}) {
        bind_numeric_field(field, [this, field, text](float) {
            *text = field->text().toStdString();
            form_.on_field_edited();
            const QSignalBlocker quiet(maximum_range_);
            maximum_range_->setChecked(form_.maximum_range_checked);
        });
    }
    connect(maximum_range_, &QCheckBox::clicked, this, [this] {
        form_.on_maximum_range();
        show_form();
    });
    connect(apply, &QPushButton::clicked, this, [this] {
        form_.on_apply();
        show_form();
    });

    show_form();
}

QWidget* FalsecolorWindow::build_legend() {
    auto* panel = new QWidget(this);
    const int label_height = fontMetrics().height();
    // Room above and below for the labels' halves at the ends.
    const int top_margin = label_height / 2;
    panel->setFixedSize(legend_width + label_gap + label_width, legend_height + label_height);
    legend_ = with_id(new QLabel(panel), falsecolor_ids::legend);
    legend_->setGeometry(0, top_margin, legend_width, legend_height);
    for (size_t i = 0; i < labels_.size(); ++i) {
        auto* label = with_id(new QLabel(panel), falsecolor_ids::first_label + static_cast<int>(i));
        // Centred on its palette row, which is counted from the bottom.
        const int row = legend_height - 1 - label_indices[i];
        label->setGeometry(legend_width + label_gap, top_margin + row - label_height / 2, label_width, label_height);
        labels_[i] = label;
    }
    return panel;
}

QGroupBox* FalsecolorWindow::build_options() {
    auto* box = new QGroupBox("Scale", this);
    auto* grid = new QGridLayout(box);
    auto combo = [&](int id, std::initializer_list<const char*> items) {
        auto* c = with_id(new QComboBox(box), id);
        for (const char* item : items) c->addItem(QString::fromUtf8(item));
        return c;
    };
    axis_ = combo(falsecolor_ids::axis, {"Logarithmic", "Linear"});
    steps_ = with_id(new QSpinBox(box), falsecolor_ids::steps);
    steps_->setRange(falsecolor_min_steps, falsecolor_max_steps);
    palette_ = combo(falsecolor_ids::palette, {"Original (Radiance def)", "Viridis", "Spectral"});
    units_ = combo(falsecolor_ids::units, {"cd/m\u00b2", "lx"});
    display_ = combo(falsecolor_ids::display, {"Smooth", "Contour lines", "Bands", "Posterised"});
    int row = 0;
    for (auto [text, widget] : {std::pair<const char*, QWidget*>{"Axis", axis_}, {"Steps", steps_},
                                {"Palette", palette_}, {"Units", units_}, {"Display", display_}}) {
        grid->addWidget(new QLabel(text, box), row, 0);
        grid->addWidget(widget, row++, 1);
    }
    auto* load = with_id(new QPushButton("Load Scale...", box), falsecolor_ids::load_scale);
    auto* save = with_id(new QPushButton("Save Scale...", box), falsecolor_ids::save_scale);
    for (auto* b : {load, save}) b->setAutoDefault(false);
    grid->addWidget(load, row, 0);
    grid->addWidget(save, row++, 1);
    legend_in_picture_ = with_id(new QCheckBox("Legend in saved picture", box), falsecolor_ids::legend_in_picture);
    extrema_in_picture_ =
        with_id(new QCheckBox("Mark extrema in saved picture", box), falsecolor_ids::extrema_in_picture);
    grid->addWidget(legend_in_picture_, row++, 0, 1, 2);
    grid->addWidget(extrema_in_picture_, row++, 0, 1, 2);

    for (QComboBox* c : {axis_, palette_, units_, display_})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { read_choice(); });
    connect(steps_, &QSpinBox::valueChanged, this, [this] { read_choice(); });
    connect(load, &QPushButton::clicked, this, [this] {
        if (form_.on_load_scale()) show_form();
    });
    connect(save, &QPushButton::clicked, this, [this] { form_.on_save_scale(); });
    connect(legend_in_picture_, &QCheckBox::toggled, this, [this](bool on) { form_.legend_in_picture = on; });
    connect(extrema_in_picture_, &QCheckBox::toggled, this, [this](bool on) { form_.extrema_in_picture = on; });
    return box;
}

void FalsecolorWindow::read_choice() {
    FalsecolorScale& choice = form_.choice;
    choice.logarithmic = axis_->currentIndex() == 0;
    choice.steps = steps_->value();
    choice.palette = static_cast<FalsecolorPalette>(palette_->currentIndex());
    choice.units = static_cast<FalsecolorUnits>(units_->currentIndex());
    choice.display = static_cast<FalsecolorDisplay>(display_->currentIndex());
    form_.on_choice_changed();
    show_form();
}

void FalsecolorWindow::show_form() {
    {
        const FalsecolorScale& choice = form_.choice;
        const QSignalBlocker a(axis_), b(steps_), c(palette_), d(units_), e(display_);
        axis_->setCurrentIndex(choice.logarithmic ? 0 : 1);
        steps_->setValue(choice.steps);
        palette_->setCurrentIndex(static_cast<int>(choice.palette));
        units_->setCurrentIndex(static_cast<int>(choice.units));
        display_->setCurrentIndex(static_cast<int>(choice.display));
    }
    legend_->setPixmap(legend_pixmap(form_.choice));
    top_caption_->setText(QString::fromStdString(form_.top_caption()));
    bottom_caption_->setText(QString::fromStdString(form_.bottom_caption()));
    for (auto [field, text] : {std::pair{top_, &form_.top_text}, std::pair{bottom_, &form_.bottom_text}}) {
        const QSignalBlocker quiet(field);
        field->setText(QString::fromStdString(*text));
    }
    const QSignalBlocker quiet(maximum_range_);
    maximum_range_->setChecked(form_.maximum_range_checked);
    for (size_t i = 0; i < labels_.size(); ++i) labels_[i]->setText(QString::fromStdString(form_.labels[i]));
}

void FalsecolorWindow::dismiss() {
    ended_ = true;
    // Found no more as the falsecolor window; a new one may take its name.
    setObjectName(QString());
    hide();
    deleteLater();
}

void FalsecolorWindow::reject() { close(); }

void FalsecolorWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (ended_) return;
    ended_ = true;
    form_.on_close();
    dismiss();
}
