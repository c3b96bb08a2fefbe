#include "MainWindow.h"

#include "AnalysisWindow.h"
#include "BetLogWindow.h"
#include "Colors.h"
#include "DownloadWindow.h"
#include "FlowLayout.h"
#include "Fonts.h"
#include "Icons.h"
#include "PassbookWindow.h"
#include "Plugins.h"
#include "ProfitTableWindow.h"
#include "QtFormWindow.h"
#include "RaceDetailWindow.h"
#include "ResultsWindow.h"
#include "VersionDialog.h"
#include "WindowPlace.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorReporter.h"
#include "profit/ProfitBook.h"
#include "views/MainDisplay.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr qint32 kWidthTwips = 1965;

// The window is narrow: toolbar buttons hug their captions so three fit in a row.
class CompactToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    QSize sizeHint() const override {
        const QFontMetrics fm(font());
        const int width = fm.horizontalAdvance(text());
        return QSize(qMax(width, iconSize().width()) + 6, iconSize().height() + fm.height() + 6);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

// Toolbar buttons by index; 2 is the separator.
struct ButtonSpec {
    MainWindow::ButtonIndex index;
    const char* name;
    const char16_t* caption;
    const char16_t* tip;
    QIcon (*icon)();
};
const ButtonSpec kButtons[] = {
    {MainWindow::RefreshButton, "refreshButton", u"更新", u"最新のデータを読み直します (F5)", &Icons::refresh},
    {MainWindow::ProfitButton, "profitButton", u"収支表", u"本日の収支表", &Icons::profitTable},
    {MainWindow::LogButton, "logButton", u"投票履歴", u"本日の投票履歴", &Icons::betLog},
    {MainWindow::RecordButton, "passbookButton", u"通帳", u"過去の収支 (通帳)", &Icons::passbook},
    {MainWindow::DownloadButton, "downloadButton", u"ダウンロード", u"競走成績のダウンロード", &Icons::download},
};

// The figure rows, top to bottom: caption, value and unit labels are the row's offset into their group.
constexpr int kFigureRows = 5;
const char16_t* const kCaptions[kFigureRows] = {u"投票", u"払戻", u"損益", u"回収", u"残高"};
const char16_t* const kUnits[kFigureRows] = {u"円", u"円", u"円", u"％", u"円"};
// What each row shows, for the names of its caption, value and unit labels ("betsValue").
const char* const kFigureNames[kFigureRows] = {"bets", "payouts", "profit", "recovery", "balance"};

// The labels that show the day: cleared when the folder could not be read.
constexpr MainWindow::LabelIndex kDayLabels[] = {
    MainWindow::DateLabel,   MainWindow::StatusLabel,   MainWindow::BetsLabel,   MainWindow::PayoutsLabel,
    MainWindow::ProfitLabel, MainWindow::RecoveryLabel, MainWindow::BalanceLabel};
} // namespace

MainWindow::MainWindow(const Folders& folders, QWidget* parent)
    : QWidget(parent), m_control(std::make_unique<DayController>(folders)),
      m_host(std::make_unique<QtWindowHost>(this)) {
    m_control->setWindowHost(m_host.get());
    m_control->readAhead(); // the day is read while the window is built
    registerWindows();
    connect(m_control.get(), &DayController::dayRefreshed, this, &MainWindow::render);
    m_chooseColor = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, this, title);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    buildControls();
    start();
}

MainWindow::~MainWindow() {
    // The other windows go before the controller they show.
    m_host->unloadAll();
    delete m_analysis;
}

