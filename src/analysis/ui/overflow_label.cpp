#include "analysis/ui/overflow_label.h"

#include <QLabel>

QString overflow_html(const std::string& sentence) {
    if (sentence.empty()) return {};
    return QString::fromStdString(sentence).toHtmlEscaped() + QString::fromUtf8(
        " <a href=\"calibration\">Illuminance calibration\u2026</a>");
}

QLabel* make_overflow_label(QWidget* parent, int id, std::function<void()> on_link) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::number(id));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setStyleSheet("QLabel { color: #a03000; }");
    label->hide();
    QObject::connect(label, &QLabel::linkActivated, label, [on_link](const QString&) { on_link(); });
    return label;
}

void show_overflow(QLabel* label, const std::string& sentence) {
    const QString html = overflow_html(sentence);
    if (label->text() != html) label->setText(html);
    label->setVisible(!sentence.empty());
}
