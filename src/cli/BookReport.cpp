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
void Print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The book reports its file failures instead of throwing them; the command needs to know of them.
class FailureCollector : public IErrorReporter {
public:
    FailureCollector() : m_previous(CurrentErrorReporter()) { SetErrorReporter(this); }
    ~FailureCollector() override { SetErrorReporter(m_previous); }
    FailureCollector(const FailureCollector&) = delete;
    FailureCollector& operator=(const FailureCollector&) = delete;

    void ShowError(const QString&, const QString& text) override {
        m_texts << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    }
    // Prints what was reported; false when something was.
    bool Clean() const {
        for (const QString& t : m_texts) {
            Print(stderr, "velqora: " + t.toUtf8() + "\n");
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

int Usage() {
    Print(stderr, QByteArray("usage: ") + kBookUsage);
    return 2;
}

bool Parse(QStringList args, BookArgs& a) {
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
void Record(JsonWriter& j, const QString& date, qint32 buy, qint32 pay, qint32 profit,
            std::optional<qint16> update = std::nullopt) {
    j.BeginObject();
    j.Key(QStringLiteral("date")).Value(date);
    j.Key(QStringLiteral("buy")).Value(qint64(buy));
    j.Key(QStringLiteral("pay")).Value(qint64(pay));
    j.Key(QStringLiteral("profit")).Value(qint64(profit));
    if (update) {
        j.Key(QStringLiteral("update")).Value(qint64(*update));
    }
    j.EndObject();
}

QByteArray BookJson(const ProfitBook& book) {
    JsonWriter j;
    j.BeginObject();
    j.Key(QStringLiteral("records")).BeginArray();
    for (qsizetype i = 1; i <= book.PastCount(); ++i) {
        Record(j, book.PastDate(i), book.PastBuy(i), book.PastPay(i), book.PastProfit(i), book.PastUpdate(i));
    }
    j.EndArray();
    j.Key(QStringLiteral("best")).BeginArray();
    for (qsizetype i = 1; i <= book.BestCount(); ++i) {
        Record(j, book.BestDate(i), book.BestBuy(i), book.BestPay(i), book.BestProfit(i));
    }
    j.EndArray();
    j.Key(QStringLiteral("worst")).BeginArray();
    for (qsizetype i = 1; i <= book.WorstCount(); ++i) {
        Record(j, book.WorstDate(i), book.WorstBuy(i), book.WorstPay(i), book.WorstProfit(i));
    }
    j.EndArray();
    j.Key(QStringLiteral("totals")).BeginObject();
    j.Key(QStringLiteral("buy")).Value(qint64(book.TotalBuy()));
    j.Key(QStringLiteral("pay")).Value(qint64(book.TotalPay()));
    j.Key(QStringLiteral("profit")).Value(qint64(book.TotalProfit()));
    j.EndObject();
    j.EndObject();
    return j.ToUtf8() + '\n';
}

// The passbook's three lists as the window shows them, one under the other.
QString BookText(const ProfitBook& book) {
    const PassbookTotals totals = BuildPassbookTotals(book);
    QString t = totals.Caption + QLatin1Char('\n') + totals.Tooltip + QLatin1Char('\n');
    const auto list = [&t](const QString& title, const QList<PassbookRow>& rows) {
        t += QLatin1Char('\n') + title + QStringLiteral("\n      日付      投票      払戻      損益\n");
        for (const PassbookRow& r : rows) {
            t += Fmt::At(r.Date, 10) + Fmt::At(r.Buy, 10) + Fmt::At(r.Pay, 10) + Fmt::At(r.Profit, 10) +
                 QLatin1Char('\n');
        }
    };
    QList<PassbookRow> past;
    for (int page = 0; page <= PassbookLastPage(book); ++page) {
        past << BuildPassbookPage(book, page);
    }
    list(QStringLiteral("過去の収支履歴"), past);
    list(QStringLiteral("ベスト１０"), BuildPassbookRanking(book, PassbookRanking::Best));
    list(QStringLiteral("ワースト１０"), BuildPassbookRanking(book, PassbookRanking::Worst));
    return t;
}

// The edit's day and amounts as the passbook's confirmation takes them. Amounts are whole yen written
// as digits: the window's lenient reading would take "12abc" for 12.
bool CheckEdit(const BookArgs& a, PassbookConfirmation& c) {
    const QString& date = a.operands[0];
    const QString buy = a.operands.value(1, QStringLiteral("0"));
    const QString pay = a.operands.value(2, QStringLiteral("0"));
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    for (const QString& amount : {buy, pay}) {
        if (!whole.match(amount).hasMatch()) {
            Print(stderr, "velqora: not an amount in whole yen: " + amount.toUtf8() + "\n");
            return false;
        }
    }
    c = ConfirmPassbookEntry({date.left(4), date.mid(4, 2), date.mid(6), buy, pay});
    if (c.Pending == PassbookConfirmation::Refused) {
        Print(stderr, "velqora: " + c.Message.join(QLatin1Char(' ')).toUtf8() + " (" + date.toUtf8() + ")\n");
        return false;
    }
    return true;
}

void Apply(const BookArgs& a, const PassbookConfirmation& c, ProfitBook& book) {
    switch (a.edit) {
    case BookArgs::Set:
        // As the passbook's OK: the user's record, written whatever the book holds; 0 yen bet deletes.
        if (c.Pending == PassbookConfirmation::Delete) {
            book.DeleteRecord(c.DayKey);
        } else {
            book.CheckRecord(c.Buy, c.Pay, 0, 0, c.DayKey, a.protect ? 1 : 0, 1);
        }
        break;
    case BookArgs::Auto:
        // As the main window's update of the day: a protected record stays, 0 yen bet changes nothing.
        book.CheckRecord(c.Buy, c.Pay, 0, 0, c.DayKey, 0, 0);
        break;
    case BookArgs::Delete:
        book.DeleteRecord(c.DayKey);
        break;
    case BookArgs::None:
        break;
    }
    // The statistics come with every change; a book only read has none until this.
    book.CheckRecord(0, 0, 0, 0, c.DayKey, 0, 0);
}
} // namespace

int BookCommand(const QStringList& args) {
    BookArgs a;
    if (!Parse(args, a)) {
        return Usage();
    }
    // Everything is checked before the file is touched: a refused edit leaves it as it was.
    PassbookConfirmation c;
    if (a.edit != BookArgs::None && !CheckEdit(a, c)) {
        return 2;
    }
    const QFileInfo folder(a.folder);
    if (!folder.isDir()) {
        Print(stderr, "velqora: no such folder: " + a.folder.toUtf8() + "\n");
        return 3;
    }
    FailureCollector failures;
    ProfitBook book;
    book.setFolder(AddPathSep(folder.absoluteFilePath()));
    try {
        book.GetRecord();
        if (!failures.Clean()) {
            return 4; // a book not read whole is never edited
        }
        Apply(a, c, book);
        if (!failures.Clean()) {
            return 4;
        }
        if (a.csv) {
            Print(stdout, PassbookCsv(book));
        } else {
            Print(stdout, a.json ? BookJson(book) : BookText(book).toUtf8());
        }
    } catch (const AppError& e) {
        Print(stderr,
              QStringLiteral("velqora: %1 (%2) %3\n").arg(e.Source()).arg(e.Number()).arg(e.Description()).toUtf8());
        return 4;
    }
    return 0;
}
