#include "tools/ui/tonemap_widgets.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QUrl>

OutputRow add_output_row(QBoxLayout* layout, QWidget* parent, const QString& caption, const QString& browse_text,
                         int path_id, int browse_id) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, parent));
    OutputRow widgets;
    widgets.path = with_id(new QLineEdit(parent), path_id);
    widgets.path->setReadOnly(true);
    widgets.path->setMinimumWidth(300);
    widgets.browse = with_id(new QPushButton(browse_text, parent), browse_id);
    widgets.browse->setAutoDefault(false);
    row->addWidget(widgets.path, 1);
    row->addWidget(widgets.browse);
    layout->addLayout(row);
    return widgets;
}

QLabel* operator_link(QWidget* parent, int id, const QString& text, const char* url) {
    auto* link = with_id(new QLabel(parent), id);
    link->setText(QString("<a href=\"%1\">%2</a>").arg(QString::fromUtf8(url), text.toHtmlEscaped()));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    QObject::connect(link, &QLabel::linkActivated, link,
                     [](const QString& target) { QDesktopServices::openUrl(QUrl(target)); });
    return link;
}
