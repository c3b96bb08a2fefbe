#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "core/Money.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ReportError, ShowsSourceNumberAndDescriptionOnce) {
    CapturingReporter reporter;
    reportError(AppError(53, QStringLiteral("S"), QStringLiteral("D")));
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_EQ(reporter.titles[0], QStringLiteral("VelqoraV50"));
    EXPECT_EQ(reporter.texts[0], QStringLiteral("S\r\n(53)D"));
}

TEST(ReportError, PassedUpErrorsKeepTheirMinusSign) {
    CapturingReporter reporter;
    const AppError inner(ErrNo::Overflow, QString(), QStringLiteral("Overflow"));
    const AppError outer = inner.rebased(QStringLiteral("AAA")).rebased(QStringLiteral("BBB"));
    EXPECT_EQ(inner.rebased(QStringLiteral("AAA")).number(), -2147221498);
    reportError(inner.rebased(QStringLiteral("AAA")));
    EXPECT_EQ(reporter.texts[0], QStringLiteral("AAA\r\n(-2147221498)Overflow"));
    // Passing up twice wraps like 32-bit arithmetic instead of failing.
    EXPECT_EQ(outer.source(), QStringLiteral("BBB"));
    EXPECT_EQ(outer.number(), static_cast<qint32>(static_cast<quint32>(-2147221498) + 0x80040000u));
}

TEST(ReportError, AReporterThatThrowsDoesNotEscape) {
    struct Throwing : IErrorReporter {
        void showError(const QString&, const QString&) override { throw std::runtime_error("boom"); }
    } throwing;
    setErrorReporter(&throwing);
    EXPECT_NO_THROW(reportError(AppError::indexOutOfRange()));
    setErrorReporter(nullptr);
}

TEST(Money, SumsRaiseOverflowInsteadOfWrapping) {
    const qint32 max = std::numeric_limits<qint32>::max();
    EXPECT_EQ(Money::add(100000, -17500), 82500);
    EXPECT_EQ(Money::mul(25, 100), 2500);
    try {
        Money::add(max, 1, QStringLiteral("X"));
        FAIL() << "no overflow raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::Overflow);
        EXPECT_EQ(e.source(), QStringLiteral("X"));
    }
    EXPECT_THROW(Money::sub(-max, 2), AppError);
    EXPECT_THROW(Money::mul(9999, 99999999), AppError);
}
