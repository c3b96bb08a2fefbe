#pragma once

#include "core/FileWarning.h"

#include <QString>

#include <array>
#include <memory>

class clsRace;
class clsControlZO;
class clsControlUO;
class clsControlSO;
class clsControlYO;
class clsOdds1;
class clsOdds2;

// Everything shown about one opened race: the odds of every bet type on sale, read from the race's odds
// files, and the bracket of every runner.
class clsFactory {
public:
    clsFactory();
    ~clsFactory();
    clsFactory(const clsFactory&) = delete;
    clsFactory& operator=(const clsFactory&) = delete;

    // Reads and prepares the odds of objRace. False when the win/place/bracket file is missing or of
    // another day, or when quinella is on sale and its file cannot be read.
    bool GetData();

    void setPathName(const QString& folder); // a trailing separator is added when missing
    clsRace* objRace() const { return m_race; }
    void setObjRace(clsRace* race) { m_race = race; }

    // The runner count of the win/place/bracket file; 0 without one.
    qint16 EntryTosu() const;
    // Bracket of horse 1..18 (0 beyond the field); any other index raises the index error.
    qint16 WakuNum(int horse) const;
    // Representative horse of bracket 1..8: the last horse of the bracket with win odds; 0 for none.
    qint16 RepresentativeHorse(int bracket) const;

    // Tables; reading one whose file is not held raises the object error (test the Exist flags first).
    std::shared_ptr<clsOdds1> objOddsWin() const;
    std::shared_ptr<clsOdds1> objOddsPlace() const;
    std::shared_ptr<clsOdds1> objOddsPlaceMax() const;
    std::shared_ptr<clsOdds2> objOddsBracket() const;
    std::shared_ptr<clsOdds2> objOddsQuinella() const;
    std::shared_ptr<clsOdds2> objOddsWide() const;
    std::shared_ptr<clsOdds2> objOddsWideMax() const;
    std::shared_ptr<clsOdds2> objOddsExacta() const;
    std::shared_ptr<clsOdds2> objOddsTrio(int first) const;

    bool ExistZO() const { return m_zo != nullptr; }
    bool ExistUO() const { return m_uo != nullptr; }
    bool ExistSO() const { return m_so != nullptr; }
    bool ExistYO() const { return m_yo != nullptr; }
    // The win/place/bracket reader with the race header, or nullptr.
    const clsControlZO* ReaderZO() const { return m_zo.get(); }
    // The trio reader's slice count (0 without one).
    qsizetype TrioCount() const;
    // True when the quinella table was derived from the bracket odds (quinella not on sale).
    bool QuinellaFromBrackets() const { return m_quinellaFromBrackets; }
    // The odds files of the last GetData that were not of their layout's length (the client was still
    // writing them); what they held was read all the same.
    const FileWarnings& Warnings() const { return m_warnings; }

private:
    void AssignBrackets();
    void DeriveQuinella();

    QString m_pathName;
    std::unique_ptr<clsControlZO> m_zo;
    std::unique_ptr<clsControlUO> m_uo;
    std::unique_ptr<clsControlSO> m_so;
    std::unique_ptr<clsControlYO> m_yo;
    clsRace* m_race = nullptr;
    std::array<qint16, 18> m_waku{};
    std::array<qint16, 8> m_representative{};
    bool m_quinellaFromBrackets = false;
    FileWarnings m_warnings;
};
