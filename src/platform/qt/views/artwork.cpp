#include "platform/qt/views/artwork.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace tamsel::qt {

namespace {

const QColor kFillTop(0x3d, 0xab, 0x9a);
const QColor kFillBottom(0x21, 0x7c, 0x6c);
const QColor kRim(0x12, 0x4a, 0x41);
const QColor kGlyph(0xff, 0xff, 0xff);

}  // namespace

QImage renderIcon(int px) {
    px = std::max(px, 8);
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double s = px;
    // Edges that run straight along the pixel grid are snapped to it, so the
    // small sizes stay sharp instead of blurring across two pixels.
    auto snap = [s](double u) { return std::round(u * s); };
    const bool small = px < 24;

    // The rounded square with its rim, on whole pixels (a 1 px rim at small
    // sizes, thicker as the icon grows).
    const double rim = std::max(1.0, std::round(s / 24.0));
    const QRectF square(rim / 2, rim / 2, s - rim, s - rim);
    const double radius = s * 0.22;
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, kFillTop);
    fill.setColorAt(1, kFillBottom);
    p.setPen(QPen(kRim, rim));
    p.setBrush(fill);
    p.drawRoundedRect(square, radius, radius);

    // The cup: straight sides when small, a slight taper when there is room.
    const double top = snap(small ? 0.32 : 0.43);
    const double bottom = snap(small ? 0.75 : 0.76);
    const double left = snap(small ? 0.19 : 0.20);
    const double right = snap(small ? 0.63 : 0.64);
    const double taper = small ? 0 : s * 0.04;
    const double round = (bottom - top) * 0.45;
    const double stroke = std::max(1.4, s * 0.07);
    const double handleR = (bottom - top) * 0.31;
    // Cup and handle together sit in the middle of the square.
    const double glyphRight = right - taper / 2 + handleR * 1.35 + stroke / 2;
    p.translate(std::round((s - left - glyphRight) / 2), 0);

    QPainterPath cup;
    cup.moveTo(left, top);
    cup.lineTo(right, top);
    cup.lineTo(right - taper, bottom - round);
    cup.quadTo(right - taper, bottom, right - taper - round, bottom);
    cup.lineTo(left + taper + round, bottom);
    cup.quadTo(left + taper, bottom, left + taper, bottom - round);
    cup.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPath(cup);

    // The handle: a ring on the cup's right side.
    const QPointF handleC(right - taper / 2 + handleR * 0.35, top + (bottom - top) * 0.38);
    p.setPen(QPen(kGlyph, stroke));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(handleC, handleR, handleR);

    // A saucer, and steam rising where there are pixels enough for it.
    {
        const double w = std::max(1.0, std::round(s * 0.05));
        const double saucerY = snap(small ? 0.82 : 0.84) + w / 2;
        p.setPen(QPen(kGlyph, w, Qt::SolidLine, small ? Qt::FlatCap : Qt::RoundCap));
        p.drawLine(QPointF(snap(0.13), saucerY), QPointF(snap(0.72), saucerY));
    }
    if (px >= 24) {
        p.setPen(QPen(kGlyph, std::max(1.2, s * 0.045), Qt::SolidLine, Qt::RoundCap));
        for (double x : {0.34, 0.50}) {
            QPainterPath steam;
            steam.moveTo(x * s, 0.35 * s);
            steam.cubicTo((x - 0.06) * s, 0.29 * s, (x + 0.06) * s, 0.24 * s, x * s, 0.16 * s);
            p.drawPath(steam);
        }
    }
    p.end();
    return image;
}

namespace {

// Draws on demand, so every size asked for is rendered for that size.
class ArtworkEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(rect.size() * dpr, mode, state);
        painter->drawPixmap(rect, pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const int px = std::max(8, std::min(size.width(), size.height()));
        QImage image = renderIcon(px);
        if (mode == QIcon::Disabled) {
            // Greyed and faded, as a disabled icon is drawn elsewhere.
            image = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const int g = qGray(line[x]);
                    line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
                }
            }
        }
        QPixmap pm = QPixmap::fromImage(image);
        if (pm.size() != size) {
            QPixmap framed(size);
            framed.fill(Qt::transparent);
            QPainter p(&framed);
            p.drawPixmap((size.width() - px) / 2, (size.height() - px) / 2, pm);
            return framed;
        }
        return pm;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int px = std::min(size.width(), size.height());
        return {px, px};
    }
    // Trays that take a list of ready pixmaps (StatusNotifierItem) get these.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }
    QString key() const override { return QStringLiteral("tamsel-artwork"); }
    QIconEngine* clone() const override { return new ArtworkEngine; }
};

}  // namespace

QIcon tamselIcon() {
    return QIcon(new ArtworkEngine);
}

}  // namespace tamsel::qt
