#include "assembly/ui/assembly_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "assembly/assembly_form.h"
#include "desktop/ui/control_ids.h"

AssemblyDialog::AssemblyDialog(QWidget* parent, AssemblyForm& form) : QDialog(parent), form_(form) {
    setObjectName(id_name(assembly_ids::dialog));
    setWindowTitle("Assemble HDR");
    setAttribute(Qt::WA_DeleteOnClose);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName(id_name(assembly_ids::table));
    table_->setHorizontalHeaderLabels({"Picture", "Exposure time (s)", "f-number", "ISO"});
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(table_, &QTableWidget::cellChanged, this, &AssemblyDialog::on_cell_changed);

    add_ = new QPushButton("&Add Pictures...", this);
    add_->setObjectName(id_name(assembly_ids::add));
    remove_ = new QPushButton("&Remove", this);
    remove_->setObjectName(id_name(assembly_ids::remove));
    assemble_ = new QPushButton("A&ssemble...", this);
    assemble_->setObjectName(id_name(assembly_ids::assemble));
    assemble_->setDefault(true);
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName(id_name(assembly_ids::cancel));
    close_ = new QPushButton("Close", this);
    close_->setObjectName(id_name(assembly_ids::close));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(id_name(assembly_ids::progress));
    progress_->setRange(0, 100);
    align_ = new QCheckBox("A&lign hand-held pictures", this);
    align_->setObjectName(id_name(assembly_ids::align));
    connect(align_, &QCheckBox::toggled, this, [this](bool checked) { form_.align = checked; });
    profile_ = new QComboBox(this);
    profile_->setObjectName(id_name(assembly_ids::profile));
    profile_->addItem("No profile");
    for (const ProfileEntry& entry : form_.profiles) {
        profile_->addItem(QString::fromStdString(entry.name));
        profile_->setItemData(profile_->count() - 1, QString::fromStdString(entry.path), Qt::ToolTipRole);
    }
    connect(profile_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showing_) form_.profile = index;
    });
    auto* profile_label = new QLabel("&Profile:", this);
    profile_label->setBuddy(profile_);
    save_response_ = new QPushButton("Save &Response into Profile", this);
    save_response_->setObjectName(id_name(assembly_ids::save_response));
    save_response_->setToolTip("Stores the response curve the last run recovered into the chosen profile");
    connect(save_response_, &QPushButton::clicked, this, [this] {
        form_.on_save_response();
        show_form();
    });
    measured_illuminance_ = new QLineEdit(this);
    measured_illuminance_->setObjectName(id_name(assembly_ids::measured_illuminance));
    measured_illuminance_->setMaximumWidth(110);
    measured_illuminance_->setAlignment(Qt::AlignRight);
    connect(measured_illuminance_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.measured_illuminance = text.trimmed().toStdString(); });
    auto* illuminance_label = new QLabel("&Measured illuminance (lx):", this);
    illuminance_label->setBuddy(measured_illuminance_);
    ev_tolerance_ = new QDoubleSpinBox(this);
    ev_tolerance_->setObjectName(id_name(assembly_ids::ev_tolerance));
    ev_tolerance_->setRange(0.5, 100);
    ev_tolerance_->setDecimals(1);
    ev_tolerance_->setSuffix(" %");
    ev_tolerance_->setToolTip("The Ev check flags a picture whose illuminance differs from the meter's by more");
    connect(ev_tolerance_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!showing_) form_.on_ev_tolerance(value);
    });
    auto* tolerance_label = new QLabel("&Ev check within", this);
    tolerance_label->setBuddy(ev_tolerance_);
    status_ = new QLabel(this);
    status_->setObjectName(id_name(assembly_ids::status));
    status_->setWordWrap(true);
    // Room for the run's figures and the Ev check's sentence.
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * 4);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(add_, &QPushButton::clicked, this, [this] {
        form_.on_add_pictures();
        show_form();
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        form_.on_remove(table_->currentRow());
        show_form();
    });
    connect(assemble_, &QPushButton::clicked, this, &AssemblyDialog::on_assemble);
    connect(cancel_, &QPushButton::clicked, this, [this] { cancel_requested_ = true; });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);

    auto* list_buttons = new QHBoxLayout;
    list_buttons->addWidget(add_);
    list_buttons->addWidget(remove_);
    list_buttons->addStretch();
    list_buttons->addWidget(profile_label);
    list_buttons->addWidget(profile_);
    list_buttons->addWidget(align_);
    auto* check_row = new QHBoxLayout;
    check_row->addWidget(illuminance_label);
    check_row->addWidget(measured_illuminance_);
    check_row->addWidget(tolerance_label);
    check_row->addWidget(ev_tolerance_);
    check_row->addStretch();
    check_row->addWidget(save_response_);
    auto* run_buttons = new QHBoxLayout;
    run_buttons->addWidget(progress_, 1);
    run_buttons->addWidget(assemble_);
    run_buttons->addWidget(cancel_);
    run_buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(list_buttons);
    layout->addLayout(check_row);
    layout->addWidget(status_);
    layout->addLayout(run_buttons);
    resize(720, 460);
    show_form();
}

