#include "PassbookWindow.h"

#include "Colors.h"
#include "CsvFileDialog.h"
#include "Fonts.h"
#include "Icons.h"
#include "ObjectNames.h"
#include "PassbookChartView.h"
#include "WindowPlace.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/Dates.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "profit/ProfitBook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kStyle = QStringLiteral("QLabel[cell=\"true\"] { background: #FFFFFF; border: 1px solid #A0A0A0; "
                                      "padding: 1px 3px; }");

struct ButtonSpec {
    const char16_t* caption;
    const char16_t* tip;
    QIcon (*icon)();
    bool view;            // shows a view of its own, so it stays pressed while that view shows
    const char* key = ""; // for the keyboard: the toolbar takes no focus
};
const ButtonSpec kButtons[] = {
    {u"明細", u"過去の収支履歴", &Icons::passbookList, true},
    {u"勝ち", u"ベスト１０", &Icons::passbookBest, true},
    {u"負け", u"ワースト１０", &Icons::passbookWorst, true},
    {u"入力", nullptr, &Icons::passbookEntry, true},
    {u"グラフ", u"日ごとの損益と累計のグラフ (Alt+G)", &Icons::passbookChart, true, "Alt+G"},
    {u"CSV保存", u"通帳をCSVファイルに保存 (Ctrl+S)", &Icons::passbookCsv, false, "Ctrl+S"},
};

const char* const kButtonNames[] = {"pastButton",  "bestButton",  "worstButton",
                                    "inputButton", "chartButton", "csvButton"};
// The list's columns and the date's fields, for their widgets' names ("dateCell_1", "monthUpButton").
const char* const kColumnNames[] = {"dateCell", "stakeCell", "payoutCell", "profitCell"};
const char* const kFieldNames[] = {"year", "month", "day"};

QLabel* caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLineEdit* amountField(QWidget* parent, int width) {
    auto* e = new QLineEdit(parent);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(width);
    return e;
}

// A path has no blanks to break a line at: it may break after each of its separators instead.
QString breakablePath(QString path) {
    const QChar separator = QDir::separator();
    return path.replace(separator, QString(separator) + QChar(0x200B));
}

QComboBox* numberList(QWidget* parent, int last) {
    auto* c = new QComboBox(parent);
    for (int n = 1; n <= last; ++n) {
        c->addItem(Fmt::zeros(n, 2));
    }
    c->setMaxVisibleItems(12);
    return c;
}
} // namespace

PassbookWindow::PassbookWindow(DayController& control, QWidget* owner) : ChildWindow(control, Settings::Record, owner) {
    buildControls();
    fill();
}

void PassbookWindow::buildControls() {
    setStyleSheet(kStyle);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildToolbar());
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildList());
    m_stack->addWidget(buildInput());
    outer->addWidget(m_stack);
    m_savedNote = new QLabel(this);
    m_savedNote->setObjectName(QStringLiteral("statusLine"));
    m_savedNote->setWordWrap(true);
    m_savedNote->setContentsMargins(6, 0, 6, 4);
    m_savedNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_savedNote->hide(); // until a file is saved
    outer->addWidget(m_savedNote);
}

QWidget* PassbookWindow::buildToolbar() {
    auto* toolbar = new QWidget(this);
    m_toolbar = toolbar;
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    for (int i = 0; i < int(std::size(kButtons)); ++i) {
        const ButtonSpec& spec = kButtons[i];
        auto* b = new QToolButton(toolbar);
        b->setText(QString::fromUtf16(spec.caption));
        if (spec.tip) {
            b->setToolTip(QString::fromUtf16(spec.tip));
        }
        b->setIcon(spec.icon());
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setCheckable(spec.view);
        b->setAutoExclusive(spec.view);
        b->setShortcut(QKeySequence(QString::fromLatin1(spec.key)));
        b->setMinimumWidth(44);
        b->setObjectName(QLatin1String(kButtonNames[i]));
        connect(b, &QToolButton::clicked, this, [this, i] { toolbarClicked(i + 1); });
        if (!spec.view) {
            row->addSpacing(8);
        }
        row->addWidget(b);
        m_button[size_t(i)] = b;
    }
    row->addStretch();
    return toolbar;
}

