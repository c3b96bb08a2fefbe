#include "PassbookWindow.h"

#include "Colors.h"
#include "Fonts.h"
#include "Icons.h"
#include "PassbookChartView.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/AtomicFile.h"
#include "core/Dates.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"
#include "core/SpecialFolder.h"

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
    {u"明細", u"過去の収支履歴", &Icons::PassbookList, true},
    {u"勝ち", u"ベスト１０", &Icons::PassbookBest, true},
    {u"負け", u"ワースト１０", &Icons::PassbookWorst, true},
    {u"入力", nullptr, &Icons::PassbookEntry, true},
    {u"グラフ", u"日ごとの損益と累計のグラフ (Alt+G)", &Icons::PassbookChart, true, "Alt+G"},
    {u"CSV保存", u"通帳をCSVファイルに保存 (Ctrl+S)", &Icons::PassbookCsv, false, "Ctrl+S"},
};

const char* const kButtonNames[] = {"pastButton",  "bestButton",  "worstButton",
                                    "inputButton", "chartButton", "csvButton"};

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLineEdit* AmountField(QWidget* parent, int width) {
    auto* e = new QLineEdit(parent);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(width);
    return e;
}

// A path has no blanks to break a line at: it may break after each of its separators instead.
QString BreakablePath(QString path) {
    const QChar separator = QDir::separator();
    return path.replace(separator, QString(separator) + QChar(0x200B));
}

QComboBox* NumberList(QWidget* parent, int last) {
    auto* c = new QComboBox(parent);
    for (int n = 1; n <= last; ++n) {
        c->addItem(Fmt::Zeros(n, 2));
    }
    c->setMaxVisibleItems(12);
    return c;
}
} // namespace

PassbookWindow::PassbookWindow(DayController& control, QWidget* owner) : ChildWindow(control, Settings::Record, owner) {
    BuildControls();
    Form_Load();
}

void PassbookWindow::BuildControls() {
    setStyleSheet(kStyle);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(BuildToolbar());
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(BuildList());
    m_stack->addWidget(BuildInput());
    outer->addWidget(m_stack);
    m_lblSaved = new QLabel(this);
    m_lblSaved->setObjectName(QStringLiteral("statusLine"));
    m_lblSaved->setWordWrap(true);
    m_lblSaved->setContentsMargins(6, 0, 6, 4);
    m_lblSaved->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblSaved->hide(); // until a file is saved
    outer->addWidget(m_lblSaved);
}

QWidget* PassbookWindow::BuildToolbar() {
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
        connect(b, &QToolButton::clicked, this, [this, i] { Toolbar_ButtonClick(i + 1); });
        if (!spec.view) {
            row->addSpacing(8);
        }
        row->addWidget(b);
        m_button[size_t(i)] = b;
    }
    row->addStretch();
    return toolbar;
}

QWidget* PassbookWindow::BuildList() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(6, 4, 6, 6);
    row->setSpacing(2);

    m_picture1 = new QWidget(page);
    auto* grid = new QGridLayout(m_picture1);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    grid->addWidget(Caption(QStringLiteral("日付"), m_picture1), 0, 0);
    grid->addWidget(Caption(QStringLiteral("投票"), m_picture1), 0, 1);
    grid->addWidget(Caption(QStringLiteral("払戻"), m_picture1), 0, 2);
    m_lblTTLSoneki = Caption(QStringLiteral("損益"), m_picture1);
    grid->addWidget(m_lblTTLSoneki, 0, 3);

    // Room for the widest figure the book holds (a loss of eight digits), so no row is ever cut.
    const QFontMetrics fm(font());
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 12;
    const int amountWidth = fm.horizontalAdvance(QStringLiteral("-99999999")) + 12;
    const int rowHeight = fm.height() + 6;
    for (int r = 0; r < kPassbookRows; ++r) {
        for (int c = 0; c < 4; ++c) {
            auto* cell = new QLabel(m_picture1);
            cell->setProperty("cell", true);
            cell->setAlignment(c == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
            cell->setMinimumSize(c == 0 ? dateWidth : amountWidth, rowHeight);
            grid->addWidget(cell, r + 1, c);
            m_cells[size_t(r)][size_t(c)] = cell;
        }
    }
    // A clear sheet over the rows: it carries the totals as its tooltip.
    m_lblWindow = new QWidget(m_picture1);
    m_lblWindow->setAttribute(Qt::WA_NoSystemBackground);
    m_lblWindow->installEventFilter(this);
    m_picture1->installEventFilter(this);
    row->addWidget(m_picture1);

    m_vScroll = new QScrollBar(Qt::Vertical, page);
    m_vScroll->setSingleStep(1);
    m_vScroll->setPageStep(1);
    connect(m_vScroll, &QScrollBar::valueChanged, this, [this] {
        if (m_view == PastView) {
            PageFill();
        }
    });
    row->addWidget(m_vScroll);
    return page;
}

