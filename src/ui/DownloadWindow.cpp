#include "DownloadWindow.h"

#include "ObjectNames.h"
#include "control/DayController.h"
#include "core/AppInfo.h"
#include "core/AtomicFile.h"
#include "core/Dates.h"
#include "core/ErrorReporter.h"
#include "results/ResultsPageConverter.h"
#include "views/NavigationError.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kPayoutListTitle = QStringLiteral("払戻金一覧");
const QString kResultsTitle = QStringLiteral("競走成績");
const QByteArray kFormHeader = "Content-Type: application/x-www-form-urlencoded\r\n";

template <class Control>
Control* keepPlace(Control* c) {
    QSizePolicy keep = c->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    c->setSizePolicy(keep);
    c->hide();
    return c;
}

// The size of every race's box: room for the widest caption it can show. Boxes of one size whatever they
// show keep the rows, the panels and the buttons below them in their place from run to run (a box with a
// caption is taller than an empty one).
QSize boxSizeFor(const QFont& font) {
    QCheckBox probe;
    probe.setFont(font);
    QSize size;
    for (const QString& caption : {QStringLiteral("取得不可 接続できません"), QStringLiteral("取得不可 タイムアウト"),
                                   QStringLiteral("99999999円")}) {
        probe.setText(caption);
        size = size.expandedTo(probe.sizeHint());
    }
    return size;
}
} // namespace

DownloadWindow::DownloadWindow(DayController& control, QWidget* owner, std::unique_ptr<ResultsBrowser> browser,
                               std::function<void()> unloaded)
    : ChildWindow(control, Settings::Download, owner), m_browser(std::move(browser)), m_unloaded(std::move(unloaded)) {
    m_stepTimer.setInterval(10);
    m_endTimer.setInterval(5);
    m_busyTimer.setInterval(5);
    m_timeoutTimer.setInterval(30000);
    connect(&m_stepTimer, &QTimer::timeout, this, &DownloadWindow::takeStep);
    connect(&m_endTimer, &QTimer::timeout, this, &DownloadWindow::checkRunEnded);
    connect(&m_busyTimer, &QTimer::timeout, this, &DownloadWindow::watchBrowser);
    connect(&m_timeoutTimer, &QTimer::timeout, this, &DownloadWindow::pageTimedOut);
    connect(m_browser.get(), &ResultsBrowser::loadFinished, this, &DownloadWindow::pageLoaded);
    connect(m_browser.get(), &ResultsBrowser::navigationError, this, &DownloadWindow::navigationFailed);
    buildControls();
    fill();
}

DownloadWindow::~DownloadWindow() = default;

void DownloadWindow::buildControls() {
    setWindowTitle(designCaption());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    // Everything the user may not touch during a run sits on the choices panel.
    m_choices = new QWidget(this);
    m_choices->setObjectName(QStringLiteral("choices"));
    auto* picture = new QVBoxLayout(m_choices);
    picture->setContentsMargins(0, 0, 0, 0);
    auto* panels = new QHBoxLayout;
    panels->setSpacing(6);
    for (int m = 0; m < DownloadRun::kPanels; ++m) {
        panels->addWidget(buildPanel(m));
    }
    picture->addLayout(panels);
    auto* buttons = new QHBoxLayout;
    m_submit = new QPushButton(QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ"), m_choices);
    m_submit->setObjectName(QStringLiteral("downloadButton"));
    m_selectAll = new QPushButton(QStringLiteral("全て選択"), m_choices);
    m_selectAll->setObjectName(QStringLiteral("selectAllButton"));
    buttons->addStretch(1);
    buttons->addWidget(m_submit);
    buttons->addWidget(m_selectAll);
    picture->addLayout(buttons);
    outer->addWidget(m_choices);

    auto* cancelRow = new QHBoxLayout;
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setEnabled(false);
    // Where the run is, on a line of its own below the buttons, so a text of any length moves nothing.
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("progressLine"));
    m_progress->setFixedHeight(m_progress->fontMetrics().height() + 4);
    m_progress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    cancelRow->addWidget(m_progress, 1);
    cancelRow->addWidget(m_cancel);
    outer->addLayout(cancelRow);

    if (QWidget* view = m_browser->widget()) {
        view->setParent(this);
        view->setMinimumSize(360, 120);
        outer->addWidget(view, 1);
    }

    connect(m_submit, &QPushButton::clicked, this, &DownloadWindow::downloadClicked);
    connect(m_selectAll, &QPushButton::clicked, this, &DownloadWindow::selectAllClicked);
    connect(m_cancel, &QPushButton::clicked, this, &DownloadWindow::cancelClicked);
}

