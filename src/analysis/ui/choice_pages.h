#pragma once
// The analysis wizard's pages that only choose: 108 (which analysis), 110
// (which statistics), 111 (percentiles), 112 (criterion) and 116 (two-region
// statistics).
// Each page shows the wizard's state in show_state() and reports every change
// of its controls to the wizard.

#include <QWidget>

class AnalysisWizard;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class AnalysisTypePage : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisTypePage(AnalysisWizard& wizard);
    void show_state();

private:
    AnalysisWizard& wizard_;
    QRadioButton* single_;
    QRadioButton* multiple_;
    QRadioButton* glare_;
    QRadioButton* all_regions_;
};

class StatisticsChoicePage : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsChoicePage(AnalysisWizard& wizard);
    void show_state();

private:
    AnalysisWizard& wizard_;
    QCheckBox* percentile_;
    QCheckBox* criterion_;
};

class PercentilePage : public QWidget {
    Q_OBJECT
public:
    explicit PercentilePage(AnalysisWizard& wizard);
    void show_state();

private:
    AnalysisWizard& wizard_;
    int balloons_shown_ = 0;
};

class CriterionPage : public QWidget {
    Q_OBJECT
public:
    explicit CriterionPage(AnalysisWizard& wizard);
    void show_state();

private:
    AnalysisWizard& wizard_;
    QComboBox* kind_;
};

class TwoRegionStatisticsPage : public QWidget {
    Q_OBJECT
public:
    explicit TwoRegionStatisticsPage(AnalysisWizard& wizard);
    void show_state();

private:
    AnalysisWizard& wizard_;
    QCheckBox* contrast_;
};

// A line of wrapped text.
QLabel* page_text(const char* text, QWidget* parent);
