#include "DownloadWindow.h"

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
Control* KeepPlace(Control* c) {
    QSizePolicy keep = c->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    c->setSizePolicy(keep);
    c->hide();
    return c;
}

// The size of every race's box: room for the widest caption it can show. Boxes of one size whatever they
// show keep the rows, the panels and the buttons below them in their place from run to run (a box with a
// caption is taller than an empty one).
QSize BoxSize(const QFont& font) {
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
    m_timEvent.setInterval(10);
    m_timProc.setInterval(5);
    m_timWatch.setInterval(5);
    m_timTimeOut.setInterval(30000);
    connect(&m_timEvent, &QTimer::timeout, this, &DownloadWindow::timEvent_Timer);
    connect(&m_timProc, &QTimer::timeout, this, &DownloadWindow::timProc_Timer);
    connect(&m_timWatch, &QTimer::timeout, this, &DownloadWindow::timWatch_Timer);
    connect(&m_timTimeOut, &QTimer::timeout, this, &DownloadWindow::timTimeOut_Timer);
    connect(m_browser.get(), &ResultsBrowser::loadFinished, this, &DownloadWindow::brwWebBrowser_DocumentComplete);
    connect(m_browser.get(), &ResultsBrowser::navigationError, this, &DownloadWindow::brwWebBrowser_NavigateError);
    BuildControls();
    Form_Load();
}

DownloadWindow::~DownloadWindow() = default;

void DownloadWindow::BuildControls() {
    setWindowTitle(DesignCaption());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    // Everything the user may not touch during a run sits on Picture1.
    m_picture1 = new QWidget(this);
    auto* picture = new QVBoxLayout(m_picture1);
    picture->setContentsMargins(0, 0, 0, 0);
    auto* panels = new QHBoxLayout;
    panels->setSpacing(6);
    for (int m = 0; m < DownloadRun::kPanels; ++m) {
        panels->addWidget(BuildPanel(m));
    }
    picture->addLayout(panels);
    auto* buttons = new QHBoxLayout;
    m_submit = new QPushButton(QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ"), m_picture1);
    m_submit->setObjectName(QStringLiteral("downloadButton"));
    m_selectAll = new QPushButton(QStringLiteral("全て選択"), m_picture1);
    m_selectAll->setObjectName(QStringLiteral("selectAllButton"));
    buttons->addStretch(1);
    buttons->addWidget(m_submit);
    buttons->addWidget(m_selectAll);
    picture->addLayout(buttons);
    outer->addWidget(m_picture1);

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

    connect(m_submit, &QPushButton::clicked, this, &DownloadWindow::cmdSubmit_Click);
    connect(m_selectAll, &QPushButton::clicked, this, &DownloadWindow::cmdSelectAll_Click);
    connect(m_cancel, &QPushButton::clicked, this, &DownloadWindow::cmdCancel_Click);
}

QFrame* DownloadWindow::BuildPanel(int m) {
    auto* panel = KeepPlace(new QFrame(m_picture1));
    panel->setFrameShape(QFrame::StyledPanel);
    m_panel[size_t(m)] = panel;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    auto* title = new QLabel(panel);
    title->setAlignment(Qt::AlignCenter);
    m_kaisai[size_t(m)] = title;
    grid->addWidget(title, 0, 0, 1, 2);

    const QSize boxSize = BoxSize(font());
    for (int r = 0; r < DownloadRun::kRaces; ++r) {
        const int i = m * DownloadRun::kRaces + r;
        auto* t = KeepPlace(new QLabel(QStringLiteral("%1R").arg(r + 1), panel));
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* box = KeepPlace(new QCheckBox(panel));
        box->setFixedSize(boxSize);
        box->setBackgroundRole(QPalette::Window);
        box->setAutoFillBackground(true);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_run.setChecked(i, on); });
        m_titleRace[size_t(i)] = t;
        m_state[size_t(i)] = box;
        grid->addWidget(t, r + 1, 0);
        grid->addWidget(box, r + 1, 1);
    }
    grid->setRowStretch(DownloadRun::kRaces + 1, 1); // rows keep their height; the spare room goes below
    return panel;
}

