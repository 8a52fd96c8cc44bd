#include "regions/ui/region_panel.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/ui/control_ids.h"
#include "regions/region_list_form.h"

namespace {

QIcon swatch(const std::string& color) {
    QPixmap pixmap(14, 14);
    pixmap.fill(QColor(QString::fromStdString(color)));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

}  // namespace

RegionPanel::RegionPanel(QWidget* parent, RegionListForm& form) : QWidget(parent), form_(form) {
    setObjectName(id_name(region_panel_ids::panel));
    list_ = new QListWidget(this);
    list_->setObjectName(id_name(region_panel_ids::list));
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(list_, &QListWidget::itemChanged, this, &RegionPanel::on_item_changed);
    connect(list_, &QListWidget::currentRowChanged, this, &RegionPanel::on_row_chosen);
    // A click on the row already chosen takes it again (after another
    // selection was drawn meanwhile).
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { on_row_chosen(list_->row(item)); });

    auto* buttons = new QGridLayout;
    buttons->addWidget(picture_buttons_.emplace_back(button("&Add", region_panel_ids::add, &RegionPanel::add_region)),
                       0, 0);
    buttons->addWidget(row_buttons_.emplace_back(button("C&olour...", region_panel_ids::color, &RegionPanel::on_color)),
                       0, 1);
    buttons->addWidget(row_buttons_.emplace_back(button("&Up", region_panel_ids::up, &RegionPanel::on_up)), 1, 0);
    buttons->addWidget(row_buttons_.emplace_back(button("Do&wn", region_panel_ids::down, &RegionPanel::on_down)), 1, 1);
    buttons->addWidget(row_buttons_.emplace_back(button("&Delete", region_panel_ids::remove, &RegionPanel::on_delete)),
                       2, 0);
    buttons->addWidget(
        picture_buttons_.emplace_back(button("Analyze A&ll", region_panel_ids::analyze, &RegionPanel::analyze)), 2, 1);
    buttons->addWidget(picture_buttons_.emplace_back(button("&Load...", region_panel_ids::load, &RegionPanel::load)), 3,
                       0);
    buttons->addWidget(picture_buttons_.emplace_back(button("&Save...", region_panel_ids::save, &RegionPanel::save)), 3,
                       1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    show_state();
}

QPushButton* RegionPanel::button(const char* text, int id, void (RegionPanel::*clicked)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(id_name(id));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, clicked);
    return b;
}

void RegionPanel::show_state() {
    showing_ = true;
    const std::vector<NamedRegion>& regions = form_.regions();
    while (list_->count() > static_cast<int>(regions.size())) delete list_->takeItem(list_->count() - 1);
    for (size_t i = 0; i < regions.size(); ++i) {
        const int row = static_cast<int>(i);
        QListWidgetItem* item = list_->item(row);
        if (!item) {
            item = new QListWidgetItem(list_);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
        }
        const NamedRegion& region = regions[i];
        item->setText(QString::fromStdString(region.name));
        item->setIcon(swatch(region.color));
        item->setCheckState(region.visible ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(QString("%1, %2").arg(region_kind_name(region.kind), QString::fromStdString(region.color)));
    }
    list_->setCurrentRow(form_.current());
    for (QPushButton* b : row_buttons_) b->setEnabled(form_.current() >= 0);
    for (QPushButton* b : picture_buttons_) b->setEnabled(form_.has_picture());
    showing_ = false;
}

int RegionPanel::row() const { return form_.current(); }

void RegionPanel::on_item_changed(QListWidgetItem* item) {
    if (showing_) return;
    const size_t index = static_cast<size_t>(list_->row(item));
    if (index >= form_.regions().size()) return;
    const NamedRegion& region = form_.regions()[index];
    const bool visible = item->checkState() == Qt::Checked;
    const std::string name = item->text().trimmed().toStdString();
    // One change at a time arrives here: the box or the name.
    if (visible != region.visible) form_.on_visible(index, visible);
    else if (name != region.name) form_.on_rename(index, name);
}

void RegionPanel::on_row_chosen(int chosen) {
    if (showing_ || chosen < 0) return;
    form_.on_select(static_cast<size_t>(chosen));
    // ENTER on the picture hands the selection to a wizard waiting for it.
    if (QWidget* view = window()->findChild<QWidget*>("view")) view->setFocus();
}

void RegionPanel::add_region() { form_.on_add(); }
void RegionPanel::on_color() { if (row() >= 0) form_.on_color(static_cast<size_t>(row())); }
void RegionPanel::on_up() { if (row() >= 0) form_.on_move(static_cast<size_t>(row()), -1); }
void RegionPanel::on_down() { if (row() >= 0) form_.on_move(static_cast<size_t>(row()), 1); }
void RegionPanel::on_delete() { if (row() >= 0) form_.on_delete(static_cast<size_t>(row())); }
void RegionPanel::load() { form_.on_load(); }
void RegionPanel::save() { form_.on_save(); }
void RegionPanel::analyze() { form_.on_analyze_all(); }
