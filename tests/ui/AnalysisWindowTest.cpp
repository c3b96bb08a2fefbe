#include "ui/AnalysisWindow.h"
#include "archive/BetArchive.h"
#include "control/DayController.h"
#include "core/BetRecords.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {
class AnalysisWindowTest : public ClientFolderTest {
protected:
    static QString cell(QTableView* t, int row, int column) { return t->model()->index(row, column).data().toString(); }
    static QStringList column(QTableView* t, int column) {
        QStringList out;
        for (int r = 0; r < t->model()->rowCount(); ++r) {
            out << cell(t, r, column);
        }
        return out;
    }
    static void shot(QWidget* window, const QString& name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        saveScreenshot(window, name);
    }
};

// Whether the header's sort arrow points up. Of the pixels that change when the order is turned, those dark
// before the turn lie low (the arrow's wide end) in an arrow pointing up, high in one pointing down.
bool arrowPointsUp(QHeaderView* header) {
    const int section = header->sortIndicatorSection();
    const Qt::SortOrder order = header->sortIndicatorOrder();
    const QImage before = header->grab().toImage();
    header->setSortIndicator(section, order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
    const QImage after = header->grab().toImage();
    header->setSortIndicator(section, order);
    double darkRows = 0;
    int dark = 0, top = before.height(), bottom = -1;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                const bool ink = before.pixelColor(x, y).lightness() < after.pixelColor(x, y).lightness();
                darkRows += ink ? y : 0;
                dark += ink ? 1 : 0;
            }
        }
    }
    return dark > 0 && darkRows / dark > (top + bottom) / 2.0;
}

Archive::Bet bet(qint16 venue, qint16 type, qint32 stake, qint32 payout, qint16 state) {
    Archive::Bet b;
    b.venue = venue;
    b.betType = type;
    b.stake = stake;
    b.payout = payout;
    b.state = state;
    return b;
}
} // namespace

