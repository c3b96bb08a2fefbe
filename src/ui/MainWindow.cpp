#include "MainWindow.h"

#include "AnalysisWindow.h"
#include "BetLogWindow.h"
#include "Colors.h"
#include "DownloadWindow.h"
#include "FlowLayout.h"
#include "Fonts.h"
#include "Icons.h"
#include "PassbookWindow.h"
#include "ProfitTableWindow.h"
#include "QtFormWindow.h"
#include "RaceDetailWindow.h"
#include "ResultsWindow.h"
#include "VersionDialog.h"
#include "WebEngineBrowser.h"
#include "WindowPlace.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/ErrorReporter.h"
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
    const char16_t* caption;
    const char16_t* tip;
    QIcon (*icon)();
};
const ButtonSpec kButtons[] = {
    {MainWindow::RefreshButton, u"更新", u"最新のデータを読み直します (F5)", &Icons::Refresh},
    {MainWindow::ProfitButton, u"収支表", u"本日の収支表", &Icons::ProfitTable},
    {MainWindow::LogButton, u"投票履歴", u"本日の投票履歴", &Icons::BetLog},
    {MainWindow::RecordButton, u"通帳", u"過去の収支 (通帳)", &Icons::Passbook},
    {MainWindow::DownloadButton, u"ダウンロード", u"競走成績のダウンロード", &Icons::Download},
};

// The figure rows, top to bottom: caption, value and unit labels are the row's offset into their group.
constexpr int kFigureRows = 5;
const char16_t* const kCaptions[kFigureRows] = {u"投票", u"払戻", u"損益", u"回収", u"残高"};
const char16_t* const kUnits[kFigureRows] = {u"円", u"円", u"円", u"％", u"円"};

// The labels that show the day: cleared when the folder could not be read.
constexpr MainWindow::LabelIndex kDayLabels[] = {
    MainWindow::DateLabel,   MainWindow::StatusLabel,   MainWindow::BetsLabel,   MainWindow::PayoutsLabel,
    MainWindow::ProfitLabel, MainWindow::RecoveryLabel, MainWindow::BalanceLabel};
} // namespace

MainWindow::MainWindow(const Folders& folders, QWidget* parent)
    : QWidget(parent), mobjCtrl(std::make_unique<DayController>(folders)),
      m_host(std::make_unique<QtWindowHost>(this)) {
    mobjCtrl->setWindowHost(m_host.get());
    RegisterWindows();
    connect(mobjCtrl.get(), &DayController::ReInitialized, this, &MainWindow::OnReInitialized);
    m_chooseColor = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, this, title);
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    BuildControls();
    Form_Load();
}

MainWindow::~MainWindow() {
    // The other windows go before the controller they show.
    m_host->UnloadAll();
    delete m_analysis;
}

void MainWindow::RegisterWindows() {
    m_host->Register(IWindowHost::Window::Profit,
                     [](DayController& c, QWidget* owner) -> QWidget* { return new ProfitTableWindow(c, owner); });
    m_host->Register(IWindowHost::Window::Detail,
                     [](DayController& c, QWidget* owner) -> QWidget* { return new RaceDetailWindow(c, owner); });
    m_host->Register(IWindowHost::Window::Log,
                     [](DayController& c, QWidget* owner) -> QWidget* { return new BetLogWindow(c, owner); });
    m_host->Register(IWindowHost::Window::Kekka,
                     [](DayController& c, QWidget* owner) -> QWidget* { return new ResultsWindow(c, owner); });
    m_host->Register(IWindowHost::Window::Record,
                     [](DayController& c, QWidget* owner) -> QWidget* { return new PassbookWindow(c, owner); });
    m_makeBrowser = [] { return std::make_unique<WebEngineBrowser>(); };
    m_host->Register(IWindowHost::Window::Browser, [this](DayController& c, QWidget* owner) -> QWidget* {
        return new DownloadWindow(c, owner, m_makeBrowser(), [this] { EnableDownloadButtons(); });
    });
}

void MainWindow::BuildControls() {
    setWindowTitle(AppInfo::Title());
    setFont(Fonts::Proportional());
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(BuildToolbar());
    outer->addWidget(BuildFigures(), 1);
    BuildPopupMenu();
    BuildShortcuts();
}