QWidget* PassbookWindow::buildList() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(6, 4, 6, 6);
    row->setSpacing(2);

    m_listPanel = new QWidget(page);
    m_listPanel->setObjectName(QStringLiteral("listPanel"));
    auto* grid = new QGridLayout(m_listPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    grid->addWidget(caption(QStringLiteral("日付"), m_listPanel), 0, 0);
    grid->addWidget(caption(QStringLiteral("投票"), m_listPanel), 0, 1);
    grid->addWidget(caption(QStringLiteral("払戻"), m_listPanel), 0, 2);
    m_totalProfit = caption(QStringLiteral("損益"), m_listPanel);
    grid->addWidget(m_totalProfit, 0, 3);

    // Room for the widest figure the book holds (a loss of eight digits), so no row is ever cut.
    const QFontMetrics fm(font());
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 12;
    const int amountWidth = fm.horizontalAdvance(QStringLiteral("-99999999")) + 12;
    const int rowHeight = fm.height() + 6;
    for (int r = 0; r < kPassbookRows; ++r) {
        for (int c = 0; c < 4; ++c) {
            auto* cell = new QLabel(m_listPanel);
            cell->setObjectName(indexedName(kColumnNames[c], r + 1));
            cell->setProperty("cell", true);
            cell->setAlignment(c == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
            cell->setMinimumSize(c == 0 ? dateWidth : amountWidth, rowHeight);
            grid->addWidget(cell, r + 1, c);
            m_cells[size_t(r)][size_t(c)] = cell;
        }
    }
    // A clear sheet over the rows: it carries the totals as its tooltip.
    m_sheet = new QWidget(m_listPanel);
    m_sheet->setObjectName(QStringLiteral("sheet"));
    m_sheet->setAttribute(Qt::WA_NoSystemBackground);
    m_sheet->installEventFilter(this);
    m_listPanel->installEventFilter(this);
    row->addWidget(m_listPanel);

    m_pageScroll = new QScrollBar(Qt::Vertical, page);
    m_pageScroll->setObjectName(QStringLiteral("pageScroll"));
    m_pageScroll->setSingleStep(1);
    m_pageScroll->setPageStep(1);
    connect(m_pageScroll, &QScrollBar::valueChanged, this, [this] {
        if (m_view == PastView) {
            pageFill();
        }
    });
    row->addWidget(m_pageScroll);
    return page;
}

QWidget* PassbookWindow::buildSpin(DateField field) {
    // The arrows step the field beside them; they take no focus, so the field keeps it.
    auto* spin = new QWidget(m_inputPanel);
    auto* column = new QVBoxLayout(spin);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int half = std::max(m_yearEdit->sizeHint().height() / 2, 8);
    for (const int delta : {1, -1}) {
        auto* b = new QToolButton(spin);
        b->setObjectName(QLatin1String(kFieldNames[field]) +
                         (delta > 0 ? QStringLiteral("UpButton") : QStringLiteral("DownButton")));
        b->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        b->setFixedSize(half + 4, half);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        connect(b, &QToolButton::clicked, this, [this, field, delta] { step(field, delta); });
        column->addWidget(b);
        (delta > 0 ? m_spinUp : m_spinDown)[size_t(field)] = b;
    }
    return spin;
}

QWidget* PassbookWindow::buildInput() {
    m_inputPanel = new QWidget(this);
    auto* column = new QVBoxLayout(m_inputPanel);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(5);
    const QFontMetrics fm(font());

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(2);
    m_yearEdit = new QLineEdit(m_inputPanel);
    m_yearEdit->setMaxLength(4);
    m_yearEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_yearEdit));
    m_yearEdit->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00000")) + 12);
    m_monthBox = numberList(m_inputPanel, 12);
    m_dayBox = numberList(m_inputPanel, 31);
    QWidget* const fields[3] = {m_yearEdit, m_monthBox, m_dayBox};
    const char16_t* units[3] = {u"年", u"月", u"日"};
    for (int f = 0; f < 3; ++f) {
        dateRow->addWidget(fields[f]);
        dateRow->addWidget(buildSpin(static_cast<DateField>(f)));
        dateRow->addSpacing(2);
        dateRow->addWidget(new QLabel(QString::fromUtf16(units[f]), m_inputPanel));
        dateRow->addSpacing(6);
    }
    dateRow->addStretch();
    column->addLayout(dateRow);
    m_monthBox->installEventFilter(this);
    m_dayBox->installEventFilter(this);

    const int amountWidth = fm.horizontalAdvance(QStringLiteral("0000000000")) + 14;
    auto* amounts = new QGridLayout;
    amounts->setHorizontalSpacing(6);
    m_stakeEdit = amountField(m_inputPanel, amountWidth);
    m_payoutEdit = amountField(m_inputPanel, amountWidth);
    amounts->addWidget(new QLabel(QStringLiteral("投票"), m_inputPanel), 0, 0);
    amounts->addWidget(m_stakeEdit, 0, 1);
    amounts->addWidget(new QLabel(QStringLiteral("円"), m_inputPanel), 0, 2);
    amounts->addWidget(new QLabel(QStringLiteral("払戻"), m_inputPanel), 1, 0);
    amounts->addWidget(m_payoutEdit, 1, 1);
    amounts->addWidget(new QLabel(QStringLiteral("円"), m_inputPanel), 1, 2);
    amounts->setColumnStretch(3, 1);
    column->addLayout(amounts);

    m_protectBox = new QCheckBox(QStringLiteral("このデータは自動更新させない"), m_inputPanel);
    m_protectBox->setToolTip(QStringLiteral("更新ボタンをクリックしても再計算しません。"));
    column->addWidget(m_protectBox);
    auto* note = new QLabel(QStringLiteral("投票金額が０円の場合は、該当する日付のデータを削除します。"), m_inputPanel);
    note->setWordWrap(true);
    column->addWidget(note);

    m_messageText = new QPlainTextEdit(m_inputPanel);
    m_messageText->setReadOnly(true);
    m_messageText->setFont(Fonts::fixed());
    m_messageText->setFocusPolicy(Qt::NoFocus);
    m_messageText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Six lines of forty half-width cells: the longest message, a deletion question, fits on one line, and
    // a registration that replaces a day has six.
    const QFontMetrics fixed(m_messageText->font());
    const int chrome = 2 * (m_messageText->frameWidth() + qRound(m_messageText->document()->documentMargin()));
    m_messageText->setFixedSize(fixed.horizontalAdvance(QString(40, QLatin1Char('0'))) + chrome + 4,
                                fixed.lineSpacing() * 6 + chrome + 4);
    column->addWidget(m_messageText);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_confirmButton = new QPushButton(QStringLiteral("確定"), m_inputPanel);
    m_okButton = new QPushButton(QStringLiteral("OK"), m_inputPanel);
    m_cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), m_inputPanel);
    // Named by role, for the keyboard's accessibility tools and for the window tests.
    const std::pair<QWidget*, const char*> roles[] = {
        {m_inputPanel, "inputPanel"}, {m_yearEdit, "yearEdit"},        {m_monthBox, "monthBox"},
        {m_dayBox, "dayBox"},         {m_stakeEdit, "stakeEdit"},      {m_payoutEdit, "payoutEdit"},
        {m_protectBox, "protectBox"}, {m_messageText, "messageText"},  {m_confirmButton, "confirmButton"},
        {m_okButton, "okButton"},     {m_cancelButton, "cancelButton"}};
    for (const auto& [widget, name] : roles) {
        widget->setObjectName(QLatin1String(name));
    }
    for (QPushButton* b : {m_confirmButton, m_okButton, m_cancelButton}) {
        b->setAutoDefault(true); // Return on a button with the focus presses that button
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    column->addStretch();

    connect(m_confirmButton, &QPushButton::clicked, this, [this] { confirmClicked(); });
    connect(m_okButton, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { backToPast(); });
    // Whatever changes the day or the amounts asks for a new confirmation before OK, the arrows too.
    for (QLineEdit* e : {m_yearEdit, m_stakeEdit, m_payoutEdit}) {
        connect(e, &QLineEdit::textChanged, this, [this] { edited(); });
    }
    for (QComboBox* c : {m_monthBox, m_dayBox}) {
        connect(c, &QComboBox::currentIndexChanged, this, [this] { edited(); });
        connect(c, &QComboBox::currentIndexChanged, this, [this] { datePicked(); });
    }
    connect(m_yearEdit, &QLineEdit::textChanged, this, [this] { datePicked(); });
    return m_inputPanel;
}

