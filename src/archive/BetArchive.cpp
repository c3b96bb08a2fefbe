#include "BetArchive.h"

#include "core/Paths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QVariant>

#include <array>
#include <charconv>

namespace {

// A sale date as the archive keys it: the number yyyymmdd, or nothing for any other text.
std::optional<qint64> dateKey(const QString& ymd) {
    if (ymd.size() != 8) {
        return std::nullopt;
    }
    for (const QChar c : ymd) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    return ymd.toLongLong();
}

// How long a writer waits for another one.
constexpr int kBusyMilliseconds = 5000;

// Rows per INSERT statement.
constexpr std::size_t kRowsPerInsert = 500;

// Whether the archive's tables are there: a row when they are.
const QString kSchemaQuery =
    QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'");

// Runs a prepared read, `row` taking each row; false when it fails, at the start or at any later row (a
// damaged page is met where the read reaches it).
template <typename Row>
bool readRows(QSqlQuery& q, Row&& row) {
    if (!q.exec()) {
        return false;
    }
    while (q.next()) {
        row();
    }
    return !q.lastError().isValid();
}
} // namespace

// Qt names its database connections process-wide: each archive object's address names its own, which no
// other living archive can share (the connection goes with the object).
BetArchive::BetArchive() : m_connection(QStringLiteral("vq-archive-%1").arg(reinterpret_cast<quintptr>(this), 0, 16)) {}

BetArchive::~BetArchive() {
    if (m_db.isValid()) {
        m_db.close();
    }
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

bool BetArchive::fail(const QString& what, const QString& reason) {
    // What happened in the user's words; the file and the database's own reason on the line below.
    m_error = QStringLiteral("%1。\n%2: %3").arg(what, QDir::toNativeSeparators(m_path), reason);
    return false;
}

bool BetArchive::exec(const QString& sql) {
    QSqlQuery q(m_db);
    if (!q.exec(sql)) {
        return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
    }
    return true;
}

bool BetArchive::failRead(const QSqlError& error) {
    // SQLite's primary result code (the driver reports extended ones, whose low byte it is): SQLITE_CORRUPT
    // (11) and SQLITE_NOTADB (26) are damage, which no second try mends.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    const QString file = QDir::toNativeSeparators(m_path);
    m_error = (code == 11 || code == 26
                   ? QStringLiteral("分析用の投票記録 %1 が壊れていて読めません。数字は表示しません。ファイルはその"
                                    "まま残してあります。バックアップがあれば戻し、なければこのファイルを別の場所へ"
                                    "移してください。次の更新から新しい分析用の投票記録が作られます。")
                   : QStringLiteral("分析用の投票記録 %1 を読めません。数字は表示しません。ファイルには手を加えて"
                                    "いません。しばらくしてからもう一度お試しください。"))
                  .arg(fileName()) +
              QStringLiteral("\n%1: %2").arg(file, error.databaseText());
    return false;
}

bool BetArchive::failOpen(const QSqlError& error) {
    return m_reading ? failRead(error) : fail(QStringLiteral("分析用の投票記録を開けません"), error.text());
}

bool BetArchive::open(const QString& folder, Access access) {
    m_open = false;
    m_empty = false;
    m_error.clear();
    m_path = addPathSep(folder) + fileName();
    if (!QFileInfo(folder).isDir()) {
        return fail(QStringLiteral("分析用の投票記録を開けません"), QStringLiteral("フォルダがありません"));
    }
    m_reading = access != Access::Write;
    if (m_reading && !QFileInfo::exists(m_path)) {
        m_open = m_empty = true; // nothing stored yet, and a reader makes no file
        return true;
    }
    if (!m_db.isValid()) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    }
    if (!m_db.isValid()) {
        return fail(QStringLiteral("分析用の投票記録を開けません"), QStringLiteral("SQLite が使えません"));
    }
    m_db.close();
    // Reading a file in WAL mode takes the shared-memory file beside it, made or written at every read.
    if (access == Access::Read && !(QFileInfo(folder).isWritable() && QFileInfo(m_path).isWritable())) {
        access = Access::ReadFrozen;
    }
    if (access == Access::ReadFrozen) {
        // immutable: SQLite takes no lock and reads the file alone, as if it were not in WAL mode. Its file
        // address has an empty authority, which SQLite requires: a network path (//server/share) keeps both
        // its slashes in the path, and a drive letter follows a slash; every other character is escaped.
        const QString path = QFileInfo(m_path).absoluteFilePath();
        m_db.setDatabaseName(QStringLiteral("file://") + (path.startsWith(u'/') ? QString() : QStringLiteral("/")) +
                             QString::fromLatin1(QUrl::toPercentEncoding(path, "/:")) + QStringLiteral("?immutable=1"));
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    } else {
        // A reader too opens for writing where it can: SQLite then runs the recovery of a WAL file that a
        // killed writer left, and removes the WAL's files when it closes last. It writes nothing itself.
        m_db.setDatabaseName(m_path);
        // Another writer (a second window, the command line) is waited for rather than failed at once.
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMilliseconds));
    }
    if (!m_db.open()) {
        return fail(QStringLiteral("分析用の投票記録を開けません"), m_db.lastError().text());
    }
    QSqlQuery q(m_db);
    // The first read tells a file that is not a database (or is damaged) from a good one.
    if (!q.exec(kSchemaQuery)) {
        // SQLITE_READONLY (8) or SQLITE_CANTOPEN (14) where WAL's files cannot be made after all: a folder
        // whose rights the check above does not see (access lists on Windows) is read as it lies too.
        const int code = q.lastError().nativeErrorCode().toInt() & 0xff;
        if (access == Access::Read && (code == 8 || code == 14)) {
            q.clear();
            return open(folder, Access::ReadFrozen);
        }
        return failOpen(q.lastError());
    }
    const bool existing = q.next();
    q.finish();
    if (existing && !checkVersion()) {
        return false;
    }
    if (m_reading) {
        m_open = true;
        m_empty = !existing; // a writer may be making it
        return true;
    }
    // WAL: readers go on while a day is written; NORMAL sync is still all-or-nothing per transaction.
    if (!useWal() || !exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return false;
    }
    if (!existing && !makeSchema()) {
        return false;
    }
    // Added after the first layout, beside it: an earlier version reads and writes the archive as before
    // and leaves this table alone.
    if (!exec(QStringLiteral("CREATE TABLE IF NOT EXISTS day_sources (sale_date INTEGER PRIMARY KEY, "
                             "fingerprint TEXT NOT NULL)"))) {
        return false;
    }
    m_open = true;
    return true;
}