QFrame* DownloadWindow::buildPanel(int m) {
    auto* panel = keepPlace(new QFrame(m_choices));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setObjectName(indexedName("meetingPanel", m + 1));
    m_panel[size_t(m)] = panel;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    auto* title = new QLabel(panel);
    title->setAlignment(Qt::AlignCenter);
    title->setObjectName(indexedName("meetingTitle", m + 1));
    m_meetingTitle[size_t(m)] = title;
    grid->addWidget(title, 0, 0, 1, 2);

    const QSize boxSize = boxSizeFor(font());
    for (int r = 0; r < DownloadRun::kRaces; ++r) {
        const int i = m * DownloadRun::kRaces + r;
        auto* t = keepPlace(new QLabel(QStringLiteral("%1R").arg(r + 1), panel));
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = keepPlace(new QCheckBox(panel));
        box->setFixedSize(boxSize);
        box->setBackgroundRole(QPalette::Window);
        box->setAutoFillBackground(true);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_run.setChecked(i, on); });
        t->setObjectName(indexedName("raceTitle", m + 1, r + 1));
        box->setObjectName(indexedName("raceBox", m + 1, r + 1));
        m_raceTitle[size_t(i)] = t;
        m_raceBox[size_t(i)] = box;
        grid->addWidget(t, r + 1, 0);
        grid->addWidget(box, r + 1, 1);
    }
    grid->setRowStretch(DownloadRun::kRaces + 1, 1); // rows keep their height; the spare room goes below
    return panel;
}

void DownloadWindow::fill() {
    sendRequest(QStringLiteral("about:VelqoraV50"), {});
    m_run.load(control().meetings());
    const QStringList& titles = m_run.panelTitles();
    for (int m = 0; m < titles.size(); ++m) {
        m_meetingTitle[size_t(m)]->setText(titles[m]);
        m_panel[size_t(m)]->show();
    }
    showBoxes();
    restorePlace(true, true, false, false);
}

void DownloadWindow::closing() {
    m_stepTimer.stop();
    m_endTimer.stop();
    m_busyTimer.stop();
    m_timeoutTimer.stop();
    m_awaiting = false;
    m_browser->stop();
    if (m_unloaded) {
        m_unloaded();
    }
}

void DownloadWindow::showBoxes() {
    for (int i = 0; i < DownloadRun::kSlots; ++i) {
        const DownloadRun::Box& b = m_run.boxAt(i);
        QCheckBox* box = m_raceBox[size_t(i)];
        m_raceTitle[size_t(i)]->setVisible(b.visible);
        box->setVisible(b.visible);
        const QSignalBlocker quiet(box);
        box->setChecked(b.checked);
        box->setText(b.caption);
        box->setToolTip(b.tip);
        // Through the palette, not a style sheet: a styled check box loses the platform's indicator.
        QPalette colours = box->palette();
        colours.setColor(QPalette::Window, QColor(Rgb::hex(b.back)));
        colours.setColor(QPalette::WindowText, QColor(Rgb::hex(b.fore)));
        box->setPalette(colours);
    }
}

void DownloadWindow::sendRequest(const QString& address, const QByteArray& body) {
    m_busyTimer.start();
    m_timeoutTimer.start();
    m_browserBusy = true;
    m_browser->navigate(QUrl(address), body, body.isEmpty() ? QByteArray() : kFormHeader);
}

QString DownloadWindow::saveFolder() const {
    const QString down = control().downloadFolder();
    const QString day = control().saleDate();
    // The sale date comes from the client's account file and names a folder: only a date may, never a
    // text that could lead out of the download folder.
    if (down.isEmpty() || !Dates::fromYmd(day)) {
        return {};
    }
    return down + QLatin1Char('/') + day;
}

void DownloadWindow::downloadClicked() {
    const QString folder = saveFolder();
    if (folder.isEmpty()) {
        currentErrorReporter()->showError(AppInfo::title(), DownloadRun::noSaveFolderText());
        return;
    }
    if (!saveFolderWritable(folder)) {
        return;
    }
    m_browser->showNotice(QString()); // the last run's page or message is not this run's
    m_run.start();
    showBoxes();
    setWindowTitle(m_run.caption());
    m_progress->clear();
    m_choices->setEnabled(false);
    m_cancel->setEnabled(true);
    m_awaiting = false;
    m_endTimer.start();
    m_stepTimer.start();
}

bool DownloadWindow::saveFolderWritable(const QString& folder) {
    QString reason;
    QString system;
    if (AtomicFile::canWriteIn(folder, &reason, &system)) {
        return true;
    }
    const QString shown = QDir::toNativeSeparators(folder);
    reportFailure(DownloadRun::folderNotWritableText(shown, reason), shown + QStringLiteral(": ") + system);
    return false;
}

