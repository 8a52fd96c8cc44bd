#include "app/ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/about.h"

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("136");
    setWindowTitle("About candelux");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QString::fromStdString(about_text()), this);
    text->setObjectName("about_text");
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    layout->addWidget(buttons);
    // OK ends with 1; closing the window with 0.
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(1); });
}