void AssemblyDialog::show_form() {
    showing_ = true;
    table_->setRowCount(static_cast<int>(form_.rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const AssemblyRow& row = form_.rows[static_cast<size_t>(r)];
        const QString path = QString::fromStdString(row.path);
        auto* name = new QTableWidgetItem(QFileInfo(path).fileName());
        name->setToolTip(path);
        name->setFlags(name->flags() & ~Qt::ItemIsEditable);
        table_->setItem(r, assembly_column::picture, name);
        table_->setItem(r, assembly_column::time, new QTableWidgetItem(QString::fromStdString(row.time)));
        table_->setItem(r, assembly_column::f_number, new QTableWidgetItem(QString::fromStdString(row.f_number)));
        table_->setItem(r, assembly_column::iso, new QTableWidgetItem(QString::fromStdString(row.iso)));
    }
    std::string status = form_.status;
    if (!form_.ev_result.empty()) status += "\n" + form_.ev_result;
    status_->setText(QString::fromStdString(status));
    if (measured_illuminance_->text().trimmed().toStdString() != form_.measured_illuminance)
        measured_illuminance_->setText(QString::fromStdString(form_.measured_illuminance));
    ev_tolerance_->setValue(form_.ev_tolerance);
    ev_tolerance_->setEnabled(!form_.running);
    measured_illuminance_->setEnabled(!form_.running);
    save_response_->setEnabled(!form_.running && form_.recovered_response.has_value());
    table_->setEnabled(!form_.running);
    align_->setChecked(form_.align);
    profile_->setCurrentIndex(form_.profile);
    showing_ = false;
    profile_->setEnabled(!form_.running);
    align_->setEnabled(!form_.running);
    add_->setEnabled(!form_.running);
    remove_->setEnabled(!form_.running && !form_.rows.empty());
    assemble_->setEnabled(!form_.running && form_.rows.size() >= 2);
    close_->setEnabled(!form_.running);
    cancel_->setEnabled(form_.running);
}

void AssemblyDialog::on_cell_changed(int row, int column) {
    if (showing_) return;
    form_.on_edit(row, column, table_->item(row, column)->text().trimmed().toStdString());
}

void AssemblyDialog::on_assemble() {
    cancel_requested_ = false;
    progress_->setValue(0);
    form_.on_assemble();
    if (!form_.running) progress_->setValue(form_.last_output.empty() ? 0 : 100);
    show_form();
}

bool AssemblyDialog::show_progress(double done) {
    if (!cancel_->isEnabled()) show_form();  // the run has just started
    progress_->setValue(static_cast<int>(done * 100));
    QApplication::processEvents();
    return !cancel_requested_;
}
