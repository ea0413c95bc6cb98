#include "platform/qt/wayland/layer_shell.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/qt/views/overlay_presenter.h"
#include "platform/qt/wayland/wayland_connection.h"
#include "xdg-output-client-protocol.h"
// The protocol names an argument `namespace`.
#define namespace namespace_
#include "wlr-layer-shell-client-protocol.h"
#undef namespace

namespace tamsel::qt {

namespace {

// Long enough for any compositor that is alive; a hung one costs this once.
constexpr int kStartWaitMs = 500;
constexpr int kCursorSize = 24;

std::uint32_t anchorBits(Qt::Edges edges) {
    std::uint32_t bits = 0;
    if (edges & Qt::TopEdge) bits |= ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP;
    if (edges & Qt::BottomEdge) bits |= ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM;
    if (edges & Qt::LeftEdge) bits |= ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
    if (edges & Qt::RightEdge) bits |= ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
    return bits;
}

Qt::MouseButton qtButton(std::uint32_t button) {
    switch (button) {
        case BTN_LEFT: return Qt::LeftButton;
        case BTN_RIGHT: return Qt::RightButton;
        case BTN_MIDDLE: return Qt::MiddleButton;
        case BTN_SIDE: return Qt::BackButton;
        case BTN_EXTRA: return Qt::ForwardButton;
        default: return Qt::NoButton;
    }
}

// The keys a break window's controls know; printable keys by their text.
int qtKey(xkb_keysym_t sym, const QString& text) {
    switch (sym) {
        case XKB_KEY_Tab: return Qt::Key_Tab;
        case XKB_KEY_ISO_Left_Tab: return Qt::Key_Backtab;
        case XKB_KEY_Return: return Qt::Key_Return;
        case XKB_KEY_KP_Enter: return Qt::Key_Enter;
        case XKB_KEY_space: return Qt::Key_Space;
        case XKB_KEY_Escape: return Qt::Key_Escape;
        case XKB_KEY_BackSpace: return Qt::Key_Backspace;
        case XKB_KEY_Left: return Qt::Key_Left;
        case XKB_KEY_Right: return Qt::Key_Right;
        case XKB_KEY_Up: return Qt::Key_Up;
        case XKB_KEY_Down: return Qt::Key_Down;
        case XKB_KEY_Home: return Qt::Key_Home;
        case XKB_KEY_End: return Qt::Key_End;
        case XKB_KEY_Shift_L:
        case XKB_KEY_Shift_R: return Qt::Key_Shift;
        case XKB_KEY_Control_L:
        case XKB_KEY_Control_R: return Qt::Key_Control;
        case XKB_KEY_Alt_L:
        case XKB_KEY_Alt_R: return Qt::Key_Alt;
        case XKB_KEY_Super_L:
        case XKB_KEY_Super_R: return Qt::Key_Meta;
        default: break;
    }
    if (text.size() == 1 && text.at(0).isPrint()) return text.at(0).toUpper().unicode();
    return Qt::Key_unknown;
}

template <class T>
T* bindGlobal(wl_registry* registry, std::uint32_t name, const wl_interface* interface,
              std::uint32_t version) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, version));
}

}  // namespace

// ---- LayerShell ---------------------------------------------------------------------

std::unique_ptr<LayerShell> LayerShell::start() {
    auto connection = WaylandConnection::shared(nullptr);
    if (!connection) return nullptr;
    std::unique_ptr<LayerShell> shell(new LayerShell(std::move(connection)));
    // Once for the globals, once for what the outputs then tell.
    if (shell->connection_->roundtrip(kStartWaitMs)) {
        // Not offered here (GNOME): nothing to keep.
        if (!shell->bindGlobals()) return nullptr;
        shell->connection_->roundtrip(kStartWaitMs);
    } else {
        // Later, then; the shared connection may outlive this object.
        shell->connection_->sync([self = shell.get(), alive = std::weak_ptr<int>(shell->alive_)] {
            if (alive.lock()) self->bindGlobals();
        });
    }
    return shell;
}

LayerShell::LayerShell(std::shared_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)) {
    lostHandler_ = connection_->onLost([this](const std::string& why) { lost(why); });
}

