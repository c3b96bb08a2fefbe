#pragma once

#include <QList>
#include <QString>

// The odds of one single-runner bet type of one race (win, or one bound of the place range): one text per
// runner 1..Tosu, held exactly as the file reader stored it and handed back trimmed.
class OddsList {
public:
    qint16 tosu() const { return m_tosu; }
    // Takes effect at the next Initialize.
    void setTosu(qint16 tosu) { m_tosu = tosu; }

    // Sizes the entries to 1..Tosu, all empty; earlier contents are discarded.
    void initialize();

    // The stored text without leading and trailing spaces; empty when nothing was stored.
    // An index outside the initialized entries raises the index error.
    QString odds(int n) const;
    // Stores the text unchanged.
    void setOdds(int n, const QString& text);

private:
    qsizetype slot(int n) const;

    qint16 m_tosu = 0;
    QList<QString> m_odds;
};
