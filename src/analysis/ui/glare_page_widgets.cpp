#include "analysis/ui/glare_page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/glare_ids.h"
#include "analysis/glare_pages.h"
#include "analysis/ui/choice_pages.h"
#include "analysis/ui/overflow_label.h"
#include "desktop/ui/control_ids.h"
#include "desktop/ui/numeric_field.h"

namespace {

using namespace glare_ids;

QLineEdit* number_field(int id, QWidget* parent, std::function<void(float)> on_value) {
    auto* field = with_id(new QLineEdit("0", parent), id);
    field->setMaximumWidth(100);
    field->setAlignment(Qt::AlignRight);
    bind_numeric_field(field, std::move(on_value));
    return field;
}

// A caption, a field and its unit on one row of a grid.
void add_field_row(QGridLayout* grid, int row, const char* caption, QWidget* field, const char* unit) {
    auto* parent = field->parentWidget();
    grid->addWidget(new QLabel(QString::fromUtf8(caption), parent), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(unit), parent), row, 2);
}

void set_checked(QAbstractButton* button, bool checked) {
    const QSignalBlocker quiet(button);
    button->setChecked(checked);
}

}  // namespace

QWidget* make_glare_intro_page() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(page_text(
        "Evalglare evaluates the glare of a scene from a fisheye picture taken at the eye of the observer. It "
        "finds the glare sources and calculates the Daylight Glare Probability (DGP), the Daylight Glare Index "
        "(DGI), the Unified Glare Rating (UGR), the Visual Comfort Probability (VCP) and the CIE Glare Index "
        "(CGI).",
        page));
    layout->addWidget(page_text(
        "Pictures of at most 800 × 800 pixels are recommended. A larger picture is scaled down before the "
        "analysis, keeping its proportions, so that its longer side is 800 pixels.",
        page));
    layout->addWidget(page_text("When the analysis succeeds, evalglare's check picture, with the glare sources in "
                                "colour, replaces the picture in the main window.",
                                page));
    layout->addStretch(1);
    return page;
}

TaskAreaPage::TaskAreaPage(GlarePages& pages) : pages_(pages) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Task Area", this);
    auto* inner = new QVBoxLayout(group);
    entire_ = with_id(new QRadioButton("Entire Image", group), entire_image);
    inner->addWidget(entire_);
    inner->addWidget(page_text("Glare sources are found against the mean luminance of the whole picture.", group));
    task_ = with_id(new QRadioButton("Specify task area", group), specify_task_area);
    inner->addWidget(task_);
    inner->addWidget(page_text("Glare sources are found against the luminance of a task area: a circle around a "
                               "point of the picture, given on the next page.",
                               group));
    layout->addWidget(group);
    layout->addStretch(1);
    connect(entire_, &QRadioButton::clicked, this, [this] { pages_.on_task_area(false); });
    connect(task_, &QRadioButton::clicked, this, [this] { pages_.on_task_area(true); });
}

void TaskAreaPage::show_state() {
    set_checked(entire_, !pages_.task_area_chosen());
    set_checked(task_, pages_.task_area_chosen());
}

TaskPositionPage::TaskPositionPage(GlarePages& pages) {
    GlarePages* p = &pages;
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Task Position", this);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(page_text("The centre of the task in pixels of the picture, counted from its left and its "
                               "bottom edge, and the size of the task as an opening angle.",
                               group));
    auto* grid = new QGridLayout;
    add_field_row(grid, 0, "xpos", number_field(task_x, group, [p](float v) { p->on_task_x(v); }),
                  "pixels from the left edge");
    add_field_row(grid, 1, "ypos", number_field(task_y, group, [p](float v) { p->on_task_y(v); }),
                  "pixels from the bottom edge");
    add_field_row(grid, 2, "Angle", number_field(task_angle, group, [p](float v) { p->on_task_angle(v); }),
                  "radians");
    grid->setColumnStretch(3, 1);
    inner->addLayout(grid);
    layout->addWidget(group);
    layout->addStretch(1);
}

FieldOfViewPage::FieldOfViewPage(GlarePages& pages) : pages_(pages) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Field of View", this);
    auto* inner = new QVBoxLayout(group);
    guth_ = with_id(new QCheckBox("Enable Cutting field of view according to Guth", group), glare_ids::guth);
    inner->addWidget(guth_);
    total_ = with_id(new QRadioButton("Total Field of View", group), total_field);
    both_eyes_ = with_id(new QRadioButton("Field of View seen by both eyes", group), glare_ids::both_eyes);
    for (QRadioButton* radio : {total_, both_eyes_}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(24);
        row->addWidget(radio);
        inner->addLayout(row);
    }
    layout->addWidget(group);
    layout->addStretch(1);
    connect(guth_, &QCheckBox::toggled, this, [this](bool on) {
        pages_.on_guth(on);
        show_state();
    });
    connect(total_, &QRadioButton::clicked, this, [this] { pages_.on_field_of_view(FieldOfView::total); });
    connect(both_eyes_, &QRadioButton::clicked, this, [this] { pages_.on_field_of_view(FieldOfView::both_eyes); });
}

