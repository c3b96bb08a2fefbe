#pragma once

#include <QList>
#include <QString>

// The odds of one combination bet type of one race: one text per ordered pair (col, row) of numbers
// 1..Tosu (runners, or brackets for the bracket quinella). Unordered bet types are stored in both
// (i, j) and (j, i) by whoever fills the table; exacta keeps (first, second) only.
class OddsMatrix {
public:
    qint16 tosu() const { return m_tosu; }
    // Takes effect at the next Initialize.
    void setTosu(qint16 tosu) { m_tosu = tosu; }

    // Sizes the cells to 1..Tosu x 1..Tosu, all empty; earlier contents are discarded.
    void initialize();

    // The cell's text without leading and trailing spaces; empty when nothing was stored.
    // An index outside the initialized cells raises the index error.
    QString odds(int column, int row) const;
    // Stores the text unchanged in that one cell.
    void setOdds(int column, int row, const QString& text);

private:
    qsizetype slot(int col, int row) const;

    qint16 m_tosu = 0;
    qsizetype m_size = 0; // numbers per side as initialized
    QList<QString> m_odds;
};
