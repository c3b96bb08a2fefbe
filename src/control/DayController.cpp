#include "DayController.h"

#include "FolderWatch.h"

#include "archive/ArchiveWriter.h"
#include "archive/DayBets.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/CodePage.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Platform.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "profit/ProfitBook.h"

#include <QDir>
#include <QTimer>

#include <tuple>

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
    m_book->setSaleDateSource([this] { return saleDate(); });
}

DayController::~DayController() = default;

void DayController::start() {
    try {
        m_settings.loadSettings();
        m_wakuColor = kWakuColors;
        m_clientFolder = m_folders.client;
        m_book->setFolder(m_clientFolder);
        m_dataFolder = m_clientFolder;
        readDataFolder();
    } catch (const AppError& e) {
        followFolders(); // a folder the client has not written yet is watched all the same
        throw e.rebased(kSource);
    }
    followFolders();
}

void DayController::readAhead() {
    if (m_bookAhead.valid()) {
        return;
    }
    auto dayRead = std::make_shared<std::promise<DayAhead>>();
    auto bookRead = std::make_shared<std::promise<std::shared_ptr<ProfitBook::LoadAhead>>>();
    m_dayAhead = dayRead->get_future();
    m_bookAhead = bookRead->get_future();
    m_aheadThread =
        Platform::startThread([client = m_folders.client, download = m_folders.download, dayRead, bookRead] {
            DayAhead ahead;
            try {
                ahead.day = std::make_unique<SaleDayReader>(SaleDayReader::read(client, download));
            } catch (...) {
                ahead.failure = std::current_exception();
            }
            dayRead->set_value(std::move(ahead));
            std::shared_ptr<ProfitBook::LoadAhead> book;
            try {
                book = ProfitBook::loadAhead(client);
            } catch (...) {
                // loadBook() loads it again, and says why it could not
            }
            bookRead->set_value(std::move(book));
        });
}

DayController::DayAhead DayController::takeDayAhead() {
    return m_dayAhead.valid() ? m_dayAhead.get() : DayAhead{};
}

void DayController::readDataFolder() {
    // Whatever was obtained from the old reader belongs to it; the new one replaces it whole. A read made
    // ahead is of the client folder, and is taken once.
    DayAhead ahead = takeDayAhead();
    if (m_dataFolder == m_folders.client) {
        if (ahead.failure) {
            std::rethrow_exception(ahead.failure);
        }
        if (ahead.day) {
            m_day = std::move(ahead.day);
            return;
        }
    }
    m_day = std::make_unique<SaleDayReader>(SaleDayReader::read(m_dataFolder, m_folders.download));
}

void DayController::loadBook() {
    const std::shared_ptr<ProfitBook::LoadAhead> ahead = m_bookAhead.valid() ? m_bookAhead.get() : nullptr;
    if (!ahead || !m_book->adopt(*ahead)) {
        m_book->load();
    }
}

void DayController::refresh() {
    if (!m_settings.autoRefresh() || !m_host) {
        followLink();
        readDataFolder();
        closeDayWindows();
        settleDay();
        return;
    }
    // The open windows hold nothing of the old day past their filling: they stay, and are filled from the
    // new one. A read that fails keeps the old day, and they keep showing it.
    try {
        followLink();
        readDataFolder();
    } catch (...) {
        followFolders();
        throw;
    }
    settleDay();
    refillWindows();
    followFolders();
}

void DayController::refillWindows() {
    using W = IWindowHost::Window;
    for (const W w : {W::Profit, W::Log, W::Record}) {
        if (m_host->isLoaded(w) && !m_host->refill(w, nullptr)) {
            closeWindow(w); // a window that cannot be filled again in place is made again
            open(w);
        }
    }
    const bool detail = m_host->isLoaded(W::Detail);
    const bool results = m_host->isLoaded(W::Kekka);
    if (!detail && !results) {
        return;
    }
    // The race windows show the same race of the new day, when the day still has it where it was.
    const Race* race = nullptr;
    const auto [meeting, number] = m_shownRace.place;
    if (meeting >= 1 && meeting <= qsizetype(meetings().size())) {
        const Meeting& m = *meetings()[size_t(meeting - 1)];
        if (number >= 1 && number <= m.raceCount() && m.kaisaiNum() == m_shownRace.venue &&
            m.race(number)->raceNum() == m_shownRace.raceNumber) {
            race = m.race(number);
        }
    }
    if (!race) {
        closeWindow(W::Kekka);
        closeWindow(W::Detail);
        return;
    }
    m_day->readRaceOdds(static_cast<qint16>(meeting), static_cast<qint16>(number));
    const ShownRace shown{*race, m_day->raceOdds()};
    for (const auto& [w, open, has] : {std::tuple{W::Detail, detail, race->logCount() > 0},
                                       std::tuple{W::Kekka, results, race->result() != nullptr}}) {
        if (!open) {
            continue;
        }
        if (!has) {
            closeWindow(w);
        } else if (!m_host->refill(w, &shown)) {
            closeWindow(w);
            this->open(w, &shown);
        }
    }
}

