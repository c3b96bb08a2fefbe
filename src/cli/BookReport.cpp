#include "BookReport.h"

#include "Json.h"
#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/Paths.h"
#include "profit/ProfitBook.h"
#include "views/Passbook.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <optional>

const char kBookUsage[] =
    "velqora book [--json | --csv] PATFOLDER [--set YYYYMMDD BUY PAY [--protect] | --auto YYYYMMDD BUY PAY"
    " | --delete YYYYMMDD]\n";

namespace {
void print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The book reports its file failures instead of throwing them; the command needs to know of them.
class FailureCollector : public IErrorReporter {
public:
    FailureCollector() : m_previous(currentErrorReporter()) { setErrorReporter(this); }
    ~FailureCollector() override { setErrorReporter(m_previous); }
    FailureCollector(const FailureCollector&) = delete;
    FailureCollector& operator=(const FailureCollector&) = delete;

    void showError(const QString&, const QString& text) override {
        m_texts << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    }
    // Prints what was reported; false when something was.
    bool clean() const {
        for (const QString& t : m_texts) {
            print(stderr, "velqora: " + t.toUtf8() + "\n");
        }
        return m_texts.isEmpty();
    }

private:
    IErrorReporter* m_previous;
    QStringList m_texts;
};

struct BookArgs {
    enum Edit { None, Set, Auto, Delete };
    Edit edit = None;
    bool json = false;
    bool csv = false;
    bool protect = false;
    QString folder;
    QStringList operands; // date, then the amounts
};

int usage() {
    print(stderr, QByteArray("usage: ") + kBookUsage);
    return 2;
}

bool parse(QStringList args, BookArgs& a) {
    const QMap<QString, std::pair<BookArgs::Edit, int>> edits = {{QStringLiteral("--set"), {BookArgs::Set, 3}},
                                                                 {QStringLiteral("--auto"), {BookArgs::Auto, 3}},
                                                                 {QStringLiteral("--delete"), {BookArgs::Delete, 1}}};
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--json")) {
            a.json = true;
        } else if (arg == QLatin1String("--csv")) {
            a.csv = true;
        } else if (arg == QLatin1String("--protect")) {
            a.protect = true;
        } else if (edits.contains(arg)) {
            const auto [edit, count] = edits.value(arg);
            if (a.edit != BookArgs::None || args.size() < count) {
                return false;
            }
            a.edit = edit;
            for (int i = 0; i < count; ++i) {
                a.operands << args.takeFirst();
            }
        } else if (arg.startsWith(QLatin1String("--")) || !a.folder.isEmpty()) {
            return false;
        } else {
            a.folder = arg;
        }
    }
    return !a.folder.isEmpty() && (!a.protect || a.edit == BookArgs::Set) && !(a.json && a.csv);
}

// A record of the book (with its update flag) or of the best or worst list (without).
void record(JsonWriter& j, const QString& date, qint32 buy, qint32 pay, qint32 profit,
            std::optional<qint16> update = std::nullopt) {
    j.beginObject();
    j.key(QStringLiteral("date")).value(date);
    j.key(QStringLiteral("buy")).value(qint64(buy));
    j.key(QStringLiteral("pay")).value(qint64(pay));
    j.key(QStringLiteral("profit")).value(qint64(profit));
    if (update) {
        j.key(QStringLiteral("update")).value(qint64(*update));
    }
    j.endObject();
}

QByteArray bookJson(const ProfitBook& book) {
    JsonWriter j;
    j.beginObject();
    j.key(QStringLiteral("records")).beginArray();
    for (qsizetype i = 1; i <= book.pastCount(); ++i) {
        record(j, book.pastDate(i), book.pastBuy(i), book.pastPay(i), book.pastProfit(i), book.pastUpdate(i));
    }
    j.endArray();
    j.key(QStringLiteral("best")).beginArray();
    for (qsizetype i = 1; i <= book.bestCount(); ++i) {
        record(j, book.bestDate(i), book.bestBuy(i), book.bestPay(i), book.bestProfit(i));
    }
    j.endArray();
    j.key(QStringLiteral("worst")).beginArray();
    for (qsizetype i = 1; i <= book.worstCount(); ++i) {
        record(j, book.worstDate(i), book.worstBuy(i), book.worstPay(i), book.worstProfit(i));
    }
    j.endArray();
    j.key(QStringLiteral("totals")).beginObject();
    j.key(QStringLiteral("buy")).value(qint64(book.totalBuy()));
    j.key(QStringLiteral("pay")).value(qint64(book.totalPay()));
    j.key(QStringLiteral("profit")).value(qint64(book.totalProfit()));
    j.endObject();
    j.endObject();
    return j.toUtf8() + '\n';
}