void PassbookWindow::fill() {
    setWindowTitle(QStringLiteral("通帳"));
    try {
        // The statistics come with the automatic update of today's record, which a day without meetings
        // never runs: a stake of 0 computes them and changes nothing.
        control().book().checkRecord(0, 0, 0, QString(), 0, 0);
    } catch (const AppError& e) {
        reportError(e);
    }
    refreshTotals();
    m_sheet->show();
    showPast();
    m_button[0]->setChecked(true);

    QString ymd = control().saleDate();
    if (!Dates::fromYmd(ymd)) {
        ymd = Dates::toYmd(QDate::currentDate()); // no sale day read: start from today
    }
    const QString shown = Fmt::datePattern(ymd);
    m_yearEdit->setText(shown.left(4));
    m_monthBox->setCurrentText(shown.mid(5, 2));
    m_dayBox->setCurrentText(shown.mid(8, 2));

    setFixedSize(sizeHint());
    m_listSize = size();
    restorePlace(true, true, false, false);
}

void PassbookWindow::refill(const ShownRace*) {
    // Today's record may have changed; the view shown stays, on its page.
    refreshTotals();
    switch (m_view) {
    case PastView:
        showPast();
        break;
    case BestView:
    case WorstView:
        showRanking(m_view == BestView ? PassbookRanking::Best : PassbookRanking::Worst);
        break;
    case ChartView:
        showChart();
        break;
    case InputView:
        break; // busy: never rebuilt
    }
}

