#include "Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {
const QColor kInk(0x24, 0x3b, 0x5a);
const QColor kAccent(0x2f, 0x8f, 0x4e);
const QColor kPaper(0xfb, 0xfb, 0xf7);

using Draw = std::function<void(QPainter&)>;

// Draws on a 16 x 16 grid scaled to the requested size.
class PaintedIcon : public QIconEngine {
public:
    explicit PaintedIcon(Draw draw) : m_draw(std::move(draw)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.35);
        }
        m_draw(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new PaintedIcon(m_draw); }

private:
    Draw m_draw;
};

QIcon make(Draw draw) {
    return QIcon(new PaintedIcon(std::move(draw)));
}

QPen ink(qreal width = 1.3) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
} // namespace

namespace Icons {

QIcon refresh() {
    return make([](QPainter& p) {
        p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(13.8, 1.8);
        head.lineTo(13.6, 6.6);
        head.lineTo(9.0, 5.2);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(head);
    });
}

QIcon profitTable() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.drawLine(QPointF(1.5, 5.5), QPointF(14.5, 5.5));
        p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
        p.setPen(QPen(kAccent, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7.5, 8), QPointF(12.5, 8));
        p.drawLine(QPointF(7.5, 11), QPointF(11, 11));
    });
}

QIcon betLog() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        QPainterPath slip;
        slip.moveTo(3.5, 1.5);
        slip.lineTo(12.5, 1.5);
        slip.lineTo(12.5, 14.5);
        slip.lineTo(11, 13.5);
        slip.lineTo(9.5, 14.5);
        slip.lineTo(8, 13.5);
        slip.lineTo(6.5, 14.5);
        slip.lineTo(5, 13.5);
        slip.lineTo(3.5, 14.5);
        slip.closeSubpath();
        p.drawPath(slip);
        p.setPen(QPen(kAccent, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const qreal y : {4.5, 7.0, 9.5}) {
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
        }
    });
}

QIcon passbook() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.2, 1.2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(5, 4, 6, 3));
        p.setPen(QPen(kPaper, 1.2));
        p.drawLine(QPointF(4.5, 12), QPointF(11.5, 12));
    });
}

QIcon passbookList() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kAccent, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const qreal y : {4.5, 7.0, 9.5, 12.0}) {
            p.drawLine(QPointF(3.5, y), QPointF(6, y));
            p.drawLine(QPointF(8, y), QPointF(12.5, y));
        }
    });
}

namespace {
// A bar chart with an arrow over it: up for the best days, down for the worst.
void trend(QPainter& p, bool up) {
    p.setPen(ink());
    p.setBrush(kPaper);
    const qreal heights[3] = {up ? 4.0 : 9.0, 6.5, up ? 9.0 : 4.0};
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(2.5 + i * 4, 14.5 - heights[i], 3, heights[i]));
    }
    p.setPen(QPen(up ? kAccent : kInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF from(2, up ? 7.5 : 1.5);
    const QPointF to(13.5, up ? 1.5 : 7.5);
    p.drawLine(from, to);
    p.drawLine(to, to + QPointF(-4, up ? 0.2 : -0.2));
    p.drawLine(to, to + QPointF(-1.2, up ? 3.8 : -3.8));
}
} // namespace

QIcon passbookBest() {
    return make([](QPainter& p) { trend(p, true); });
}

QIcon passbookWorst() {
    return make([](QPainter& p) { trend(p, false); });
}

QIcon passbookEntry() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 3.5, 10, 11));
        QPainterPath pencil;
        pencil.moveTo(13.5, 1.5);
        pencil.lineTo(15, 3);
        pencil.lineTo(8, 10);
        pencil.lineTo(5.8, 10.7);
        pencil.lineTo(6.5, 8.5);
        pencil.closeSubpath();
        p.setBrush(kAccent);
        p.drawPath(pencil);
    });
}

QIcon passbookChart() {
    return make([](QPainter& p) {
        p.setPen(ink(1.0));
        p.drawLine(QPointF(1.5, 9.5), QPointF(14.5, 9.5));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(2.5, 5.5, 2.5, 4));
        p.drawRect(QRectF(9.5, 3.5, 2.5, 6));
        p.setBrush(QColor(0xd0, 0x30, 0x30));
        p.drawRect(QRectF(6, 9.5, 2.5, 4));
        p.drawRect(QRectF(12.5, 9.5, 2, 2.5));
        p.setPen(QPen(kAccent, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(2, 7), QPointF(7, 4), QPointF(10, 5), QPointF(14.5, 1.5)}));
    });
}

QIcon passbookCsv() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setPen(QPen(kInk, 1.0));
        for (const qreal y : {5.5, 8.5, 11.5}) {
            p.drawLine(QPointF(2.5, y), QPointF(13.5, y));
        }
        p.drawLine(QPointF(6.5, 1.5), QPointF(6.5, 14.5));
        p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10, 7), QPointF(10, 13));
        p.drawPolyline(QPolygonF({QPointF(7.8, 10.8), QPointF(10, 13), QPointF(12.2, 10.8)}));
    });
}

QIcon program() {
    return make([](QPainter& p) {
        p.setPen(QPen(kInk, 1.0));
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(0.8, 0.8, 14.4, 14.4));
        p.setPen(QPen(kPaper, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.6, 3.6), QPointF(8, 8), QPointF(11.4, 3.6)}));
        p.drawLine(QPointF(8, 8), QPointF(8, 12.6));
        p.drawLine(QPointF(5.2, 8.6), QPointF(10.8, 8.6));
        p.drawLine(QPointF(5.2, 10.8), QPointF(10.8, 10.8));
    });
}

QIcon download() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(Qt::NoBrush);
        QPainterPath tray;
        tray.moveTo(1.5, 10);
        tray.lineTo(1.5, 14.5);
        tray.lineTo(14.5, 14.5);
        tray.lineTo(14.5, 10);
        p.drawPath(tray);
        p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 9));
        QPainterPath head;
        head.moveTo(4.2, 7.0);
        head.lineTo(8, 11.5);
        head.lineTo(11.8, 7.0);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawPath(head);
    });
}

namespace {
// A sheet of paper, the common ground of the bet log's view icons.
void sheet(QPainter& p) {
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
}
} // namespace

QIcon logAll() {
    return make([](QPainter& p) {
        sheet(p);
        p.setPen(QPen(kAccent, 1.2, Qt::SolidLine, Qt::RoundCap));
        for (const qreal y : {4.5, 7.0, 9.5, 12.0}) {
            p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
        }
    });
}

QIcon logAccepted() {
    return make([](QPainter& p) {
        sheet(p);
        p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(4.8, 8.2);
        tick.lineTo(7.2, 10.8);
        tick.lineTo(11.4, 4.8);
        p.drawPath(tick);
    });
}

QIcon logUnsettled() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kAccent, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    });
}

QIcon logHits() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kAccent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(6.8, 6.8, 2.4, 2.4));
    });
}

QIcon logSchedule() {
    return make([](QPainter& p) {
        p.setPen(ink());
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 13, 12));
        p.setBrush(kAccent);
        p.drawRect(QRectF(1.5, 2.5, 13, 3));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (const qreal y : {7.5, 10.5}) {
            for (const qreal x : {3.5, 6.5, 9.5, 12.0}) {
                p.drawRect(QRectF(x, y, 1.5, 1.5));
            }
        }
    });
}

} // namespace Icons