void FieldOfViewPage::show_state() {
    set_checked(guth_, pages_.guth_checked());
    set_checked(total_, pages_.field_of_view_choice() == FieldOfView::total);
    set_checked(both_eyes_, pages_.field_of_view_choice() == FieldOfView::both_eyes);
    total_->setEnabled(pages_.guth_checked());
    both_eyes_->setEnabled(pages_.guth_checked());
}

ViewTypesPage::ViewTypesPage(GlarePages& pages) : pages_(pages) {
    GlareViewPage* view = &pages.view_page();
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("View", this);
    auto* grid = new QGridLayout(group);
    none_ = with_id(new QRadioButton("None", group), view_none);
    grid->addWidget(none_, 0, 0, 1, 4);
    grid->addWidget(page_text("The picture's own view, from its header.", group), 1, 0, 1, 4);
    by_type_ = with_id(new QRadioButton("Set View by type", group), view_by_type);
    grid->addWidget(by_type_, 2, 0, 1, 4);
    types_ = with_id(new QComboBox(group), view_type_list);
    for (const GlareViewType& type : glare_view_types) types_->addItem(type.name);
    grid->addWidget(types_, 3, 1, 1, 2);
    vertical_ = number_field(view_vertical, group, [view](float v) { view->on_vertical(v); });
    horizontal_ = number_field(view_horizontal, group, [view](float v) { view->on_horizontal(v); });
    grid->addWidget(new QLabel("View vertical size", group), 4, 1);
    grid->addWidget(vertical_, 4, 2);
    grid->addWidget(new QLabel("degrees", group), 4, 3);
    grid->addWidget(new QLabel("View horizontal size", group), 5, 1);
    grid->addWidget(horizontal_, 5, 2);
    grid->addWidget(new QLabel("degrees", group), 5, 3);
    by_file_ = with_id(new QRadioButton("Set View by file", group), view_by_file);
    grid->addWidget(by_file_, 6, 0, 1, 4);
    browse_ = with_id(new QPushButton("Browse...", group), view_browse);
    file_label_ = with_id(new QLabel(group), view_file_label);
    grid->addWidget(browse_, 7, 1);
    grid->addWidget(file_label_, 7, 2, 1, 2);
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);
    layout->addStretch(1);

    connect(none_, &QRadioButton::clicked, this, [view] { view->on_mode(GlareViewMode::none); });
    connect(by_type_, &QRadioButton::clicked, this, [view] { view->on_mode(GlareViewMode::by_type); });
    connect(by_file_, &QRadioButton::clicked, this, [view] { view->on_mode(GlareViewMode::by_file); });
    connect(types_, &QComboBox::currentIndexChanged, this, [view](int index) { view->on_type_chosen(index); });
    connect(browse_, &QPushButton::clicked, this, [view] { view->on_browse(); });
}

void ViewTypesPage::show_state() {
    const GlareViewPage& view = pages_.view_page();
    set_checked(none_, view.mode() == GlareViewMode::none);
    set_checked(by_type_, view.mode() == GlareViewMode::by_type);
    set_checked(by_file_, view.mode() == GlareViewMode::by_file);
    {
        const QSignalBlocker quiet(types_);
        types_->setCurrentIndex(view.type_choice());
    }
    for (QWidget* control : std::initializer_list<QWidget*>{types_, vertical_, horizontal_})
        control->setEnabled(view.type_controls_enabled());
    browse_->setEnabled(view.file_controls_enabled());
    file_label_->setEnabled(view.file_controls_enabled());
    file_label_->setText(QString::fromStdString(view.file_label()));
}