void PassbookWindow::refreshTotals() {
    try {
        const PassbookTotals t = buildPassbookTotals(control().book());
        setWindowTitle(t.caption);
        m_sheet->setToolTip(t.tooltip);
    } catch (const AppError& e) {
        reportError(e);
    }
}

void PassbookWindow::toolbarClicked(int index) {
    try {
        switch (index) {
        case PastButton:
            showPast();
            break;
        case BestButton:
            showRanking(PassbookRanking::Best);
            break;
        case WorstButton:
            showRanking(PassbookRanking::Worst);
            break;
        case InputButton:
            showInput();
            break;
        case ChartButton:
            showChart();
            break;
        case CsvButton:
            saveCsvClicked();
            return;
        default:
            return;
        }
        m_button.at(size_t(index - 1))->setChecked(true);
    } catch (const AppError& e) {
        reportError(e);
    }
}

void PassbookWindow::showPast() {
    m_view = PastView;
    m_stack->setCurrentIndex(0);
    m_totalProfit->show();
    m_pageScroll->show();
    m_sheet->show();
    const int last = passbookLastPage(control().book());
    m_pageScroll->setMaximum(last);
    m_pageScroll->setEnabled(last != 0);
    pageFill();
    fitView();
}

void PassbookWindow::showRanking(PassbookRanking ranking) {
    m_view = ranking == PassbookRanking::Best ? BestView : WorstView;
    m_stack->setCurrentIndex(0);
    m_totalProfit->show();
    m_pageScroll->show();
    m_pageScroll->setEnabled(false);
    m_sheet->hide();
    fillRows(buildPassbookRanking(control().book(), ranking));
    fitView();
}

void PassbookWindow::showInput() {
    m_view = InputView;
    m_stack->setCurrentWidget(m_inputPanel);
    m_totalProfit->hide();
    m_pageScroll->hide();
    m_okButton->setEnabled(false);
    m_messageText->clear();
    enableLists(false);
    datePicked(); // what it loads is an edit like any other: OK stays off until 確定
    fitView();
    m_yearEdit->setFocus();
}

void PassbookWindow::showChart() {
    m_view = ChartView;
    if (!m_chartPage) {
        // Built on first use: most openings of the passbook never need the chart.
        m_chartPage = new PassbookChartView(control().book(), this);
        m_stack->addWidget(m_chartPage);
        m_chartPage->setObjectName(QStringLiteral("chartPage"));
    } else {
        m_chartPage->refresh();
    }
    m_stack->setCurrentWidget(m_chartPage);
    fitView();
    m_chartPage->spanBox()->setFocus();
}

