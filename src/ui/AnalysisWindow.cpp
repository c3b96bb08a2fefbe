#include "AnalysisWindow.h"

#include "CsvFileDialog.h"
#include "Fonts.h"
#include "archive/BetArchive.h"
#include "control/DayController.h"
#include "core/AtomicFile.h"
#include "core/Csv.h"
#include "core/ErrorReporter.h"
#include "core/Formats.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// The figures sort as numbers, not as texts; a rate of "-" sorts below every rate.
constexpr int kSortRole = Qt::UserRole + 1;

const QString kDateFormat = QStringLiteral("yyyyMMdd");

// QHeaderView draws an ascending sort with the arrow pointing down; the tables our users know (the file
// manager, spreadsheets) point it up, smallest first. The arrow is drawn the other way round, so it names
// the order the rows are shown in.
class SortArrowStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != PE_IndicatorHeaderArrow || !header) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        QStyleOptionHeader turned(*header);
        if (header->sortIndicator == QStyleOptionHeader::SortUp) {
            turned.sortIndicator = QStyleOptionHeader::SortDown;
        } else if (header->sortIndicator == QStyleOptionHeader::SortDown) {
            turned.sortIndicator = QStyleOptionHeader::SortUp;
        }
        QProxyStyle::drawPrimitive(element, &turned, painter, widget);
    }
};

QTableView* makeTable(QStandardItemModel* model, QWidget* parent) {
    auto* proxy = new QSortFilterProxyModel(parent);
    proxy->setSourceModel(model);
    proxy->setSortRole(kSortRole);
    auto* view = new QTableView(parent);
    view->setModel(proxy);
    view->setSortingEnabled(true);
    view->sortByColumn(-1, Qt::AscendingOrder); // in code order until a header is clicked
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    auto* arrows = new SortArrowStyle;
    arrows->setParent(view->horizontalHeader()); // a widget does not own the style it is given
    view->horizontalHeader()->setStyle(arrows);
    return view;
}
} // namespace

AnalysisWindow::AnalysisWindow(DayController& control, QWidget* parent)
    : QWidget(parent, Qt::Window), m_control(control) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("分析"));
    setFont(Fonts::proportional(9));

    m_periodBox = new QComboBox(this);
    m_periodBox->setObjectName(QStringLiteral("periodBox"));
    m_periodBox->addItems({QStringLiteral("本日"), QStringLiteral("今月"), QStringLiteral("今年"),
                           QStringLiteral("全期間"), QStringLiteral("期間指定")});
    m_periodBox->setCurrentIndex(static_cast<int>(AnalysisPeriod::Month));
    auto* periodLabel = new QLabel(QStringLiteral("期間(&P)"), this);
    periodLabel->setBuddy(m_periodBox);
    const QDate today = QDate::fromString(m_control.saleDate(), kDateFormat);
    const QDate shown = today.isValid() ? today : QDate::currentDate();
    m_fromDate = new QDateEdit(QDate(shown.year(), shown.month(), 1), this);
    m_fromDate->setObjectName(QStringLiteral("fromDate"));
    m_toDate = new QDateEdit(shown, this);
    m_toDate->setObjectName(QStringLiteral("toDate"));
    for (QDateEdit* d : {m_fromDate, m_toDate}) {
        d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        d->setCalendarPopup(true);
    }
    auto* csvButton = new QPushButton(QStringLiteral("CSV保存(&S)"), this);
    csvButton->setObjectName(QStringLiteral("csvButton"));
    auto* closeButton = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(periodLabel);
    top->addWidget(m_periodBox);
    top->addWidget(m_fromDate);
    top->addWidget(new QLabel(QStringLiteral("～"), this));
    top->addWidget(m_toDate);
    m_recordStart = new QLabel(this);
    m_recordStart->setObjectName(QStringLiteral("recordStart"));
    top->addSpacing(8);
    top->addWidget(m_recordStart);
    top->addStretch(1);
    top->addWidget(csvButton);
    top->addWidget(closeButton);

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setWordWrap(true); // a message about the archive can be long
    m_totalLine = new QLabel(this);
    m_totalLine->setObjectName(QStringLiteral("totalLine"));
    m_totalLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_savedNote = new QLabel(this);
    m_savedNote->setObjectName(QStringLiteral("statusLine"));
    m_savedNote->setWordWrap(true);
    m_savedNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_byType = new QStandardItemModel(this);
    m_byVenue = new QStandardItemModel(this);
    auto* betTypeTable = makeTable(m_byType, this);
    betTypeTable->setObjectName(QStringLiteral("betTypeTable"));
    auto* venueTable = makeTable(m_byVenue, this);
    venueTable->setObjectName(QStringLiteral("venueTable"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_caption);
    layout->addWidget(betTypeTable, 3);
    layout->addWidget(venueTable, 2);
    layout->addWidget(m_totalLine);
    layout->addWidget(m_savedNote);
    resize(640, 520);

    connect(m_periodBox, &QComboBox::currentIndexChanged, this, &AnalysisWindow::reload);
    connect(m_fromDate, &QDateEdit::dateChanged, this, &AnalysisWindow::reload);
    connect(m_toDate, &QDateEdit::dateChanged, this, &AnalysisWindow::reload);
    connect(csvButton, &QPushButton::clicked, this, &AnalysisWindow::chooseCsvFile);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    reload();
}