QWidget* MainWindow::BuildToolbar() {
    auto* toolbar = new QWidget(this);
    toolbar->setObjectName(QStringLiteral("Toolbar"));
    auto* flow = new FlowLayout(toolbar, 0);
    QFont small = Fonts::Proportional(8);
    for (const ButtonSpec& spec : kButtons) {
        auto* b = new CompactToolButton(toolbar);
        b->setText(QString::fromUtf16(spec.caption));
        b->setToolTip(QString::fromUtf16(spec.tip));
        b->setIcon(spec.icon());
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFont(small);
        b->setFocusPolicy(Qt::StrongFocus);
        const int index = spec.index;
        connect(b, &QToolButton::clicked, this, [this, index] { Toolbar_ButtonClick(index); });
        flow->addWidget(b);
        m_button[static_cast<size_t>(index)] = b;
    }
    return toolbar;
}

QFrame* MainWindow::BuildFigures() {
    m_picMain = new QFrame(this);
    m_picMain->setObjectName(QStringLiteral("picMain"));
    m_picMain->setFrameShape(QFrame::StyledPanel);
    m_picMain->setAutoFillBackground(true);
    auto* grid = new QGridLayout(m_picMain);
    grid->setContentsMargins(4, 3, 4, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(1);
    for (int i = 0; i < LabelCount; ++i) {
        m_label[static_cast<size_t>(i)] = new QLabel(m_picMain);
        m_label[static_cast<size_t>(i)]->setObjectName(QStringLiteral("label%1").arg(i));
    }
    // Texts of the size the figures will have, so the window's design height fits them.
    m_label[DateLabel]->setText(QStringLiteral("2000年12月31日(日)"));
    m_label[StatusLabel]->setText(QStringLiteral("全投票が確定しました"));
    m_label[DateLabel]->setAlignment(Qt::AlignCenter);
    m_label[StatusLabel]->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_label[DateLabel], 0, 0, 1, 3);
    grid->addWidget(m_label[StatusLabel], 1, 0, 1, 3);
    QFont bold = Fonts::Proportional();
    bold.setBold(true);
    for (int row = 0; row < kFigureRows; ++row) {
        QLabel* caption = m_label[static_cast<size_t>(FirstCaptionLabel + row)];
        QLabel* value = m_label[static_cast<size_t>(BetsLabel + row)];
        QLabel* unit = m_label[static_cast<size_t>(FirstUnitLabel + row)];
        caption->setText(QString::fromUtf16(kCaptions[row]));
        unit->setText(QString::fromUtf16(kUnits[row]));
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
    m_lblWindow = new QWidget(m_picMain);
    m_lblWindow->setObjectName(QStringLiteral("lblWindow"));
    m_lblWindow->setAttribute(Qt::WA_NoSystemBackground);
    m_lblWindow->installEventFilter(this);
    m_picMain->installEventFilter(this);
    return m_picMain;
}

void MainWindow::BuildPopupMenu() {
    m_mnuPop = new QMenu(this);
    mnuFColor = m_mnuPop->addAction(QStringLiteral("文字色の変更(&C)"), this, [this] { ChooseColor(false); });
    mnuBColor = m_mnuPop->addAction(QStringLiteral("背景色の変更(&B)"), this, [this] { ChooseColor(true); });
    m_mnuPop->addSeparator();
    mnuPos = m_mnuPop->addAction(QStringLiteral("常に手前に表示(&W)"), this, [this] { TogglePosition(); });
    mnuPos->setCheckable(true);
    m_mnuPop->addSeparator();
    mnuAnalysis = m_mnuPop->addAction(QStringLiteral("分析(&A)"), this, [this] { ShowAnalysis(); });
    mnuVer = m_mnuPop->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&V)"), this, [this] { ShowVersion(); });
    m_mnuPop->addSeparator();
    mnuMin = m_mnuPop->addAction(QStringLiteral("最小化(&N)"), this, [this] { MinimizeWindow(); });
    mnuEnd = m_mnuPop->addAction(QStringLiteral("終了(&X)"), this, [this] { close(); });
}

void MainWindow::BuildShortcuts() {
    // F5 refreshes like the button, and like it not while the download window has the button disabled.
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, [this] {
        if (m_button[RefreshButton]->isEnabled()) {
            Toolbar_ButtonClick(RefreshButton);
        }
    });
}