void PassbookWindow::fitView() {
    if (!m_listSize.isValid()) {
        return; // still loading: the window takes its size at the end of the load
    }
    // The line saying where the CSV file went adds its height to every view.
    const int saved = m_savedNote->isHidden() ? 0 : m_savedNote->heightForWidth(m_listSize.width());
    if (m_view != ChartView) {
        setFixedSize(m_listSize + QSize(0, saved));
        return;
    }
    // The chart is the one view worth a larger window: it may be resized, and its chart follows.
    const int toolbar = m_toolbar->sizeHint().height();
    const QSize page = m_chartPage->sizeHint();
    const QSize target = m_chartSize.isValid()
                             ? m_chartSize
                             : QSize(std::max(m_listSize.width(), page.width()), toolbar + page.height());
    const QSize least = m_chartPage->minimumSizeHint();
    setMinimumSize(std::max(m_listSize.width(), least.width()), toolbar + least.height() + saved);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_chartSize = target; // the limits may have passed the window through another size on the way
    resize(target);
    keepClearOfMain();
}

void PassbookWindow::keepClearOfMain() {
    // Grown for the chart, a passbook placed left of the main window would spread over it: it grows to the
    // left instead, as far as its screen allows.
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main || !main->isVisible() || !isVisible()) {
        return;
    }
    const QRect mine = WindowPlace::outer(this);
    const QRect theirs = WindowPlace::outer(main);
    if (!mine.intersects(theirs) || mine.left() >= theirs.left()) {
        return;
    }
    const QRect area = WindowPlace::areaAt(mine);
    const int left = std::max(area.left(), mine.left() - (mine.right() + 1 - theirs.left()));
    WindowPlace::apply(this, mine.translated(left - mine.left(), 0));
}

void PassbookWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (m_view == ChartView) {
        m_chartSize = event->size();
    }
}

// While the input panel waits for OK or cancel, nothing else of the window may be used: the panel's
// confirmation belongs to the book as it was when it was given.
void PassbookWindow::enableLists(bool enabled) {
    for (const int index : {PastButton, BestButton, WorstButton, ChartButton, CsvButton}) {
        m_button.at(size_t(index - 1))->setEnabled(enabled);
    }
}

void PassbookWindow::saveCsvClicked() {
    const QString name = passbookCsvFileName(control().book(), control().saleDate());
    const QString path = askCsvPath(this, name);
    if (!path.isEmpty()) {
        saveCsv(path);
    }
}

bool PassbookWindow::saveCsv(const QString& path) {
    QString failure;
    const QString shown = QDir::toNativeSeparators(path);
    if (!AtomicFile::replace(path, passbookCsv(control().book()), &failure)) {
        reportFailure(
            QStringLiteral("CSVファイルを保存できませんでした。通帳はそのままです。保存先のフォルダと空き容量を"
                           "確かめて、もう一度「CSV保存」してください。"),
            QStringLiteral("%1 (%2)").arg(shown, failure));
        return false;
    }
    // Where the file went, in full: the dialog has closed, and the user must find the file.
    m_savedNote->setText(QStringLiteral("CSVファイルに保存しました: ") + breakablePath(shown));
    m_savedNote->setToolTip(shown);
    m_savedNote->show();
    fitView();
    return true;
}

void PassbookWindow::backToPast() {
    enableLists(true);
    m_button[0]->setChecked(true);
    try {
        showPast();
    } catch (const AppError& e) {
        reportError(e);
    }
}

void PassbookWindow::fillRows(const QList<PassbookRow>& rows) {
    for (int r = 0; r < kPassbookRows; ++r) {
        const PassbookRow row = r < rows.size() ? rows[r] : PassbookRow{};
        const auto& cells = m_cells[size_t(r)];
        cells[0]->setText(row.date);
        cells[1]->setText(row.buy);
        cells[2]->setText(row.pay);
        cells[3]->setText(row.profit);
        cells[3]->setStyleSheet(Colors::style(row.profitColour, std::nullopt));
    }
}

