#pragma once
// The small captionless "Processing..." box shown while a picture program
// runs, centred on its parent.

#include <QFrame>

class ProgressWindow : public QFrame {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent);
    void centre_on_parent();
};
