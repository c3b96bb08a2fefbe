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

void SaveAccount(const TempFolder& dir, qint64 balance) {
    AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
    a.Date = kDate;
    a.Amounts = {balance};
    AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);
}

// One meeting at Tokyo: three tickets in two logs, a result file for race 1, payout files for race 2 and
// the win odds of race 1.
void WriteDay(const TempFolder& dir) {
    SaveAccount(dir, 0);
    SaveDayLog(dir.Path(), QStringLiteral("LG001"),
               DayLog{1, {At(SingleBet(Win, 0, 0, 4), 5, 1), SingleBet(Win, 0, 0, 2)}});
    SaveDayLog(dir.Path(), QStringLiteral("LG002"), DayLog{2, {At(SingleBet(Win, 0, 0, 5), 5, 3)}});
    SaveIndex(dir.Path(), {{QStringLiteral("LG001"), kDate}, {QStringLiteral("LG002"), kDate}});
    ResultFiles::ResultFile r;
    r.Date = kDate;
    r.RaceNum = 1;
    r.Payouts[0] = {{4, 0, 0, 350}};
    ResultFiles::SaveResultFile(dir.Path(), r);
    r.RaceNum = 2;
    ResultFiles::SavePayoutFiles(dir.Path(), r);
    OddsFiles::ZoFile zo;
    zo.header.date = kDate;
    OddsFiles::WriteZo(dir.Path(), QStringLiteral("581"), zo);
}

// What the day's read and race 1's odds said.
std::vector<Said> Read(SaleDayReader& pat, const TempFolder& dir) {
    pat.setPathName(dir.Path());
    pat.Initialize();
    pat.GetOdds(1, 1);
    std::vector<Said> said;
    for (const auto* list : {&pat.Warnings(), &pat.objFactory()->Warnings()}) {
        for (const FileWarning& w : *list) {
            said.emplace_back(w.File, w.What, w.Size, w.Expected);
        }
    }
    return said;
}
} // namespace

// Each row damages one file of a whole day: that file alone is said, and the other logs still count.
TEST(DamagedFolder, AFileNotReadWholeIsNamed) {
    const auto cut = [](const char* name, qsizetype keep, const char* add = "") {
        return [=](const TempFolder& d) { d.Write(name, d.Read(name).left(keep) + add); };
    };
    const qint64 result = ResultFiles::WriteResultFile({}).size(); // the writers' lengths
    const qint64 payout = ResultFiles::WritePayoutFile({}).size();
    const struct {
        const char* name;
        std::function<void(const TempFolder&)> damage;
        Said said;
    } rows[] = {
        {"result file cut", cut("KS-56281.JRA", 835), {"KS-56281.JRA", P::WrongLength, 835, result}},
        {"result file + CR LF", cut("KS-56281.JRA", 849, "\r\n"), {"KS-56281.JRA", P::WrongLength, 851, result}},
        {"payout file cut", cut("TH-5628.JRA", 40), {"TH-5628.JRA", P::WrongLength, 40, payout}},
        {"odds file cut", cut("ZO-581.JRA", 500), {"ZO-581.JRA", P::WrongLength, 500, OddsFiles::kZoLength}},
        {"listed log missing", [](auto& d) { QFile::remove(d.File("LG002.JRA")); }, {"LG002.JRA", P::Missing, 0, 0}},
        {"a folder in its place",
         [](auto& d) { ASSERT_TRUE(QFile::remove(d.File("LG002.JRA")) && QDir().mkdir(d.File("LG002.JRA"))); },
         {"LG002.JRA", P::NotAFile, 0, 0}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TempFolder dir;
        WriteDay(dir);
        r.damage(dir);
        SaleDayReader pat;
        EXPECT_EQ(Read(pat, dir), std::vector<Said>{r.said});
        EXPECT_EQ(pat.objLog()->LogOmitCount(), std::get<QString>(r.said) == "LG002.JRA" ? 2 : 3);
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
        WriteDay(dir);
        int reads = 0;
        ClientFiles::SetReadHook([&](const QString& path) {
            if (path.endsWith(QStringLiteral("LG-FILE.JRA")) && ++reads <= r.changes) {
                SaveAccount(dir, 1000 * reads);
                QFile file(dir.File(QStringLiteral("UY-A.JRA")));
                file.open(QFile::ReadWrite);
                file.setFileTime(QDateTime::currentDateTime().addSecs(60 * reads), QFile::FileModificationTime);
            }
        });
        SaleDayReader pat;
        const std::vector<Said> said = Read(pat, dir);
        ClientFiles::SetReadHook({});
        EXPECT_EQ(reads, r.reads);
        const std::vector<Said> unsettled{{"UY-A.JRA", P::Changing, 0, 0}};
        EXPECT_EQ(said, r.changes < r.reads ? std::vector<Said>{} : unsettled);
        EXPECT_EQ(pat.AmtZan(), 1000 * (r.reads - 1)); // the folder as the last read found it
    }
}
