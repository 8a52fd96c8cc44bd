#include "app/ui/main_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>

#include "app/application.h"
#include "app/commands.h"
#include "app/menu_table.h"
#include "app/ui/image_view.h"
#include "app/ui/status_bar.h"

namespace {
constexpr int initial_width = 640;
constexpr int initial_height = 480;

bool is_checkable(int id) {
    return id == command::rectangle_tool || id == command::polygon_tool || id == command::circle_tool ||
           id == command::guidelines || id == command::regions_panel;
}
}  // namespace

// The icon lives in the static UI library's resources, which are not
// registered until asked for.
static void load_program_resources() { Q_INIT_RESOURCE(candelux); }

MainWindow::MainWindow() {
    load_program_resources();
    setWindowIcon(QIcon(":/candelux/candelux.png"));
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
    auto* bar = new PartStatusBar(this);
    for (int part = 0; part < status_part::count; ++part) status_labels_[static_cast<size_t>(part)] = bar->part(part);
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