void MainWindow::Form_Load() {
    setWindowTitle(AppInfo::Title());
    mnuEnd->setText(AppInfo::Title() + QStringLiteral("終了(&X)"));
    // A folder that cannot be read is reported, but the window still takes its place, size and colours
    // (the settings are read first), so the user can refresh once the client has rewritten its files.
    bool dataRead = true;
    try {
        mobjCtrl->Initialize();
    } catch (const AppError& e) {
        ReportError(e);
        dataRead = false;
    }
    try {
        // The width is the design's, frame included (as far as the frame is known before the first show);
        // the design height shows every row, and a stored height may make the window taller, never shorter.
        winId();
        const QMargins frame = WindowPlace::Frame(this);
        setFixedWidth(QtFormWindow::TwipsToPixels(kWidthTwips, logicalDpiX()) - frame.left() - frame.right());
        const int designHeight = layout()->totalHeightForWidth(width());
        resize(width(), designHeight);
        setMinimumHeight(designHeight);
        QtFormWindow placement(this, Settings::Main);
        placement.Place(mobjCtrl->LoadForm(placement, true, true, true, false));
        ApplyColors();
        // Applying the stored state through the toggle keeps the menu check and the window in step.
        mobjCtrl->setPosition(static_cast<qint16>(mobjCtrl->Position() ^ 1));
        TogglePosition();
        // The book lives in the client folder whatever the data folder holds: a failed first read must
        // not leave it unread for the whole run (a later refresh would find no book to update).
        mobjCtrl->GetRecord();
        if (!dataRead) {
            for (LabelIndex i : kDayLabels) {
                m_label[i]->clear(); // no figures rather than wrong ones
            }
            m_button[ProfitButton]->setEnabled(false);
            m_button[LogButton]->setEnabled(false);
            return;
        }
        Display();
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void MainWindow::ApplyColors() {
    QPalette back = m_picMain->palette();
    back.setColor(QPalette::Window, Colors::FromStored(mobjCtrl->BackColor()));
    m_picMain->setPalette(back);
    const QColor fore = Colors::FromStored(mobjCtrl->ForeColor());
    for (QLabel* l : m_label) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, fore);
        l->setPalette(p);
    }
    ApplyStatusColor();
}

// A day not read whole keeps its status text, drawn in red: the window sits beside the client all day
// and is glanced at, not hovered over, and the tooltip says why.
void MainWindow::ApplyStatusColor() {
    QPalette p = m_label[StatusLabel]->palette();
    p.setColor(QPalette::WindowText, m_notReadWhole ? QColor(Qt::red) : Colors::FromStored(mobjCtrl->ForeColor()));
    m_label[StatusLabel]->setPalette(p);
}

// The date and status lines span the narrow window; a long one (a six-digit open stake) is set a little
// smaller rather than clipped.
void MainWindow::FitLine(QLabel* label, const QString& text) {
    label->setText(text);
    QFont font = Fonts::Proportional();
    layout()->activate();
    const int available = m_picMain->contentsRect().width() - 8;
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > available) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
}