void DownloadWindow::Form_Load() {
    SendRequest(QStringLiteral("about:VelqoraV50"), {});
    m_run.Load(objControl().colKaisai());
    const QStringList& titles = m_run.PanelTitles();
    for (int m = 0; m < titles.size(); ++m) {
        m_kaisai[size_t(m)]->setText(titles[m]);
        m_panel[size_t(m)]->show();
    }
    ShowBoxes();
    RestorePlace(true, true, false, false);
}

void DownloadWindow::Form_Unload() {
    m_timEvent.stop();
    m_timProc.stop();
    m_timWatch.stop();
    m_timTimeOut.stop();
    m_awaiting = false;
    m_browser->stop();
    if (m_unloaded) {
        m_unloaded();
    }
}

void DownloadWindow::ShowBoxes() {
    for (int i = 0; i < DownloadRun::kSlots; ++i) {
        const DownloadRun::Box& b = m_run.BoxAt(i);
        QCheckBox* box = m_state[size_t(i)];
        m_titleRace[size_t(i)]->setVisible(b.Visible);
        box->setVisible(b.Visible);
        const QSignalBlocker quiet(box);
        box->setChecked(b.Checked);
        box->setText(b.Caption);
        box->setToolTip(b.Tip);
        // Through the palette, not a style sheet: a styled check box loses the platform's indicator.
        QPalette colours = box->palette();
        colours.setColor(QPalette::Window, QColor(Rgb::Hex(b.Back)));
        colours.setColor(QPalette::WindowText, QColor(Rgb::Hex(b.Fore)));
        box->setPalette(colours);
    }
}

void DownloadWindow::SendRequest(const QString& address, const QByteArray& body) {
    m_timWatch.start();
    m_timTimeOut.start();
    m_browserBusy = true;
    m_browser->navigate(QUrl(address), body, body.isEmpty() ? QByteArray() : kFormHeader);
}

QString DownloadWindow::SaveFolder() const {
    const QString down = objControl().DownPath();
    const QString day = objControl().CurDate();
    // The sale date comes from the client's account file and names a folder: only a date may, never a
    // text that could lead out of the download folder.
    if (down.isEmpty() || !Dates::FromYmd(day)) {
        return {};
    }
    return down + QLatin1Char('/') + day;
}

void DownloadWindow::cmdSubmit_Click() {
    const QString folder = SaveFolder();
    if (folder.isEmpty()) {
        CurrentErrorReporter()->ShowError(AppInfo::Title(), DownloadRun::NoSaveFolderText());
        return;
    }
    if (!SaveFolderWritable(folder)) {
        return;
    }
    m_browser->showNotice(QString()); // the last run's page or message is not this run's
    m_run.Start();
    ShowBoxes();
    setWindowTitle(m_run.Caption());
    m_progress->clear();
    m_picture1->setEnabled(false);
    m_cancel->setEnabled(true);
    m_awaiting = false;
    m_timProc.start();
    m_timEvent.start();
}

bool DownloadWindow::SaveFolderWritable(const QString& folder) {
    QString reason;
    QString system;
    if (AtomicFile::CanWriteIn(folder, &reason, &system)) {
        return true;
    }
    const QString shown = QDir::toNativeSeparators(folder);
    ReportFailure(DownloadRun::FolderNotWritableText(shown, reason), shown + QStringLiteral(": ") + system);
    return false;
}

void DownloadWindow::cmdSelectAll_Click() {
    m_run.SelectAll();
    ShowBoxes();
}

void DownloadWindow::cmdCancel_Click() {
    m_timTimeOut.stop();
    m_timEvent.stop();
    m_run.Cancel();
    m_awaiting = false;
    m_browser->stop();
}

