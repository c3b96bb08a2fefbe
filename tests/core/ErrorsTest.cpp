#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "core/Money.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ReportError, ShowsSourceNumberAndDescriptionOnce) {
    CapturingReporter reporter;
    ReportError(AppError(53, QStringLiteral("S"), QStringLiteral("D")));
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_EQ(reporter.titles[0], QStringLiteral("VelqoraV50"));
    EXPECT_EQ(reporter.texts[0], QStringLiteral("S\r\n(53)D"));
}

TEST(ReportError, PassedUpErrorsKeepTheirMinusSign) {
    CapturingReporter reporter;
    const AppError inner(ErrNo::Overflow, QString(), QStringLiteral("Overflow"));
    const AppError outer = inner.Rebased(QStringLiteral("AAA")).Rebased(QStringLiteral("BBB"));
    EXPECT_EQ(inner.Rebased(QStringLiteral("AAA")).Number(), -2147221498);
    ReportError(inner.Rebased(QStringLiteral("AAA")));
    EXPECT_EQ(reporter.texts[0], QStringLiteral("AAA\r\n(-2147221498)Overflow"));
    // Passing up twice wraps like 32-bit arithmetic instead of failing.
    EXPECT_EQ(outer.Source(), QStringLiteral("BBB"));
    EXPECT_EQ(outer.Number(), static_cast<qint32>(static_cast<quint32>(-2147221498) + 0x80040000u));
}

TEST(ReportError, AReporterThatThrowsDoesNotEscape) {
    struct Throwing : IErrorReporter {
        void ShowError(const QString&, const QString&) override { throw std::runtime_error("boom"); }
    } throwing;
    SetErrorReporter(&throwing);
    EXPECT_NO_THROW(ReportError(AppError::IndexOutOfRange()));
    SetErrorReporter(nullptr);
}

TEST(Money, SumsRaiseOverflowInsteadOfWrapping) {
    const qint32 max = std::numeric_limits<qint32>::max();
    EXPECT_EQ(Money::Add(100000, -17500), 82500);
    EXPECT_EQ(Money::Mul(25, 100), 2500);
    try {
        Money::Add(max, 1, QStringLiteral("X"));
        FAIL() << "no overflow raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), ErrNo::Overflow);
        EXPECT_EQ(e.Source(), QStringLiteral("X"));
    }
    EXPECT_THROW(Money::Sub(-max, 2), AppError);
    EXPECT_THROW(Money::Mul(9999, 99999999), AppError);
}
