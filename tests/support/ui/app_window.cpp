#include "support/ui/app_window.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/ui/image_view.h"
#include "support/ui/modal_answers.h"

AppWindow::AppWindow(const std::string& programs)
    : app{desktop, PlatformFolders{config.str(), cache.str()}, programs} {}

void AppWindow::start() {
    window.attach(app);
    ASSERT_TRUE(app.on_create());
}

void AppWindow::show(QSize size) {
    ASSERT_NO_FATAL_FAILURE(start());
    if (!size.isEmpty()) window.resize(size);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

void AppWindow::open_through_dialog(const std::string& path) {
    answer_file_dialog(QString::fromStdString(path));
    window.action(command::open)->trigger();
    QApplication::processEvents();
    window.view()->repaint();
}

void AppWindow::open(const std::string& path) {
    app.on_open_command(path);
    QApplication::processEvents();
    ASSERT_TRUE(app.image_loaded());
    window.view()->repaint();
}

QPoint AppWindow::over(float u, float v) const {
    return {static_cast<int>(u * app.zoom() + app.pan().x), static_cast<int>(v * app.zoom() + app.pan().y)};
}
