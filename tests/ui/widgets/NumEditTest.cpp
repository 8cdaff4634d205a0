#include "ui/widgets/NumEdit.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

// Takes the focus away from the field as the window system would when the user moves on.
void leave(TNumEdit& field)
{
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&field, &focusOut);
}

TEST(TNumEdit, StartsAtZeroRightAlignedWithoutSeparatorsOrDecimals)
{
    const TNumEdit field;
    EXPECT_EQ(field.text(), QStringLiteral("0"));
    EXPECT_EQ(field.value(), 0);
    EXPECT_TRUE(field.alignment() & Qt::AlignRight);
    EXPECT_FALSE(field.thousands());
    EXPECT_EQ(field.decimalDidits(), 0);
}

TEST(TNumEdit, OffersItsFourPropertiesByName)
{
    TNumEdit field;
    EXPECT_TRUE(field.setProperty("Thousands", true));
    EXPECT_TRUE(field.setProperty("DecimalDidits", QVariant::fromValue<quint8>(2)));
    EXPECT_TRUE(field.setProperty("Value", QVariant::fromValue<qint64>(12340000)));
    EXPECT_TRUE(field.setProperty("Alignment", QVariant::fromValue(Qt::Alignment(Qt::AlignLeft))));
    EXPECT_EQ(field.property("Value").toLongLong(), 12340000);
    EXPECT_EQ(field.text(), QStringLiteral("1,234.00"));
    EXPECT_TRUE(field.alignment() & Qt::AlignLeft);
}

struct ExitCase
{
    const char* says;
    QString typed;
    quint8 decimals;
    QString shown;
    qint64 value;
};

const ExitCase exits[] = {
    {"leading zeros disappear on exit", QStringLiteral("00012"), 0, QStringLiteral("12"), 120000},
    {"an emptied field becomes zero", QString(), 0, QStringLiteral("0"), 0},
    {"a pasted negative number stays", QStringLiteral("-5"), 0, QStringLiteral("-5"), -50000},
    {"pasted letters are dropped", QStringLiteral("12ab3"), 0, QStringLiteral("123"), 1230000},
    {"two decimals show and commit the rounded number", QStringLiteral("3.14159"), 2, QStringLiteral("3.14"),
     31400},
};

class TNumEditExitTest : public ::testing::TestWithParam<ExitCase>
{};

TEST_P(TNumEditExitTest, NormalisesAndCommitsOnLeaving)
{
    const ExitCase& c = GetParam();
    TNumEdit field;
    field.setDecimalDidits(c.decimals);
    QSignalSpy exited(&field, &TNumEdit::exited);
    field.setText(c.typed);
    EXPECT_EQ(field.value(), 0) << c.says;
    leave(field);
    EXPECT_EQ(field.text(), c.shown) << c.says;
    EXPECT_EQ(field.value(), c.value) << c.says;
    EXPECT_EQ(exited.count(), 1) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Exits, TNumEditExitTest, ::testing::ValuesIn(exits), testing::SaysName());

TEST(TNumEdit, ATextThatIsNoNumberLeavesTextAndValueAndReportsTheError)
{
    TNumEdit field;
    field.setText(QStringLiteral("7"));
    leave(field);
    QSignalSpy exited(&field, &TNumEdit::exited);
    QSignalSpy failed(&field, &TNumEdit::conversionFailed);
    field.setText(QStringLiteral("-"));
    leave(field);
    EXPECT_EQ(field.text(), QStringLiteral("-"));
    EXPECT_EQ(field.value(), 70000);
    EXPECT_EQ(exited.count(), 0);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("'-' は浮動小数点数ではありません"));
}

TEST(TNumEdit, EnterChangesNothing)
{
    TNumEdit field;
    field.setText(QStringLiteral("12"));
    QSignalSpy returned(&field, &QLineEdit::returnPressed);
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Enter);
    EXPECT_EQ(field.text(), QStringLiteral("12"));
    EXPECT_EQ(field.value(), 0);
    EXPECT_EQ(returned.count(), 0);
}

TEST(TNumEdit, TypedDigitsCommitOnlyWhenTheFieldIsLeft)
{
    TNumEdit field;
    field.clear();
    QTest::keyClicks(&field, QStringLiteral("042"));
    EXPECT_EQ(field.value(), 0);
    leave(field);
    EXPECT_EQ(field.text(), QStringLiteral("42"));
    EXPECT_EQ(field.value(), 420000);
}

TEST(TNumEdit, ChangingTheDecimalsReformatsTheTextButKeepsTheValue)
{
    TNumEdit field;
    field.setText(QStringLiteral("3"));
    leave(field);
    field.setText(QStringLiteral("4.5"));
    field.setDecimalDidits(2);
    EXPECT_EQ(field.text(), QStringLiteral("4.50"));
    EXPECT_EQ(field.value(), 30000);
}

TEST(TNumEdit, ASetValueShowsItsGeneralTextUntilTheFieldIsLeft)
{
    TNumEdit field;
    field.setDecimalDidits(2);
    field.setValue(15000);
    EXPECT_EQ(field.text(), QStringLiteral("1.5"));
    leave(field);
    EXPECT_EQ(field.text(), QStringLiteral("1.50"));
    EXPECT_EQ(field.value(), 15000);
}

TEST(TNumEdit, AContextMenuOverTheFieldDoesNotCommit)
{
    TNumEdit field;
    field.setText(QStringLiteral("007"));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(&field, &focusOut);
    EXPECT_EQ(field.text(), QStringLiteral("007"));
    EXPECT_EQ(field.value(), 0);
}

} // namespace
} // namespace quorvane::ui
