#include "capture/ui/capture_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "capture/capture_form.h"
#include "desktop/ui/control_ids.h"

namespace {

// Controls that come and go keep their place, so the dialog does not jump.
void keep_place_when_hidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QListWidget* shutter_list(int id, QWidget* parent) {
    auto* list = with_id(new QListWidget(parent), id);
    list->setMinimumSize(150, 180);
    keep_place_when_hidden(list);
    return list;
}

std::chrono::system_clock::time_point time_point_of(const QDateTime& time) {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(time.toMSecsSinceEpoch()));
}

QDateTime date_time_of(std::chrono::system_clock::time_point time) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(ms);
}

void set_checked_quietly(QRadioButton* button, bool checked) {
    // Radio buttons in one group are exclusive; "neither" needs the
    // exclusivity lifted for a moment.
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(true);
}

}  // namespace

CaptureDialog::CaptureDialog(QWidget* parent, CaptureForm& form) : QDialog(parent), form_(form) {
    setObjectName(QString::number(capture_ids::dialog));
    setWindowTitle("Capture Settings");
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(build_folder_group());
    layout->addWidget(build_mode_group());
    layout->addWidget(build_manual_group());
    layout->addWidget(build_timing_group());

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = with_id(buttons->addButton(QDialogButtonBox::Ok), capture_ids::ok);
    auto* cancel = with_id(buttons->addButton(QDialogButtonBox::Cancel), capture_ids::cancel);
    ok->setDefault(true);
    layout->addWidget(buttons);

    timer_ = with_id(new QTimer(this), capture_ids::countdown_timer);
    timer_->setInterval(1000);

    for (const std::string& item : form_.aperture_items) {
        aperture1_->addItem(QString::fromStdString(item));
        aperture2_->addItem(QString::fromStdString(item));
    }
    for (QListWidget* list : {shutters1_, shutters2_}) {
        for (const std::string& label : form_.shutter_items) {
            auto* item = new QListWidgetItem(QString::fromStdString(label), list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    aperture_mode_->addItems({"Single Aperture", "Two Apertures"});
    start_time_->setDateTime(date_time_of(form_.start_time));
    interval_->setText(QString::fromStdString(form_.interval_text));

    connect(findChild<QPushButton*>(QString::number(capture_ids::set_folder)), &QPushButton::clicked, this,
            [this] { handle([this] { form_.on_set_folder(); }); });
    connect(automatic_, &QRadioButton::clicked, this, [this] { handle([this] { form_.on_automatic(); }); });
    connect(manual_, &QRadioButton::clicked, this, [this] { handle([this] { form_.on_manual(); }); });
    connect(aperture_mode_, &QComboBox::activated, this,
            [this](int position) { handle([this, position] { form_.on_aperture_mode(position); }); });
    connect(once_, &QRadioButton::clicked, this, [this] { handle([this] { form_.on_once(); }); });
    connect(timed_, &QRadioButton::clicked, this, [this] { handle([this] { form_.on_timed(); }); });
    connect(ok, &QPushButton::clicked, this, [this] { handle([this] { form_.on_ok(); }); });
    connect(cancel, &QPushButton::clicked, this, &CaptureDialog::reject);
    connect(timer_, &QTimer::timeout, this, [this] { handle([this] { form_.on_timer(); }); });

    show_form();
}

QWidget* CaptureDialog::build_folder_group() {
    auto* group = new QGroupBox("Save Images in", this);
    auto* row = new QHBoxLayout(group);
    folder_ = with_id(new QLineEdit(group), capture_ids::folder_edit);
    folder_->setReadOnly(true);
    folder_->setMinimumWidth(300);
    row->addWidget(folder_);
    row->addWidget(with_id(new QPushButton("Set Folder", group), capture_ids::set_folder));
    return group;
}

QWidget* CaptureDialog::build_mode_group() {
    auto* group = new QGroupBox("Capture Mode", this);
    auto* row = new QHBoxLayout(group);
    automatic_ = with_id(new QRadioButton("Automatic", group), capture_ids::automatic);
    manual_ = with_id(new QRadioButton("Manual", group), capture_ids::manual);
    aperture_mode_ = with_id(new QComboBox(group), capture_ids::aperture_mode);
    row->addWidget(automatic_);
    row->addWidget(manual_);
    row->addStretch(1);
    row->addWidget(aperture_mode_);
    return group;
}

QWidget* CaptureDialog::build_manual_group() {
    auto* group = new QGroupBox("Manual Mode Settings", this);
    auto* grid = new QGridLayout(group);
    aperture1_ = with_id(new QComboBox(group), capture_ids::aperture1);
    aperture2_ = with_id(new QComboBox(group), capture_ids::aperture2);
    keep_place_when_hidden(aperture2_);
    shutters1_ = shutter_list(capture_ids::shutters1, group);
    shutters2_ = shutter_list(capture_ids::shutters2, group);
    grid->addWidget(aperture1_, 0, 0);
    grid->addWidget(aperture2_, 0, 1);
    grid->addWidget(shutters1_, 1, 0);
    grid->addWidget(shutters2_, 1, 1);
    return group;
}

QWidget* CaptureDialog::build_timing_group() {
    auto* group = new QGroupBox("Timed Capture", this);
    auto* grid = new QGridLayout(group);
    once_ = with_id(new QRadioButton("Once", group), capture_ids::once);
    timed_ = with_id(new QRadioButton("Timed", group), capture_ids::timed);
    // The date is shown too, so that a start after midnight can be chosen.
    start_time_ = with_id(new QDateTimeEdit(group), capture_ids::start_time);
    start_time_->setDisplayFormat("yyyy-MM-dd HH:mm:ss");
    interval_ = with_id(new QLineEdit(group), capture_ids::interval);
    interval_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), interval_));
    interval_->setMaximumWidth(60);
    next_sequence_ = with_id(new QLabel("Next sequence in ", group), capture_ids::next_sequence);
    countdown_ = with_id(new QLabel(group), capture_ids::countdown);
    keep_place_when_hidden(next_sequence_);
    keep_place_when_hidden(countdown_);

    grid->addWidget(once_, 0, 0);
    grid->addWidget(timed_, 0, 1);
    grid->addWidget(new QLabel("Start at", group), 1, 0);
    grid->addWidget(start_time_, 1, 1, 1, 3);
    grid->addWidget(new QLabel("Every", group), 2, 0);
    grid->addWidget(interval_, 2, 1);
    grid->addWidget(new QLabel("min", group), 2, 2);
    grid->addWidget(next_sequence_, 3, 0, 1, 2);
    grid->addWidget(countdown_, 3, 2, 1, 2);
    assemble_each_ = with_id(new QCheckBox("Assemble each series", group), capture_ids::assemble_each);
    assemble_each_->setToolTip("Each finished series becomes <folder>/<first picture>.hdr, in cd/m2");
    grid->addWidget(assemble_each_, 4, 0, 1, 2);
    assembly_profile_ = with_id(new QComboBox(group), capture_ids::assembly_profile);
    assembly_profile_->addItem("No profile");
    for (const ProfileEntry& entry : form_.profiles) {
        assembly_profile_->addItem(QString::fromStdString(entry.name));
        assembly_profile_->setItemData(assembly_profile_->count() - 1, QString::fromStdString(entry.path),
                                       Qt::ToolTipRole);
    }
    assembly_profile_->setToolTip("The camera profile each assembled series is corrected with");
    connect(assembly_profile_, &QComboBox::activated, this,
            [this](int index) { handle([this, index] { form_.on_assembly_profile(index); }); });
    connect(assemble_each_, &QCheckBox::toggled, assembly_profile_, &QWidget::setEnabled);
    grid->addWidget(assembly_profile_, 4, 2, 1, 2);
    grid->setColumnStretch(3, 1);
    return group;
}

