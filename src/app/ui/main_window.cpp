#include "app/ui/main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>

#include "app/application.h"
#include "app/commands.h"
#include "app/menu_table.h"
#include "app/ui/image_view.h"

namespace {
constexpr int initial_width = 640;
constexpr int initial_height = 480;
const QColor status_background(241, 237, 237);

bool is_checkable(int id) {
    return id == command::rectangle_tool || id == command::polygon_tool || id == command::circle_tool ||
           id == command::guidelines;
}
}  // namespace

MainWindow::MainWindow() {
    setObjectName("WICViewerD2D");
    setWindowTitle("candelux");
    resize(initial_width, initial_height);

    view_ = new ImageView(this);
    setCentralWidget(view_);

    build_menu();
    build_status_bar();
}

void MainWindow::build_menu() {
    std::map<QString, QMenu*> menus;
    for (const MenuItem& item : main_menu()) {
        const QString top = QString::fromStdString(item.menu);
        QMenu*& menu = menus[top];
        if (!menu) menu = menuBar()->addMenu(top);
        QMenu* target = menu;
        if (!item.submenu.empty()) {
            const QString key = top + "/" + QString::fromStdString(item.submenu);
            QMenu*& sub = menus[key];
            if (!sub) sub = menu->addMenu(QString::fromStdString(item.submenu));
            target = sub;
        }
        if (item.separator()) {
            target->addSeparator();
            continue;
        }
        QAction* action = target->addAction(QString::fromStdString(item.text));
        action->setObjectName(QString::number(item.id));
        action->setEnabled(item.enabled);
        action->setCheckable(is_checkable(item.id));
        action->setChecked(item.checked);
        const int id = item.id;
        connect(action, &QAction::triggered, this, [this, action, id] {
            // Check marks follow the program's state, not Qt's toggling.
            if (action->isCheckable()) action->setChecked(!action->isChecked());
            if (application_) application_->on_command(id);
        });
        actions_[id] = action;
    }
}

void MainWindow::build_status_bar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName("102");
    bar->setSizeGripEnabled(false);
    bar->setMinimumHeight(status_part::height);
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, status_background);
    bar->setPalette(palette);
    bar->setStyleSheet("QStatusBar::item { border: none; }");
    int left = 0;
    for (int part = 0; part < status_part::count; ++part) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString("part%1").arg(part));
        const int width = status_part::right_edges[part] - left;
        left = status_part::right_edges[part];
        label->setFixedWidth(width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        bar->addWidget(label);
        status_labels_[static_cast<size_t>(part)] = label;
    }
    // The bar lies over the bottom of the view rather than beside it: the
    // view's placement keeps pictures clear of it.
    view_->set_status_bar(bar);
}

void MainWindow::attach(Application& application) {
    application_ = &application;
    view_->attach(application);
    application.on_resize(view_->width(), view_->height());
}

QAction* MainWindow::action(int id) const {
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::set_status_text(int part, const QString& text) {
    QLabel* label = status_label(part);
    if (!label) return;
    // A leading tab centres the text in its part.
    if (text.startsWith('\t')) {
        label->setAlignment(Qt::AlignCenter);
        label->setText(text.mid(1));
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setText(text);
    }
}

void MainWindow::close_without_cleanup() {
    skip_cleanup_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!skip_cleanup_ && application_) application_->on_close();
    event->accept();
}
