#include "app/ui/qt_desktop.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <cstdlib>

#include "app/ui/about_dialog.h"
#include "app/ui/file_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/progress_window.h"
#include "capture/capture_form.h"
#include "capture/ui/capture_dialog.h"
#include "settings/ui/settings_dialog.h"
#include "macro/ui/batch_dialog.h"
#include "macro/ui/batch_progress_dialog.h"
#include "tools/falsecolor_form.h"
#include "tools/ui/falsecolor_window.h"
#include "tools/ui/reinhard_dialog.h"
#include "tools/ui/ward_dialog.h"
#include "app/ui/image_view.h"
// --- editing ---
#include "tools/ui/crop_dialog.h"
#include "tools/ui/exposure_dialog.h"
#include "tools/ui/header_dialog.h"
#include "tools/ui/image_operation_dialog.h"
#include "tools/ui/projection_dialog.h"
#include "tools/ui/resize_dialog.h"
#include "analysis/analysis_wizard.h"
#include "analysis/ui/analysis_wizard_dialog.h"
// --- calibration ---
#include "analysis/calibration_wizard.h"
#include "analysis/ui/calibration_wizard_dialog.h"

namespace {

QMessageBox::Icon qt_icon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::information: return QMessageBox::Information;
    case MessageIcon::warning: return QMessageBox::Warning;
    case MessageIcon::error: return QMessageBox::Critical;
    case MessageIcon::none: break;
    }
    return QMessageBox::NoIcon;
}

// The events a person causes with mouse, keyboard or touch.
bool is_user_input(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// Swallows user input while a child process runs.
class InputBlocker : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!is_user_input(event->type())) return false;
        event->ignore();
        return true;
    }
};

// Runs a modal dialog over its form in front of the main window; the
// dialog's result.
template <class Dialog, class Form>
int run_modal(QWidget& owner, Form& form) {
    Dialog dialog(&owner, form);
    return dialog.exec();
}

}  // namespace

QtDesktop::QtDesktop(MainWindow& window) : window_(window) {}

QtDesktop::~QtDesktop() { delete progress_.data(); }

QWidget* QtDesktop::owner_widget(Owner owner) const {
    switch (owner) {
    case Owner::none: return nullptr;
    case Owner::main_window: return &window_;
    case Owner::dialog:
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
        return &window_;
    }
    return nullptr;
}

void QtDesktop::message_box(const std::string& text, const std::string& caption, MessageIcon icon, Owner owner) {
    QMessageBox box(qt_icon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                    owner_widget(owner));
    box.exec();
}

FileDialogAnswer QtDesktop::file_dialog(const FileDialogRequest& request) {
    QFileDialog dialog(owner_widget(request.owner));
    configure_file_dialog(dialog, request);
    const QStringList filters = qt_name_filters(request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    FileDialogAnswer answer;
    answer.filter_index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.filter_index < 1) answer.filter_index = 1;
    answer.path = dialog.selectedFiles().front().toStdString();
    return answer;
}

std::string QtDesktop::choose_folder(const std::string& title, Owner owner) {
    return QFileDialog::getExistingDirectory(owner_widget(owner), QString::fromStdString(title), QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog)
        .toStdString();
}

void QtDesktop::show_progress() {
    if (!progress_) progress_ = new ProgressWindow(&window_);
    progress_->centre_on_parent();
    progress_->show();
    progress_->raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDesktop::close_progress() {
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
}

bool QtDesktop::progress_shown() const { return progress_ && progress_->isVisible(); }

void QtDesktop::pump() {
    InputBlocker blocker;
    qApp->installEventFilter(&blocker);
    QApplication::processEvents();
    qApp->removeEventFilter(&blocker);
}

void QtDesktop::set_menu_enabled(int id, bool enabled) {
    if (QAction* action = window_.action(id)) action->setEnabled(enabled);
}

void QtDesktop::set_menu_checked(int id, bool checked) {
    if (QAction* action = window_.action(id)) action->setChecked(checked);
}

void QtDesktop::set_status_text(int part, const std::string& text) {
    window_.set_status_text(part, QString::fromStdString(text));
}

void QtDesktop::set_title(const std::string& title) { window_.setWindowTitle(QString::fromStdString(title)); }

void QtDesktop::repaint(bool) { window_.view()->update(); }

void QtDesktop::set_cursor(CursorShape shape) {
    Qt::CursorShape qt_shape = Qt::ArrowCursor;
    switch (shape) {
    case CursorShape::arrow: qt_shape = Qt::ArrowCursor; break;
    case CursorShape::size_we: qt_shape = Qt::SizeHorCursor; break;
    case CursorShape::size_ns: qt_shape = Qt::SizeVerCursor; break;
    case CursorShape::size_all: qt_shape = Qt::SizeAllCursor; break;
    case CursorShape::closed_hand: qt_shape = Qt::ClosedHandCursor; break;
    }
    window_.view()->setCursor(qt_shape);
}

bool QtDesktop::load_display_picture(const std::string& path, SizeF& size) {
    if (!window_.view()->load_picture(QString::fromStdString(path))) return false;
    const QImage& picture = window_.view()->picture();
    size = {static_cast<float>(picture.width()), static_cast<float>(picture.height())};
    return true;
}

void QtDesktop::clear_display_picture() { window_.view()->clear_picture(); }

int QtDesktop::run_settings_dialog(SettingsForm& form) { return run_modal<SettingsDialog>(window_, form); }

int QtDesktop::run_about_dialog() {
    AboutDialog dialog(&window_);
    return dialog.exec();
}

void QtDesktop::show_capture_dialog(CaptureForm& form) {
    // The earlier dialog refers to the earlier form, which is about to go.
    delete window_.findChild<CaptureDialog*>(QString::number(capture_ids::dialog));
    auto* dialog = new CaptureDialog(&window_, form);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void QtDesktop::destroy_main_window() { window_.close_without_cleanup(); }

void QtDesktop::terminate(int exit_code) { std::exit(exit_code); }

// --- editing ---
int QtDesktop::run_resize_dialog(ResizeForm& form) { return run_modal<ResizeDialog>(window_, form); }

int QtDesktop::run_crop_dialog(CropForm& form) { return run_modal<CropDialog>(window_, form); }

int QtDesktop::run_exposure_dialog(ExposureForm& form) { return run_modal<ExposureDialog>(window_, form); }

int QtDesktop::run_header_dialog(HeaderForm& form) { return run_modal<HeaderDialog>(window_, form); }

int QtDesktop::run_image_operation_dialog(ImageOperationForm& form) {
    return run_modal<ImageOperationDialog>(window_, form);
}

int QtDesktop::run_projection_dialog(ProjectionForm& form) { return run_modal<ProjectionDialog>(window_, form); }

// --- analysis, export ---

bool QtDesktop::ask_yes_no(const std::string& text, const std::string& caption, Owner owner) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_widget(owner));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtDesktop::set_busy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busy_;
    } else if (busy_ > 0) {
        QApplication::restoreOverrideCursor();
        --busy_;
    }
}

