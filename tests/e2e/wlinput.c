/* Input for end-to-end stories on headless compositors, which have no input
 * devices of their own. One command a line on stdin, "ok" or "error" for
 * each on stdout ("ready" first):
 *   move X Y | click X Y [BUTTON] | key KEYCODE
 * Positions are global, in a layout of WIDTHxHEIGHT (env WLINPUT_LAYOUT,
 * default 1920x1080); buttons 1 left, 2 middle, 3 right; keys are evdev
 * codes. KWin takes it through org_kde_kwin_fake_input (offered only with
 * KWIN_WAYLAND_NO_PERMISSION_CHECKS=1), wlroots through one virtual pointer
 * for the whole run (keys there: wtype). It stays running because sway 1.7
 * may crash when a virtual pointer goes away. */

#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-client-protocol.h"

static struct org_kde_kwin_fake_input *fake;
static uint32_t fake_version;
static struct zwlr_virtual_pointer_manager_v1 *pointers;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 3) {
        fake_version = version < 4 ? version : 4;
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, fake_version);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        pointers = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    }
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name) {
    (void)data, (void)registry, (void)name;
}

static uint32_t now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

/* Sends one command; 0 once the compositor has handled it. */
static int command(struct wl_display *display, struct zwlr_virtual_pointer_v1 *pointer,
                   unsigned width, unsigned height, const char *line) {
    static const uint32_t buttons[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    char what[16];
    int x = 0, y = 0, b = 1;
    const int words = sscanf(line, "%15s %d %d %d", what, &x, &y, &b);
    const int pointing = strcmp(what, "move") == 0 || strcmp(what, "click") == 0;
    const int clicking = strcmp(what, "click") == 0;
    if (words < 2 || (pointing && words < 3) || (!pointing && strcmp(what, "key") != 0) || b < 1 ||
        b > 3)
        return -1;
    const uint32_t button = buttons[b - 1];
    if (fake && pointing) {
        org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(x),
                                                        wl_fixed_from_int(y));
        if (clicking) {
            org_kde_kwin_fake_input_button(fake, button, 1);
            org_kde_kwin_fake_input_button(fake, button, 0);
        }
    } else if (fake && fake_version >= 4) {
        org_kde_kwin_fake_input_keyboard_key(fake, (uint32_t)x, 1);
        org_kde_kwin_fake_input_keyboard_key(fake, (uint32_t)x, 0);
    } else if (pointer && pointing) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), (uint32_t)x, (uint32_t)y, width,
                                                height);
        zwlr_virtual_pointer_v1_frame(pointer);
        if (clicking) {
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), button, 1);
            zwlr_virtual_pointer_v1_frame(pointer);
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), button, 0);
            zwlr_virtual_pointer_v1_frame(pointer);
        }
    } else {
        return -1;
    }
    return wl_display_roundtrip(display) < 0 ? -1 : 0;
}

int main(void) {
    static const struct wl_registry_listener listener = {global, global_remove};
    unsigned width = 1920, height = 1080;
    const char *layout = getenv("WLINPUT_LAYOUT");
    if (layout && sscanf(layout, "%ux%u", &width, &height) != 2) return 2;
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "tamsel-wlinput: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    struct zwlr_virtual_pointer_v1 *pointer = NULL;
    if (fake)
        org_kde_kwin_fake_input_authenticate(fake, "tamsel tests", "end-to-end input");
    else if (pointers)
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(pointers, NULL);
    if (!fake && !pointer) {
        fprintf(stderr, "tamsel-wlinput: the compositor offers no input protocol\n");
        return 1;
    }
    if (wl_display_roundtrip(display) < 0) return 1;
    puts("ready");
    fflush(stdout);
    char line[128];
    while (fgets(line, sizeof line, stdin)) {
        puts(command(display, pointer, width, height, line) == 0 ? "ok" : "error");
        fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