bool BetArchive::useWal() {
    // Turning a new file to WAL needs it alone for a moment, and SQLite does not wait for that: another
    // writer making the file at the same time, or reading it, fails the turn at once with SQLITE_BUSY (5),
    // busy timeout or not. The turn is tried again within the same timeout.
    QElapsedTimer waited;
    waited.start();
    QSqlQuery q(m_db);
    while (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        if ((q.lastError().nativeErrorCode().toInt() & 0xff) != 5 || waited.elapsed() > kBusyMilliseconds) {
            return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
        }
        QThread::msleep(5);
    }
    return true;
}

bool BetArchive::checkVersion() {
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !q.next()) {
        return failOpen(q.lastError());
    }
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion) {
        return fail(QStringLiteral("分析用の投票記録を開けません"),
                    QStringLiteral("新しい版(%1)で作られたファイルです").arg(version));
    }
    return true;
}

bool BetArchive::makeSchema() {
    // IMMEDIATE takes the write lock before the look (waiting for another writer within the busy timeout):
    // two programs making the archive at once would otherwise both find it empty and both make it, one
    // failing on the lock or writing a second version row.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return false;
    }
    QSqlQuery look(m_db);
    if (!look.exec(kSchemaQuery)) {
        fail(QStringLiteral("分析用の投票記録を作れません"), look.lastError().text());
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    const bool madeMeanwhile = look.next();
    look.finish();
    if (madeMeanwhile) { // by another writer, while this one waited for the lock
        return exec(QStringLiteral("COMMIT")) && checkVersion();
    }
    const bool ok =
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) &&
        exec(QStringLiteral("INSERT INTO schema_version VALUES (%1)").arg(kSchemaVersion)) &&
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS days (sale_date INTEGER PRIMARY KEY, bets INTEGER NOT NULL, "
                            "stored_at TEXT NOT NULL)")) &&
        // A bet's race and the bet itself are kept as two packed numbers (see PackRace, PackBet): a heavy
        // day is some 65,000 rows, and six values a row store in a third of the time fourteen take. The
        // view bet_lines shows every field in a column of its own.
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bets (sale_date INTEGER NOT NULL, seq INTEGER NOT NULL, "
                            "race INTEGER, bet INTEGER, stake INTEGER, payout INTEGER, "
                            "PRIMARY KEY (sale_date, seq)) WITHOUT ROWID")) &&
        exec(QStringLiteral("CREATE VIEW IF NOT EXISTS bet_lines AS SELECT sale_date, seq, race / 1000000 AS venue, "
                            "race / 10000 % 100 AS kaiji, race / 100 % 100 AS hiji, race % 100 AS race_num, "
                            "bet / 100000000 AS bet_type, bet / 1000000 % 100 AS num1, bet / 10000 % 100 AS num2, "
                            "bet / 100 % 100 AS num3, bet / 10 % 10 AS buy_day, stake, payout, bet % 10 AS state "
                            "FROM bets")) &&
        exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS day_figures (sale_date INTEGER NOT NULL, venue INTEGER NOT NULL, "
            "bet_type INTEGER NOT NULL, bets INTEGER, stake INTEGER, payout INTEGER, hits INTEGER, misses INTEGER, "
            "refunds INTEGER, unsettled INTEGER, PRIMARY KEY (sale_date, venue, bet_type)) WITHOUT ROWID"));
    if (!ok || !exec(QStringLiteral("COMMIT"))) {
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

bool BetArchive::storeDay(const QString& saleDate, const std::vector<Archive::Bet>& bets,
                          const QByteArray& fingerprint) {
    const auto day = dateKey(saleDate);
    if (!m_open || m_reading) {
        return m_error.isEmpty()
                   ? fail(QStringLiteral("分析用の投票記録を書き込めません"),
                          m_reading ? QStringLiteral("読み取り用に開かれています") : QStringLiteral("開かれていません"))
                   : false;
    }
    if (!day) {
        return fail(QStringLiteral("分析用の投票記録を書き込めません"),
                    QStringLiteral("発売日 \"%1\" が日付ではありません").arg(saleDate));
    }
    if (!m_db.transaction()) {
        return fail(QStringLiteral("分析用の投票記録を書き込めません"), m_db.lastError().text());
    }
    const auto store = [&]() -> bool {
        QSqlQuery q(m_db);
        for (const char* table : {"bets", "day_figures", "days", "day_sources"}) {
            q.prepare(QStringLiteral("DELETE FROM %1 WHERE sale_date = ?").arg(QLatin1String(table)));
            q.addBindValue(*day);
            if (!q.exec()) {
                return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
            }
        }
        // The rows go in as literal numbers, many to a statement: every value is a number formatted here,
        // so nothing from outside reaches the text; and Qt's binding of single values costs more per
        // value than SQLite spends storing it.
        QByteArray sql;
        for (std::size_t first = 0; first < bets.size(); first += kRowsPerInsert) {
            sql = "INSERT INTO bets VALUES ";
            const std::size_t end = std::min(bets.size(), first + kRowsPerInsert);
            for (std::size_t seq = first; seq < end; ++seq) {
                const Archive::Bet& b = bets[seq];
                sql += seq == first ? "(" : ",(";
                for (const qint64 v : {*day, static_cast<qint64>(seq), Archive::packRace(b), Archive::packBet(b),
                                       qint64{b.stake}, qint64{b.payout}}) {
                    std::array<char, 24> digits{};
                    const auto stop = std::to_chars(digits.data(), digits.data() + digits.size(), v).ptr;
                    sql.append(digits.data(), stop - digits.data()).append(',');
                }
                sql.back() = ')';
            }
            if (!q.exec(QString::fromLatin1(sql))) {
                return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
            }
        }
        q.prepare(QStringLiteral("INSERT INTO day_figures VALUES (?,?,?,?,?,?,?,?,?,?)"));
        for (const Archive::DayFigures& f : Archive::sumDay(saleDate, bets)) {
            for (const qint64 v : {*day, qint64{f.venue}, qint64{f.betType}, f.sum.bets, f.sum.stake, f.sum.payout,
                                   f.sum.hits, f.sum.misses, f.sum.refunds, f.sum.unsettled}) {
                q.addBindValue(v);
            }
            if (!q.exec()) {
                return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
            }
        }
        q.prepare(QStringLiteral("INSERT INTO days VALUES (?, ?, datetime('now'))"));
        q.addBindValue(*day);
        q.addBindValue(static_cast<qint64>(bets.size()));
        if (!q.exec()) {
            return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
        }
        if (!fingerprint.isEmpty()) {
            q.prepare(QStringLiteral("INSERT INTO day_sources VALUES (?, ?)"));
            q.addBindValue(*day);
            q.addBindValue(QString::fromLatin1(fingerprint));
            if (!q.exec()) {
                return fail(QStringLiteral("分析用の投票記録を書き込めません"), q.lastError().text());
            }
        }
        return true;
    };
    if (!store()) {
        m_db.rollback();
        return false;
    }
    if (!m_db.commit()) {
        const QString reason = m_db.lastError().text();
        m_db.rollback();
        return fail(QStringLiteral("分析用の投票記録を書き込めません"), reason);
    }
    return true;
}

QByteArray BetArchive::storedFingerprint(const QString& saleDate) {
    const auto day = dateKey(saleDate);
    if (!m_open || m_reading || !day) {
        return QByteArray();
    }
    QSqlQuery q(m_db);
    q.prepare(QStringLiteral("SELECT fingerprint FROM day_sources WHERE sale_date = ?"));
    q.addBindValue(*day);
    return q.exec() && q.next() ? q.value(0).toString().toLatin1() : QByteArray();
}

std::vector<Archive::Bet> BetArchive::betsOfDay(const QString& saleDate) {
    std::vector<Archive::Bet> out;
    const auto day = dateKey(saleDate);
    if (!m_open || m_empty || !day) {
        return out;
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT venue, kaiji, hiji, race_num, bet_type, num1, num2, num3, buy_day, stake, "
                             "payout, state FROM bet_lines WHERE sale_date = ? ORDER BY seq"));
    q.addBindValue(*day);
    const auto s = [&q](int i) { return static_cast<qint16>(q.value(i).toInt()); };
    if (!readRows(q, [&] {
            out.push_back(
                {s(0), s(1), s(2), s(3), s(4), s(5), s(6), s(7), s(8), q.value(9).toInt(), q.value(10).toInt(), s(11)});
        })) {
        failRead(q.lastError());
        out.clear();
    }
    return out;
}