LayerShell::~LayerShell() {
    setOverlayPresenters(nullptr);
    connection_->forget(globalHandler_);
    connection_->forget(lostHandler_);
    // Presenters hold surfaces until they are told the route changed.
    for (LayerSurface* surface : surfaces_) surface->shell_ = nullptr;
    releaseInput();
    while (!outputs_.empty()) removeOutput(outputs_.back()->name);
    if (seat_) wl_seat_destroy(seat_);
    if (xdgOutputs_) zxdg_output_manager_v1_destroy(xdgOutputs_);
    if (layerShell_) zwlr_layer_shell_v1_destroy(layerShell_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    connection_->flush();
}

bool LayerShell::bindGlobals() {
    if (layerShell_ || connection_->isLost()) return false;
    auto offered = [this](const wl_interface* interface) {
        const auto& all = connection_->globals();
        return std::any_of(all.begin(), all.end(),
                           [interface](const auto& g) { return g.interface == interface->name; });
    };
    if (!offered(&zwlr_layer_shell_v1_interface) || !offered(&wl_compositor_interface) ||
        !offered(&wl_shm_interface))
        return false;
    layerShell_ =
        static_cast<zwlr_layer_shell_v1*>(connection_->bind(&zwlr_layer_shell_v1_interface, 3));
    compositor_ = static_cast<wl_compositor*>(connection_->bind(&wl_compositor_interface, 4));
    shm_ = static_cast<wl_shm*>(connection_->bind(&wl_shm_interface, 1));
    for (const auto& g : connection_->globals())
        if (g.interface == wl_output_interface.name) addOutput(g.name, g.version);
    xdgOutputs_ = static_cast<zxdg_output_manager_v1*>(
        connection_->bind(&zxdg_output_manager_v1_interface, 3));
    for (auto& output : outputs_) watchOutput(*output);
    seat_ = static_cast<wl_seat*>(connection_->bind(&wl_seat_interface, 5));
    if (seat_) {
        static const wl_seat_listener listener = {
            [](void* self, wl_seat*, std::uint32_t caps) {
                static_cast<LayerShell*>(self)->seatCapabilities(caps);
            },
            [](void*, wl_seat*, const char*) {}};
        wl_seat_add_listener(seat_, &listener, this);
    }
    globalHandler_ = connection_->onGlobal([this](const WaylandConnection::Global& g, bool added) {
        if (g.interface != wl_output_interface.name) return;
        if (added) {
            addOutput(g.name, g.version);
            watchOutput(*outputs_.back());
        } else {
            removeOutput(g.name);
        }
    });
    connection_->flush();
    setOverlayPresenters([this](ViewWidget& view, OverlayKind kind) {
        return makeLayerPresenter(*this, view, kind);
    });
    return true;
}

void LayerShell::addOutput(std::uint32_t name, std::uint32_t version) {
    auto output = std::make_unique<Output>();
    output->name = name;
    output->output = bindGlobal<wl_output>(connection_->registry(), name, &wl_output_interface,
                                           std::min<std::uint32_t>(version, 3));
    static const wl_output_listener listener = {
        [](void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
           std::int32_t, const char*, const char*,
           std::int32_t) { static_cast<Output*>(data)->position = QPoint(x, y); },
        [](void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
           std::int32_t) {
            if (flags & WL_OUTPUT_MODE_CURRENT)
                static_cast<Output*>(data)->modeSize = QSize(width, height);
        },
        [](void*, wl_output*) {},
        [](void* data, wl_output*, std::int32_t factor) {
            static_cast<Output*>(data)->scale = std::max(1, factor);
        },
        [](void*, wl_output*, const char*) {},
        [](void*, wl_output*, const char*) {}};
    wl_output_add_listener(output->output, &listener, output.get());
    outputs_.push_back(std::move(output));
}

void LayerShell::watchOutput(Output& output) {
    if (!xdgOutputs_ || output.xdgOutput) return;
    static const zxdg_output_v1_listener listener = {
        [](void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
            static_cast<Output*>(data)->logical.moveTo(x, y);
        },
        [](void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
            static_cast<Output*>(data)->logical.setSize(QSize(width, height));
        },
        [](void*, zxdg_output_v1*) {}, [](void*, zxdg_output_v1*, const char*) {},
        [](void*, zxdg_output_v1*, const char*) {}};
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(xdgOutputs_, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &listener, &output);
}

void LayerShell::removeOutput(std::uint32_t name) {
    auto it = std::find_if(outputs_.begin(), outputs_.end(),
                           [name](const auto& o) { return o->name == name; });
    if (it == outputs_.end()) return;
    Output& output = **it;
    if (output.xdgOutput) zxdg_output_v1_destroy(output.xdgOutput);
    if (wl_output_get_version(output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(output.output);
    else
        wl_output_destroy(output.output);
    // The surfaces on it get `closed` from the compositor.
    outputs_.erase(it);
}

const LayerShell::Output* LayerShell::output(std::uint32_t name) const {
    for (const auto& o : outputs_)
        if (o->name == name) return o.get();
    return nullptr;
}

const LayerShell::Output* LayerShell::outputFor(const QRect& rect) const {
    const Output* best = nullptr;
    qint64 bestArea = 0;
    for (const auto& o : outputs_) {
        // Without xdg-output: the position and the mode at the output's scale.
        const QRect area = o->logical.isValid()
                               ? o->logical
                               : QRect(o->position, o->modeSize / std::max(1, o->scale));
        const QRect common = area & rect;
        const qint64 size = qint64(common.width()) * common.height();
        if (size > bestArea) {
            best = o.get();
            bestArea = size;
        }
    }
    return best;
}

void LayerShell::lost(const std::string& why) {
    if (!layerShell_) return;
    std::fprintf(stderr,
                 "tamsel: the Wayland connection broke (%s): the indicator and the break "
                 "windows are X11 windows from now on\n",
                 why.c_str());
    // Later: the windows change route outside the connection's handler.
    QMetaObject::invokeMethod(
        this, [] { setOverlayPresenters(nullptr); }, Qt::QueuedConnection);
}

void LayerShell::seatCapabilities(std::uint32_t caps) {
    const bool pointer = caps & WL_SEAT_CAPABILITY_POINTER;
    const bool keyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
    if (pointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &pointerListener, this);
    } else if (!pointer && pointer_) {
        releasePointer();
        pointerFocus_ = nullptr;
    }
    if (keyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
    } else if (!keyboard && keyboard_) {
        releaseKeyboard();
        keyboardFocus_ = nullptr;
    }
}

// Release is a request from version 3 of the seat on; before, only our side goes.
void LayerShell::releasePointer() {
    if (wl_pointer_get_version(pointer_) >= WL_POINTER_RELEASE_SINCE_VERSION)
        wl_pointer_release(pointer_);
    else
        wl_pointer_destroy(pointer_);
    pointer_ = nullptr;
}

void LayerShell::releaseKeyboard() {
    if (wl_keyboard_get_version(keyboard_) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
        wl_keyboard_release(keyboard_);
    else
        wl_keyboard_destroy(keyboard_);
    keyboard_ = nullptr;
}

void LayerShell::releaseInput() {
    if (pointer_) releasePointer();
    if (keyboard_) releaseKeyboard();
    if (cursorSurface_) wl_surface_destroy(cursorSurface_);
    cursorSurface_ = nullptr;
    if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
    cursorTheme_ = nullptr;
    if (keyState_) xkb_state_unref(keyState_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (xkb_) xkb_context_unref(xkb_);
    keyState_ = nullptr;
    keymap_ = nullptr;
    xkb_ = nullptr;
}

void LayerShell::setCursor(std::uint32_t serial) {
    // Loaded for the first surface that takes the pointer; the theme's
    // default arrow (libwayland-cursor has one of its own without a theme).
    if (!cursorTheme_) cursorTheme_ = wl_cursor_theme_load(nullptr, kCursorSize, shm_);
    if (!cursorTheme_) return;
    wl_cursor* cursor = wl_cursor_theme_get_cursor(cursorTheme_, "left_ptr");
    if (!cursor) cursor = wl_cursor_theme_get_cursor(cursorTheme_, "default");
    if (!cursor || cursor->image_count == 0) return;
    wl_cursor_image* image = cursor->images[0];
    if (!cursorSurface_) cursorSurface_ = wl_compositor_create_surface(compositor_);
    wl_surface_attach(cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
    wl_surface_damage(cursorSurface_, 0, 0, static_cast<std::int32_t>(image->width),
                      static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface_);
    wl_pointer_set_cursor(pointer_, serial, cursorSurface_,
                          static_cast<std::int32_t>(image->hotspot_x),
                          static_cast<std::int32_t>(image->hotspot_y));
}

void LayerShell::surfaceGone(LayerSurface* surface) {
    std::erase(surfaces_, surface);
    if (pointerFocus_ == surface) pointerFocus_ = nullptr;
    if (keyboardFocus_ == surface) keyboardFocus_ = nullptr;
    // The arrow is only needed while a break is shown.
    const bool input = std::any_of(surfaces_.begin(), surfaces_.end(),
                                   [](LayerSurface* s) { return !s->spec_.clickThrough; });
    if (!input) {
        if (cursorSurface_) wl_surface_destroy(cursorSurface_);
        cursorSurface_ = nullptr;
        if (cursorTheme_) wl_cursor_theme_destroy(cursorTheme_);
        cursorTheme_ = nullptr;
    }
}

void LayerShell::keyboardLeft() {
    // KWin 5.27 gives the keyboard to a window that opens during a break,
    // exclusive or not. Once this batch of events is handled (the keyboard
    // may only have moved to another break surface), the oldest break
    // surface asks for it back; only that one, or two would take turns.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (keyboardFocus_) return;
            auto first = std::find_if(surfaces_.begin(), surfaces_.end(), [](LayerSurface* s) {
                return s->spec_.keyboard && !s->closed_;
            });
            if (first != surfaces_.end()) (*first)->reclaimKeyboard();
        },
        Qt::QueuedConnection);
}

Qt::KeyboardModifiers LayerShell::modifiers() const {
    Qt::KeyboardModifiers mods;
    if (!keyState_) return mods;
    auto active = [this](const char* name) {
        return xkb_state_mod_name_is_active(keyState_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    if (active(XKB_MOD_NAME_SHIFT)) mods |= Qt::ShiftModifier;
    if (active(XKB_MOD_NAME_CTRL)) mods |= Qt::ControlModifier;
    if (active(XKB_MOD_NAME_ALT)) mods |= Qt::AltModifier;
    if (active(XKB_MOD_NAME_LOGO)) mods |= Qt::MetaModifier;
    return mods;
}

namespace {

LayerSurface* surfaceOf(wl_surface* surface) {
    return surface ? static_cast<LayerSurface*>(wl_surface_get_user_data(surface)) : nullptr;
}

}  // namespace

const wl_pointer_listener LayerShell::pointerListener = {
    // enter
    [](void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
       wl_fixed_t y) {
        auto* self = static_cast<LayerShell*>(data);
        self->pointerFocus_ = surfaceOf(surface);
        self->pointerAt_ = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
        self->buttons_ = {};
        if (!self->pointerFocus_) return;
        self->setCursor(serial);
        if (self->pointerFocus_->onPointer)
            self->pointerFocus_->onPointer(QEvent::MouseMove, self->pointerAt_, Qt::NoButton, {},
                                           0);
    },
    // leave
    [](void* data, wl_pointer*, std::uint32_t, wl_surface*) {
        auto* self = static_cast<LayerShell*>(data);
        LayerSurface* left = self->pointerFocus_;
        self->pointerFocus_ = nullptr;
        self->buttons_ = {};
        if (left && left->onPointer)
            left->onPointer(QEvent::Leave, self->pointerAt_, Qt::NoButton, {}, 0);
    },
    // motion
    [](void* data, wl_pointer*, std::uint32_t time, wl_fixed_t x, wl_fixed_t y) {
        auto* self = static_cast<LayerShell*>(data);
        self->pointerAt_ = QPointF(wl_fixed_to_double(x), wl_fixed_to_double(y));
        if (self->pointerFocus_ && self->pointerFocus_->onPointer)
            self->pointerFocus_->onPointer(QEvent::MouseMove, self->pointerAt_, Qt::NoButton,
                                           self->buttons_, time);
    },
    // button
    [](void* data, wl_pointer*, std::uint32_t, std::uint32_t time, std::uint32_t button,
       std::uint32_t state) {
        auto* self = static_cast<LayerShell*>(data);
        const Qt::MouseButton b = qtButton(button);
        if (b == Qt::NoButton) return;
        const bool pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
        self->buttons_.setFlag(b, pressed);
        if (self->pointerFocus_ && self->pointerFocus_->onPointer)
            self->pointerFocus_->onPointer(
                pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, self->pointerAt_,
                b, self->buttons_, time);
    },
    // axis, frame, axis_source, axis_stop, axis_discrete: nothing scrolls
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
};

const wl_keyboard_listener LayerShell::keyboardListener = {
    // keymap
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
        auto* self = static_cast<LayerShell*>(data);
        if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || size == 0) {
            ::close(fd);
            return;
        }
        void* text = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (text == MAP_FAILED) return;
        if (!self->xkb_) self->xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        xkb_keymap* keymap =
            self->xkb_
                ? xkb_keymap_new_from_buffer(self->xkb_, static_cast<const char*>(text),
                                             strnlen(static_cast<const char*>(text), size),
                                             XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr;
        ::munmap(text, size);
        if (!keymap) return;
        if (self->keyState_) xkb_state_unref(self->keyState_);
        if (self->keymap_) xkb_keymap_unref(self->keymap_);
        self->keymap_ = keymap;
        self->keyState_ = xkb_state_new(keymap);
    },
    // enter
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
        auto* self = static_cast<LayerShell*>(data);
        self->keyboardFocus_ = surfaceOf(surface);
        if (self->keyboardFocus_ && self->keyboardFocus_->onKeyboardFocus)
            self->keyboardFocus_->onKeyboardFocus(true);
    },
    // leave
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) {
        auto* self = static_cast<LayerShell*>(data);
        LayerSurface* left = self->keyboardFocus_;
        self->keyboardFocus_ = nullptr;
        if (left && left->onKeyboardFocus) left->onKeyboardFocus(false);
        if (left && left->spec_.keyboard) self->keyboardLeft();
    },
    // key
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
       std::uint32_t state) {
        auto* self = static_cast<LayerShell*>(data);
        LayerSurface* focus = self->keyboardFocus_;
        if (!focus || !focus->onKey || !self->keyState_) return;
        const xkb_keycode_t code = key + 8;  // evdev to XKB
        const xkb_keysym_t sym = xkb_state_key_get_one_sym(self->keyState_, code);
        char utf8[16] = {};
        xkb_state_key_get_utf8(self->keyState_, code, utf8, sizeof utf8);
        const QString text = QString::fromUtf8(utf8);
        focus->onKey(state == WL_KEYBOARD_KEY_STATE_PRESSED ? QEvent::KeyPress : QEvent::KeyRelease,
                     qtKey(sym, text), self->modifiers(), text);
    },
    // modifiers
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) {
        auto* self = static_cast<LayerShell*>(data);
        if (self->keyState_)
            xkb_state_update_mask(self->keyState_, depressed, latched, locked, 0, 0, group);
    },
    // repeat_info: a held key does not repeat on a break screen
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

std::unique_ptr<LayerSurface> LayerShell::createSurface(const Spec& spec) {
    if (!layerShell_ || connection_->isLost()) return nullptr;
    std::unique_ptr<LayerSurface> surface(new LayerSurface(*this, spec));
    surfaces_.push_back(surface.get());
    return surface;
}

// ---- LayerSurface -------------------------------------------------------------------

struct LayerSurface::Buffer {
    wl_buffer* buffer = nullptr;
    void* data = nullptr;
    std::size_t bytes = 0;
    QSize pixels;
    bool busy = false;   // the compositor holds it
    bool stale = false;  // destroyed once released
    LayerSurface* owner = nullptr;

    ~Buffer() {
        if (buffer) wl_buffer_destroy(buffer);
        if (data) ::munmap(data, bytes);
    }
};

LayerSurface::LayerSurface(LayerShell& shell, const LayerShell::Spec& spec)
    : shell_(&shell), spec_(spec) {
    surface_ = wl_compositor_create_surface(shell.compositor_);
    wl_surface_set_user_data(surface_, this);
    const LayerShell::Output* output = shell.output(spec.outputName);
    layer_ = zwlr_layer_shell_v1_get_layer_surface(shell.layerShell_, surface_,
                                                   output ? output->output : nullptr,
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "tamsel");
    static const zwlr_layer_surface_v1_listener listener = {
        [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
           std::uint32_t height) {
            static_cast<LayerSurface*>(data)->configure(serial, width, height);
        },
        [](void* data, zwlr_layer_surface_v1*) { static_cast<LayerSurface*>(data)->close(); }};
    zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
    if (spec.clickThrough) {
        wl_region* none = wl_compositor_create_region(shell.compositor_);
        wl_surface_set_input_region(surface_, none);
        wl_region_destroy(none);
    }
    applySpec();
    // The first commit carries no buffer: the compositor answers with the size.
    wl_surface_commit(surface_);
    shell.connection_->flush();
}

LayerSurface::~LayerSurface() {
    if (shell_) shell_->surfaceGone(this);
    buffers_.clear();
    if (layer_) zwlr_layer_surface_v1_destroy(layer_);
    if (surface_) wl_surface_destroy(surface_);
    if (shell_) shell_->connection_->flush();
}

void LayerSurface::applySpec() {
    zwlr_layer_surface_v1_set_size(layer_,
                                   static_cast<std::uint32_t>(std::max(0, spec_.size.width())),
                                   static_cast<std::uint32_t>(std::max(0, spec_.size.height())));
    zwlr_layer_surface_v1_set_anchor(layer_, anchorBits(spec_.anchors));
    zwlr_layer_surface_v1_set_margin(layer_, spec_.margins.top(), spec_.margins.right(),
                                     spec_.margins.bottom(), spec_.margins.left());
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, spec_.exclusiveZone);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, spec_.keyboard ? 1 : 0);
}