// The passbook's three lists as the window shows them, one under the other.
QString bookText(const ProfitBook& book) {
    const PassbookTotals totals = buildPassbookTotals(book);
    QString t = totals.caption + QLatin1Char('\n') + totals.tooltip + QLatin1Char('\n');
    const auto list = [&t](const QString& title, const QList<PassbookRow>& rows) {
        t += QLatin1Char('\n') + title + QStringLiteral("\n      日付      投票      払戻      損益\n");
        for (const PassbookRow& r : rows) {
            t += Fmt::at(r.date, 10) + Fmt::at(r.buy, 10) + Fmt::at(r.pay, 10) + Fmt::at(r.profit, 10) +
                 QLatin1Char('\n');
        }
    };
    QList<PassbookRow> past;
    for (int page = 0; page <= passbookLastPage(book); ++page) {
        past << buildPassbookPage(book, page);
    }
    list(QStringLiteral("過去の収支履歴"), past);
    list(QStringLiteral("ベスト１０"), buildPassbookRanking(book, PassbookRanking::Best));
    list(QStringLiteral("ワースト１０"), buildPassbookRanking(book, PassbookRanking::Worst));
    return t;
}

// The edit's day and amounts as the passbook's confirmation takes them. Amounts are whole yen written
// as digits: the window's lenient reading would take "12abc" for 12.
bool checkEdit(const BookArgs& a, PassbookConfirmation& c) {
    const QString& date = a.operands[0];
    const QString buy = a.operands.value(1, QStringLiteral("0"));
    const QString pay = a.operands.value(2, QStringLiteral("0"));
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    for (const QString& amount : {buy, pay}) {
        if (!whole.match(amount).hasMatch()) {
            print(stderr, "velqora: not an amount in whole yen: " + amount.toUtf8() + "\n");
            return false;
        }
    }
    c = confirmPassbookEntry({date.left(4), date.mid(4, 2), date.mid(6), buy, pay});
    if (c.pending == PassbookConfirmation::Refused) {
        print(stderr, "velqora: " + c.message.join(QLatin1Char(' ')).toUtf8() + " (" + date.toUtf8() + ")\n");
        return false;
    }
    return true;
}

void apply(const BookArgs& a, const PassbookConfirmation& c, ProfitBook& book) {
    switch (a.edit) {
    case BookArgs::Set:
        // As the passbook's OK: the user's record, written whatever the book holds; 0 yen bet deletes.
        if (c.pending == PassbookConfirmation::Delete) {
            book.deleteRecord(c.dayKey);
        } else {
            book.checkRecord(c.buy, c.pay, 0, c.dayKey, a.protect ? 1 : 0, 1);
        }
        break;
    case BookArgs::Auto:
        // As the main window's update of the day: a protected record stays, 0 yen bet changes nothing.
        book.checkRecord(c.buy, c.pay, 0, c.dayKey, 0, 0);
        break;
    case BookArgs::Delete:
        book.deleteRecord(c.dayKey);
        break;
    case BookArgs::None:
        break;
    }
    // The statistics come with every change; a book only read has none until this.
    book.checkRecord(0, 0, 0, c.dayKey, 0, 0);
}
} // namespace

int bookCommand(const QStringList& args) {
    BookArgs a;
    if (!parse(args, a)) {
        return usage();
    }
    // Everything is checked before the file is touched: a refused edit leaves it as it was.
    PassbookConfirmation c;
    if (a.edit != BookArgs::None && !checkEdit(a, c)) {
        return 2;
    }
    const QFileInfo folder(a.folder);
    if (!folder.isDir()) {
        print(stderr, "velqora: no such folder: " + a.folder.toUtf8() + "\n");
        return 3;
    }
    FailureCollector failures;
    ProfitBook book;
    book.setFolder(addPathSep(folder.absoluteFilePath()));
    try {
        book.load();
        if (!failures.clean()) {
            return 4; // a book not read whole is never edited
        }
        apply(a, c, book);
        if (!failures.clean()) {
            return 4;
        }
        if (a.csv) {
            print(stdout, passbookCsv(book));
        } else {
            print(stdout, a.json ? bookJson(book) : bookText(book).toUtf8());
        }
    } catch (const AppError& e) {
        print(stderr,
              QStringLiteral("velqora: %1 (%2) %3\n").arg(e.source()).arg(e.number()).arg(e.description()).toUtf8());
        return 4;
    }
    return 0;
}
