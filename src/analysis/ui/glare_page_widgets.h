#pragma once
// The glare pages' widgets, 130 to 135. Each shows the GlarePages' state in
// show_state() and reports every change of its controls to them; page 135
// only shows what the run left (the run happens when the page is entered,
// never when it is drawn).

#include <QWidget>

class GlarePages;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// 130: what the analysis does; text only.
QWidget* make_glare_intro_page();

class TaskAreaPage : public QWidget {
    Q_OBJECT
public:
    explicit TaskAreaPage(GlarePages& pages);
    void show_state();

private:
    GlarePages& pages_;
    QRadioButton* entire_;
    QRadioButton* task_;
};

class TaskPositionPage : public QWidget {
    Q_OBJECT
public:
    explicit TaskPositionPage(GlarePages& pages);
    void show_state() {}
};

class FieldOfViewPage : public QWidget {
    Q_OBJECT
public:
    explicit FieldOfViewPage(GlarePages& pages);
    void show_state();

private:
    GlarePages& pages_;
    QCheckBox* guth_;
    QRadioButton* total_;
    QRadioButton* both_eyes_;
};

class ViewTypesPage : public QWidget {
    Q_OBJECT
public:
    explicit ViewTypesPage(GlarePages& pages);
    void show_state();

private:
    GlarePages& pages_;
    QRadioButton* none_;
    QRadioButton* by_type_;
    QRadioButton* by_file_;
    QComboBox* types_;
    QLineEdit* vertical_;
    QLineEdit* horizontal_;
    QPushButton* browse_;
    QLabel* file_label_;
};

class AdvancedOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedOptionsPage(GlarePages& pages);
    void show_state();

private:
    GlarePages& pages_;
    QCheckBox* smoothing_;
    QCheckBox* external_ev_;
    QCheckBox* search_radius_;
    QCheckBox* peak_extraction_;
    QCheckBox* glare_threshold_;
    QLineEdit* ev_;
    QLineEdit* radius_;
    QLineEdit* peak_threshold_;
    QLineEdit* threshold_;
};

class GlareResultsPage : public QWidget {
    Q_OBJECT
public:
    explicit GlareResultsPage(GlarePages& pages);
    void show_state();

private:
    GlarePages& pages_;
    QLabel* command_line_;
    QPlainTextEdit* result_;
    QTableWidget* summary_;
    QLabel* overflow_;
};