AnalysisWindow::~AnalysisWindow() = default;

void AnalysisWindow::reload() {
    const auto period = static_cast<AnalysisPeriod>(m_periodBox->currentIndex());
    m_fromDate->setEnabled(period == AnalysisPeriod::Range);
    m_toDate->setEnabled(period == AnalysisPeriod::Range);
    // A connection of its own, on this thread, for the moment of reading: the archive's writer keeps its
    // own, and WAL lets both go on. Reading writes nothing, so a folder that cannot be written is read too.
    BetArchive archive;
    QString problem;
    std::vector<Archive::DayFigures> figures;
    QStringList days;
    if (archive.open(m_control.clientFolder(), BetArchive::Access::Read)) {
        days = archive.days();
    } else {
        problem = archive.errorText();
    }
    const QString today =
        m_control.saleDate().isEmpty() ? QDate::currentDate().toString(kDateFormat) : m_control.saleDate();
    const AnalysisDates dates = analysisPeriodDates(
        period, today, days.isEmpty() ? QString() : days.first(), days.isEmpty() ? QString() : days.last(),
        m_fromDate->date().toString(kDateFormat), m_toDate->date().toString(kDateFormat));
    if (problem.isEmpty()) {
        figures = archive.figuresOf(dates.from, dates.to);
        problem = archive.errorText();
    }
    m_tables = buildAnalysis(figures, dates.from, dates.to);
    // Said beside the period so 全期間 is not taken for every day of the passbook.
    m_recordStart->setText(problem.isEmpty() ? analysisRecordStart(days) : QString());
    m_caption->setText(problem.isEmpty() ? QStringLiteral("%1 ～ %2　（保存済み %3日）")
                                               .arg(Fmt::datePattern(dates.from), Fmt::datePattern(dates.to))
                                               .arg(days.size())
                                         : problem);
    fitCaption();
    fill(m_byType, QStringLiteral("式別"), m_tables.byBetType);
    fill(m_byVenue, QStringLiteral("場"), m_tables.byVenue);
    const AnalysisRow& t = m_tables.total;
    const auto percent = [](const QString& rate) { return rate == QLatin1String("-") ? rate : rate + u'％'; };
    m_totalLine->setText(
        QStringLiteral("合計　%1件　購入 %2円　払戻 %3円　的中率 %4　回収率 %5　未確定 %6件")
            .arg(t.sum.bets)
            .arg(Fmt::thousands(t.sum.stake), Fmt::thousands(t.sum.payout), percent(t.hitRate), percent(t.recovery))
            .arg(t.sum.unsettled));
}

void AnalysisWindow::fitCaption() {
    // A wrapped label is not given the height its lines need by the window's layout: the archive's message
    // (what happened, then the file and the reason) must show whole.
    const QMargins m = layout()->contentsMargins();
    m_caption->setMinimumHeight(m_caption->heightForWidth(width() - m.left() - m.right()));
    layout()->activate();
}

void AnalysisWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitCaption();
}

void AnalysisWindow::fill(QStandardItemModel* model, const QString& title, const std::vector<AnalysisRow>& rows) {
    model->clear();
    model->setHorizontalHeaderLabels(QStringList{title} << analysisColumns());
    for (const AnalysisRow& r : rows) {
        QList<QStandardItem*> items;
        auto* name = new QStandardItem(r.name);
        name->setData(r.code, kSortRole);
        items << name;
        const QStringList cells = analysisCells(r);
        for (const QString& cell : cells) {
            auto* item = new QStandardItem(cell);
            bool number = false;
            const double value = cell.toDouble(&number);
            item->setData(number ? value : -1.0, kSortRole);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items << item;
        }
        model->appendRow(items);
    }
}

bool AnalysisWindow::saveCsv(const QString& path) {
    QString reason;
    const QString shown = QDir::toNativeSeparators(path);
    if (!AtomicFile::replace(path, Csv::document(analysisCsvRows(m_tables)), &reason)) {
        reportFailure(
            QStringLiteral("CSVファイルを保存できませんでした。投票の記録はそのままです。保存先のフォルダと空き容量を"
                           "確かめて、もう一度「CSV保存」してください。"),
            QStringLiteral("%1 (%2)").arg(shown, reason));
        return false;
    }
    m_savedNote->setText(QStringLiteral("CSVファイルに保存しました: ") + shown);
    return true;
}

void AnalysisWindow::chooseCsvFile() {
    // Named by the period it holds, not by the day it was saved, in the user's documents like any file of theirs.
    const QString name = m_tables.from == m_tables.to
                             ? QStringLiteral("分析_%1.csv").arg(m_tables.from)
                             : QStringLiteral("分析_%1-%2.csv").arg(m_tables.from, m_tables.to);
    const QString path = askCsvPath(this, name);
    if (!path.isEmpty()) {
        saveCsv(path);
    }
}