void MainWindow::registerWindows() {
    m_host->registerWindow(
        IWindowHost::Window::Profit,
        [](DayController& c, QWidget* owner, const ShownRace*) -> QWidget* { return new ProfitTableWindow(c, owner); });
    m_host->registerWindow(IWindowHost::Window::Detail,
                           [](DayController& c, QWidget* owner, const ShownRace* race) -> QWidget* {
                               return race ? new RaceDetailWindow(c, owner, *race) : nullptr;
                           });
    m_host->registerWindow(
        IWindowHost::Window::Log,
        [](DayController& c, QWidget* owner, const ShownRace*) -> QWidget* { return new BetLogWindow(c, owner); });
    m_host->registerWindow(IWindowHost::Window::Kekka,
                           [](DayController& c, QWidget* owner, const ShownRace* race) -> QWidget* {
                               return race ? new ResultsWindow(c, owner, *race) : nullptr;
                           });
    m_host->registerWindow(
        IWindowHost::Window::Record,
        [](DayController& c, QWidget* owner, const ShownRace*) -> QWidget* { return new PassbookWindow(c, owner); });
    m_makeBrowser = [] { return Plugins::webBrowser(); };
    m_host->registerWindow(
        IWindowHost::Window::Browser, [this](DayController& c, QWidget* owner, const ShownRace*) -> QWidget* {
            std::unique_ptr<ResultsBrowser> browser = m_makeBrowser();
            if (!browser) {
                return nullptr; // said why; the buttons come back
            }
            return new DownloadWindow(c, owner, std::move(browser), [this] { enableDownloadButtons(); });
        });
}

void MainWindow::buildControls() {
    setWindowTitle(AppInfo::title());
    setFont(Fonts::proportional());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildToolbar());
    outer->addWidget(buildFigures(), 1);
    buildPopupMenu();
    buildShortcuts();
    buildTray();
}

QWidget* MainWindow::buildToolbar() {
    auto* toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("toolbar"));
    auto* flow = new FlowLayout(toolbar, 0);
    QFont small = Fonts::proportional(8);
    for (const ButtonSpec& spec : kButtons) {
        auto* b = new CompactToolButton(toolbar);
        b->setObjectName(QLatin1String(spec.name));
        b->setText(QString::fromUtf16(spec.caption));
        b->setToolTip(QString::fromUtf16(spec.tip));
        b->setIcon(spec.icon());
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFont(small);
        b->setFocusPolicy(Qt::StrongFocus);
        const int index = spec.index;
        connect(b, &QToolButton::clicked, this, [this, index] { toolbarClicked(index); });
        flow->addWidget(b);
        m_button[static_cast<size_t>(index)] = b;
    }
    return toolbar;
}

