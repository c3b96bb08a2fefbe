#include "DayController.h"

#include "archive/ArchiveWriter.h"
#include "archive/DayBets.h"
#include "core/AppError.h"
#include "core/CodePage.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "profit/ProfitBook.h"

#include <QTimer>

namespace {
const QString kSource = QStringLiteral("BBB");

// Bracket colours 1..8 in light tints (red in the lowest byte, then green, then blue).
constexpr std::array<qint32, 8> kWakuColors = {0xFFFFFF, 0x808080, 0x8080FF, 0xFF8080,
                                               0x80FFFF, 0x80FF80, 0x80C0FF, 0xFF80FF};

const std::vector<std::unique_ptr<Meeting>>& noMeetings() {
    static const std::vector<std::unique_ptr<Meeting>> none;
    return none;
}

const FileWarnings& noWarnings() {
    static const FileWarnings none;
    return none;
}
} // namespace

DayController::DayController(const Folders& folders, QObject* parent)
    : QObject(parent), m_folders(folders), m_book(std::make_unique<ProfitBook>()) {
    m_settings.setFolder(folders.program);
    m_book->setCurDateSource([this] { return saleDate(); });
}

DayController::~DayController() = default;

bool DayController::initialize() {
    try {
        m_settings.loadSettings();
        m_wakuColor = kWakuColors;
        setPatPath(m_folders.client);
        m_downPath = m_folders.download;
        m_dataPath = m_patPath;
        readDataFolder();
        return true;
    } catch (const AppError& e) {
        throw e.rebased(kSource);
    }
}

void DayController::setPatPath(const QString& v) {
    m_patPath = v;
    m_book->setFolder(v);
}

void DayController::readDataFolder() {
    // Whatever was obtained from the old reader belongs to it; the new one replaces it whole.
    m_pat = std::make_unique<SaleDayReader>();
    m_pat->setPathName(m_dataPath);
    m_pat->setDownPath(m_downPath);
    m_pat->initialize(); // false only means an empty day; the program goes on with what was read
}

bool DayController::reInitialize() {
    changePath();
    readDataFolder();
    emit reInitialized();
    return true;
}

