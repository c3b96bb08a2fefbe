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

const std::vector<std::unique_ptr<Meeting>>& NoMeetings() {
    static const std::vector<std::unique_ptr<Meeting>> none;
    return none;
}

const FileWarnings& NoWarnings() {
    static const FileWarnings none;
    return none;
}
} // namespace

DayController::DayController(const Folders& folders, QObject* parent)
    : QObject(parent), m_folders(folders), m_book(std::make_unique<ProfitBook>()) {
    m_settings.setFolder(folders.Program);
    m_book->setCurDateSource([this] { return CurDate(); });
}

DayController::~DayController() = default;

bool DayController::Initialize() {
    try {
        m_settings.LoadSettings();
        m_wakuColor = kWakuColors;
        setPatPath(m_folders.Client);
        m_downPath = m_folders.Download;
        m_dataPath = m_patPath;
        ReadDataFolder();
        return true;
    } catch (const AppError& e) {
        throw e.Rebased(kSource);
    }
}

void DayController::setPatPath(const QString& v) {
    m_patPath = v;
    m_book->setFolder(v);
}

void DayController::ReadDataFolder() {
    // Whatever was obtained from the old reader belongs to it; the new one replaces it whole.
    m_pat = std::make_unique<SaleDayReader>();
    m_pat->setPathName(m_dataPath);
    m_pat->setDownPath(m_downPath);
    m_pat->Initialize(); // false only means an empty day; the program goes on with what was read
}

bool DayController::ReInitialize() {
    ChangePath();
    ReadDataFolder();
    emit ReInitialized();
    return true;
}

