#pragma once

// Layer-shell surfaces (zwlr_layer_shell_v1: KDE, wlroots desktops) on the
// process's own Wayland connection, for the indicator and the break windows
// while Qt itself runs on XWayland. A surface shows pixels painted by the
// existing Qt views into wl_shm buffers and reports the pointer and the
// keyboard in Qt's terms; it draws nothing of its own.

#include <QEvent>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_buffer;
struct wl_compositor;
struct wl_cursor_theme;
struct wl_keyboard;
struct wl_keyboard_listener;
struct wl_output;
struct wl_pointer;
struct wl_pointer_listener;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace tamsel::qt {

class LayerSurface;
class WaylandConnection;

class LayerShell : public QObject {
public:
    // On the shared connection; waits a moment for the compositor's globals
    // and outputs, so that the first windows already take the right route.
    // While the compositor offers layer-shell, it presents the overlays.
    static std::unique_ptr<LayerShell> start();
    ~LayerShell() override;

    struct Output {
        std::uint32_t name = 0;  // the global's
        wl_output* output = nullptr;
        zxdg_output_v1* xdgOutput = nullptr;
        QRect logical;  // in the compositor's global layout
        QPoint position;
        QSize modeSize;
        int scale = 1;
    };
    // The output that holds most of `rect` (global, logical); null if none.
    const Output* outputFor(const QRect& rect) const;
    const Output* output(std::uint32_t name) const;

    struct Spec {
        std::uint32_t outputName = 0;  // 0: the compositor chooses
        Qt::Edges anchors;
        QMargins margins;
        QSize size{0, 0};  // 0 on an axis anchored at both ends
        int exclusiveZone = 0;
        bool keyboard = false;      // exclusive keyboard interactivity
        bool clickThrough = false;  // an empty input region
        bool operator==(const Spec&) const = default;
    };
    std::unique_ptr<LayerSurface> createSurface(const Spec& spec);

private:
    friend class LayerSurface;
    explicit LayerShell(std::shared_ptr<WaylandConnection> connection);
    bool bindGlobals();
    void addOutput(std::uint32_t name, std::uint32_t version);
    void removeOutput(std::uint32_t name);
    void watchOutput(Output& output);
    void lost(const std::string& why);
    void seatCapabilities(std::uint32_t capabilities);
    void releaseInput();
    void releasePointer();
    void releaseKeyboard();
    void setCursor(std::uint32_t serial);
    void surfaceGone(LayerSurface* surface);
    void keyboardLeft();
    Qt::KeyboardModifiers modifiers() const;

    static const ::wl_pointer_listener pointerListener;
    static const ::wl_keyboard_listener keyboardListener;

    std::shared_ptr<WaylandConnection> connection_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    int globalHandler_ = 0;
    int lostHandler_ = 0;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zxdg_output_manager_v1* xdgOutputs_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::vector<LayerSurface*> surfaces_;
    LayerSurface* pointerFocus_ = nullptr;
    QPointF pointerAt_;
    Qt::MouseButtons buttons_;
    LayerSurface* keyboardFocus_ = nullptr;
    wl_cursor_theme* cursorTheme_ = nullptr;
    wl_surface* cursorSurface_ = nullptr;
    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* keyState_ = nullptr;
};

// One surface on the overlay layer. Shown once configured and painted;
// gone for good when the compositor closes it (its output went), which
// onClosed reports.
class LayerSurface {
public:
    ~LayerSurface();
    LayerSurface(const LayerSurface&) = delete;
    LayerSurface& operator=(const LayerSurface&) = delete;

    const LayerShell::Spec& spec() const { return spec_; }
    // Changes anchors, margins and size on the same output.
    void reconfigure(const LayerShell::Spec& spec);
    // Logical size the compositor gave it; empty until configured.
    QSize size() const { return size_; }
    int scale() const;
    bool isClosed() const { return closed_; }

    // Paints a frame: `draw` fills the image (at the output's scale, the
    // device pixel ratio set). Only the pixels that changed since the last
    // frame reach the compositor, and nothing when none did. Returns false
    // when no buffer is free yet: onBufferFree says when to try again.
    bool present(const std::function<void(QImage&)>& draw);

    std::function<void(QSize size)> onConfigured;
    std::function<void()> onClosed;
    std::function<void()> onBufferFree;
    // The pointer: a move, press or release at a logical position, or it
    // left (QEvent::Leave); `time` in milliseconds.
    std::function<void(QEvent::Type, QPointF position, Qt::MouseButton button,
                       Qt::MouseButtons buttons, std::uint32_t time)>
        onPointer;
    std::function<void(bool focused)> onKeyboardFocus;
    std::function<void(QEvent::Type, int key, Qt::KeyboardModifiers, const QString& text)> onKey;

private:
    friend class LayerShell;
    struct Buffer;
    LayerSurface(LayerShell& shell, const LayerShell::Spec& spec);
    void applySpec();
    void configure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void close();
    void reclaimKeyboard();
    Buffer* freeBuffer(QSize pixels);
    static void released(void* data, wl_buffer* buffer);

    LayerShell* shell_;
    LayerShell::Spec spec_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    QSize size_;
    bool closed_ = false;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    Buffer* shown_ = nullptr;
    bool waiting_ = false;  // a frame waits for a free buffer
    std::chrono::steady_clock::time_point reclaimed_;
};

}  // namespace tamsel::qt

namespace tamsel::qt {
class OverlayPresenter;
class ViewWidget;
enum class OverlayKind;
// Shows a view through layer surfaces (layer_presenter.cpp).
std::unique_ptr<OverlayPresenter> makeLayerPresenter(LayerShell& shell, ViewWidget& view,
                                                     OverlayKind kind);
}  // namespace tamsel::qt