QFrame* MainWindow::buildFigures() {
    m_figures = new QFrame(this);
    m_figures->setObjectName(QStringLiteral("figures"));
    m_figures->setFrameShape(QFrame::StyledPanel);
    m_figures->setAutoFillBackground(true);
    auto* grid = new QGridLayout(m_figures);
    grid->setContentsMargins(4, 3, 4, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    for (int i = 0; i < LabelCount; ++i) {
        m_label[static_cast<size_t>(i)] = new QLabel(m_figures);
    }
    m_label[DateLabel]->setObjectName(QStringLiteral("dateLabel"));
    m_label[StatusLabel]->setObjectName(QStringLiteral("statusLabel"));
    // Texts of the size the figures will have, so the window's design height fits them.
    m_label[DateLabel]->setText(QStringLiteral("2000年12月31日(日)"));
    m_label[StatusLabel]->setText(QStringLiteral("全投票が確定しました"));
    m_label[DateLabel]->setAlignment(Qt::AlignCenter);
    m_label[StatusLabel]->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_label[DateLabel], 0, 0, 1, 3);
    grid->addWidget(m_label[StatusLabel], 1, 0, 1, 3);
    QFont bold = Fonts::proportional();
    bold.setBold(true);
    for (int row = 0; row < kFigureRows; ++row) {
        QLabel* caption = m_label[static_cast<size_t>(FirstCaptionLabel + row)];
        QLabel* value = m_label[static_cast<size_t>(BetsLabel + row)];
        QLabel* unit = m_label[static_cast<size_t>(FirstUnitLabel + row)];
        caption->setText(QString::fromUtf16(kCaptions[row]));
        unit->setText(QString::fromUtf16(kUnits[row]));
        const QLatin1String name(kFigureNames[row]);
        caption->setObjectName(name + QStringLiteral("Caption"));
        value->setObjectName(name + QStringLiteral("Value"));
        unit->setObjectName(name + QStringLiteral("Unit"));
        value->setFont(bold);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setText(QStringLiteral("0"));
        grid->addWidget(caption, 2 + row, 0);
        grid->addWidget(value, 2 + row, 1);
        grid->addWidget(unit, 2 + row, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2 + kFigureRows, 1);

    // A transparent sheet over the figures: it takes the right click for the menu and carries the tooltip.
    m_sheet = new QWidget(m_figures);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    m_sheet->setAttribute(Qt::WA_NoSystemBackground);
    m_sheet->installEventFilter(this);
    m_figures->installEventFilter(this);
    return m_figures;
}

void MainWindow::buildPopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("popupMenu"));
    const auto add = [this](const char* name, const QString& text, auto slot) {
        QAction* action = m_popupMenu->addAction(text, this, slot);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    add("foreColorAction", QStringLiteral("文字色の変更(&C)"), [this] { chooseColor(false); });
    add("backColorAction", QStringLiteral("背景色の変更(&B)"), [this] { chooseColor(true); });
    m_popupMenu->addSeparator();
    m_positionAction = add("positionAction", QStringLiteral("常に手前に表示(&W)"), [this] { togglePosition(); });
    m_positionAction->setCheckable(true);
    m_autoRefreshAction = add("autoRefreshAction", QStringLiteral("自動更新(&R)"),
                              [this] { m_control->setAutoRefresh(m_autoRefreshAction->isChecked()); });
    m_autoRefreshAction->setCheckable(true);
    m_hitNoticeAction = add("hitNoticeAction", QStringLiteral("的中のお知らせ(&H)"),
                            [this] { m_control->settings().setHitNotices(m_hitNoticeAction->isChecked()); });
    m_hitNoticeAction->setCheckable(true);
    m_popupMenu->addSeparator();
    add("analysisAction", QStringLiteral("分析(&A)"), [this] { showAnalysis(); });
    add("versionAction", QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&V)"), [this] { showVersion(); });
    m_popupMenu->addSeparator();
    add("minimizeAction", QStringLiteral("最小化(&N)"), [this] { minimizeWindow(); });
    m_quitAction = add("quitAction", QStringLiteral("終了(&X)"), [this] { close(); });
}

void MainWindow::buildTray() {
    setWindowIcon(Icons::program());
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    m_tray = new QSystemTrayIcon(Icons::program(), this);
    m_tray->setObjectName(QStringLiteral("trayIcon"));
    m_tray->setToolTip(AppInfo::title());
    m_tray->setContextMenu(m_popupMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            bringToFront();
        }
    });
    connect(m_tray, &QSystemTrayIcon::messageClicked, this, &MainWindow::bringToFront);
    m_tray->show();
}

void MainWindow::buildShortcuts() {
    // F5 refreshes like the button, and like it not while the download window has the button disabled.
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, [this] {
        if (m_button[RefreshButton]->isEnabled()) {
            toolbarClicked(RefreshButton);
        }
    });
}

void MainWindow::start() {
    setWindowTitle(AppInfo::title());
    m_quitAction->setText(AppInfo::title() + QStringLiteral("終了(&X)"));
    // A folder that cannot be read is reported, but the window still takes its place, size and colours
    // (the settings are read first), so the user can refresh once the client has rewritten its files.
    bool dataRead = true;
    try {
        m_control->start();
    } catch (const AppError& e) {
        reportError(e);
        dataRead = false;
    }
    try {
        // The width is the design's, frame included (as far as the frame is known before the first show);
        // the design height shows every row, and a stored height may make the window taller, never shorter.
        winId();
        const QMargins frame = WindowPlace::frame(this);
        setFixedWidth(QtFormWindow::twipsToPixels(kWidthTwips, logicalDpiX()) - frame.left() - frame.right());
        const int designHeight = layout()->totalHeightForWidth(width());
        resize(width(), designHeight);
        setMinimumHeight(designHeight);
        QtFormWindow placement(this, Settings::Main);
        placement.place(m_control->settings().loadForm(placement, true, true, true, false));
        applyColors();
        m_autoRefreshAction->setChecked(m_control->settings().autoRefresh());
        m_hitNoticeAction->setChecked(m_control->settings().hitNotices());
        // Applying the stored state through the toggle keeps the menu check and the window in step.
        m_control->settings().setPosition(static_cast<qint16>(m_control->settings().position() ^ 1));
        togglePosition();
        // The book lives in the client folder whatever the data folder holds: a failed first read must
        // not leave it unread for the whole run (a later refresh would find no book to update).
        m_control->loadBook();
        if (!dataRead) {
            for (LabelIndex i : kDayLabels) {
                m_label[i]->clear(); // no figures rather than wrong ones
            }
            m_button[ProfitButton]->setEnabled(false);
            m_button[LogButton]->setEnabled(false);
            return;
        }
        m_control->settleDay();
    } catch (const AppError& e) {
        reportError(e);
    }
}

