#include "platform/qt/views/bar_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tamsel::qt {

namespace {
constexpr qreal kSlot = 40;       // px per bar at scale 1
constexpr qreal kBarShare = 0.6;  // of the slot
constexpr int kBadges = 2;
}  // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BarChart::setBars(const std::vector<ChartBar>& bars) {
    bars_ = bars;
    update();
}

QSize BarChart::sizeHint() const {
    return {static_cast<int>(kSlot * std::max<std::size_t>(bars_.size(), 14)),
            fontMetrics().height() * 12};
}

qreal BarChart::badgeHeight() const {
    return fontMetrics().height() + 2;
}

// The area the bars grow in: below room for the badges of the tallest one,
// above two lines of captions.
QRectF BarChart::plot() const {
    const qreal captions = fontMetrics().height() * 2 + 6;
    return QRectF(0, kBadges * (badgeHeight() + 2), width(),
                  height() - captions - kBadges * (badgeHeight() + 2));
}

QRectF BarChart::barRect(int index) const {
    if (index < 0 || index >= static_cast<int>(bars_.size())) return {};
    const QRectF area = plot();
    double tallest = 0;
    for (const ChartBar& b : bars_) tallest = std::max(tallest, b.value);
    const qreal slot = area.width() / static_cast<qreal>(bars_.size());
    const qreal h = tallest > 0 ? area.height() * std::max(bars_[index].value, 0.0) / tallest : 0;
    const qreal w = slot * kBarShare;
    return QRectF(area.left() + slot * index + (slot - w) / 2, area.bottom() - h, w, h);
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = plot();
    const QColor text = palette().color(QPalette::WindowText);
    QColor axis = text;
    axis.setAlphaF(0.35f);
    p.setPen(QPen(axis, 1));
    p.drawLine(QPointF(area.left(), area.bottom() + 0.5),
               QPointF(area.right(), area.bottom() + 0.5));

    QFont bold = font();
    bold.setBold(true);
    const qreal slot = area.width() / static_cast<qreal>(std::max<std::size_t>(bars_.size(), 1));
    for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
        const ChartBar& bar = bars_[i];
        const QRectF r = barRect(i);
        p.fillRect(r, palette().color(QPalette::Highlight));

        // Badges stacked upwards from the bar's top: taken, then missed.
        qreal top = r.top() - 2;
        p.setFont(bold);
        for (auto [count, colour] :
             {std::pair{bar.taken, kTaken}, std::pair{bar.missed, kMissed}}) {
            if (count <= 0) continue;
            const QString label = QString::number(count);
            const qreal w = std::max(badgeHeight(), p.fontMetrics().horizontalAdvance(label) + 8.0);
            const QRectF badge(r.center().x() - w / 2, top - badgeHeight(), w, badgeHeight());
            QPainterPath path;
            path.addRoundedRect(badge, 4, 4);
            p.fillPath(path, colour);
            p.setPen(Qt::white);
            p.drawText(badge, Qt::AlignCenter, label);
            top = badge.top() - 2;
        }

        p.setFont(i + 1 == static_cast<int>(bars_.size()) ? bold : font());
        p.setPen(text);
        const QRectF caption(area.left() + slot * i, area.bottom() + 4, slot,
                             height() - area.bottom());
        p.drawText(caption, Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(bar.label));
    }
}

}  // namespace tamsel::qt
