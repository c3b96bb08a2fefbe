#pragma once

#include "FormWindow.h"

#include <QString>

#include <array>

// The user's settings kept in "VQV50.INI" in the program folder: the places of the seven windows,
// the main window's colours and always-on-top state, the toolbar caption option and the bet log's view.
// Read once at start, written once at exit.
class Settings {
public:
    static constexpr int kSlotCount = 7;
    static constexpr qint32 kDefaultBackColor = 16777215; // white
    // The racing authority's results site the download window posts its forms to.
    static QString DefaultResultSite() { return QStringLiteral("https://www.jra.go.jp"); }

    // Window slots, fixed per window.
    enum Slot { Main = 1, Profit = 2, Log = 3, Record = 4, Detail = 5, Kekka = 6, Download = 7 };

    Settings();

    // Folder of the settings file: the program folder.
    void setFolder(const QString& folder);
    QString FileName() const { return QStringLiteral("VQV50.INI"); }

    // Also removes the temporaries a save cut short (a crash, a kill) left beside the settings file.
    void LoadSettings();
    // Writes all 28 window keys and the 6 option keys; write failures are ignored.
    void SaveSettings() const;

    // Restores the window from its slot: top and left when stored at 0 or more, height and width when
    // stored above 0; each only when its flag is set. False when the slot holds no place at all (all four
    // values 0: the window was never shown with these settings), so the window can choose a first place.
    bool LoadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const;
    // Remembers the window's place in its slot, unless it is minimised. Reaches the file at the next save.
    void SaveForm(const IFormWindow& window);

    // Indexed by slot 1..7; any other slot raises the index error.
    qint32 PosTop(int slot) const { return At(slot).PosTop; }
    qint32 PosLeft(int slot) const { return At(slot).PosLeft; }
    qint32 Height(int slot) const { return At(slot).Height; }
    qint32 Width(int slot) const { return At(slot).Width; }
    void setPosTop(int slot, qint32 v) { At(slot).PosTop = v; }
    void setPosLeft(int slot, qint32 v) { At(slot).PosLeft = v; }
    void setHeight(int slot, qint32 v) { At(slot).Height = v; }
    void setWidth(int slot, qint32 v) { At(slot).Width = v; }

    qint16 Position() const { return m_position; }
    void setPosition(qint16 v) { m_position = v; }
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 v) { m_backColor = v; }
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 v) { m_foreColor = v; }
    qint16 Button() const { return static_cast<qint16>(m_button); }
    void setButton(qint32 v) { m_button = v; }
    qint16 DispMode() const { return m_dispMode; }
    void setDispMode(qint16 v) { m_dispMode = v; }
    // Scheme and host of the results site, without the path; a test points it at a local site.
    const QString& ResultSite() const { return m_resultSite; }
    void setResultSite(const QString& v) { m_resultSite = v; }

private:
    struct FormSlot {
        qint32 PosTop = 0;
        qint32 PosLeft = 0;
        qint32 Height = 0;
        qint32 Width = 0;
    };
    FormSlot& At(int slot);
    const FormSlot& At(int slot) const;

    QString m_folder;
    std::array<FormSlot, kSlotCount> m_slots{};
    qint16 m_position = 0;
    qint32 m_backColor = kDefaultBackColor;
    qint32 m_foreColor = 0;
    qint32 m_button = 1;
    qint16 m_dispMode = 2;
    QString m_resultSite = DefaultResultSite();
};
