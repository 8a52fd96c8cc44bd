#pragma once
// File > Assemble HDR...: the modeless "Assemble HDR" dialog over an
// AssemblyForm: the pictures and their exposures in a table the user can
// correct, a progress bar with Cancel while a run goes, and the result's
// figures underneath.

#include <QDialog>

class AssemblyForm;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace assembly_ids {
inline constexpr int dialog = 6000;
inline constexpr int table = 6001;
inline constexpr int add = 6002;
inline constexpr int remove = 6003;
inline constexpr int assemble = 6004;
inline constexpr int cancel = 6005;
inline constexpr int close = 6006;
inline constexpr int progress = 6007;
inline constexpr int status = 6008;
inline constexpr int align = 6009;
inline constexpr int profile = 6010;
inline constexpr int save_response = 6011;
inline constexpr int measured_illuminance = 6012;
inline constexpr int ev_tolerance = 6013;
}  // namespace assembly_ids

class AssemblyDialog : public QDialog {
    Q_OBJECT
public:
    AssemblyDialog(QWidget* parent, AssemblyForm& form);

    // While a run goes: shows the share done; false once Cancel was pressed.
    bool show_progress(double done);

private:
    void show_form();
    void on_cell_changed(int row, int column);
    void on_assemble();

    AssemblyForm& form_;
    QTableWidget* table_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* assemble_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* close_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* align_ = nullptr;
    QComboBox* profile_ = nullptr;
    QPushButton* save_response_ = nullptr;
    QLineEdit* measured_illuminance_ = nullptr;
    QDoubleSpinBox* ev_tolerance_ = nullptr;
    bool showing_ = false;
    bool cancel_requested_ = false;
};