void DayController::setAutoRefresh(bool on) {
    m_settings.setAutoRefresh(on);
    followFolders();
}

void DayController::followFolders() {
    if (!m_settings.autoRefresh()) {
        m_watch.reset();
        m_watched.clear();
        return;
    }
    // The client writes into the data folder; the download window (or the user) puts result files into
    // today's download folder, which may only be made later: its parent is watched for it.
    QStringList folders{QDir::cleanPath(m_dataFolder)};
    if (!m_folders.download.isEmpty()) {
        folders << QDir::cleanPath(m_folders.download);
        if (!saleDate().isEmpty()) {
            folders << QDir::cleanPath(m_folders.download + QLatin1Char('/') + saleDate());
        }
    }
    if (!m_watch) {
        m_watch = std::make_unique<FolderWatch>(FolderWatch::Timing{}, this); // a child: tests can see it
        connect(m_watch.get(), &FolderWatch::settled, this, &DayController::refreshByItself);
    } else if (folders == m_watched) {
        return;
    }
    m_watched = folders;
    // The client's files and the results are all ".JRA"; the link file may name another data folder.
    m_watch->watch(folders, {QStringLiteral("*.JRA"), QStringLiteral("VQLINK.TXT")});
}

void DayController::downloadRunEnded() {
    if (m_settings.autoRefresh()) {
        refreshByItself();
    }
}

void DayController::refreshByItself() {
    if (m_refreshing) {
        m_refreshAgain = true; // a message of the refresh under way is up: once it is answered
        return;
    }
    if (m_host && !m_host->canRebuild()) {
        // A dialog is up (a file dialog, a message): the day is read once it has been answered.
        if (!std::exchange(m_refreshWaits, true)) {
            QTimer::singleShot(kWaitForDialogMs, this, [this] {
                m_refreshWaits = false;
                refreshByItself();
            });
        }
        return;
    }
    m_refreshing = true;
    do {
        m_refreshAgain = false;
        try {
            refresh();
            m_lastAutoError.clear();
        } catch (const AppError& e) {
            // The folders change all day: the same failure is said once, not at every change.
            if (std::exchange(m_lastAutoError, e.description()) != e.description()) {
                reportError(e); // as the refresh button says it
            }
        }
    } while (m_refreshAgain);
    m_refreshing = false;
}

