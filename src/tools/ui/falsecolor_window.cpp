#include "tools/ui/falsecolor_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"
#include "tools/falsecolor.h"
#include "tools/falsecolor_form.h"

namespace {

// The palette index each label stands beside, bottom to top.
constexpr std::array<int, 6> label_indices{50, 85, 115, 150, 185, 220};
constexpr int label_gap = 6;
constexpr int label_width = 80;

QPixmap legend_pixmap() {
    const std::vector<uint8_t> bgr = falsecolor_legend();
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
    fields->addWidget(new QLabel("Top (cd/m\u00b2)", this), 0, 0);
    fields->addWidget(top_, 0, 1);
    layout->addLayout(fields);
    layout->addWidget(build_legend(), 0, Qt::AlignLeft);
    auto* bottom_row = new QGridLayout;
    bottom_row->addWidget(new QLabel("Bottom (cd/m\u00b2)", this), 0, 0);
    bottom_row->addWidget(bottom_, 0, 1);
    layout->addLayout(bottom_row);

    auto* buttons = new QHBoxLayout;
    auto* optimized = with_id(new QPushButton("Optimized Range", this), falsecolor_ids::optimized_range);
    optimized->hide();
    auto* apply = with_id(new QPushButton("Apply", this), falsecolor_ids::apply);
    apply->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(optimized);
    buttons->addWidget(apply);
    layout->addLayout(buttons);

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
    auto* legend = with_id(new QLabel(panel), falsecolor_ids::legend);
    legend->setPixmap(legend_pixmap());
    legend->setGeometry(0, top_margin, legend_width, legend_height);
    for (size_t i = 0; i < labels_.size(); ++i) {
        auto* label = with_id(new QLabel(panel), falsecolor_ids::first_label + static_cast<int>(i));
        // Centred on its palette row, which is counted from the bottom.
        const int row = legend_height - 1 - label_indices[i];
        label->setGeometry(legend_width + label_gap, top_margin + row - label_height / 2, label_width, label_height);
        labels_[i] = label;
    }
    return panel;
}

void FalsecolorWindow::show_form() {
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