void MainWindow::applyColors() {
    QPalette back = m_figures->palette();
    back.setColor(QPalette::Window, Colors::fromStored(m_control->settings().backColor()));
    m_figures->setPalette(back);
    const QColor fore = Colors::fromStored(m_control->settings().foreColor());
    for (QLabel* l : m_label) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, fore);
        l->setPalette(p);
    }
    applyStatusColor();
}

// A day not read whole keeps its status text, drawn in red: the window sits beside the client all day
// and is glanced at, not hovered over, and the tooltip says why.
void MainWindow::applyStatusColor() {
    QPalette p = m_label[StatusLabel]->palette();
    p.setColor(QPalette::WindowText,
               m_notReadWhole ? QColor(Qt::red) : Colors::fromStored(m_control->settings().foreColor()));
    m_label[StatusLabel]->setPalette(p);
}

// The date and status lines span the narrow window; a long one (a six-digit open stake) is set a little
// smaller rather than clipped.
void MainWindow::fitLine(QLabel* label, const QString& text) {
    label->setText(text);
    QFont font = Fonts::proportional();
    layout()->activate();
    const int available = m_figures->contentsRect().width() - 8;
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > available) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

void MainWindow::render(const DayRefresh& day) {
    try {
        const MainDisplay d = buildMainDisplay(day.totals, day.saleDate, day.balance, day.warnings);
        fitLine(m_label[DateLabel], d.date);
        fitLine(m_label[StatusLabel], d.status);
        m_notReadWhole = d.notReadWhole;
        applyStatusColor();
        m_label[BetsLabel]->setText(d.bets);
        m_label[PayoutsLabel]->setText(d.payouts);
        m_label[ProfitLabel]->setText(d.profit);
        m_label[RecoveryLabel]->setText(d.recovery);
        m_label[BalanceLabel]->setText(d.balance);
        m_button[ProfitButton]->setEnabled(d.hasMeetings);
        m_button[LogButton]->setEnabled(d.hasMeetings);
        m_label[StatusLabel]->setToolTip(d.statusTip);
        m_button[DownloadButton]->setEnabled(d.hasMeetings && !m_host->isLoaded(IWindowHost::Window::Browser));
        if (d.hasMeetings) {
            m_sheet->setToolTip(d.tooltip); // without a schedule it stays, like the kept totals
        }
        if (m_tray) {
            m_tray->setToolTip(d.trayTip);
        }
        if (isMinimized()) {
            setWindowTitle(minimizedTitle(d.balance)); // the title shows the balance while minimised
        }
        announceHits(day);
    } catch (const AppError& e) {
        reportError(e);
    }
}

void MainWindow::announceHits(const DayRefresh& day) {
    if (!day.warnings.empty()) {
        return; // a day not read whole may lack hits that the next whole read would call new
    }
    HitNotices::Hits now = HitNotices::hitsOf(m_control->meetings());
    // The first day read whole, and each new sale day, only set what is known: the races already won
    // when the program started, or before the client moved on, are no news.
    const bool known = m_hits && m_hitsDate == day.saleDate;
    const QStringList notices = known ? HitNotices::newlySettled(*m_hits, now) : QStringList();
    m_hits = std::move(now);
    m_hitsDate = day.saleDate;
    if (notices.isEmpty() || !m_control->settings().hitNotices()) {
        return;
    }
    emit hitsAnnounced(notices);
    if (m_tray) {
        m_tray->showMessage(AppInfo::title(), notices.join(QLatin1Char('\n')), Icons::program(), 15000);
    }
}