QWidget* PassbookWindow::BuildSpin(DateField field) {
    // The arrows step the field beside them; they take no focus, so the field keeps it.
    auto* spin = new QWidget(m_picture2);
    auto* column = new QVBoxLayout(spin);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const int half = std::max(m_txtYY->sizeHint().height() / 2, 8);
    for (const int delta : {1, -1}) {
        auto* b = new QToolButton(spin);
        b->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        b->setFixedSize(half + 4, half);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        connect(b, &QToolButton::clicked, this, [this, field, delta] { Step(field, delta); });
        column->addWidget(b);
        (delta > 0 ? m_spinUp : m_spinDown)[size_t(field)] = b;
    }
    return spin;
}

QWidget* PassbookWindow::BuildInput() {
    m_picture2 = new QWidget(this);
    auto* column = new QVBoxLayout(m_picture2);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(5);
    const QFontMetrics fm(font());

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(2);
    m_txtYY = new QLineEdit(m_picture2);
    m_txtYY->setMaxLength(4);
    m_txtYY->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_txtYY));
    m_txtYY->setFixedWidth(fm.horizontalAdvance(QStringLiteral("00000")) + 12);
    m_cmbMM = NumberList(m_picture2, 12);
    m_cmbDD = NumberList(m_picture2, 31);
    QWidget* const fields[3] = {m_txtYY, m_cmbMM, m_cmbDD};
    const char16_t* units[3] = {u"年", u"月", u"日"};
    for (int f = 0; f < 3; ++f) {
        dateRow->addWidget(fields[f]);
        dateRow->addWidget(BuildSpin(static_cast<DateField>(f)));
        dateRow->addSpacing(2);
        dateRow->addWidget(new QLabel(QString::fromUtf16(units[f]), m_picture2));
        dateRow->addSpacing(6);
    }
    dateRow->addStretch();
    column->addLayout(dateRow);
    m_cmbMM->installEventFilter(this);
    m_cmbDD->installEventFilter(this);

    const int amountWidth = fm.horizontalAdvance(QStringLiteral("0000000000")) + 14;
    auto* amounts = new QGridLayout;
    amounts->setHorizontalSpacing(6);
    m_txtInTohyo = AmountField(m_picture2, amountWidth);
    m_txtInHarai = AmountField(m_picture2, amountWidth);
    amounts->addWidget(new QLabel(QStringLiteral("投票"), m_picture2), 0, 0);
    amounts->addWidget(m_txtInTohyo, 0, 1);
    amounts->addWidget(new QLabel(QStringLiteral("円"), m_picture2), 0, 2);
    amounts->addWidget(new QLabel(QStringLiteral("払戻"), m_picture2), 1, 0);
    amounts->addWidget(m_txtInHarai, 1, 1);
    amounts->addWidget(new QLabel(QStringLiteral("円"), m_picture2), 1, 2);
    amounts->setColumnStretch(3, 1);
    column->addLayout(amounts);

    m_check1 = new QCheckBox(QStringLiteral("このデータは自動更新させない"), m_picture2);
    m_check1->setToolTip(QStringLiteral("更新ボタンをクリックしても再計算しません。"));
    column->addWidget(m_check1);
    auto* note = new QLabel(QStringLiteral("投票金額が０円の場合は、該当する日付のデータを削除します。"), m_picture2);
    note->setWordWrap(true);
    column->addWidget(note);

    m_txtMessage = new QPlainTextEdit(m_picture2);
    m_txtMessage->setReadOnly(true);
    m_txtMessage->setFont(Fonts::Fixed());
    m_txtMessage->setFocusPolicy(Qt::NoFocus);
    m_txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Six lines of forty half-width cells: the longest message, a deletion question, fits on one line, and
    // a registration that replaces a day has six.
    const QFontMetrics fixed(m_txtMessage->font());
    const int chrome = 2 * (m_txtMessage->frameWidth() + qRound(m_txtMessage->document()->documentMargin()));
    m_txtMessage->setFixedSize(fixed.horizontalAdvance(QString(40, QLatin1Char('0'))) + chrome + 4,
                               fixed.lineSpacing() * 6 + chrome + 4);
    column->addWidget(m_txtMessage);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cmdKakutei = new QPushButton(QStringLiteral("確定"), m_picture2);
    m_cmdOk = new QPushButton(QStringLiteral("OK"), m_picture2);
    m_cmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), m_picture2);
    // Named by role, for the keyboard's accessibility tools and for the window tests.
    const std::pair<QWidget*, const char*> roles[] = {
        {m_picture2, "inputPanel"}, {m_txtYY, "yearField"},       {m_cmbMM, "monthList"},
        {m_cmbDD, "dayList"},       {m_txtInTohyo, "stakeField"}, {m_txtInHarai, "payoutField"},
        {m_check1, "protectBox"},   {m_txtMessage, "messageBox"}, {m_cmdKakutei, "confirmButton"},
        {m_cmdOk, "okButton"},      {m_cmdCancel, "cancelButton"}};
    for (const auto& [widget, name] : roles) {
        widget->setObjectName(QLatin1String(name));
    }
    for (QPushButton* b : {m_cmdKakutei, m_cmdOk, m_cmdCancel}) {
        b->setAutoDefault(true); // Return on a button with the focus presses that button
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    column->addStretch();

    connect(m_cmdKakutei, &QPushButton::clicked, this, [this] { cmdKakutei_Click(); });
    connect(m_cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { BackToPast(); });
    // Whatever changes the day or the amounts asks for a new confirmation before OK, the arrows too.
    for (QLineEdit* e : {m_txtYY, m_txtInTohyo, m_txtInHarai}) {
        connect(e, &QLineEdit::textChanged, this, [this] { Edited(); });
    }
    for (QComboBox* c : {m_cmbMM, m_cmbDD}) {
        connect(c, &QComboBox::currentIndexChanged, this, [this] { Edited(); });
        connect(c, &QComboBox::currentIndexChanged, this, [this] { DatePicked(); });
    }
    connect(m_txtYY, &QLineEdit::textChanged, this, [this] { DatePicked(); });
    return m_picture2;
}