void LayerSurface::reconfigure(const LayerShell::Spec& spec) {
    if (spec == spec_ || closed_ || !shell_) return;
    spec_ = spec;
    applySpec();
    wl_surface_commit(surface_);
    shell_->connection_->flush();
}

void LayerSurface::reclaimKeyboard() {
    if (closed_ || !shell_ || !spec_.keyboard) return;
    // Not against another client that wants it as much (a launcher, a
    // locker): once a second at most.
    const auto now = std::chrono::steady_clock::now();
    if (now - reclaimed_ < std::chrono::seconds(1)) return;
    reclaimed_ = now;
    // A change of interactivity makes the compositor choose the keyboard's
    // surface anew, and this one asks for it.
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 0);
    wl_surface_commit(surface_);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 1);
    wl_surface_commit(surface_);
    shell_->connection_->flush();
}

int LayerSurface::scale() const {
    const LayerShell::Output* output = shell_ ? shell_->output(spec_.outputName) : nullptr;
    return output ? output->scale : 1;
}

void LayerSurface::configure(std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(layer_, serial);
    const QSize size(width ? static_cast<int>(width) : spec_.size.width(),
                     height ? static_cast<int>(height) : spec_.size.height());
    const bool changed = size != size_;
    size_ = size;
    // A configure must be followed by a commit: the same picture if nothing
    // changed, else a new one from whoever paints.
    if (changed && onConfigured)
        onConfigured(size_);
    else if (!changed)
        wl_surface_commit(surface_);
}