void PassbookWindow::pageFill() {
    fillRows(buildPassbookPage(control().book(), m_pageScroll->value()));
}

void PassbookWindow::step(DateField field, int delta) {
    if (field == YearField) {
        const int year = std::clamp(m_yearEdit->text().toInt() + delta, 1, 9999);
        m_yearEdit->setText(Fmt::zeros(year, 4));
        return;
    }
    QComboBox* list = field == MonthField ? m_monthBox : m_dayBox;
    list->setCurrentIndex(std::clamp(list->currentIndex() + delta, 0, list->count() - 1));
}

void PassbookWindow::edited() {
    m_okButton->setEnabled(false);
    m_messageText->clear();
}

void PassbookWindow::datePicked() {
    if (m_view != InputView) {
        return; // the fields are set at load; the day is loaded when the panel is shown
    }
    const std::optional<QString> key =
        passbookDayKey({m_yearEdit->text(), m_monthBox->currentText(), m_dayBox->currentText(), {}, {}});
    if (!key) {
        return; // a year still being typed: nothing to load yet
    }
    const std::optional<PassbookDay> day = findPassbookDay(control().book(), *key);
    if (day) {
        // Re-saving the day must not drop its protection nor take the previous entry's amounts.
        m_loadedAmounts = {QString::number(day->buy), QString::number(day->pay)};
        m_stakeEdit->setText(m_loadedAmounts->first);
        m_payoutEdit->setText(m_loadedAmounts->second);
        m_protectBox->setChecked(day->isProtected);
        return;
    }
    if (m_loadedAmounts && m_stakeEdit->text() == m_loadedAmounts->first &&
        m_payoutEdit->text() == m_loadedAmounts->second) {
        // A new day starts empty rather than with another day's figures; what the user typed stays.
        m_stakeEdit->clear();
        m_payoutEdit->clear();
        m_protectBox->setChecked(false);
    }
    m_loadedAmounts.reset();
}

void PassbookWindow::confirmClicked() {
    m_pending = confirmPassbookEntry({m_yearEdit->text(), m_monthBox->currentText(), m_dayBox->currentText(),
                                      m_stakeEdit->text(), m_payoutEdit->text()},
                                     &control().book());
    m_messageText->setPlainText(m_pending.message.join(QLatin1Char('\n')));
    m_okButton->setEnabled(m_pending.pending != PassbookConfirmation::Refused);
}

void PassbookWindow::okClicked() {
    try {
        if (m_pending.pending == PassbookConfirmation::Register) {
            const qint16 update = m_protectBox->isChecked() ? 1 : 0;
            control().book().checkRecord(m_pending.buy, m_pending.pay, 0, m_pending.dayKey, update, 1);
        } else if (m_pending.pending == PassbookConfirmation::Delete) {
            control().book().deleteRecord(m_pending.dayKey);
        }
    } catch (const AppError& e) {
        reportError(e);
    }
    m_pending = {};
    refreshTotals();
    backToPast();
}

void PassbookWindow::keyPressEvent(QKeyEvent* event) {
    if (m_view == InputView) {
        if (event->key() == Qt::Key_Escape) {
            m_cancelButton->click();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_confirmButton->click();
            return;
        }
    }
    ChildWindow::keyPressEvent(event);
}

bool PassbookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_listPanel && event->type() == QEvent::Resize) {
        m_sheet->setGeometry(m_listPanel->rect());
        m_sheet->raise();
    } else if (watched == m_sheet && event->type() == QEvent::Wheel) {
        // The wheel over the rows (the sheet lies over them) turns the pages as it does over the scroll bar:
        // that is where the eye is.
        if (m_view == PastView && m_pageScroll->isEnabled()) {
            QCoreApplication::sendEvent(m_pageScroll, event);
            return true;
        }
    } else if ((watched == m_monthBox || watched == m_dayBox) && event->type() == QEvent::FocusIn) {
        // Entering a list asks for a new confirmation; coming back from its own pop-up or from another
        // window is not entering it (a pick in the pop-up counts as a change anyway).
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            edited();
        }
    }
    return ChildWindow::eventFilter(watched, event);
}
