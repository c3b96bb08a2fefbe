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

void mark(const char* mark) {
    std::fputs(mark, stdout);
}

// A book of many past days, written once: seeding it through CheckRecord would save it once per day.
void seedBook(const QString& folder) {
    if (QFileInfo::exists(folder + ProfitBook::fileName())) {
        return;
    }
    QString text;
    const QDate first(2000, 1, 1);
    for (int d = kSeedBookDays - 1; d >= 0; --d) {
        const qint32 buy = 100 * (d % 50 + 1);
        const qint32 pay = 70 * (d % 70);
        text += ProfitBook::recordToLine(
                    PassbookRecord{first.addDays(d).toString(QStringLiteral("yyyyMMdd")), buy, pay, pay - buy, 0}) +
                QStringLiteral("\r\n");
    }
    text += ProfitBook::recordToLine(PassbookRecord{ProfitBook::sentinelDate(), 0, 0, 0, 0}) + QStringLiteral("\r\n");
    AtomicFile::replace(folder + ProfitBook::fileName(), text.toLatin1(), nullptr);
}

// Lines of some other section, which every save keeps as they are.
void seedSettings(const QString& folder, const QString& name) {
    if (QFileInfo::exists(folder + name)) {
        return;
    }
    QByteArray text = "[NOTES]\r\n";
    for (int i = 0; i < kSeedSettingsLines; ++i) {
        text += "note" + QByteArray::number(i) + "=kept by every save of the window places\r\n";
    }
    AtomicFile::replace(folder + name, text, nullptr);
}

// The archive's two versions of one day: many one-hundred-yen hits, or more two-hundred-yen misses; and a
// day before it that no save touches.
const QString kArchiveDay = QStringLiteral("20261206");
const QString kArchiveOtherDay = QStringLiteral("20261205");
std::vector<Archive::Bet> archiveDay(bool second) {
    Archive::Bet bet;
    bet.venue = 5;
    bet.betType = 7;
    bet.stake = second ? 200 : 100;
    bet.payout = second ? 0 : 1230;
    bet.state = second ? 2 : 1;
    return std::vector<Archive::Bet>(second ? 6000 : 4000, bet);
}

QString resultPage(bool second) {
    ResultPages::RacePage page = samplePage();
    if (second) {
        page.runners[5].time = QStringLiteral("1:35.3");
        page.payouts[0] = {{3, 0, 0, 250, 1}};
    }
    return ResultPages::joinLines(ResultPages::resultsPageLines(page)).replace(u' ', u'#');
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
        seedBook(folder);
        book.setFolder(folder);
        book.load();
        save = [&book](bool second) { book.checkRecord(second ? 2000 : 1000, 1500, 0, kBookDay, 0, 0); };
    } else if (mode == QLatin1String("settings")) {
        seedSettings(folder, settings.fileName());
        settings.setFolder(folder);
        settings.loadSettings();
        save = [&settings](bool second) {
            for (int slot = 1; slot <= Settings::kSlotCount; ++slot) {
                settings.setPosTop(slot, second ? 2400 + slot : 1200 + slot);
                settings.setWidth(slot, second ? 9000 : 6000);
            }
            settings.saveSettings();
        };
    } else if (mode == QLatin1String("result")) {
        conv.setSavePathName(folder);
        pages[0] = resultPage(false);
        pages[1] = resultPage(true);
        // The first conversion sets up the code page and width converters, which takes longer than most
        // kills wait; done here, the kills land in the writes instead.
        ResultsPageConverter::makeKekka(pages[0]);
        save = [&conv, &pages](bool second) { conv.convertResultsPage(pages[second ? 1 : 0]); };
    } else if (mode == QLatin1String("archive")) {
        if (!archive.open(folder)) {
            std::fprintf(stderr, "%s\n", qPrintable(archive.errorText()));
            return 1;
        }
        if (!archive.days().contains(kArchiveOtherDay)) {
            archive.storeDay(kArchiveOtherDay, std::vector<Archive::Bet>(10, archiveDay(false).front()));
        }
        // Every start writes the other version first, so that kills early in a run still land in a change.
        const bool flip = archive.betsOfDay(kArchiveDay).size() == archiveDay(false).size();
        save = [&archive, flip](bool second) { archive.storeDay(kArchiveDay, archiveDay(second != flip)); };
    } else {
        std::fprintf(stderr, "unknown mode %s\n", argv[1]);
        return 2;
    }

    mark("L");
    for (long i = 0; count == 0 || i < count; ++i) {
        mark("b");
        save(i % 2 == 1);
        mark("e");
    }
    return 0;
}
