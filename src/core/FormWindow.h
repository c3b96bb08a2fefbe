#pragma once

#include <QtGlobal>

// What the settings need of a window to restore and remember its place: its slot number (its tag),
// whether it is minimised, and its outer position and size in twips (1440 per inch), the unit the
// settings file has always stored. The windows implement it; tests use a plain object.
class IFormWindow {
public:
    virtual ~IFormWindow() = default;
    virtual int formTag() const = 0;
    virtual bool isMinimized() const = 0;
    virtual qint32 topTwips() const = 0;
    virtual qint32 leftTwips() const = 0;
    virtual qint32 heightTwips() const = 0;
    virtual qint32 widthTwips() const = 0;
    virtual void setTopTwips(qint32 twips) = 0;
    virtual void setLeftTwips(qint32 twips) = 0;
    virtual void setHeightTwips(qint32 twips) = 0;
    virtual void setWidthTwips(qint32 twips) = 0;
};
