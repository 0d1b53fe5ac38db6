/* Presses keys or clicks on KWin through its fake-input protocol, the way KDE Connect's remote
 * input does: KWin offers no virtual-keyboard or virtual-pointer protocol to ordinary clients.
 *   kwininput KEYCODE...   Linux key codes (linux/input-event-codes.h), pressed in order and
 *                          released in reverse
 *   kwininput click X Y    the left button, clicked at X,Y in the compositor's coordinates
 * KWin asks nothing when it runs with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
 * Built by bench/chroot-desktops.sh against the protocol file of plasma-wayland-protocols. */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

enum { MaxKeys = 8, MaxCoordinate = 32767, LeftButton = 0x110, ClickPause = 200000 /* microseconds */ };

static struct org_kde_kwin_fake_input *fake_input;

static void global_added(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake_input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_removed(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global_added, global_removed};

static int coordinate(const char *text, int *value)
{
    char *end;
    const long parsed = strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > MaxCoordinate)
        return 0;
    *value = (int)parsed;
    return 1;
}

int main(int argc, char **argv)
{
    const int click = argc > 1 && strcmp(argv[1], "click") == 0;
    int x = 0, y = 0;
    if (click ? argc != 4 || !coordinate(argv[2], &x) || !coordinate(argv[3], &y) : argc < 2 || argc - 1 > MaxKeys) {
        fprintf(stderr, "usage: kwininput KEYCODE... (at most %d Linux key codes)\n"
                        "       kwininput click X Y (0 to %d)\n", MaxKeys, MaxCoordinate);
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwininput: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!fake_input) {
        fprintf(stderr, "kwininput: the compositor offers no org_kde_kwin_fake_input version 4\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake_input, "Korvane bench", "presses keys for a benchmark");
    if (click) {
        org_kde_kwin_fake_input_pointer_motion_absolute(fake_input, wl_fixed_from_int(x), wl_fixed_from_int(y));
        /* A press sent right after the move reached Qt in the pointer frame that told it the
         * pointer entered, and Qt keeps one event per frame: the press waits a moment, and
         * the button stays down a moment, as a hand's click does. */
        wl_display_roundtrip(display);
        usleep(ClickPause);
        org_kde_kwin_fake_input_button(fake_input, LeftButton, WL_POINTER_BUTTON_STATE_PRESSED);
        wl_display_roundtrip(display);
        usleep(ClickPause / 2);
        org_kde_kwin_fake_input_button(fake_input, LeftButton, WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        for (int i = 1; i < argc; ++i)
            org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)strtoul(argv[i], NULL, 10), WL_KEYBOARD_KEY_STATE_PRESSED);
        for (int i = argc - 1; i > 0; --i)
            org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)strtoul(argv[i], NULL, 10), WL_KEYBOARD_KEY_STATE_RELEASED);
    }
    const int status = wl_display_roundtrip(display) < 0 ? 1 : 0;
    wl_display_disconnect(display);
    return status;
}
