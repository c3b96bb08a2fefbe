#pragma once

#include "FormWindow.h"

#include <QString>

#include <array>

// The user's settings kept in "VQV50.INI" in the program folder: the places of the seven windows,
// the main window's colours and always-on-top state, the toolbar caption option, the bet log's view, and
// whether the day follows the client by itself and hits are announced. Read once at start, written once at
// exit.
class Settings {
public:
    static constexpr int kSlotCount = 7;
    static constexpr qint32 kDefaultBackColor = 16777215; // white
    // The racing authority's results site the download window posts its forms to.
    static QString defaultResultSite() { return QStringLiteral("https://www.jra.go.jp"); }

    // Window slots, fixed per window.
    enum Slot { Main = 1, Profit = 2, Log = 3, Record = 4, Detail = 5, Kekka = 6, Download = 7 };

    Settings();

    // Folder of the settings file: the program folder.
    void setFolder(const QString& folder);
    QString fileName() const { return QStringLiteral("VQV50.INI"); }

    // Also removes the temporaries a save cut short (a crash, a kill) left beside the settings file.
    void loadSettings();
    // Writes all 28 window keys and the 8 option keys; write failures are ignored.
    void saveSettings() const;

    // Restores the window from its slot: top and left when stored at 0 or more, height and width when
    // stored above 0; each only when its flag is set. False when the slot holds no place at all (all four
    // values 0: the window was never shown with these settings), so the window can choose a first place.
    bool loadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const;
    // Remembers the window's place in its slot, unless it is minimised. Reaches the file at the next save.
    void saveForm(const IFormWindow& window);

    // Indexed by slot 1..7; any other slot raises the index error.
    qint32 posTop(int slot) const { return at(slot).posTop; }
    qint32 posLeft(int slot) const { return at(slot).posLeft; }
    qint32 height(int slot) const { return at(slot).height; }
    qint32 width(int slot) const { return at(slot).width; }
    void setPosTop(int slot, qint32 v) { at(slot).posTop = v; }
    void setPosLeft(int slot, qint32 v) { at(slot).posLeft = v; }
    void setHeight(int slot, qint32 v) { at(slot).height = v; }
    void setWidth(int slot, qint32 v) { at(slot).width = v; }

    qint16 position() const { return m_position; }
    void setPosition(qint16 v) { m_position = v; }
    qint32 backColor() const { return m_backColor; }
    void setBackColor(qint32 v) { m_backColor = v; }
    qint32 foreColor() const { return m_foreColor; }
    void setForeColor(qint32 v) { m_foreColor = v; }
    qint16 dispMode() const { return m_dispMode; }
    void setDispMode(qint16 v) { m_dispMode = v; }
    // Scheme and host of the results site, without the path; a test points it at a local site.
    const QString& resultSite() const { return m_resultSite; }
    void setResultSite(const QString& v) { m_resultSite = v; }
    // The day refreshes by itself when the client's files change, and a refresh keeps the open windows.
    // On for a new settings file; a file from before the option keeps the manual refresh until the user
    // turns it on.
    bool autoRefresh() const { return m_autoRefresh; }
    void setAutoRefresh(bool v) { m_autoRefresh = v; }
    // A refresh that finds a race newly won says so (on by default).
    bool hitNotices() const { return m_hitNotices; }
    void setHitNotices(bool v) { m_hitNotices = v; }

private:
    struct FormSlot {
        qint32 posTop = 0;
        qint32 posLeft = 0;
        qint32 height = 0;
        qint32 width = 0;
    };
    FormSlot& at(int slot);
    const FormSlot& at(int slot) const;

    QString m_folder;
    std::array<FormSlot, kSlotCount> m_slots{};
    qint16 m_position = 0;
    qint32 m_backColor = kDefaultBackColor;
    qint32 m_foreColor = 0;
    qint32 m_button = 1;
    qint16 m_dispMode = 2;
    QString m_resultSite = defaultResultSite();
    bool m_autoRefresh = true;
    bool m_hitNotices = true;
};