void DownloadWindow::timEvent_Timer() {
    if (m_browser->busy()) {
        return; // the next tick tries again
    }
    m_timEvent.stop();
    const DownloadRun::Step step = m_run.Next();
    if (step.What == DownloadRun::Step::RequestList || step.What == DownloadRun::Step::RequestRace) {
        m_awaiting = true;
        QString base = objControl().ResultSite().trimmed();
        while (base.endsWith(QLatin1Char('/'))) {
            base.chop(1);
        }
        SendRequest(base + FormPath(), step.Body);
    }
    ShowBoxes(); // a race whose meeting's list could not be read is marked on the way
    setWindowTitle(m_run.Caption());
    m_progress->setText(m_run.Progress());
    if (step.What == DownloadRun::Step::Finished) {
        EndRun();
    }
}

void DownloadWindow::timProc_Timer() {
    if (!m_run.Running()) {
        EndRun();
    }
}

void DownloadWindow::EndRun() {
    m_timProc.stop();
    m_run.Next(); // a cancelled run has its last word only now
    setWindowTitle(m_run.Caption());
    m_progress->setText(m_run.Progress());
    m_cancel->setEnabled(false);
    m_picture1->setEnabled(true);
    ShowBoxes();
    // Said once the run has stopped: a message in the middle of it would hold up its timers.
    if (const QString writeError = m_run.TakeWriteError(); !writeError.isEmpty()) {
        ReportFailure(DownloadRun::NotSavedMessage(), writeError);
    }
}

void DownloadWindow::timWatch_Timer() {
    m_browserBusy = m_browser->busy();
    if (!m_browserBusy) {
        m_timWatch.stop();
        m_timTimeOut.stop();
    }
}

void DownloadWindow::timTimeOut_Timer() {
    m_timTimeOut.stop();
    m_timEvent.stop();
    m_browser->stop();
    if (!m_awaiting) {
        return; // the start page: nothing waits for it
    }
    m_awaiting = false;
    m_browser->showNotice(NavigationError::Page(NavigationError::TimedOutHeadline()));
    m_run.PageFailed(DownloadRun::TimedOutText());
    GoOn();
}

void DownloadWindow::brwWebBrowser_DocumentComplete(const QString& title, const QString& text) {
    m_timTimeOut.stop();
    if (!m_awaiting) {
        return;
    }
    m_awaiting = false;
    if (title == kPayoutListTitle) {
        setWindowTitle(QStringLiteral("レース情報　解析中"));
        ResultsPageConverter conv;
        conv.GetRaceNum(text);
        QList<int> published;
        for (const QString& number : conv.colElement()) {
            published << number.toInt();
        }
        m_run.ListLoaded(published);
    } else if (title == kResultsTitle) {
        setWindowTitle(QStringLiteral("競走成績　") + m_run.RaceNumber(m_run.Position()) +
                       QStringLiteral("レース　解析中"));
        const QString folder = SaveFolder();
        ResultsPageConverter conv;
        bool converted = false;
        if (!folder.isEmpty()) {
            conv.setSavePathName(folder);
            QString hashed = text;
            converted = conv.GetKekka(hashed.replace(QLatin1Char(' '), QLatin1Char('#')));
        }
        if (!conv.WriteError().isEmpty()) {
            m_run.RaceNotSaved(conv.WriteError());
        } else {
            m_run.RaceLoaded(converted);
        }
    } else {
        // Neither kind of page (a site's error page, a maintenance notice): waiting for the user to
        // cancel would be the only way on, so the race is marked and the run goes on.
        m_run.PageFailed(DownloadRun::ErrorText());
    }
    GoOn();
}

void DownloadWindow::brwWebBrowser_NavigateError(int status) {
    m_timTimeOut.stop();
    if (!m_awaiting) {
        return;
    }
    m_awaiting = false;
    // Our own words in place of the engine's English error page.
    m_browser->showNotice(NavigationError::Page(NavigationError::Headline(status)));
    m_run.NavigationFailed(status);
    GoOn();
}

void DownloadWindow::GoOn() {
    ShowBoxes();
    setWindowTitle(m_run.Caption());
    if (m_run.Running()) {
        m_timEvent.start();
    }
}
