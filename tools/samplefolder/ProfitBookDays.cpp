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
    void ShowError(const QString&, const QString& text) override { texts << text; }
    QStringList texts;
};

struct ReporterScope {
    explicit ReporterScope(IErrorReporter* r) : previous(CurrentErrorReporter()) { SetErrorReporter(r); }
    ~ReporterScope() { SetErrorReporter(previous); }
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;
    IErrorReporter* previous;
};

} // namespace

// Every Saturday and Sunday of the three months before the sale day; the user wrote one day by hand.
bool WriteProfitBook(const QString& folder, QString& failure) {
    const QString path = folder + ProfitBook::FileName();
    if (QFile::exists(path) && !QFile::remove(path)) {
        failure = QStringLiteral("cannot replace ") + path;
        return false;
    }
    CollectingReporter reporter;
    ReporterScope scope(&reporter);
    ProfitBook book;
    book.setFolder(folder);
    try {
        book.GetRecord();
        const QDate sale = QDate::fromString(SaleDate(), QStringLiteral("yyyyMMdd"));
        Rng rng(kSeed + 99);
        int weekendDay = 0;
        for (QDate d = sale.addMonths(-3); d < sale; d = d.addDays(1)) {
            if (d.dayOfWeek() < Qt::Saturday) {
                continue;
            }
            ++weekendDay;
            qint32 buy = rng.Between(20, 200) * 100;
            qint32 pay = 0;
            const int luck = rng.Below(10);
            if (luck < 3) {
                pay = buy * rng.Between(0, 60) / 1000 * 10; // a bad day
            } else if (luck < 7) {
                pay = buy * rng.Between(40, 110) / 1000 * 10;
            } else {
                pay = buy * rng.Between(120, 400) / 1000 * 10; // a good one
            }
            qint16 update = 0;
            if (weekendDay == 14) {
                buy = 15000; // entered in the record editor, kept from the automatic update
                pay = 23400;
                update = 1;
            }
            book.CheckRecord(buy, pay, 0, 0, d.toString(QStringLiteral("yyyyMMdd")), update, 1);
        }
    } catch (const AppError& e) {
        reporter.texts << e.Description();
    }
    if (!reporter.texts.isEmpty()) {
        failure = reporter.texts.join(QLatin1Char(' '));
        return false;
    }
    return true;
}

} // namespace SampleDay::Detail