void LayerSurface::close() {
    closed_ = true;
    if (onClosed) onClosed();
}

LayerSurface::Buffer* LayerSurface::freeBuffer(QSize pixels) {
    // Buffers of an old size go as soon as the compositor lets them.
    for (auto& b : buffers_)
        if (b->pixels != pixels) b->stale = true;
    std::erase_if(buffers_, [this](const auto& b) {
        if (!b->stale || b->busy) return false;
        if (shown_ == b.get()) shown_ = nullptr;
        return true;
    });
    // Not the one on screen, while there can be another: the new frame is
    // compared with it.
    for (auto& b : buffers_)
        if (!b->busy && !b->stale && b.get() != shown_) return b.get();
    const auto live =
        std::count_if(buffers_.begin(), buffers_.end(), [](const auto& b) { return !b->stale; });
    // Two at most: one shown, one being painted.
    if (live >= 2 || !shell_) {
        if (shown_ && !shown_->busy && !shown_->stale) return shown_;
        return nullptr;
    }

    auto b = std::make_unique<Buffer>();
    b->owner = this;
    b->pixels = pixels;
    const int stride = pixels.width() * 4;
    b->bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(pixels.height());
    const int fd = ::memfd_create("tamsel-layer", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::ftruncate(fd, static_cast<off_t>(b->bytes)) != 0) {
        ::close(fd);
        return nullptr;
    }
    void* data = ::mmap(nullptr, b->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    b->data = data;
    wl_shm_pool* pool = wl_shm_create_pool(shell_->shm_, fd, static_cast<std::int32_t>(b->bytes));
    // ARGB8888 is Qt's premultiplied ARGB32 on a little-endian machine.
    b->buffer = wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride,
                                          WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    ::close(fd);
    static const wl_buffer_listener listener = {&LayerSurface::released};
    wl_buffer_add_listener(b->buffer, &listener, b.get());
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

void LayerSurface::released(void* data, wl_buffer*) {
    auto* b = static_cast<Buffer*>(data);
    b->busy = false;
    LayerSurface* self = b->owner;
    if (b->stale) {
        if (self->shown_ == b) self->shown_ = nullptr;
        std::erase_if(self->buffers_, [b](const auto& o) { return o.get() == b; });
    }
    if (self->waiting_) {
        self->waiting_ = false;
        if (self->onBufferFree) self->onBufferFree();
    }
}

namespace {

// The smallest rectangle holding every pixel that differs; empty if none.
QRect difference(const uchar* a, const uchar* b, QSize pixels) {
    const int width = pixels.width();
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    int top = -1, bottom = -1, left = width, right = -1;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* ra = reinterpret_cast<const std::uint32_t*>(a + y * stride);
        const auto* rb = reinterpret_cast<const std::uint32_t*>(b + y * stride);
        if (std::memcmp(ra, rb, stride) == 0) continue;
        if (top < 0) top = y;
        bottom = y;
        int x = 0;
        while (x < left && ra[x] == rb[x]) ++x;
        left = std::min(left, x);
        x = width - 1;
        while (x > right && ra[x] == rb[x]) --x;
        right = std::max(right, x);
    }
    if (top < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

bool LayerSurface::present(const std::function<void(QImage&)>& draw) {
    if (closed_ || !shell_ || size_.isEmpty()) return true;
    const int scale = this->scale();
    const QSize pixels = size_ * scale;
    Buffer* b = freeBuffer(pixels);
    if (!b) {
        waiting_ = true;
        return false;
    }
    {
        QImage image(static_cast<uchar*>(b->data), pixels.width(), pixels.height(),
                     pixels.width() * 4, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        draw(image);
    }
    QRect damage(QPoint(0, 0), pixels);
    if (shown_ && shown_ != b && shown_->pixels == pixels) {
        damage = difference(static_cast<const uchar*>(b->data),
                            static_cast<const uchar*>(shown_->data), pixels);
        // The same picture as on screen: nothing to send.
        if (damage.isEmpty()) return true;
    }
    wl_surface_attach(surface_, b->buffer, 0, 0);
    wl_surface_set_buffer_scale(surface_, scale);
    if (wl_surface_get_version(surface_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
        wl_surface_damage_buffer(surface_, damage.x(), damage.y(), damage.width(), damage.height());
    } else {
        const QRect logical(damage.topLeft() / scale, damage.bottomRight() / scale + QPoint(1, 1));
        wl_surface_damage(surface_, logical.x(), logical.y(), logical.width(), logical.height());
    }
    wl_surface_commit(surface_);
    b->busy = true;
    shown_ = b;
    shell_->connection_->flush();
    return true;
}

}  // namespace tamsel::qt