void MainWindow::Display() {
    try {
        const std::optional<DayTotals> totals = mobjCtrl->UpdateDayTotals();
        const MainDisplay d =
            BuildMainDisplay(totals, mobjCtrl->CurDate(), mobjCtrl->AmtZandaka(), mobjCtrl->ReadWarnings());
        FitLine(m_label[DateLabel], d.Date);
        FitLine(m_label[StatusLabel], d.Status);
        m_notReadWhole = d.NotReadWhole;
        ApplyStatusColor();
        m_label[BetsLabel]->setText(d.Bets);
        m_label[PayoutsLabel]->setText(d.Payouts);
        m_label[ProfitLabel]->setText(d.Profit);
        m_label[RecoveryLabel]->setText(d.Recovery);
        m_label[BalanceLabel]->setText(d.Balance);
        m_button[ProfitButton]->setEnabled(d.HasMeetings);
        m_button[LogButton]->setEnabled(d.HasMeetings);
        m_label[StatusLabel]->setToolTip(d.StatusTip);
        m_button[DownloadButton]->setEnabled(d.HasMeetings && !m_host->IsLoaded(IWindowHost::Window::Browser));
        if (d.HasMeetings) {
            m_lblWindow->setToolTip(d.Tooltip); // without a schedule it stays, like the kept totals
        }
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void MainWindow::OnReInitialized() {
    mobjCtrl->CloseChildren();
    Display();
}

void MainWindow::Toolbar_ButtonClick(int index) {
    try {
        switch (index) {
        case RefreshButton:
            mobjCtrl->ReInitialize();
            break;
        case ProfitButton:
            mobjCtrl->ShowProfit();
            break;
        case LogButton:
            mobjCtrl->ShowLog();
            break;
        case RecordButton:
            mobjCtrl->ShowRecord();
            break;
        case DownloadButton:
            m_button[RefreshButton]->setEnabled(false);
            m_button[DownloadButton]->setEnabled(false);
            mobjCtrl->ShowBrowser();
            if (!m_host->IsLoaded(IWindowHost::Window::Browser)) {
                EnableDownloadButtons(); // nothing opened: nothing will give them back
            }
            break;
        default:
            break;
        }
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void MainWindow::EnableDownloadButtons() {
    m_button[RefreshButton]->setEnabled(true);
    m_button[DownloadButton]->setEnabled(!mobjCtrl->colKaisai().empty());
}

void MainWindow::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::TogglePosition() {
    const bool onTop = mobjCtrl->Position() == 0;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        show(); // changing the flag hides the window
    }
    mnuPos->setChecked(onTop);
    mobjCtrl->setPosition(static_cast<qint16>(mobjCtrl->Position() ^ 1));
}

void MainWindow::ChooseColor(bool background) {
    const QColor initial = Colors::FromStored(background ? mobjCtrl->BackColor() : mobjCtrl->ForeColor());
    const auto chosen =
        m_chooseColor(initial, background ? QStringLiteral("背景色の変更") : QStringLiteral("文字色の変更"));
    if (!chosen) {
        return;
    }
    if (background) {
        mobjCtrl->setBackColor(Colors::ToStored(*chosen));
    } else {
        mobjCtrl->setForeColor(Colors::ToStored(*chosen));
    }
    ApplyColors();
}

void MainWindow::ShowVersion() {
    VersionDialog ver(this);
    ver.exec();
}

AnalysisWindow* MainWindow::Analysis() const {
    return m_analysis;
}

void MainWindow::ShowAnalysis() {
    // One window, read afresh at every opening: the archive grows with every refresh.
    mobjCtrl->FlushArchive();
    if (!m_analysis) {
        m_analysis = new AnalysisWindow(*mobjCtrl);
    } else {
        m_analysis->Reload();
    }
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}

void MainWindow::MinimizeWindow() {
    mobjCtrl->CloseChildren();
    showMinimized();
}

void MainWindow::ShowPopup(const QPoint& globalPos) {
    m_mnuPop->popup(globalPos);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picMain && event->type() == QEvent::Resize) {
        m_lblWindow->setGeometry(m_picMain->rect());
        m_lblWindow->raise();
    } else if (watched == m_lblWindow) {
        // The sheet lies over the status line too: over it, the line's own tooltip (why the day cannot be
        // shown) comes before the sheet's.
        const QString statusTip = m_label[StatusLabel]->toolTip();
        if (event->type() == QEvent::ToolTip && !statusTip.isEmpty()) {
            auto* he = static_cast<QHelpEvent*>(event);
            const QRect lines = m_label[DateLabel]->geometry().united(m_label[StatusLabel]->geometry());
            if (lines.contains(he->pos())) {
                QToolTip::showText(he->globalPos(), statusTip, m_lblWindow);
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton) {
                ShowPopup(me->globalPosition().toPoint());
                return true;
            }
        } else if (event->type() == QEvent::ContextMenu) {
            auto* ce = static_cast<QContextMenuEvent*>(event);
            if (ce->reason() == QContextMenuEvent::Keyboard) {
                ShowPopup(ce->globalPos());
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    ShowPopup(event->reason() == QContextMenuEvent::Keyboard ? m_picMain->mapToGlobal(m_picMain->rect().center())
                                                             : event->globalPos());
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            setWindowTitle(MinimizedTitle(m_label[BalanceLabel]->text()));
            mobjCtrl->CloseChildren();
        } else {
            setWindowTitle(AppInfo::Title());
        }
    }
    QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    try {
        mobjCtrl->SaveForm(QtFormWindow(this, Settings::Main));
        if (m_analysis) {
            m_analysis->close();
        }
        mobjCtrl->Terminate();
    } catch (const AppError& e) {
        ReportError(e);
    }
    event->accept();
}