void PassbookWindow::Form_Load() {
    setWindowTitle(QStringLiteral("通帳"));
    try {
        // The statistics come with the automatic update of today's record, which a day without meetings
        // never runs: a stake of 0 computes them and changes nothing.
        objControl().CheckRecord(0, 0, 0, 0, QString(), 0, 0);
    } catch (const AppError& e) {
        ReportError(e);
    }
    RefreshTotals();
    m_lblWindow->show();
    ShowPast();
    m_button[0]->setChecked(true);

    QString ymd = objControl().CurDate();
    if (!Dates::FromYmd(ymd)) {
        ymd = Dates::ToYmd(QDate::currentDate()); // no sale day read: start from today
    }
    const QString shown = Fmt::DatePattern(ymd);
    m_txtYY->setText(shown.left(4));
    m_cmbMM->setCurrentText(shown.mid(5, 2));
    m_cmbDD->setCurrentText(shown.mid(8, 2));

    setFixedSize(sizeHint());
    m_listSize = size();
    RestorePlace(true, true, false, false);
}

void PassbookWindow::RefreshTotals() {
    try {
        const PassbookTotals t = BuildPassbookTotals(objControl().Book());
        setWindowTitle(t.Caption);
        m_lblWindow->setToolTip(t.Tooltip);
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void PassbookWindow::Toolbar_ButtonClick(int index) {
    try {
        switch (index) {
        case PastButton:
            ShowPast();
            break;
        case BestButton:
            ShowRanking(PassbookRanking::Best);
            break;
        case WorstButton:
            ShowRanking(PassbookRanking::Worst);
            break;
        case InputButton:
            ShowInput();
            break;
        case ChartButton:
            ShowChart();
            break;
        case CsvButton:
            cmdCsv_Click();
            return;
        default:
            return;
        }
        m_button.at(size_t(index - 1))->setChecked(true);
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void PassbookWindow::ShowPast() {
    m_view = PastView;
    m_stack->setCurrentIndex(0);
    m_lblTTLSoneki->show();
    m_vScroll->show();
    m_lblWindow->show();
    const int last = PassbookLastPage(objControl().Book());
    m_vScroll->setMaximum(last);
    m_vScroll->setEnabled(last != 0);
    PageFill();
    FitView();
}

void PassbookWindow::ShowRanking(PassbookRanking ranking) {
    m_view = ranking == PassbookRanking::Best ? BestView : WorstView;
    m_stack->setCurrentIndex(0);
    m_lblTTLSoneki->show();
    m_vScroll->show();
    m_vScroll->setEnabled(false);
    m_lblWindow->hide();
    FillRows(BuildPassbookRanking(objControl().Book(), ranking));
    FitView();
}

void PassbookWindow::ShowInput() {
    m_view = InputView;
    m_stack->setCurrentWidget(m_picture2);
    m_lblTTLSoneki->hide();
    m_vScroll->hide();
    m_cmdOk->setEnabled(false);
    m_txtMessage->clear();
    EnableLists(false);
    DatePicked(); // what it loads is an edit like any other: OK stays off until 確定
    FitView();
    m_txtYY->setFocus();
}

void PassbookWindow::ShowChart() {
    m_view = ChartView;
    if (!m_chartPage) {
        // Built on first use: most openings of the passbook never need the chart.
        m_chartPage = new PassbookChartView(objControl().Book(), this);
        m_stack->addWidget(m_chartPage);
    } else {
        m_chartPage->Refresh();
    }
    m_stack->setCurrentWidget(m_chartPage);
    FitView();
    m_chartPage->cmbSpan()->setFocus();
}

void PassbookWindow::FitView() {
    if (!m_listSize.isValid()) {
        return; // still loading: the window takes its size at the end of the load
    }
    // The line saying where the CSV file went adds its height to every view.
    const int saved = m_lblSaved->isHidden() ? 0 : m_lblSaved->heightForWidth(m_listSize.width());
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
}

void PassbookWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (m_view == ChartView) {
        m_chartSize = event->size();
    }
}

// While the input panel waits for OK or cancel, nothing else of the window may be used: the panel's
// confirmation belongs to the book as it was when it was given.
void PassbookWindow::EnableLists(bool enabled) {
    for (const int index : {PastButton, BestButton, WorstButton, ChartButton, CsvButton}) {
        m_button.at(size_t(index - 1))->setEnabled(enabled);
    }
}

void PassbookWindow::cmdCsv_Click() {
    const QString name = PassbookCsvFileName(objControl().Book(), objControl().CurDate());
    const QString documents = GetMyDocuments();
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("CSV保存"),
                                                      documents.isEmpty() ? name : QDir(documents).filePath(name),
                                                      QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        SaveCsv(path);
    }
}

bool PassbookWindow::SaveCsv(const QString& path) {
    QString failure;
    const QString shown = QDir::toNativeSeparators(path);
    if (!AtomicFile::Replace(path, PassbookCsv(objControl().Book()), &failure)) {
        ReportFailure(
            QStringLiteral("CSVファイルを保存できませんでした。通帳はそのままです。保存先のフォルダと空き容量を"
                           "確かめて、もう一度「CSV保存」してください。"),
            QStringLiteral("%1 (%2)").arg(shown, failure));
        return false;
    }
    // Where the file went, in full: the dialog has closed, and the user must find the file.
    m_lblSaved->setText(QStringLiteral("CSVファイルに保存しました: ") + BreakablePath(shown));
    m_lblSaved->setToolTip(shown);
    m_lblSaved->show();
    FitView();
    return true;
}

void PassbookWindow::BackToPast() {
    EnableLists(true);
    m_button[0]->setChecked(true);
    try {
        ShowPast();
    } catch (const AppError& e) {
        ReportError(e);
    }
}

void PassbookWindow::FillRows(const QList<PassbookRow>& rows) {
    for (int r = 0; r < kPassbookRows; ++r) {
        const PassbookRow row = r < rows.size() ? rows[r] : PassbookRow{};
        const auto& cells = m_cells[size_t(r)];
        cells[0]->setText(row.Date);
        cells[1]->setText(row.Buy);
        cells[2]->setText(row.Pay);
        cells[3]->setText(row.Profit);
        cells[3]->setStyleSheet(Colors::Style(row.ProfitColour, std::nullopt));
    }
}

void PassbookWindow::PageFill() {
    FillRows(BuildPassbookPage(objControl().Book(), m_vScroll->value()));
}

void PassbookWindow::Step(DateField field, int delta) {
    if (field == YearField) {
        const int year = std::clamp(m_txtYY->text().toInt() + delta, 1, 9999);
        m_txtYY->setText(Fmt::Zeros(year, 4));
        return;
    }
    QComboBox* list = field == MonthField ? m_cmbMM : m_cmbDD;
    list->setCurrentIndex(std::clamp(list->currentIndex() + delta, 0, list->count() - 1));
}

void PassbookWindow::Edited() {
    m_cmdOk->setEnabled(false);
    m_txtMessage->clear();
}

void PassbookWindow::DatePicked() {
    if (m_view != InputView) {
        return; // the fields are set at load; the day is loaded when the panel is shown
    }
    const std::optional<QString> key =
        PassbookDayKey({m_txtYY->text(), m_cmbMM->currentText(), m_cmbDD->currentText(), {}, {}});
    if (!key) {
        return; // a year still being typed: nothing to load yet
    }
    const std::optional<PassbookDay> day = FindPassbookDay(objControl().Book(), *key);
    if (day) {
        // Re-saving the day must not drop its protection nor take the previous entry's amounts.
        m_loadedAmounts = {QString::number(day->Buy), QString::number(day->Pay)};
        m_txtInTohyo->setText(m_loadedAmounts->first);
        m_txtInHarai->setText(m_loadedAmounts->second);
        m_check1->setChecked(day->Protected);
        return;
    }
    if (m_loadedAmounts && m_txtInTohyo->text() == m_loadedAmounts->first &&
        m_txtInHarai->text() == m_loadedAmounts->second) {
        // A new day starts empty rather than with another day's figures; what the user typed stays.
        m_txtInTohyo->clear();
        m_txtInHarai->clear();
        m_check1->setChecked(false);
    }
    m_loadedAmounts.reset();
}

void PassbookWindow::cmdKakutei_Click() {
    m_pending = ConfirmPassbookEntry(
        {m_txtYY->text(), m_cmbMM->currentText(), m_cmbDD->currentText(), m_txtInTohyo->text(), m_txtInHarai->text()},
        &objControl().Book());
    m_txtMessage->setPlainText(m_pending.Message.join(QLatin1Char('\n')));
    m_cmdOk->setEnabled(m_pending.Pending != PassbookConfirmation::Refused);
}

void PassbookWindow::cmdOk_Click() {
    try {
        if (m_pending.Pending == PassbookConfirmation::Register) {
            const qint16 update = m_check1->isChecked() ? 1 : 0;
            objControl().CheckRecord(m_pending.Buy, m_pending.Pay, 0, 0, m_pending.DayKey, update, 1);
        } else if (m_pending.Pending == PassbookConfirmation::Delete) {
            objControl().DeleteRecord(m_pending.DayKey);
        }
    } catch (const AppError& e) {
        ReportError(e);
    }
    m_pending = {};
    RefreshTotals();
    BackToPast();
}

void PassbookWindow::keyPressEvent(QKeyEvent* event) {
    if (m_view == InputView) {
        if (event->key() == Qt::Key_Escape) {
            m_cmdCancel->click();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            m_cmdKakutei->click();
            return;
        }
    }
    ChildWindow::keyPressEvent(event);
}

bool PassbookWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picture1 && event->type() == QEvent::Resize) {
        m_lblWindow->setGeometry(m_picture1->rect());
        m_lblWindow->raise();
    } else if (watched == m_lblWindow && event->type() == QEvent::Wheel) {
        // The wheel over the rows (the sheet lies over them) turns the pages as it does over the scroll bar:
        // that is where the eye is.
        if (m_view == PastView && m_vScroll->isEnabled()) {
            QCoreApplication::sendEvent(m_vScroll, event);
            return true;
        }
    } else if ((watched == m_cmbMM || watched == m_cmbDD) && event->type() == QEvent::FocusIn) {
        // Entering a list asks for a new confirmation; coming back from its own pop-up or from another
        // window is not entering it (a pick in the pop-up counts as a change anyway).
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            Edited();
        }
    }
    return ChildWindow::eventFilter(watched, event);
}