AdvancedOptionsPage::AdvancedOptionsPage(GlarePages& pages) : pages_(pages) {
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Advanced Options", this);
    auto* grid = new QGridLayout(group);
    smoothing_ = with_id(new QCheckBox("Enable Smoothing", group), smoothing);
    external_ev_ = with_id(new QCheckBox("Measure Vertical Illuminance Externally", group), external_ev);
    search_radius_ =
        with_id(new QCheckBox("Use search radius to identify glare sources", group), glare_ids::search_radius);
    peak_extraction_ = with_id(new QCheckBox("Enable Peak Extraction", group), glare_ids::peak_extraction);
    glare_threshold_ = with_id(new QCheckBox("Glare Threshold (-b)", group), glare_ids::glare_threshold);
    ev_ = number_field(ev, group, [this](float v) { pages_.on_ev(v); });
    radius_ = number_field(radius, group, [this](float v) { pages_.on_radius(v); });
    peak_threshold_ = number_field(peak_threshold, group, [this](float v) { pages_.on_peak_threshold(v); });
    threshold_ = number_field(threshold, group, [this](float v) { pages_.on_threshold(v); });
    grid->addWidget(smoothing_, 0, 0, 1, 4);
    const struct {
        QCheckBox* box;
        const char* caption;
        QLineEdit* field;
        const char* unit;
    } rows[] = {{external_ev_, "Ev", ev_, "lux"},
                {search_radius_, "Radius", radius_, "radians"},
                {peak_extraction_, "Peak Threshold", peak_threshold_, "cd/m² (0: 50000)"},
                {glare_threshold_, "Threshold", threshold_, "cd/m² (up to 100: times the task or mean luminance)"}};
    int row = 1;
    for (const auto& r : rows) {
        grid->addWidget(r.box, row++, 0, 1, 4);
        grid->addWidget(new QLabel(r.caption, group), row, 1);
        grid->addWidget(r.field, row, 2);
        grid->addWidget(new QLabel(QString::fromUtf8(r.unit), group), row++, 3);
    }
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(3, 1);
    layout->addWidget(group);
    layout->addStretch(1);

    GlarePages::AdvancedChoice* choice = &pages.advanced;
    connect(smoothing_, &QCheckBox::toggled, this, [choice](bool on) { choice->smoothing = on; });
    connect(external_ev_, &QCheckBox::toggled, this, [this, choice](bool on) {
        choice->external_ev = on;
        show_state();
    });
    connect(search_radius_, &QCheckBox::toggled, this, [this, choice](bool on) {
        choice->search_radius = on;
        show_state();
    });
    connect(peak_extraction_, &QCheckBox::toggled, this, [this, choice](bool on) {
        choice->peak_extraction = on;
        show_state();
    });
    connect(glare_threshold_, &QCheckBox::toggled, this, [this, choice](bool on) {
        choice->glare_threshold = on;
        show_state();
    });
}

void AdvancedOptionsPage::show_state() {
    const GlarePages::AdvancedChoice& choice = pages_.advanced;
    set_checked(smoothing_, choice.smoothing);
    set_checked(external_ev_, choice.external_ev);
    set_checked(search_radius_, choice.search_radius);
    set_checked(peak_extraction_, choice.peak_extraction);
    set_checked(glare_threshold_, choice.glare_threshold);
    ev_->setEnabled(choice.external_ev);
    radius_->setEnabled(choice.search_radius);
    peak_threshold_->setEnabled(choice.peak_extraction);
    threshold_->setEnabled(choice.glare_threshold);
}

GlareResultsPage::GlareResultsPage(GlarePages& pages) : pages_(pages) {
    auto* layout = new QVBoxLayout(this);
    command_line_ = with_id(new QLabel(this), command_line);
    command_line_->hide();
    layout->addWidget(command_line_);
    auto* group = new QGroupBox("Evalglare Results", this);
    auto* inner = new QVBoxLayout(group);
    result_ = with_id(new QPlainTextEdit(group), result_text);
    result_->setReadOnly(true);
    result_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    inner->addWidget(result_);
    layout->addWidget(group, 1);
    result_->setMaximumHeight(result_->fontMetrics().height() * 5);
    summary_ = with_id(new QTableWidget(0, 3, this), summary_table);
    summary_->setHorizontalHeaderLabels({"Index", "Value", "Comfort class"});
    summary_->verticalHeader()->hide();
    summary_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    summary_->setSelectionMode(QAbstractItemView::NoSelection);
    summary_->horizontalHeader()->setStretchLastSection(true);
    summary_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    summary_->verticalHeader()->setDefaultSectionSize(summary_->fontMetrics().height() + 6);
    layout->addWidget(summary_, 2);
    auto* sources = new QLabel(QString::fromUtf8(glare_comfort_sources), this);
    sources->setWordWrap(true);
    layout->addWidget(sources);
    overflow_ = make_overflow_label(this, overflow, [this] {
        // The calibration runs once the wizard has closed.
        pages_.on_calibration_link();
        QMetaObject::invokeMethod(window(), "reject", Qt::QueuedConnection);
    });
    layout->addWidget(overflow_);
}

void GlareResultsPage::show_state() {
    const QString command = QString::fromStdString(pages_.command_line());
    if (command_line_->text() != command) command_line_->setText(command);
    const QString text = QString::fromStdString(pages_.result_text());
    if (result_->toPlainText() != text) result_->setPlainText(text);
    const std::vector<GlareIndexRow> rows = pages_.summary_rows();
    summary_->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string* cells[] = {&rows[r].name, &rows[r].value, &rows[r].comfort};
        for (int c = 0; c < 3; ++c) {
            const QString cell = QString::fromStdString(*cells[c]);
            QTableWidgetItem* item = summary_->item(static_cast<int>(r), c);
            if (!item) summary_->setItem(static_cast<int>(r), c, new QTableWidgetItem(cell));
            else if (item->text() != cell) item->setText(cell);
        }
    }
    summary_->setVisible(!rows.empty());
    show_overflow(overflow_, pages_.overflow());
}