QStringList BetArchive::days() {
    QStringList out;
    if (!m_open || m_empty) {
        return out;
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT sale_date FROM days ORDER BY sale_date"));
    if (!readRows(q, [&] { out << QString::number(q.value(0).toLongLong()); })) {
        failRead(q.lastError());
        out.clear();
    }
    return out;
}

std::vector<Archive::DayFigures> BetArchive::figuresOf(const QString& from, const QString& to) {
    std::vector<Archive::DayFigures> out;
    const auto first = dateKey(from);
    const auto last = dateKey(to);
    if (!m_open || m_empty || !first || !last) {
        return out;
    }
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT sale_date, venue, bet_type, bets, stake, payout, hits, misses, refunds, "
                             "unsettled FROM day_figures WHERE sale_date BETWEEN ? AND ? ORDER BY sale_date, venue, "
                             "bet_type"));
    q.addBindValue(*first);
    q.addBindValue(*last);
    const auto n = [&q](int i) { return q.value(i).toLongLong(); };
    if (!readRows(q, [&] {
            out.push_back({QString::number(n(0)),
                           static_cast<qint16>(n(1)),
                           static_cast<qint16>(n(2)),
                           {n(3), n(4), n(5), n(6), n(7), n(8), n(9)}});
        })) {
        failRead(q.lastError());
        out.clear();
    }
    return out;
}