void QtDesktop::set_main_window_enabled(bool enabled) {
    window_.setEnabled(enabled);
    if (enabled) {
        // The region is drawn and confirmed with ENTER in the view.
        window_.activateWindow();
        window_.view()->setFocus();
    }
}

int QtDesktop::run_analysis_wizard(AnalysisWizard& wizard) {
    AnalysisWizardDialog sheet(wizard);
    // Closing the main window while the user draws a region ends the wizard
    // too, rather than leaving it waiting with no window to draw in.
    const QMetaObject::Connection ending = QObject::connect(
        qApp, &QGuiApplication::lastWindowClosed, &sheet, [&wizard] { wizard.sheet().abandon(); });
    const int result = sheet.run();
    QObject::disconnect(ending);
    return result;
}

int QtDesktop::run_reinhard_dialog(ReinhardForm& form) {
    return run_modal<ReinhardDialog>(window_, form) == QDialog::Accepted ? 1 : 0;
}

int QtDesktop::run_ward_dialog(WardForm& form) {
    return run_modal<WardDialog>(window_, form) == QDialog::Accepted ? 1 : 0;
}

void QtDesktop::show_falsecolor_window(FalsecolorForm& form) {
    // The earlier window refers to the earlier form, which is about to go.
    delete window_.findChild<FalsecolorWindow*>(QString::number(falsecolor_ids::dialog));
    auto* falsecolor = new FalsecolorWindow(&window_, form);
    falsecolor->adjustSize();
    // Beside the main window when the screen has room, else over its right
    // edge: never over the middle of the picture it explains.
    const QRect main = window_.frameGeometry();
    QPoint place = main.topRight() + QPoint(8, 0);
    const QScreen* screen = window_.screen();
    if (screen && !screen->availableGeometry().contains(QRect(place, falsecolor->size())))
        place = QPoint(main.right() - falsecolor->width() - 16, main.top() + 60);
    falsecolor->move(place);
    falsecolor->show();
    falsecolor->raise();
}

void QtDesktop::close_falsecolor_window() {
    if (auto* falsecolor = window_.findChild<FalsecolorWindow*>(QString::number(falsecolor_ids::dialog)))
        falsecolor->dismiss();
}

// --- macro ---
namespace {

// Lets input reach one window only (the batch progress window and what is in it).
class InputOnlyFor : public QObject {
public:
    explicit InputOnlyFor(QWidget* window) : window_(window) {}

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!is_user_input(event->type())) return false;
        auto* widget = qobject_cast<QWidget*>(target);
        if (window_ && widget && (widget == window_ || window_->isAncestorOf(widget))) return false;
        event->ignore();
        return true;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

int QtDesktop::run_batch_dialog(BatchForm& form) { return run_modal<BatchDialog>(window_, form); }

void QtDesktop::show_batch_progress(int steps) {
    close_batch_progress();
    batch_progress_ = new BatchProgressDialog(&window_, steps);
    batch_progress_->show();
    batch_progress_->raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDesktop::set_batch_progress(int done, const std::string& text) {
    if (!batch_progress_) return;
    batch_progress_->set_progress(done, QString::fromStdString(text));
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtDesktop::pump_batch_progress() {
    InputOnlyFor filter(batch_progress_.data());
    qApp->installEventFilter(&filter);
    QApplication::processEvents();
    qApp->removeEventFilter(&filter);
}

bool QtDesktop::batch_stop_requested() const { return batch_progress_ && batch_progress_->stop_requested(); }

void QtDesktop::close_batch_progress() {
    if (batch_progress_) {
        batch_progress_->hide();
        batch_progress_->deleteLater();
        batch_progress_ = nullptr;
    }
}

BatchProgressDialog* QtDesktop::batch_progress() const { return batch_progress_.data(); }

// --- calibration ---

int QtDesktop::run_calibration_wizard(CalibrationWizard& wizard) {
    CalibrationWizardDialog sheet(wizard);
    // Closing the main window while the user draws a region ends the wizard
    // too, rather than leaving it waiting with no window to draw in.
    const QMetaObject::Connection ending = QObject::connect(
        qApp, &QGuiApplication::lastWindowClosed, &sheet, [&wizard] { wizard.sheet().abandon(); });
    const int result = sheet.run();
    QObject::disconnect(ending);
    return result;
}
