/* A native Wayland window for end-to-end stories: one fullscreen toplevel
 * painted solid green that logs, one line each on stdout, what reaches it:
 *   ready | click X Y BUTTON WINDOW | key KEYCODE WINDOW | focus WINDOW | blur WINDOW
 * WINDOW is "main", or "raised" for the window made on request. Each line on
 * stdin ("raise") is answered "ok" after asking to be raised as an
 * application would: a new toplevel, and xdg-activation for the main one
 * (with the last input's serial, when there was input).
 * Positions are surface-local, which is global for a fullscreen window on
 * the first output. Everything is bound at version 1, so the listeners need
 * only that version's events. */

#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include "xdg-activation-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

struct window {
    const char *name;
    uint32_t colour;
    struct wl_surface *surface;
    struct wl_buffer *buffer;
    int width, height, configured;
};

static struct wl_compositor *compositor;
static struct wl_shm *shm;
static struct xdg_wm_base *wm;
static struct wl_seat *seat;
static struct xdg_activation_v1 *activation;
static struct window main_window = {"main", 0xff20a040}, raised_window = {"raised", 0xff2040a0};
static struct window *pointer_in, *keyboard_in;
static int pointer_x, pointer_y;
static uint32_t last_serial;

static void noop() {}

static struct window *window_of(struct wl_surface *surface) {
    return !surface ? NULL
           : surface == main_window.surface ? &main_window
           : surface == raised_window.surface ? &raised_window : NULL;
}

static void paint(struct window *w) {
    const int stride = w->width * 4, size = stride * w->height;
    const int fd = memfd_create("wlwindow", MFD_CLOEXEC);
    uint32_t *pixels = MAP_FAILED;
    if (fd >= 0 && ftruncate(fd, size) == 0)
        pixels = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) exit(1);
    for (int i = 0; i < w->width * w->height; ++i) pixels[i] = w->colour;
    munmap(pixels, size);
    struct wl_shm_pool *pool = wl_shm_create_pool(shm, fd, size);
    if (w->buffer) wl_buffer_destroy(w->buffer);
    w->buffer = wl_shm_pool_create_buffer(pool, 0, w->width, w->height, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_surface_attach(w->surface, w->buffer, 0, 0);
    wl_surface_damage(w->surface, 0, 0, w->width, w->height);
    wl_surface_commit(w->surface);
}

static void xdg_configure(void *data, struct xdg_surface *xdg, uint32_t serial) {
    struct window *w = data;
    xdg_surface_ack_configure(xdg, serial);
    paint(w);
    if (!w->configured && w == &main_window) puts("ready");
    w->configured = 1;
}

static void toplevel_configure(void *data, struct xdg_toplevel *t, int32_t width, int32_t height,
                               struct wl_array *states) {
    struct window *w = data;
    if (width > 0 && height > 0) w->width = width, w->height = height;
}

static void open_window(struct window *w, int fullscreen, int width, int height) {
    static const struct xdg_surface_listener surface_listener = {xdg_configure};
    static const struct xdg_toplevel_listener toplevel_listener = {toplevel_configure, noop};
    w->width = width, w->height = height;
    w->surface = wl_compositor_create_surface(compositor);
    struct xdg_surface *xdg = xdg_wm_base_get_xdg_surface(wm, w->surface);
    xdg_surface_add_listener(xdg, &surface_listener, w);
    struct xdg_toplevel *toplevel = xdg_surface_get_toplevel(xdg);
    xdg_toplevel_add_listener(toplevel, &toplevel_listener, w);
    xdg_toplevel_set_title(toplevel, w->name);
    xdg_toplevel_set_app_id(toplevel, "tamsel-e2e-native");
    if (fullscreen) xdg_toplevel_set_fullscreen(toplevel, NULL);
    wl_surface_commit(w->surface);
}

static void token_done(void *data, struct xdg_activation_token_v1 *token, const char *text) {
    xdg_activation_v1_activate(activation, text, main_window.surface);
    xdg_activation_token_v1_destroy(token);
}

static void raise_windows(void) {
    static const struct xdg_activation_token_v1_listener listener = {token_done};
    if (!raised_window.surface) open_window(&raised_window, 0, 400, 300);
    if (!activation) return;
    struct xdg_activation_token_v1 *token = xdg_activation_v1_get_activation_token(activation);
    xdg_activation_token_v1_add_listener(token, &listener, NULL);
    if (last_serial) xdg_activation_token_v1_set_serial(token, last_serial, seat);
    xdg_activation_token_v1_set_surface(token, main_window.surface);
    xdg_activation_token_v1_commit(token);
}

