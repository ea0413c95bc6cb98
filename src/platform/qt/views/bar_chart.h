#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>
#include <vector>

#include "common/platform.h"

namespace tamsel::qt {

// Bars in the palette's highlight colour over their captions, the tallest
// filling the plot; above each bar a green badge counts what was taken and
// an orange one what was missed (none for a count of 0). The badges carry
// their own colours, so they read on light and dark themes alike.
class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);
    void setBars(const std::vector<ChartBar>& bars);
    const std::vector<ChartBar>& bars() const { return bars_; }
    // Where bar `index` is drawn, in the widget's coordinates.
    QRectF barRect(int index) const;
    QSize sizeHint() const override;

    static inline const QColor kTaken{0x2e, 0x8b, 0x57};
    static inline const QColor kMissed{0xd9, 0x65, 0x2b};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF plot() const;
    qreal badgeHeight() const;
    std::vector<ChartBar> bars_;
};

}  // namespace tamsel::qt
