// The progress indicator: a small click-through window in a screen corner
// that shows the work progress as a row of squares.

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/qt/desktop/compositor.h"
#include "platform/qt/views/accessible.h"
#include "platform/qt/views/overlay_route.h"
#include "platform/qt/views/views.h"

namespace tamsel::qt {

namespace {

// The longest bar the activity monitor draws, and the bar of a whole work
// period (one more square shows only as the period ends).
constexpr int kMaxSegments = 11;
constexpr int kFullSquares = 10;
constexpr int kFontPixels = 17;
// Room between the squares, so their rims do not run together.
constexpr qreal kSpacing = 3;
// Width of the light rim around each square, so the squares read on dark
// backgrounds as well as light ones.
constexpr qreal kHaloWidth = 1.6;
constexpr int kMargin = 3;

const QString kSegment = QStringLiteral(u"\u25FC\uFE0E");

// Draws its text with a halo, from an image rendered only when the text or
// its colour changes; the window's mask is taken from the same image.
class BarLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    // For assistive technology: the squares filled, of a full period's.
    Q_PROPERTY(int value READ filled)
    Q_PROPERTY(int minimum READ minimum CONSTANT)
    Q_PROPERTY(int maximum READ maximum CONSTANT)
    Q_PROPERTY(QString valueText READ valueText)

public:
    explicit BarLabel(QWidget* parent) : QWidget(parent) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(kFontPixels);
        textFont_ = f;
        textFont_.setBold(true);
        // A whole-pixel pitch gives every square the same crisp edges.
        const qreal advance = QFontMetricsF(f).horizontalAdvance(kSegment);
        f.setLetterSpacing(QFont::AbsoluteSpacing, kSpacing + std::ceil(advance) - advance);
        setFont(f);
        setAttribute(Qt::WA_TranslucentBackground);
        // Before the name: setting it may already build the accessible object.
        exposeValue(this, QAccessible::ProgressBar);
        setAccessibleName(A11y::tr("Tamsel"));
        setAccessibleDescription(valueText());
    }

    QString text() const { return text_; }

    int filled() const {
        return isBar() ? std::min<int>(text_.size() / kSegment.size(), kFullSquares) : 0;
    }
    static int minimum() { return 0; }
    static int maximum() { return kFullSquares; }
    // "4 of 10", or during a pause what the bar shows.
    QString valueText() const {
        return isBar() ? A11y::tr("%1 of %2").arg(filled()).arg(kFullSquares) : text_;
    }

    void setText(const QString& text) {
        if (text == text_) return;
        const bool grew = text.size() > text_.size();
        text_ = text;
        setAccessibleDescription(valueText());
        announceValue(this);
        rerender();
        if (onTextChanged) onTextChanged(grew);
    }

    void setAlignment(Qt::Alignment alignment) {
        if (alignment == alignment_) return;
        alignment_ = alignment;
        rerender();
    }
    Qt::Alignment alignment() const { return alignment_; }

    const QImage& image() const { return image_; }
    // Whether the last rendering was for a compositor that blends it.
    bool composited() const { return composited_; }
    void rerender();

    // After each change of what is drawn; the argument tells whether the bar
    // got longer.
    std::function<void(bool grew)> onTextChanged;
    std::function<void()> onRendered;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        // A layer surface on a scaled output paints at its own scale.
        const qreal dpr = painter.device()->devicePixelRatioF();
        if (qFuzzyCompare(dpr, image_.devicePixelRatio()))
            painter.drawImage(0, 0, image_);
        else
            painter.drawImage(0, 0, render(dpr));
    }

    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
            rerender();
    }

    void resizeEvent(QResizeEvent*) override { rerender(); }

private:
    // The squares are spaced out; any other text (a pause) is not.
    bool isBar() const { return text_.isEmpty() || text_.startsWith(kSegment); }
    QImage render(qreal dpr) const;

    QString text_;
    QFont textFont_;
    QImage image_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool composited_ = true;
};

// Without a compositor X11 shows a translucent pixel at its premultiplied
// colour: darker than meant, black at the soft edges. There the colour is
// mixed over a neutral grey instead and drawn without soft edges.
QColor flattened(const QColor& c) {
    const float a = c.alphaF();
    const float grey = 0.5f * (1 - a);
    return QColor::fromRgbF(c.redF() * a + grey, c.greenF() * a + grey, c.blueF() * a + grey);
}

void BarLabel::rerender() {
    composited_ = compositorActive();
    image_ = render(devicePixelRatioF());
    update();
    if (onRendered) onRendered();
}

