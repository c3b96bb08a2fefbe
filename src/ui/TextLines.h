#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QSize>
#include <QString>

#include <vector>

class QListView;

// A long text as a list of its lines, for a list view that lays out only the lines on screen: the text is
// kept whole and a line is cut out of it only when shown. Every row is as wide as the widest line, so the
// view (with uniform item sizes) scrolls across to the end of any line.
class TextLines : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Shows this text, in lines at '\n' or "\r\n"; an empty text has no lines. Widths are measured in this font.
    void setText(const QString& text, const QFont& font);
    QString line(int row) const;
    // The lines of these rows, in row order, joined with '\n' (what copying a selection gives).
    QString lines(QList<int> rows) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // A read-only list view of fixed-pitch lines over this model: selection of several lines, Ctrl+C copies
    // them, PgUp/PgDn and Home/End move through them.
    QListView* makeView(QWidget* parent, const QFont& font);

private:
    QString m_text;
    std::vector<qsizetype> m_starts; // where each line begins in the text
    QSize m_rowSize;
};