void DownloadWindow::selectAllClicked() {
    m_run.selectAll();
    showBoxes();
}

void DownloadWindow::cancelClicked() {
    m_timeoutTimer.stop();
    m_stepTimer.stop();
    m_run.cancel();
    m_awaiting = false;
    m_browser->stop();
}

void DownloadWindow::takeStep() {
    if (m_browser->busy()) {
        return; // the next tick tries again
    }
    m_stepTimer.stop();
    const DownloadRun::Step step = m_run.next();
    if (step.what == DownloadRun::Step::RequestList || step.what == DownloadRun::Step::RequestRace) {
        m_awaiting = true;
        QString base = control().settings().resultSite().trimmed();
        while (base.endsWith(QLatin1Char('/'))) {
            base.chop(1);
        }
        sendRequest(base + formPath(), step.body);
    }
    showBoxes(); // a race whose meeting's list could not be read is marked on the way
    setWindowTitle(m_run.caption());
    m_progress->setText(m_run.progress());
    if (step.what == DownloadRun::Step::Finished) {
        endRun();
    }
}

void DownloadWindow::checkRunEnded() {
    if (!m_run.running()) {
        endRun();
    }
}

void DownloadWindow::endRun() {
    m_endTimer.stop();
    m_run.next(); // a cancelled run has its last word only now
    setWindowTitle(m_run.caption());
    m_progress->setText(m_run.progress());
    m_cancel->setEnabled(false);
    m_choices->setEnabled(true);
    showBoxes();
    // Said once the run has stopped: a message in the middle of it would hold up its timers.
    if (const QString writeError = m_run.takeWriteError(); !writeError.isEmpty()) {
        reportFailure(DownloadRun::notSavedMessage(), writeError);
    }
    control().downloadRunEnded(); // the results just saved are shown without a wait
}

void DownloadWindow::watchBrowser() {
    m_browserBusy = m_browser->busy();
    if (!m_browserBusy) {
        m_busyTimer.stop();
        m_timeoutTimer.stop();
    }
}

void DownloadWindow::pageTimedOut() {
    m_timeoutTimer.stop();
    m_stepTimer.stop();
    m_browser->stop();
    if (!m_awaiting) {
        return; // the start page: nothing waits for it
    }
    m_awaiting = false;
    m_browser->showNotice(NavigationError::page(NavigationError::timedOutHeadline()));
    m_run.pageFailed(DownloadRun::timedOutText());
    goOn();
}

void DownloadWindow::pageLoaded(const QString& title, const QString& text) {
    m_timeoutTimer.stop();
    if (!m_awaiting) {
        return;
    }
    m_awaiting = false;
    if (title == kPayoutListTitle) {
        setWindowTitle(QStringLiteral("レース情報　解析中"));
        ResultsPageConverter conv;
        conv.addListedRaces(text);
        QList<int> published;
        for (const QString& number : conv.foundRaces()) {
            published << number.toInt();
        }
        m_run.listLoaded(published);
    } else if (title == kResultsTitle) {
        setWindowTitle(QStringLiteral("競走成績　") + m_run.raceNumber(m_run.position()) +
                       QStringLiteral("レース　解析中"));
        const QString folder = saveFolder();
        ResultsPageConverter conv;
        bool converted = false;
        if (!folder.isEmpty()) {
            conv.setSavePathName(folder);
            QString hashed = text;
            converted = conv.convertResultsPage(hashed.replace(QLatin1Char(' '), QLatin1Char('#')));
        }
        if (!conv.writeError().isEmpty()) {
            m_run.raceNotSaved(conv.writeError());
        } else {
            m_run.raceLoaded(converted);
        }
    } else {
        // Neither kind of page (a site's error page, a maintenance notice): waiting for the user to
        // cancel would be the only way on, so the race is marked and the run goes on.
        m_run.pageFailed(DownloadRun::errorText());
    }
    goOn();
}

void DownloadWindow::navigationFailed(int status) {
    m_timeoutTimer.stop();
    if (!m_awaiting) {
        return;
    }
    m_awaiting = false;
    // Our own words in place of the engine's English error page.
    m_browser->showNotice(NavigationError::page(NavigationError::headline(status)));
    m_run.navigationFailed(status);
    goOn();
}

void DownloadWindow::goOn() {
    showBoxes();
    setWindowTitle(m_run.caption());
    if (m_run.running()) {
        m_stepTimer.start();
    }
}
