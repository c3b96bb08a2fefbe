// vq-save-loop MODE FOLDER COUNT: saves one of our files in FOLDER COUNT times (0: until it is killed),
// through the program's own code and alternating between two contents, so that the crash test can kill it
// at any moment and look at what is left. MODE is book (the profit book), settings (the settings file) or
// result (a converted result file), or archive (a day of the bet archive, which is a database rather than
// a file written whole: its transaction is what must hold).
//
// Each start goes through the same load path as the program's start, which clears the leftovers of the
// previous kill. On standard output, unbuffered, it marks "L" when the loop begins, "b" before each save
// and "e" after it, so the test can tell where the kill landed.

#include "archive/BetArchive.h"
#include "core/AtomicFile.h"
#include "core/Settings.h"
#include "profit/ProfitBook.h"
#include "results/ResultsPageConverter.h"
#include "results/SamplePage.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <functional>

namespace {
// Large enough that writing the file takes a while, so kills land in the middle of writes too.
constexpr int kSeedBookDays = 5000;
constexpr int kSeedSettingsLines = 1500;
// Newer than every seeded day, so it is the first record of the book.
const QString kBookDay = QStringLiteral("20991231");

void Mark(const char* mark) {
    std::fputs(mark, stdout);
}

// A book of many past days, written once: seeding it through CheckRecord would save it once per day.
void SeedBook(const QString& folder) {
    if (QFileInfo::exists(folder + ProfitBook::FileName())) {
        return;
    }
    QString text;
    const QDate first(2000, 1, 1);
    for (int d = kSeedBookDays - 1; d >= 0; --d) {
        const qint32 buy = 100 * (d % 50 + 1);
        const qint32 pay = 70 * (d % 70);
        text += ProfitBook::RecordToLine(
                    PassbookRecord{first.addDays(d).toString(QStringLiteral("yyyyMMdd")), buy, pay, pay - buy, 0}) +
                QStringLiteral("\r\n");
    }
    text += ProfitBook::RecordToLine(PassbookRecord{ProfitBook::SentinelDate(), 0, 0, 0, 0}) + QStringLiteral("\r\n");
    AtomicFile::Replace(folder + ProfitBook::FileName(), text.toLatin1(), nullptr);
}

// Lines of some other section, which every save keeps as they are.
void SeedSettings(const QString& folder, const QString& name) {
    if (QFileInfo::exists(folder + name)) {
        return;
    }
    QByteArray text = "[NOTES]\r\n";
    for (int i = 0; i < kSeedSettingsLines; ++i) {
        text += "note" + QByteArray::number(i) + "=kept by every save of the window places\r\n";
    }
    AtomicFile::Replace(folder + name, text, nullptr);
}

// The archive's two versions of one day: many one-hundred-yen hits, or more two-hundred-yen misses; and a
// day before it that no save touches.
const QString kArchiveDay = QStringLiteral("20261206");
const QString kArchiveOtherDay = QStringLiteral("20261205");
std::vector<Archive::Bet> ArchiveDay(bool second) {
    Archive::Bet bet;
    bet.Venue = 5;
    bet.BetType = 7;
    bet.Stake = second ? 200 : 100;
    bet.Payout = second ? 0 : 1230;
    bet.State = second ? 2 : 1;
    return std::vector<Archive::Bet>(second ? 6000 : 4000, bet);
}

QString ResultPage(bool second) {
    ResultPages::RacePage page = SamplePage();
    if (second) {
        page.Runners[5].Time = QStringLiteral("1:35.3");
        page.Payouts[0] = {{3, 0, 0, 250, 1}};
    }
    return ResultPages::JoinLines(ResultPages::ResultsPageLines(page)).replace(u' ', u'#');
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: vq-save-loop book|settings|result|archive FOLDER COUNT\n", stderr);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + QLatin1Char('/');
    const long count = std::strtol(argv[3], nullptr, 10);

    ProfitBook book;
    Settings settings;
    ResultsPageConverter conv;
    BetArchive archive;
    QString pages[2];
    std::function<void(bool)> save;
    if (mode == QLatin1String("book")) {
        SeedBook(folder);
        book.setFolder(folder);
        book.GetRecord();
        save = [&book](bool second) { book.CheckRecord(second ? 2000 : 1000, 1500, 0, 0, kBookDay, 0, 0); };
    } else if (mode == QLatin1String("settings")) {
        SeedSettings(folder, settings.FileName());
        settings.setFolder(folder);
        settings.LoadSettings();
        save = [&settings](bool second) {
            for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
                settings.setPosTop(slot, second ? 2400 + slot : 1200 + slot);
                settings.setWidth(slot, second ? 9000 : 6000);
            }
            settings.SaveSettings();
        };
    } else if (mode == QLatin1String("result")) {
        conv.setSavePathName(folder);
        pages[0] = ResultPage(false);
        pages[1] = ResultPage(true);
        // The first conversion sets up the code page and width converters, which takes longer than most
        // kills wait; done here, the kills land in the writes instead.
        ResultsPageConverter::MakeKekka(pages[0]);
        save = [&conv, &pages](bool second) { conv.GetKekka(pages[second ? 1 : 0]); };
    } else if (mode == QLatin1String("archive")) {
        if (!archive.Open(folder)) {
            std::fprintf(stderr, "%s\n", qPrintable(archive.ErrorText()));
            return 1;
        }
        if (!archive.Days().contains(kArchiveOtherDay)) {
            archive.StoreDay(kArchiveOtherDay, std::vector<Archive::Bet>(10, ArchiveDay(false).front()));
        }
        // Every start writes the other version first, so that kills early in a run still land in a change.
        const bool flip = archive.BetsOfDay(kArchiveDay).size() == ArchiveDay(false).size();
        save = [&archive, flip](bool second) { archive.StoreDay(kArchiveDay, ArchiveDay(second != flip)); };
    } else {
        std::fprintf(stderr, "unknown mode %s\n", argv[1]);
        return 2;
    }

    Mark("L");
    for (long i = 0; count == 0 || i < count; ++i) {
        Mark("b");
        save(i % 2 == 1);
        Mark("e");
    }
    return 0;
}
