#pragma once

#include "core/FileWarning.h"
#include "core/Paths.h"

#include <QString>

#include <array>
#include <memory>

class Race;
class WinPlaceOddsReader;
class QuinellaOddsReader;
class ExactaOddsReader;
class TrioOddsReader;
class OddsList;
class OddsMatrix;

// Everything shown about one opened race: the odds of every bet type on sale, read from the race's odds
// files, and the bracket of every runner.
class RaceOdds {
public:
    // Reads and prepares the odds of the race from its odds files in the folder, within a reading of the
    // folder. The race must belong to a meeting (else the object error).
    RaceOdds(const QString& folder, const Race& race, ClientFiles::FolderRead& files);
    ~RaceOdds();
    RaceOdds(const RaceOdds&) = delete;
    RaceOdds& operator=(const RaceOdds&) = delete;

    // False when the win/place/bracket file is missing or of another day, or when quinella is on sale
    // and its file cannot be read (exacta and trio are then not read either).
    bool complete() const { return m_complete; }
    const Race* race() const { return m_race; }

    // The runner count of the win/place/bracket file; 0 without one.
    qint16 entryTosu() const;
    // Bracket of horse 1..18 (0 beyond the field); any other index raises the index error.
    qint16 wakuNum(int horse) const;
    // Representative horse of bracket 1..8: the last horse of the bracket with win odds; 0 for none.
    qint16 representativeHorse(int bracket) const;

    // Tables; reading one whose file is not held raises the object error (test the Exist flags first).
    std::shared_ptr<OddsList> winOdds() const;
    std::shared_ptr<OddsList> placeOdds() const;
    std::shared_ptr<OddsList> placeMaxOdds() const;
    std::shared_ptr<OddsMatrix> bracketOdds() const;
    std::shared_ptr<OddsMatrix> quinellaOdds() const;
    std::shared_ptr<OddsMatrix> wideOdds() const;
    std::shared_ptr<OddsMatrix> wideMaxOdds() const;
    std::shared_ptr<OddsMatrix> exactaOdds() const;
    std::shared_ptr<OddsMatrix> trioOdds(int first) const;

    bool existZo() const { return m_zo != nullptr; }
    bool existUo() const { return m_uo != nullptr; }
    bool existSo() const { return m_so != nullptr; }
    bool existYo() const { return m_yo != nullptr; }
    // The win/place/bracket reader with the race header, or nullptr.
    const WinPlaceOddsReader* readerZo() const { return m_zo.get(); }
    // The trio reader's slice count (0 without one).
    qsizetype trioCount() const;
    // True when the quinella table was derived from the bracket odds (quinella not on sale).
    bool quinellaFromBrackets() const { return m_quinellaFromBrackets; }
    // The odds files that were not of their layout's length (the client was still
    // writing them); what they held was read all the same.
    const FileWarnings& warnings() const { return m_warnings; }

private:
    bool read(const QString& folder, const QString& date, const QString& raceId, ClientFiles::FolderRead& files);
    void assignBrackets();
    void deriveQuinella();

    std::unique_ptr<WinPlaceOddsReader> m_zo;
    std::unique_ptr<QuinellaOddsReader> m_uo;
    std::unique_ptr<ExactaOddsReader> m_so;
    std::unique_ptr<TrioOddsReader> m_yo;
    const Race* m_race;
    bool m_complete = false;
    std::array<qint16, 18> m_waku{};
    std::array<qint16, 8> m_representative{};
    bool m_quinellaFromBrackets = false;
    FileWarnings m_warnings;
};
