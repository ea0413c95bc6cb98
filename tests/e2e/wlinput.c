/* Input for end-to-end stories on headless compositors, which have no input
 * devices of their own. One command a line on stdin, "ok" or "error" for
 * each on stdout ("ready" first):
 *   move X Y | click X Y [BUTTON] | key KEYCODE
 * Positions are global, on one 1920x1080 output; buttons 1 left, 2 middle,
 * 3 right; keys are evdev codes. KWin takes it through org_kde_kwin_fake_input
 * (offered only with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1), wlroots through one
 * virtual pointer and one virtual keyboard for the whole run: a keyboard that
 * comes and goes with each key (as wtype's does) loses its keys to the
 * clients that bind it late. It stays running because sway 1.7 may crash
 * when a virtual pointer goes away. */

#define _GNU_SOURCE
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

static struct org_kde_kwin_fake_input *fake;
static uint32_t fake_version;
static struct zwlr_virtual_pointer_manager_v1 *pointers;
static struct zwlr_virtual_pointer_v1 *pointer;
static struct zwp_virtual_keyboard_manager_v1 *keyboards;
static struct zwp_virtual_keyboard_v1 *keyboard;
static struct wl_seat *seat;

static void noop() {}

static void global(void *data, struct wl_registry *r, uint32_t name, const char *interface, uint32_t version) {
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 3)
        fake = wl_registry_bind(r, name, &org_kde_kwin_fake_input_interface, fake_version = version < 4 ? version : 4);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        pointers = wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        keyboards = wl_registry_bind(r, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
    else if (strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = wl_registry_bind(r, name, &wl_seat_interface, 1);
}

static uint32_t now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

/* A keyboard with the default (US) layout; NULL without the protocol. */
static struct zwp_virtual_keyboard_v1 *make_keyboard(void) {
    if (!keyboards || !seat) return NULL;
    struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap *keymap = context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    char *text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
    const size_t size = text ? strlen(text) + 1 : 0;
    const int fd = memfd_create("wlinput-keymap", MFD_CLOEXEC);
    if (!text || fd < 0 || write(fd, text, size) != (ssize_t)size) exit(1);
    struct zwp_virtual_keyboard_v1 *made = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboards, seat);
    zwp_virtual_keyboard_v1_keymap(made, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
    close(fd); /* sent as a copy */
    return made;
}

/* Sends one command; 0 once the compositor has handled it. */
static int command(struct wl_display *display, const char *line) {
    static const uint32_t buttons[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    char what[16] = "";
    int x = 0, y = 0, b = 1;
    const int words = sscanf(line, "%15s %d %d %d", what, &x, &y, &b);
    const int clicking = strcmp(what, "click") == 0, pointing = clicking || strcmp(what, "move") == 0;
    if (words < 2 + pointing || (!pointing && strcmp(what, "key") != 0) || b < 1 || b > 3) return -1;
    for (int pressed = 1; pressed >= 0; --pressed) {
        if (pointing && pressed) { /* the motion, once */
            if (fake) org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(x), wl_fixed_from_int(y));
            else if (pointer) zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, 1920, 1080);
            else return -1;
            if (pointer) zwlr_virtual_pointer_v1_frame(pointer);
        }
        if (pointing && !clicking) continue;
        if (fake && pointing) org_kde_kwin_fake_input_button(fake, buttons[b - 1], pressed);
        else if (pointer && pointing) zwlr_virtual_pointer_v1_button(pointer, now_ms(), buttons[b - 1], pressed),
                                      zwlr_virtual_pointer_v1_frame(pointer);
        else if (fake && fake_version >= 4) org_kde_kwin_fake_input_keyboard_key(fake, (uint32_t)x, pressed);
        else if (keyboard) zwp_virtual_keyboard_v1_key(keyboard, now_ms(), (uint32_t)x, pressed);
        else return -1;
    }
    return wl_display_roundtrip(display) < 0 ? -1 : 0;
}

int main(void) {
    static const struct wl_registry_listener listener = {global, noop};
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) return fprintf(stderr, "tamsel-wlinput: no Wayland display\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (fake)
        org_kde_kwin_fake_input_authenticate(fake, "tamsel tests", "end-to-end input");
    else if (pointers)
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointers, NULL);
    if (!fake) keyboard = make_keyboard();
    if (!fake && !pointer) return fprintf(stderr, "tamsel-wlinput: the compositor offers no input protocol\n"), 1;
    if (wl_display_roundtrip(display) < 0) return 1;
    setlinebuf(stdout);
    puts("ready");
    char line[128];
    while (fgets(line, sizeof line, stdin)) puts(command(display, line) == 0 ? "ok" : "error");
    return 0;
}
