// The percentile balloon of the analysis wizard.

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "app/ui/balloon_warning.h"

TEST(BalloonWarning, PointsAtThePercentileField) {
    QDialog dialog;
    auto* field = new QLineEdit(&dialog);
    field->setObjectName("1013");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(show_balloon_warning(&dialog), field);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Percentile Value must be between 1 and 100");
    QToolTip::hideText();
}

TEST(BalloonWarning, ShowsNothingWithoutDialogOrField) {
    EXPECT_EQ(show_balloon_warning(nullptr), nullptr);
    QDialog empty;
    EXPECT_EQ(show_balloon_warning(&empty), nullptr);
}
