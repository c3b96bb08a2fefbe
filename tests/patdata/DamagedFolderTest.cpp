#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/OddsFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/Paths.h"
#include "patdata/BetLogReader.h"
#include "patdata/RaceOdds.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>

#include <gtest/gtest.h>

using namespace LogFiles;

namespace {
const QString kDate = QStringLiteral("20260405");
using P = FileWarning::Problem;
using Said = std::tuple<QString, P, qint64, qint64>;

void saveAccount(const TempFolder& dir, qint64 balance) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    a.amounts = {balance};
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
}

// One meeting at Tokyo: three tickets in two logs, a result file for race 1, payout files for race 2 and
// the win odds of race 1.
void writeDay(const TempFolder& dir) {
    saveAccount(dir, 0);
    saveDayLog(dir.path(), QStringLiteral("LG001"),
               DayLog{1, {at(singleBet(Win, 0, 0, 4), 5, 1), singleBet(Win, 0, 0, 2)}});
    saveDayLog(dir.path(), QStringLiteral("LG002"), DayLog{2, {at(singleBet(Win, 0, 0, 5), 5, 3)}});
    saveIndex(dir.path(), {{QStringLiteral("LG001"), kDate}, {QStringLiteral("LG002"), kDate}});
    ResultFiles::ResultFile r;
    r.date = kDate;
    r.raceNum = 1;
    r.payouts[0] = {{4, 0, 0, 350}};
    ResultFiles::saveResultFile(dir.path(), r);
    r.raceNum = 2;
    ResultFiles::savePayoutFiles(dir.path(), r);
    OddsFiles::ZoFile zo;
    zo.header.date = kDate;
    OddsFiles::writeZo(dir.path(), QStringLiteral("581"), zo);
}

// What the day's read and race 1's odds said.
std::vector<Said> read(SaleDayReader& pat) {
    pat.readRaceOdds(1, 1);
    std::vector<Said> said;
    for (const auto* list : {&pat.warnings(), &pat.raceOdds()->warnings()}) {
        for (const FileWarning& w : *list) {
            said.emplace_back(w.file, w.what, w.size, w.expected);
        }
    }
    return said;
}
} // namespace

// Each row damages one file of a whole day: that file alone is said, and the other logs still count.
TEST(DamagedFolder, AFileNotReadWholeIsNamed) {
    const auto cut = [](const char* name, qsizetype keep, const char* add = "") {
        return [=](const TempFolder& d) { d.write(name, d.read(name).left(keep) + add); };
    };
    const qint64 result = ResultFiles::writeResultFile({}).size(); // the writers' lengths
    const qint64 payout = ResultFiles::writePayoutFile({}).size();
    const struct {
        const char* name;
        std::function<void(const TempFolder&)> damage;
        Said said;
    } rows[] = {
        {"result file cut", cut("KS-56281.JRA", 835), {"KS-56281.JRA", P::WrongLength, 835, result}},
        {"result file + CR LF", cut("KS-56281.JRA", 849, "\r\n"), {"KS-56281.JRA", P::WrongLength, 851, result}},
        {"payout file cut", cut("TH-5628.JRA", 40), {"TH-5628.JRA", P::WrongLength, 40, payout}},
        {"odds file cut", cut("ZO-581.JRA", 500), {"ZO-581.JRA", P::WrongLength, 500, OddsFiles::kZoLength}},
        {"listed log missing", [](auto& d) { QFile::remove(d.file("LG002.JRA")); }, {"LG002.JRA", P::Missing, 0, 0}},
        {"a folder in its place",
         [](auto& d) { ASSERT_TRUE(QFile::remove(d.file("LG002.JRA")) && QDir().mkdir(d.file("LG002.JRA"))); },
         {"LG002.JRA", P::NotAFile, 0, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TempFolder dir;
        writeDay(dir);
        r.damage(dir);
        SaleDayReader pat = SaleDayReader::read(dir.path());
        EXPECT_EQ(read(pat), std::vector<Said>{r.said});
        EXPECT_EQ(pat.betLog()->logOmitCount(), std::get<QString>(r.said) == "LG002.JRA" ? 2 : 3);
    }
}

// The client rewrites the account file (same length, a later time) whenever the index is read, through the
// read hook: the day is read again, three times at most, and said when it never settles.
TEST(DamagedFolder, AFolderChangingDuringTheReadIsReadAgain) {
    const struct {
        const char* name;
        int changes;
        int reads;
    } rows[] = {{"settles after one change", 1, 2}, {"keeps changing", 99, 3}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TempFolder dir;
        writeDay(dir);
        int reads = 0;
        const auto changeAccount = [&](const QString& path) {
            if (path.endsWith(QStringLiteral("LG-FILE.JRA")) && ++reads <= r.changes) {
                saveAccount(dir, 1000 * reads);
                QFile file(dir.file(QStringLiteral("UY-A.JRA")));
                file.open(QFile::ReadWrite);
                file.setFileTime(QDateTime::currentDateTime().addSecs(60 * reads), QFile::FileModificationTime);
            }
        };
        SaleDayReader pat = SaleDayReader::read(dir.path(), QString(), changeAccount);
        const std::vector<Said> said = read(pat);
        EXPECT_EQ(reads, r.reads);
        const std::vector<Said> unsettled{{"UY-A.JRA", P::Changing, 0, 0}};
        EXPECT_EQ(said, r.changes < r.reads ? std::vector<Said>{} : unsettled);
        EXPECT_EQ(pat.amtZan(), 1000 * (r.reads - 1)); // the folder as the last read found it
    }
}