static void pointer_enter(void *data, struct wl_pointer *p, uint32_t serial, struct wl_surface *surface,
                          wl_fixed_t x, wl_fixed_t y) {
    pointer_in = window_of(surface);
    pointer_x = wl_fixed_to_int(x), pointer_y = wl_fixed_to_int(y);
}
static void pointer_leave(void *data, struct wl_pointer *p, uint32_t serial, struct wl_surface *s) {
    pointer_in = NULL;
}
static void pointer_motion(void *data, struct wl_pointer *p, uint32_t time, wl_fixed_t x, wl_fixed_t y) {
    pointer_x = wl_fixed_to_int(x), pointer_y = wl_fixed_to_int(y);
}
static void pointer_button(void *data, struct wl_pointer *p, uint32_t serial, uint32_t time, uint32_t button,
                           uint32_t state) {
    if (state != WL_POINTER_BUTTON_STATE_PRESSED || !pointer_in) return;
    last_serial = serial;
    printf("click %d %d %u %s\n", pointer_x, pointer_y, button, pointer_in->name);
}

static void keyboard_keymap(void *data, struct wl_keyboard *k, uint32_t format, int32_t fd, uint32_t size) {
    close(fd);
}
static void keyboard_enter(void *data, struct wl_keyboard *k, uint32_t serial, struct wl_surface *surface,
                           struct wl_array *keys) {
    if ((keyboard_in = window_of(surface))) printf("focus %s\n", keyboard_in->name);
}
static void keyboard_leave(void *data, struct wl_keyboard *k, uint32_t serial, struct wl_surface *s) {
    if (keyboard_in) printf("blur %s\n", keyboard_in->name);
    keyboard_in = NULL;
}
static void keyboard_key(void *data, struct wl_keyboard *k, uint32_t serial, uint32_t time, uint32_t key,
                         uint32_t state) {
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED || !keyboard_in) return;
    last_serial = serial;
    printf("key %u %s\n", key, keyboard_in->name);
}

/* A device that goes away and comes back is bound again. */
static void seat_capabilities(void *data, struct wl_seat *s, uint32_t caps) {
    static const struct wl_pointer_listener pointer_listener = {
        pointer_enter, pointer_leave, pointer_motion, pointer_button, noop};
    static const struct wl_keyboard_listener keyboard_listener = {
        keyboard_keymap, keyboard_enter, keyboard_leave, keyboard_key, noop};
    static struct wl_pointer *pointer;
    static struct wl_keyboard *keyboard;
    if ((caps & WL_SEAT_CAPABILITY_POINTER) && !pointer) {
        wl_pointer_add_listener(pointer = wl_seat_get_pointer(s), &pointer_listener, NULL);
    } else if (!(caps & WL_SEAT_CAPABILITY_POINTER) && pointer) {
        wl_pointer_destroy(pointer);
        pointer = NULL, pointer_in = NULL;
    }
    if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && !keyboard) {
        wl_keyboard_add_listener(keyboard = wl_seat_get_keyboard(s), &keyboard_listener, NULL);
    } else if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard) {
        wl_keyboard_destroy(keyboard);
        keyboard = NULL, keyboard_in = NULL;
    }
}

static void ping(void *data, struct xdg_wm_base *base, uint32_t serial) { xdg_wm_base_pong(base, serial); }

static void global(void *data, struct wl_registry *r, uint32_t name, const char *interface, uint32_t version) {
    static const struct xdg_wm_base_listener wm_listener = {ping};
    static const struct wl_seat_listener seat_listener = {seat_capabilities, noop};
#define BIND(var, iface) if (strcmp(interface, iface.name) == 0) var = wl_registry_bind(r, name, &iface, 1)
    BIND(compositor, wl_compositor_interface);
    BIND(shm, wl_shm_interface);
    BIND(activation, xdg_activation_v1_interface);
    BIND(wm, xdg_wm_base_interface), xdg_wm_base_add_listener(wm, &wm_listener, NULL);
    if (!seat) BIND(seat, wl_seat_interface), wl_seat_add_listener(seat, &seat_listener, NULL);
}

int main(void) {
    static const struct wl_registry_listener listener = {global, noop};
    setlinebuf(stdout);
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) return fprintf(stderr, "tamsel-wlwindow: no Wayland display\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!compositor || !shm || !wm) return fprintf(stderr, "tamsel-wlwindow: the compositor offers no xdg-shell\n"), 1;
    open_window(&main_window, 1, 1920, 1080);
    for (;;) {
        while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
        wl_display_flush(display);
        struct pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {0, POLLIN, 0}};
        if (poll(fds, 2, -1) > 0 && fds[0].revents) {
            if (wl_display_read_events(display) < 0) return 1;
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) return 1;
        if (fds[1].revents) {
            char input[64];
            const ssize_t n = read(0, input, sizeof input);
            if (n <= 0) return 0;
            for (ssize_t i = 0; i < n; ++i)
                if (input[i] == '\n') raise_windows(), puts("ok");
        }
    }
}