void DayController::followLink() {
    const QString link = ClientFiles::findFile(m_clientFolder, QStringLiteral("VQLINK.TXT"));
    if (link.isEmpty()) {
        m_dataFolder = m_clientFolder;
        return;
    }
    const QByteArray bytes = readWholeFile(link).value_or(QByteArray());
    const QString first = CodePage::decode(bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
    // An empty link file, or one whose first line is blank, names no folder: read the client folder
    // rather than the root of the file system.
    m_dataFolder = first.isEmpty() ? m_clientFolder : addPathSep(first);
}

void DayController::settleDay() {
    DayRefresh day{sumDayTotals(meetings()), saleDate(), m_day ? m_day->amtZan() : 0, readWarnings()};
    // A day read with a file cut short or changing would store wrong figures as the day's: its figures are
    // shown, but the book and the archive keep what they hold until a whole read.
    if (day.totals && day.warnings.empty()) {
        // The automatic update of today's record: the client's current date, records entered by hand kept.
        const DayTotals& t = *day.totals;
        m_book->checkRecord(t.amtBuy, t.amtPay, t.amtBuyYesterday, QString(), 0, 0);
        storeArchive();
    }
    emit dayRefreshed(day);
}

void DayController::finish() {
    m_watch.reset();
    if (m_host) {
        m_host->unloadAll();
    }
    m_settings.saveSettings();
    flushArchive(); // a day still waiting for its moment is stored before the data goes
    m_day.reset();
}

void DayController::closeWindow(IWindowHost::Window window) {
    if (m_host) {
        m_host->unload(window);
    }
}

void DayController::open(IWindowHost::Window window, const ShownRace* race) {
    if (m_host) {
        m_host->show(window, *this, race);
    }
}

void DayController::closeDayWindows() {
    closeWindow(IWindowHost::Window::Profit);
    closeWindow(IWindowHost::Window::Log);
    closeWindow(IWindowHost::Window::Record);
}

void DayController::showProfitTable() {
    closeWindow(IWindowHost::Window::Profit);
    open(IWindowHost::Window::Profit);
}

void DayController::showBetLog() {
    closeWindow(IWindowHost::Window::Log);
    open(IWindowHost::Window::Log);
}

void DayController::showPassbook() {
    closeWindow(IWindowHost::Window::Record);
    open(IWindowHost::Window::Record);
}

void DayController::showDownload() {
    if (meetings().empty()) {
        return; // no account files, no races: a download window would offer nothing
    }
    // A download in progress stays: the window is not closed first.
    open(IWindowHost::Window::Browser);
}

void DayController::showRaceDetail(int meeting, int race) {
    closeWindow(IWindowHost::Window::Kekka);
    closeWindow(IWindowHost::Window::Detail);
    if (!m_day) {
        throw AppError::objectNotSet();
    }
    m_day->readRaceOdds(static_cast<qint16>(meeting), static_cast<qint16>(race));
    const ShownRace shown{*m_day->meeting(meeting)->race(race), m_day->raceOdds()};
    m_shownRace = {{meeting, race}, m_day->meeting(meeting)->kaisaiNum(), shown.race.raceNum()};
    if (shown.race.logCount() > 0) {
        open(IWindowHost::Window::Detail, &shown);
    }
    if (shown.race.result()) {
        open(IWindowHost::Window::Kekka, &shown);
    }
}

const FileWarnings& DayController::readWarnings() const {
    return m_day ? m_day->warnings() : noWarnings();
}

void DayController::storeArchive() {
    if (!m_day || m_clientFolder.isEmpty() || !readWarnings().empty()) {
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
    if (!std::exchange(m_archiveDue, false) || !m_day || m_clientFolder.isEmpty() || !readWarnings().empty()) {
        return;
    }
    if (!m_archive) {
        m_archive = std::make_unique<ArchiveWriter>();
        // Reported from this thread, once: a broken archive must not bring up a message at every refresh,
        // and everything else goes on without it.
        connect(
            m_archive.get(), &ArchiveWriter::failed, this,
            [this](const QString& message) {
                m_handedFingerprint.clear(); // stored again at the next refresh, as the message says
                if (!std::exchange(m_archiveReported, true)) {
                    reportFailure(QStringLiteral("分析用の投票記録に、この日の投票を保存できませんでした。通帳と"
                                                 "画面の数字はそのままです。次の更新でもう一度保存します。"),
                                  message);
                }
            },
            Qt::QueuedConnection);
    }
    // A day read from the very files handed last is that day again (a refresh for an odds file, a close
    // right after a refresh): nothing to gather. The program's version is part of it: another version
    // may evaluate a bet otherwise.
    const QByteArray fingerprint =
        m_day->fingerprint().isEmpty() ? QByteArray() : m_day->fingerprint() + AppInfo::versionText().toLatin1();
    if (!fingerprint.isEmpty() && fingerprint == m_handedFingerprint) {
        return;
    }
    m_handedFingerprint = fingerprint;
    try {
        m_archive->store(m_clientFolder, m_day->saleDate(), fingerprint, Archive::dayBets(*m_day));
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
    return m_day ? m_day->meetings() : noMeetings();
}

BetLogReader* DayController::betLog() const {
    return m_day ? m_day->betLog() : nullptr;
}

const std::array<qint32, 8>& DayController::standardWakuColors() {
    return kWakuColors;
}

QString DayController::saleDate() const {
    return m_day ? m_day->saleDate() : QString();
}
