// The profit book: the weekend days of the three months before the sale day, one of them entered by hand.
#include "SampleDayParts.h"

#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "profit/ProfitBook.h"

#include <QDate>
#include <QFile>
#include <QStringList>

namespace SampleDay::Detail {
namespace {

class CollectingReporter : public IErrorReporter {
public:
    void showError(const QString&, const QString& text) override { texts << text; }
    QStringList texts;
};

struct ReporterScope {
    explicit ReporterScope(IErrorReporter* r) : previous(currentErrorReporter()) { setErrorReporter(r); }
    ~ReporterScope() { setErrorReporter(previous); }
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;
    IErrorReporter* previous;
};

} // namespace

// Every Saturday and Sunday of the three months before the sale day; the user wrote one day by hand.
bool writeProfitBook(const QString& folder, QString& failure) {
    const QString path = folder + ProfitBook::fileName();
    if (QFile::exists(path) && !QFile::remove(path)) {
        failure = QStringLiteral("cannot replace ") + path;
        return false;
    }
    CollectingReporter reporter;
    ReporterScope scope(&reporter);
    ProfitBook book;
    book.setFolder(folder);
    try {
        book.load();
        const QDate sale = QDate::fromString(saleDate(), QStringLiteral("yyyyMMdd"));
        Rng rng(kSeed + 99);
        int weekendDay = 0;
        for (QDate d = sale.addMonths(-3); d < sale; d = d.addDays(1)) {
            if (d.dayOfWeek() < Qt::Saturday) {
                continue;
            }
            ++weekendDay;
            qint32 buy = rng.between(20, 200) * 100;
            qint32 pay = 0;
            const int luck = rng.below(10);
            if (luck < 3) {
                pay = buy * rng.between(0, 60) / 1000 * 10; // a bad day
            } else if (luck < 7) {
                pay = buy * rng.between(40, 110) / 1000 * 10;
            } else {
                pay = buy * rng.between(120, 400) / 1000 * 10; // a good one
            }
            qint16 update = 0;
            if (weekendDay == 14) {
                buy = 15000; // entered in the record editor, kept from the automatic update
                pay = 23400;
                update = 1;
            }
            book.checkRecord(buy, pay, 0, d.toString(QStringLiteral("yyyyMMdd")), update, 1);
        }
    } catch (const AppError& e) {
        reporter.texts << e.description();
    }
    if (!reporter.texts.isEmpty()) {
        failure = reporter.texts.join(QLatin1Char(' '));
        return false;
    }
    return true;
}

} // namespace SampleDay::Detail