void DayController::ChangePath() {
    const QString link = ClientFiles::FindFile(m_patPath, QStringLiteral("VQLINK.TXT"));
    if (link.isEmpty()) {
        m_dataPath = m_patPath;
        return;
    }
    const QByteArray bytes = ReadWholeFile(link).value_or(QByteArray());
    const QString first = CodePage::Decode(bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
    // An empty link file, or one whose first line is blank, names no folder: read the client folder
    // rather than the root of the file system.
    m_dataPath = first.isEmpty() ? m_patPath : AddPathSep(first);
}

void DayController::Terminate() {
    if (m_host) {
        m_host->UnloadAll();
    }
    m_settings.SaveSettings();
    FlushArchive(); // a day still waiting for its moment is stored before the data goes
    m_pat.reset();
}

void DayController::UnloadWindow(IWindowHost::Window window) {
    if (m_host) {
        m_host->Unload(window);
    }
}

void DayController::Open(IWindowHost::Window window) {
    if (m_host) {
        m_host->Show(window, *this);
    }
}

void DayController::CloseChildren() {
    UnloadWindow(IWindowHost::Window::Profit);
    UnloadWindow(IWindowHost::Window::Log);
    UnloadWindow(IWindowHost::Window::Record);
}

bool DayController::GetData() {
    return m_pat ? m_pat->GetOdds(m_curKaisai, m_curRace) : false;
}

void DayController::ShowProfit() {
    UnloadWindow(IWindowHost::Window::Profit);
    Open(IWindowHost::Window::Profit);
}

void DayController::ShowLog() {
    UnloadWindow(IWindowHost::Window::Log);
    Open(IWindowHost::Window::Log);
}

void DayController::ShowRecord() {
    UnloadWindow(IWindowHost::Window::Record);
    Open(IWindowHost::Window::Record);
}

void DayController::ShowBrowser() {
    if (colKaisai().empty()) {
        return; // no account files, no races: a download window would offer nothing
    }
    // A download in progress stays: the window is not closed first.
    Open(IWindowHost::Window::Browser);
}

void DayController::ShowDetail() {
    UnloadWindow(IWindowHost::Window::Kekka);
    UnloadWindow(IWindowHost::Window::Detail);
    GetData();
    const Race& race = objCurRace();
    if (race.LogCount() > 0) {
        Open(IWindowHost::Window::Detail);
    }
    if (race.objKekka()) {
        Open(IWindowHost::Window::Kekka);
    }
}

bool DayController::LoadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const {
    return m_settings.LoadForm(window, top, left, height, width);
}

void DayController::SaveForm(const IFormWindow& window) {
    m_settings.SaveForm(window);
}

void DayController::DeleteRecord(const QString& strDate) {
    m_book->DeleteRecord(strDate);
}

void DayController::CheckRecord(qint32 lngAmtBuy, qint32 lngAmtPay, qint32 lngAmtBuyTomorrow, qint32 lngAmtBuyYesterday,
                                const QString& strCurDate, qint16 intUpdate, qint16 intProcess) {
    m_book->CheckRecord(lngAmtBuy, lngAmtPay, lngAmtBuyTomorrow, lngAmtBuyYesterday, strCurDate, intUpdate, intProcess);
}

void DayController::GetRecord() {
    m_book->GetRecord();
}

std::optional<DayTotals> DayController::UpdateDayTotals() {
    const std::optional<DayTotals> totals = SumDayTotals(colKaisai());
    if (!totals) {
        return totals;
    }
    m_dayTotals = *totals;
    // A day read with a file cut short or changing would store wrong figures as the day's: its figures are
    // shown, but the book and the archive keep what they hold until a whole read.
    if (!ReadWarnings().empty()) {
        return totals;
    }
    // The automatic update of today's record: the client's current date, records entered by hand kept.
    CheckRecord(totals->AmtBuy, totals->AmtPay, totals->AmtBuyTomorrow, totals->AmtBuyYesterday, QString(), 0, 0);
    StoreArchive();
    return totals;
}

const FileWarnings& DayController::ReadWarnings() const {
    return m_pat ? m_pat->Warnings() : NoWarnings();
}

void DayController::StoreArchive() {
    if (!m_pat || m_patPath.isEmpty() || !ReadWarnings().empty()) {
        return;
    }
    // The day is gathered a moment later, when the window has painted what the refresh changed: gathering
    // a heavy day's bets takes some milliseconds that the first paint would otherwise wait for. Refreshes
    // in quick succession gather once, the latest state.
    if (!std::exchange(m_archiveDue, true)) {
        QTimer::singleShot(kArchiveDelayMs, this, [this] { HandDayToArchive(); });
    }
}

void DayController::HandDayToArchive() {
    // The day is the one read last: a refresh since the store was asked for may have met a damaged file.
    if (!std::exchange(m_archiveDue, false) || !m_pat || m_patPath.isEmpty() || !ReadWarnings().empty()) {
        return;
    }
    if (!m_archive) {
        m_archive = std::make_unique<ArchiveWriter>();
        // Reported from this thread, once: a broken archive must not bring up a message at every refresh,
        // and everything else goes on without it.
        connect(
            m_archive.get(), &ArchiveWriter::Failed, this,
            [this](const QString& message) {
                if (!std::exchange(m_archiveReported, true)) {
                    ReportFailure(QStringLiteral("分析用の投票記録に、この日の投票を保存できませんでした。通帳と"
                                                 "画面の数字はそのままです。次の更新でもう一度保存します。"),
                                  message);
                }
            },
            Qt::QueuedConnection);
    }
    try {
        m_archive->Store(m_patPath, m_pat->CurDate(), Archive::DayBets(*m_pat));
    } catch (const AppError& e) {
        ReportError(e); // from a timer: nobody above to pass it to
    }
}

void DayController::FlushArchive() {
    HandDayToArchive();
    if (m_archive) {
        m_archive->Flush();
    }
}

const std::vector<std::unique_ptr<Meeting>>& DayController::colKaisai() const {
    return m_pat ? m_pat->colKaisai() : NoMeetings();
}

RaceOdds* DayController::objFactory() const {
    return m_pat ? m_pat->objFactory() : nullptr;
}

BetLogReader* DayController::objLog() const {
    return m_pat ? m_pat->objLog() : nullptr;
}

const Race& DayController::objCurRace() const {
    if (!m_pat) {
        throw AppError::ObjectNotSet();
    }
    return *m_pat->objKaisai(m_curKaisai)->objRace(m_curRace);
}

const std::array<qint32, 8>& DayController::StandardWakuColors() {
    return kWakuColors;
}

qint32 DayController::WakuColor(int index) const {
    if (index < 1 || index > 8) {
        throw AppError::IndexOutOfRange();
    }
    return m_wakuColor[index - 1];
}

QString DayController::CurDate() const {
    return m_pat ? m_pat->CurDate() : QString();
}

qint32 DayController::AmtZandaka() const {
    return m_pat ? m_pat->AmtZan() : 0;
}

qsizetype DayController::PastCount() const {
    return m_book->PastCount();
}
QString DayController::PastDate(qsizetype i) const {
    return m_book->PastDate(i);
}
qint32 DayController::PastBuy(qsizetype i) const {
    return m_book->PastBuy(i);
}
qint32 DayController::PastPay(qsizetype i) const {
    return m_book->PastPay(i);
}
qint32 DayController::PastProfit(qsizetype i) const {
    return m_book->PastProfit(i);
}
qint16 DayController::PastUpdate(qsizetype i) const {
    return m_book->PastUpdate(i);
}
qsizetype DayController::BestCount() const {
    return m_book->BestCount();
}
QString DayController::BestDate(qsizetype i) const {
    return m_book->BestDate(i);
}
qint32 DayController::BestBuy(qsizetype i) const {
    return m_book->BestBuy(i);
}
qint32 DayController::BestPay(qsizetype i) const {
    return m_book->BestPay(i);
}
qint32 DayController::BestProfit(qsizetype i) const {
    return m_book->BestProfit(i);
}
qsizetype DayController::WorstCount() const {
    return m_book->WorstCount();
}
QString DayController::WorstDate(qsizetype i) const {
    return m_book->WorstDate(i);
}
qint32 DayController::WorstBuy(qsizetype i) const {
    return m_book->WorstBuy(i);
}
qint32 DayController::WorstPay(qsizetype i) const {
    return m_book->WorstPay(i);
}
qint32 DayController::WorstProfit(qsizetype i) const {
    return m_book->WorstProfit(i);
}
qint64 DayController::TotalBuy() const {
    return m_book->TotalBuy();
}
qint64 DayController::TotalPay() const {
    return m_book->TotalPay();
}
qint64 DayController::TotalProfit() const {
    return m_book->TotalProfit();
}