// The sample day as the main window's refresh archives it (111 bets of its races, 20,800 yen, 50,800 paid),
// and two earlier days stored beside it: 2026/11/29 (東京, one 1,000-yen trio missed) and 2025/12/27
// (札幌, one 500-yen win paying 5,500).
TEST_F(AnalysisWindowTest, PeriodsSortingCsvAndABrokenArchive) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    {
        BetArchive archive;
        ASSERT_TRUE(archive.open(client.path()));
        ASSERT_TRUE(archive.storeDay(QStringLiteral("20261129"), {bet(5, 7, 1000, 0, BetCodes::Miss)}));
        ASSERT_TRUE(archive.storeDay(QStringLiteral("20251227"), {bet(1, 1, 500, 5500, BetCodes::Hit)}));
    }
    MainWindow w(folders());
    w.show();
    child<QAction>(&w, "analysisAction")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([] { return qobject_cast<AnalysisWindow*>(QApplication::activeWindow()); }));
    auto* a = qobject_cast<AnalysisWindow*>(QApplication::activeWindow()); // a window of its own, now in front
    shot(a, QStringLiteral("analysis-month"));
    auto *betTypes = child<QTableView>(a, "betTypeTable"), *venues = child<QTableView>(a, "venueTable");

    // This month: the sample day and November's trio are apart by the month's end.
    EXPECT_EQ(child<QComboBox>(a, "periodBox")->currentText(), QStringLiteral("今月"));
    EXPECT_EQ(child<QLabel>(a, "recordStart")->text(), QStringLiteral("記録開始 2025/12/27"));
    EXPECT_FALSE(child<QDateEdit>(a, "fromDate")->isEnabled());
    EXPECT_EQ(child<QLabel>(a, "caption")->text(), QStringLiteral("2026/12/01 ～ 2026/12/31　（保存済み 3日）"));
    EXPECT_EQ(column(betTypes, 0), (QStringList{QStringLiteral("単勝"), QStringLiteral("複勝"), QStringLiteral("枠連"),
                                                QStringLiteral("馬連"), QStringLiteral("ワイド"),
                                                QStringLiteral("馬単"), QStringLiteral("３連複")}));
    EXPECT_EQ(child<QLabel>(a, "totalLine")->text(),
              QStringLiteral("合計　111件　購入 20,800円　払戻 50,800円　的中率 30.0％　"
                             "回収率 244.2％　未確定 39件"));

    // The year adds November (1,000 more staked, nothing paid: 50800 / 21800 = 233.0 %); all adds 2025.
    child<QComboBox>(a, "periodBox")->setCurrentIndex(2);
    EXPECT_EQ(a->tables().total.sum.stake, 21800);
    EXPECT_EQ(a->tables().total.recovery, QStringLiteral("233.0"));
    child<QComboBox>(a, "periodBox")->setCurrentIndex(3);
    EXPECT_EQ(child<QLabel>(a, "caption")->text(), QStringLiteral("2025/12/27 ～ 2026/12/05　（保存済み 3日）"));
    EXPECT_EQ(column(venues, 0), (QStringList{QStringLiteral("札幌"), QStringLiteral("東京"), QStringLiteral("中山"),
                                              QStringLiteral("中京"), QStringLiteral("阪神")}));
    shot(a, QStringLiteral("analysis-all"));

    // A header click sorts by that figure as a number (札幌's 1100.0 is the highest, not below 119.2).
    QHeaderView* header = venues->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(6) + 5, 5));
    QStringList byRecovery{QStringLiteral("東京"), QStringLiteral("阪神"), QStringLiteral("中京"),
                           QStringLiteral("中山"), QStringLiteral("札幌")};
    const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
    if (!ascending) {
        std::reverse(byRecovery.begin(), byRecovery.end());
    }
    EXPECT_EQ(column(venues, 0), byRecovery);
    EXPECT_EQ(arrowPointsUp(header), ascending); // the arrow names the order shown
    shot(a, QStringLiteral("analysis-sorted"));

    // Two dates: November alone, one trio, nothing hit.
    child<QComboBox>(a, "periodBox")->setCurrentIndex(4);
    ASSERT_TRUE(child<QDateEdit>(a, "fromDate")->isEnabled());
    child<QDateEdit>(a, "fromDate")->setDate(QDate(2026, 11, 1));
    child<QDateEdit>(a, "toDate")->setDate(QDate(2026, 11, 30));
    EXPECT_EQ(column(betTypes, 0), QStringList{QStringLiteral("３連複")});
    EXPECT_EQ(cell(betTypes, 0, 5), QStringLiteral("0.0"));
    // A period with nothing staked shows "-", never a division by zero.
    child<QDateEdit>(a, "fromDate")->setDate(QDate(2026, 1, 1));
    child<QDateEdit>(a, "toDate")->setDate(QDate(2026, 1, 31));
    EXPECT_EQ(betTypes->model()->rowCount(), 0);
    EXPECT_EQ(a->tables().total.recovery, QStringLiteral("-"));
    shot(a, QStringLiteral("analysis-empty"));

    // CSV for a spreadsheet: UTF-8 with its mark, the period first.
    child<QComboBox>(a, "periodBox")->setCurrentIndex(3);
    ASSERT_TRUE(a->saveCsv(program.file(QStringLiteral("a.csv"))));
    EXPECT_EQ(child<QLabel>(a, "statusLine")->text(),
              QStringLiteral("CSVファイルに保存しました: ") +
                  QDir::toNativeSeparators(program.file(QStringLiteral("a.csv"))));
    EXPECT_TRUE(
        program.read(QStringLiteral("a.csv")).startsWith("\xEF\xBB\xBF\xE6\x9C\x9F\xE9\x96\x93,20251227,20261205\r\n"));

    // A damaged archive: its message in place of the period, empty tables, and the window still works.
    client.write(BetArchive::fileName(), QByteArray(4096, 'x'));
    for (const char* side : {"-wal", "-shm"}) {
        QFile::remove(client.file(BetArchive::fileName() + QLatin1String(side)));
    }
    a->reload();
    EXPECT_TRUE(child<QLabel>(a, "caption")->text().contains(QStringLiteral("VQBETS.SQLITE")));
    EXPECT_EQ(venues->model()->rowCount(), 0);
    shot(a, QStringLiteral("analysis-broken"));
}
