#include "TextLines.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>

#include <algorithm>

namespace {
// Cells a character takes in a fixed-pitch Japanese font: half-width forms one, everything else two.
int cells(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x0100 || (u >= 0xFF61 && u <= 0xFF9F) ? 1 : 2;
}

// Room the list's item delegate leaves on either side of a line's text.
constexpr int kRowPadding = 8;

// Ctrl+C (the platform's copy key) copies the selected lines, as text.
class LinesView : public QListView {
public:
    LinesView(TextLines* lines, QWidget* parent) : QListView(parent), m_lines(lines) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!event->matches(QKeySequence::Copy)) {
            QListView::keyPressEvent(event);
            return;
        }
        QList<int> rows;
        for (const QModelIndex& i : selectionModel()->selectedRows()) {
            rows << i.row();
        }
        if (!rows.isEmpty()) {
            QGuiApplication::clipboard()->setText(m_lines->lines(rows));
        }
        event->accept();
    }

private:
    TextLines* m_lines;
};
} // namespace

void TextLines::setText(const QString& text, const QFont& font) {
    beginResetModel();
    m_text = text;
    m_starts.clear();
    qsizetype widest = 0;
    int widestCells = -1;
    if (!text.isEmpty()) {
        // One pass over the text: where the lines begin, and which is widest in cells.
        qsizetype start = 0;
        int width = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == QLatin1Char('\n')) {
                if (width > widestCells) {
                    widestCells = width;
                    widest = qsizetype(m_starts.size());
                }
                m_starts.push_back(start);
                start = i + 1;
                width = 0;
            } else {
                width += cells(text[i]);
            }
        }
    }
    const QFontMetrics fm(font);
    m_rowSize = QSize(m_starts.empty() ? 0 : fm.horizontalAdvance(line(int(widest))) + kRowPadding, fm.lineSpacing());
    endResetModel();
}

QString TextLines::line(int row) const {
    if (row < 0 || size_t(row) >= m_starts.size()) {
        return QString();
    }
    const qsizetype start = m_starts[size_t(row)];
    qsizetype end = size_t(row) + 1 < m_starts.size() ? m_starts[size_t(row) + 1] - 1 : m_text.size();
    if (end > start && m_text[end - 1] == QLatin1Char('\r')) {
        --end; // a "\r\n" line end
    }
    return m_text.mid(start, end - start);
}

QString TextLines::lines(QList<int> rows) const {
    std::sort(rows.begin(), rows.end());
    QStringList picked;
    for (const int row : rows) {
        picked << line(row);
    }
    return picked.join(QLatin1Char('\n'));
}

int TextLines::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_starts.size());
}

QVariant TextLines::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole) {
        return line(index.row());
    }
    if (role == Qt::SizeHintRole) {
        return m_rowSize;
    }
    return QVariant();
}

QListView* TextLines::makeView(QWidget* parent, const QFont& font) {
    auto* view = new LinesView(this, parent);
    view->setFont(font);
    view->setModel(this);
    view->setUniformItemSizes(true);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    return view;
}