void DayController::changePath() {
    const QString link = ClientFiles::findFile(m_patPath, QStringLiteral("VQLINK.TXT"));
    if (link.isEmpty()) {
        m_dataPath = m_patPath;
        return;
    }
    const QByteArray bytes = readWholeFile(link).value_or(QByteArray());
    const QString first = CodePage::decode(bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
    // An empty link file, or one whose first line is blank, names no folder: read the client folder
    // rather than the root of the file system.
    m_dataPath = first.isEmpty() ? m_patPath : addPathSep(first);
}

void DayController::terminate() {
    if (m_host) {
        m_host->unloadAll();
    }
    m_settings.saveSettings();
    flushArchive(); // a day still waiting for its moment is stored before the data goes
    m_pat.reset();
}

void DayController::unloadWindow(IWindowHost::Window window) {
    if (m_host) {
        m_host->unload(window);
    }
}

void DayController::open(IWindowHost::Window window) {
    if (m_host) {
        m_host->show(window, *this);
    }
}

void DayController::closeChildren() {
    unloadWindow(IWindowHost::Window::Profit);
    unloadWindow(IWindowHost::Window::Log);
    unloadWindow(IWindowHost::Window::Record);
}

bool DayController::getData() {
    return m_pat ? m_pat->getOdds(m_curKaisai, m_curRace) : false;
}

void DayController::showProfit() {
    unloadWindow(IWindowHost::Window::Profit);
    open(IWindowHost::Window::Profit);
}

void DayController::showLog() {
    unloadWindow(IWindowHost::Window::Log);
    open(IWindowHost::Window::Log);
}

void DayController::showRecord() {
    unloadWindow(IWindowHost::Window::Record);
    open(IWindowHost::Window::Record);
}

void DayController::showBrowser() {
    if (meetings().empty()) {
        return; // no account files, no races: a download window would offer nothing
    }
    // A download in progress stays: the window is not closed first.
    open(IWindowHost::Window::Browser);
}

void DayController::showDetail() {
    unloadWindow(IWindowHost::Window::Kekka);
    unloadWindow(IWindowHost::Window::Detail);
    getData();
    const Race& race = currentRace();
    if (race.logCount() > 0) {
        open(IWindowHost::Window::Detail);
    }
    if (race.result()) {
        open(IWindowHost::Window::Kekka);
    }
}

bool DayController::loadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const {
    return m_settings.loadForm(window, top, left, height, width);
}

void DayController::saveForm(const IFormWindow& window) {
    m_settings.saveForm(window);
}

void DayController::deleteRecord(const QString& date) {
    m_book->deleteRecord(date);
}

void DayController::checkRecord(qint32 stake, qint32 payout, qint32 tomorrowStake, qint32 yesterdayStake,
                                const QString& saleDate, qint16 updateMode, qint16 processMode) {
    m_book->checkRecord(stake, payout, tomorrowStake, yesterdayStake, saleDate, updateMode, processMode);
}

void DayController::getRecord() {
    m_book->getRecord();
}

std::optional<DayTotals> DayController::updateDayTotals() {
    const std::optional<DayTotals> totals = sumDayTotals(meetings());
    if (!totals) {
        return totals;
    }
    m_dayTotals = *totals;
    // A day read with a file cut short or changing would store wrong figures as the day's: its figures are
    // shown, but the book and the archive keep what they hold until a whole read.
    if (!readWarnings().empty()) {
        return totals;
    }
    // The automatic update of today's record: the client's current date, records entered by hand kept.
    checkRecord(totals->amtBuy, totals->amtPay, totals->amtBuyTomorrow, totals->amtBuyYesterday, QString(), 0, 0);
    storeArchive();
    return totals;
}

const FileWarnings& DayController::readWarnings() const {
    return m_pat ? m_pat->warnings() : noWarnings();
}

void DayController::storeArchive() {
    if (!m_pat || m_patPath.isEmpty() || !readWarnings().empty()) {
        return;
    }
    // The day is gathered a moment later, when the window has painted what the refresh changed: gathering
    // a heavy day's bets takes some milliseconds that the first paint would otherwise wait for. Refreshes
    // in quick succession gather once, the latest state.
    if (!std::exchange(m_archiveDue, true)) {
        QTimer::singleShot(kArchiveDelayMs, this, [this] { handDayToArchive(); });
    }
}

void DayController::handDayToArchive() {
    // The day is the one read last: a refresh since the store was asked for may have met a damaged file.
    if (!std::exchange(m_archiveDue, false) || !m_pat || m_patPath.isEmpty() || !readWarnings().empty()) {
        return;
    }
    if (!m_archive) {
        m_archive = std::make_unique<ArchiveWriter>();
        // Reported from this thread, once: a broken archive must not bring up a message at every refresh,
        // and everything else goes on without it.
        connect(
            m_archive.get(), &ArchiveWriter::failed, this,
            [this](const QString& message) {
                if (!std::exchange(m_archiveReported, true)) {
                    reportFailure(QStringLiteral("分析用の投票記録に、この日の投票を保存できませんでした。通帳と"
                                                 "画面の数字はそのままです。次の更新でもう一度保存します。"),
                                  message);
                }
            },
            Qt::QueuedConnection);
    }
    try {
        m_archive->store(m_patPath, m_pat->saleDate(), Archive::dayBets(*m_pat));
    } catch (const AppError& e) {
        reportError(e); // from a timer: nobody above to pass it to
    }
}

void DayController::flushArchive() {
    handDayToArchive();
    if (m_archive) {
        m_archive->flush();
    }
}

const std::vector<std::unique_ptr<Meeting>>& DayController::meetings() const {
    return m_pat ? m_pat->meetings() : noMeetings();
}

RaceOdds* DayController::raceOdds() const {
    return m_pat ? m_pat->raceOdds() : nullptr;
}

BetLogReader* DayController::betLog() const {
    return m_pat ? m_pat->betLog() : nullptr;
}

const Race& DayController::currentRace() const {
    if (!m_pat) {
        throw AppError::objectNotSet();
    }
    return *m_pat->meeting(m_curKaisai)->race(m_curRace);
}

const std::array<qint32, 8>& DayController::standardWakuColors() {
    return kWakuColors;
}

qint32 DayController::wakuColor(int index) const {
    if (index < 1 || index > 8) {
        throw AppError::indexOutOfRange();
    }
    return m_wakuColor[index - 1];
}

QString DayController::saleDate() const {
    return m_pat ? m_pat->saleDate() : QString();
}

qint32 DayController::amtZandaka() const {
    return m_pat ? m_pat->amtZan() : 0;
}

qsizetype DayController::pastCount() const {
    return m_book->pastCount();
}
QString DayController::pastDate(qsizetype i) const {
    return m_book->pastDate(i);
}
qint32 DayController::pastBuy(qsizetype i) const {
    return m_book->pastBuy(i);
}
qint32 DayController::pastPay(qsizetype i) const {
    return m_book->pastPay(i);
}
qint32 DayController::pastProfit(qsizetype i) const {
    return m_book->pastProfit(i);
}
qint16 DayController::pastUpdate(qsizetype i) const {
    return m_book->pastUpdate(i);
}
qsizetype DayController::bestCount() const {
    return m_book->bestCount();
}
QString DayController::bestDate(qsizetype i) const {
    return m_book->bestDate(i);
}
qint32 DayController::bestBuy(qsizetype i) const {
    return m_book->bestBuy(i);
}
qint32 DayController::bestPay(qsizetype i) const {
    return m_book->bestPay(i);
}
qint32 DayController::bestProfit(qsizetype i) const {
    return m_book->bestProfit(i);
}
qsizetype DayController::worstCount() const {
    return m_book->worstCount();
}
QString DayController::worstDate(qsizetype i) const {
    return m_book->worstDate(i);
}
qint32 DayController::worstBuy(qsizetype i) const {
    return m_book->worstBuy(i);
}
qint32 DayController::worstPay(qsizetype i) const {
    return m_book->worstPay(i);
}
qint32 DayController::worstProfit(qsizetype i) const {
    return m_book->worstProfit(i);
}
qint64 DayController::totalBuy() const {
    return m_book->totalBuy();
}
qint64 DayController::totalPay() const {
    return m_book->totalPay();
}
qint64 DayController::totalProfit() const {
    return m_book->totalProfit();
}