void MainWindow::toolbarClicked(int index) {
    try {
        switch (index) {
        case RefreshButton:
            m_control->refresh();
            break;
        case ProfitButton:
            m_control->showProfitTable();
            break;
        case LogButton:
            m_control->showBetLog();
            break;
        case RecordButton:
            m_control->showPassbook();
            break;
        case DownloadButton:
            m_button[RefreshButton]->setEnabled(false);
            m_button[DownloadButton]->setEnabled(false);
            m_control->showDownload();
            if (!m_host->isLoaded(IWindowHost::Window::Browser)) {
                enableDownloadButtons(); // nothing opened: nothing will give them back
            }
            break;
        default:
            break;
        }
    } catch (const AppError& e) {
        reportError(e);
    }
}

void MainWindow::enableDownloadButtons() {
    m_button[RefreshButton]->setEnabled(true);
    m_button[DownloadButton]->setEnabled(!m_control->meetings().empty());
}

void MainWindow::bringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::togglePosition() {
    const bool onTop = m_control->settings().position() == 0;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        show(); // changing the flag hides the window
    }
    m_positionAction->setChecked(onTop);
    m_control->settings().setPosition(static_cast<qint16>(m_control->settings().position() ^ 1));
}

void MainWindow::chooseColor(bool background) {
    const QColor initial =
        Colors::fromStored(background ? m_control->settings().backColor() : m_control->settings().foreColor());
    const auto chosen =
        m_chooseColor(initial, background ? QStringLiteral("背景色の変更") : QStringLiteral("文字色の変更"));
    if (!chosen) {
        return;
    }
    if (background) {
        m_control->settings().setBackColor(Colors::toStored(*chosen));
    } else {
        m_control->settings().setForeColor(Colors::toStored(*chosen));
    }
    applyColors();
}

void MainWindow::showVersion() {
    VersionDialog ver(this);
    ver.exec();
}

void MainWindow::showAnalysis() {
    // One window, read afresh at every opening: the archive grows with every refresh.
    m_control->flushArchive();
    if (!m_analysis) {
        m_analysis = new AnalysisWindow(*m_control);
    } else {
        m_analysis->reload();
    }
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}

void MainWindow::minimizeWindow() {
    m_control->closeDayWindows();
    showMinimized();
}

void MainWindow::showPopup(const QPoint& globalPos) {
    m_popupMenu->popup(globalPos);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_figures && event->type() == QEvent::Resize) {
        m_sheet->setGeometry(m_figures->rect());
        m_sheet->raise();
    } else if (watched == m_sheet) {
        // The sheet lies over the status line too: over it, the line's own tooltip (why the day cannot be
        // shown) comes before the sheet's.
        const QString statusTip = m_label[StatusLabel]->toolTip();
        if (event->type() == QEvent::ToolTip && !statusTip.isEmpty()) {
            auto* he = static_cast<QHelpEvent*>(event);
            const QRect lines = m_label[DateLabel]->geometry().united(m_label[StatusLabel]->geometry());
            if (lines.contains(he->pos())) {
                QToolTip::showText(he->globalPos(), statusTip, m_sheet);
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton) {
                showPopup(me->globalPosition().toPoint());
                return true;
            }
        } else if (event->type() == QEvent::ContextMenu) {
            auto* ce = static_cast<QContextMenuEvent*>(event);
            if (ce->reason() == QContextMenuEvent::Keyboard) {
                showPopup(ce->globalPos());
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    showPopup(event->reason() == QContextMenuEvent::Keyboard ? m_figures->mapToGlobal(m_figures->rect().center())
                                                             : event->globalPos());
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            setWindowTitle(minimizedTitle(m_label[BalanceLabel]->text()));
            m_control->closeDayWindows();
        } else {
            setWindowTitle(AppInfo::title());
        }
    }
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    try {
        m_control->settings().saveForm(QtFormWindow(this, Settings::Main));
        if (m_analysis) {
            m_analysis->close();
        }
        m_control->finish();
    } catch (const AppError& e) {
        reportError(e);
    }
    event->accept();
}
