#include "PassbookChartView.h"

#include "Plugins.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

PassbookChartView::PassbookChartView(const ProfitBook& book, QWidget* parent) : QWidget(parent), m_book(book) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* spanLabel = new QLabel(QStringLiteral("期間(&S)"), this);
    m_spanBox = new QComboBox(this);
    m_spanBox->setObjectName(QStringLiteral("spanBox"));
    for (const PassbookSpan span : kPassbookSpans) {
        m_spanBox->addItem(passbookSpanName(span), static_cast<int>(span));
    }
    spanLabel->setBuddy(m_spanBox);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("spanCaption"));
    top->addWidget(spanLabel);
    top->addWidget(m_spanBox);
    top->addSpacing(12);
    top->addWidget(m_caption, 1);
    column->addLayout(top);

    // The drawing comes from its plugin; without it the page says so where the chart would be.
    m_drawing = Plugins::chartDrawing(font());
    QWidget* drawn = nullptr;
    if (m_drawing) {
        drawn = m_drawing->widget();
        drawn->setParent(this);
    } else {
        auto* missing = new QLabel(Plugins::chartMissingText(), this);
        missing->setObjectName(QStringLiteral("chartMissing"));
        missing->setWordWrap(true);
        missing->setAlignment(Qt::AlignCenter);
        drawn = missing;
    }
    const QFontMetrics fm(font());
    m_design = QSize(fm.horizontalAdvance(QString(64, QLatin1Char('0'))), fm.height() * 20);
    drawn->setMinimumSize(m_design / 2); // still a readable chart of a month
    column->addWidget(drawn, 1);

    connect(m_spanBox, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    refresh();
}

QSize PassbookChartView::sizeHint() const {
    // The layout's own hint takes the view's, which follows whatever size it was last given.
    const QMargins m = layout()->contentsMargins();
    const QSize top = m_spanBox->sizeHint().expandedTo(m_caption->sizeHint());
    return {m.left() + m.right() + m_design.width(),
            m.top() + top.height() + layout()->spacing() + m_design.height() + m.bottom()};
}

PassbookSpan PassbookChartView::span() const {
    return static_cast<PassbookSpan>(m_spanBox->currentData().toInt());
}

void PassbookChartView::setSpan(PassbookSpan span) {
    m_spanBox->setCurrentIndex(m_spanBox->findData(static_cast<int>(span)));
}

void PassbookChartView::refresh() {
    m_shown = buildPassbookChart(m_book, span());
    m_caption->setText(m_shown.caption);

    if (m_drawing) {
        m_drawing->draw(m_shown);
    }
}
