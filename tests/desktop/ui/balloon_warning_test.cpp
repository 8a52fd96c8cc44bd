// The percentile balloon of the analysis wizard.

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "desktop/ui/balloon_warning.h"

TEST(BalloonWarning, ReturnsTheTooltipPointingAtThePercentileField) {
    QDialog dialog;
    auto* field = new QLineEdit(&dialog);
    field->setObjectName("1013");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QWidget* balloon = show_balloon_warning(&dialog);
    ASSERT_NE(balloon, nullptr);
    EXPECT_NE(balloon, field);
    EXPECT_TRUE(balloon->isWindow());
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Percentile Value must be between 1 and 100");
    // Its tip is at the field's right edge.
    const QPoint right_edge = field->mapToGlobal(QPoint(field->width(), field->height() / 2));
    EXPECT_LE(std::abs(balloon->geometry().left() - right_edge.x()), 40);
    QToolTip::hideText();
}

TEST(BalloonWarning, ShowsNothingWithoutDialogOrField) {
    EXPECT_EQ(show_balloon_warning(nullptr), nullptr);
    QDialog empty;
    EXPECT_EQ(show_balloon_warning(&empty), nullptr);
}