QImage BarLabel::render(qreal dpr) const {
    QImage image((QSizeF(size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    const QColor ink = palette().color(QPalette::WindowText);
    if (!text_.isEmpty() && ink.alpha() > 0) {
        QPainterPath path;
        QFont face = isBar() ? font() : textFont_;
        path.addText(0, 0, face, text_);
        QRectF box = path.boundingRect();
        // A text longer than the bar (as another language may write it)
        // is made smaller to fit, never cut.
        if (const qreal room = width() - 2 * kMargin; !isBar() && box.width() > room) {
            face.setPixelSize(
                std::max(1, static_cast<int>(std::floor(face.pixelSize() * room / box.width()))));
            path.clear();
            path.addText(0, 0, face, text_);
            box = path.boundingRect();
        }
        const qreal free = width() - 2 * kMargin - box.width();
        qreal left = kMargin;
        if (alignment_ & Qt::AlignRight)
            left += free;
        else if (alignment_ & Qt::AlignHCenter)
            left += free / 2;
        // Edges on whole pixels.
        path.translate(std::round(left) - box.left(),
                       std::round((height() - box.height()) / 2) - box.top());

        // A light rim for dark ink, a dark one for light ink, as opaque
        // as the ink itself: invisible ink leaves no rim either.
        const bool darkInk = ink.lightnessF() < 0.6;
        QColor halo = darkInk ? QColor(255, 255, 255) : QColor(0, 0, 0);
        halo.setAlphaF(ink.alphaF() * 0.75f);

        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, composited_);
        // Source: the ink replaces the rim under it instead of mixing.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.strokePath(path, QPen(composited_ ? halo : flattened(halo), 2 * kHaloWidth,
                                      Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.fillPath(path, composited_ ? ink : flattened(ink));
    }
    return image;
}

class IndicatorView : public ViewWidget {
public:
    IndicatorView() {
        setWindowTitle(QStringLiteral("Tamsel"));
        // X11BypassWindowManagerHint: a reparenting window manager's frame
        // swallows the clicks that should pass through otherwise.
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                       Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setBackground(Qt::transparent);

        label = new BarLabel(this);
        const QFontMetricsF metrics(label->font());
        const QSize size(
            static_cast<int>(std::ceil(metrics.horizontalAdvance(kSegment.repeated(kMaxSegments)) +
                                       2 * (kMargin + kHaloWidth))),
            static_cast<int>(std::ceil(metrics.height() + 2 * kMargin)));
        // The controllers move this window but never resize it.
        setFixedSize(size);
        label->setGeometry(rect());
        label->onRendered = [this] { updateMask(); };
        label->onTextChanged = [this](bool grew) {
            // Nobody keeps a window that bypasses the window manager on top;
            // lift it whenever the bar grows. Not when it shrinks: that is
            // the start of a break, whose windows belong on top.
            if (grew && isVisible()) raise();
        };
        QPointer<IndicatorView> self(this);
        onOverlayRouteChanged([self] {
            if (self) self->setVisible(self->shown_);
        });
    }

    BarLabel* label = nullptr;

    // While Tamsel's GNOME Shell extension draws the indicator, this window
    // stays hidden; it shows again when the extension goes.
    void setVisible(bool visible) override {
        shown_ = visible;
        ViewWidget::setVisible(visible && overlayRoute() != OverlayRoute::GnomeExtension);
    }

protected:
    void moveEvent(QMoveEvent* event) override {
        ViewWidget::moveEvent(event);
        followCorner();
    }

    void showEvent(QShowEvent* event) override {
        followCorner();
        // A compositor may have come or gone since the last rendering.
        label->rerender();
        ViewWidget::showEvent(event);
    }

private:
    // The bar starts at the screen edge the window sits against: left in a
    // left corner, centred in the middle, right in a right corner.
    void followCorner() {
        const QRect g = geometry();
        const QScreen* s = QGuiApplication::screenAt(g.center());
        if (!s) s = screen();
        if (!s) return;
        const QRect area = s->geometry();
        const int centre = g.center().x() - area.left();
        Qt::Alignment alignment = Qt::AlignHCenter;
        if (centre < area.width() / 3)
            alignment = Qt::AlignLeft;
        else if (centre > area.width() * 2 / 3)
            alignment = Qt::AlignRight;
        label->setAlignment(alignment);
    }

    // Without a compositor the transparent pixels show black: cut the window
    // down to the pixels that are drawn.
    void updateMask() {
        if (label->composited()) {
            if (!mask().isEmpty()) clearMask();
            return;
        }
        const QImage& image = label->image();
        const qreal dpr = image.devicePixelRatio();
        const QSize logical = label->size();
        // A point belongs to the mask only when every device pixel of it is
        // drawn: a partly drawn one would show black at scaled resolutions.
        auto drawn = [&](int x, int y) {
            const int x0 = int(x * dpr), y0 = int(y * dpr);
            const int x1 = std::max(x0 + 1, int((x + 1) * dpr));
            const int y1 = std::max(y0 + 1, int((y + 1) * dpr));
            if (x1 > image.width() || y1 > image.height()) return false;
            for (int py = y0; py < y1; ++py)
                for (int px = x0; px < x1; ++px)
                    if (qAlpha(image.pixel(px, py)) == 0) return false;
            return true;
        };
        QRegion region;
        for (int y = 0; y < logical.height(); ++y) {
            int x = 0;
            while (x < logical.width()) {
                while (x < logical.width() && !drawn(x, y)) ++x;
                const int start = x;
                while (x < logical.width() && drawn(x, y)) ++x;
                if (x > start) region += QRect(start, y, x - start, 1);
            }
        }
        // An empty region would clear the mask and show the whole black
        // window; a pixel outside the window shows nothing.
        if (region.isEmpty()) region = QRegion(-1, -1, 1, 1);
        setMask(region.translated(label->pos()));
    }

    bool shown_ = false;
};

}  // namespace

std::unique_ptr<QtWindow> makeIndicatorView() {
    auto* view = new IndicatorView;
    auto window = std::make_unique<QtWindow>(view);
    window->addOutlet("lblProgress", view->label, nib::Kind::Label);
    return window;
}

}  // namespace tamsel::qt

#include "view_indicator.moc"
