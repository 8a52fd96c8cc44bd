#pragma once
// Capture > Setup...: the modeless "Capture Settings" dialog over a
// CaptureForm. It shows the form, hands every event to it, and runs the
// countdown timer the form asks for.

#include <QDialog>

class CaptureForm;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimer;

class CaptureDialog : public QDialog {
    Q_OBJECT
public:
    CaptureDialog(QWidget* parent, CaptureForm& form);

    QTimer* countdown_timer() const { return timer_; }

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Copies the user's choices into the form, runs the event, shows the form.
    template <class Event>
    void handle(Event event);
    void show_form();
    void read_choices();
    QWidget* build_folder_group();
    QWidget* build_mode_group();
    QWidget* build_manual_group();
    QWidget* build_timing_group();

    CaptureForm& form_;
    QLineEdit* folder_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    QRadioButton* manual_ = nullptr;
    QComboBox* aperture_mode_ = nullptr;
    QComboBox* aperture1_ = nullptr;
    QComboBox* aperture2_ = nullptr;
    QListWidget* shutters1_ = nullptr;
    QListWidget* shutters2_ = nullptr;
    QRadioButton* once_ = nullptr;
    QRadioButton* timed_ = nullptr;
    QDateTimeEdit* start_time_ = nullptr;
    QLineEdit* interval_ = nullptr;
    QLabel* next_sequence_ = nullptr;
    QLabel* countdown_ = nullptr;
    QCheckBox* assemble_each_ = nullptr;
    QComboBox* assembly_profile_ = nullptr;
    QTimer* timer_ = nullptr;
    unsigned timer_starts_seen_ = 0;
    bool closing_by_window_ = false;
};