template <class Event>
void CaptureDialog::handle(Event event) {
    read_choices();
    event();
    show_form();
}

void CaptureDialog::read_choices() {
    form_.aperture1_selection = aperture1_->currentIndex();
    form_.aperture2_selection = aperture2_->currentIndex();
    for (auto [list, ticked] : {std::pair{shutters1_, &form_.shutter1_ticked},
                                std::pair{shutters2_, &form_.shutter2_ticked}}) {
        ticked->assign(static_cast<size_t>(list->count()), false);
        for (int i = 0; i < list->count(); ++i)
            (*ticked)[static_cast<size_t>(i)] = list->item(i)->checkState() == Qt::Checked;
    }
    form_.start_time = time_point_of(start_time_->dateTime());
    form_.interval_text = interval_->text().toStdString();
    form_.assemble_each_series = assemble_each_->isChecked();
}

void CaptureDialog::show_form() {
    folder_->setText(QString::fromStdString(form_.folder_text));
    set_checked_quietly(automatic_, form_.capture_mode == CaptureMode::automatic);
    set_checked_quietly(manual_, form_.capture_mode == CaptureMode::manual);
    set_checked_quietly(once_, form_.timing == Timing::once);
    set_checked_quietly(timed_, form_.timing == Timing::timed);
    assemble_each_->setChecked(form_.assemble_each_series);
    assembly_profile_->setCurrentIndex(form_.assembly_profile);
    assembly_profile_->setEnabled(form_.assemble_each_series);
    aperture_mode_->setCurrentIndex(form_.aperture_mode == ApertureMode::two ? 1 : 0);
    aperture1_->setCurrentIndex(form_.aperture1_selection);
    aperture2_->setCurrentIndex(form_.aperture2_selection);
    for (auto [list, ticked] : {std::pair{shutters1_, &form_.shutter1_ticked},
                                std::pair{shutters2_, &form_.shutter2_ticked}}) {
        for (int i = 0; i < list->count() && static_cast<size_t>(i) < ticked->size(); ++i)
            list->item(i)->setCheckState((*ticked)[static_cast<size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    }
    countdown_->setText(QString::fromStdString(form_.countdown_text));

    for (int id : capture_ids::switched) {
        QWidget* widget = findChild<QWidget*>(QString::number(id));
        const ControlState& state = form_.control(id);
        widget->setEnabled(state.enabled);
        widget->setVisible(state.visible);
    }

    if (!form_.timer_running()) {
        timer_->stop();
    } else if (form_.timer_starts() != timer_starts_seen_) {
        timer_->start();
    }
    timer_starts_seen_ = form_.timer_starts();
}

// Cancel, ESCAPE and the window's close button all end here; only the close
// button leaves the camera session open.
void CaptureDialog::reject() {
    if (closing_by_window_)
        form_.on_close();
    else
        form_.on_cancel();
    timer_->stop();
    QDialog::reject();
    deleteLater();
}

void CaptureDialog::closeEvent(QCloseEvent* event) {
    closing_by_window_ = true;
    QDialog::closeEvent(event);
    closing_by_window_ = false;
}
