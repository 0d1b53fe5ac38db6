/* Presses keys on KWin through its fake-input protocol, the way KDE Connect's remote
 * keyboard does: KWin offers no virtual-keyboard protocol to ordinary clients. The arguments
 * are Linux key codes (linux/input-event-codes.h), pressed in order and released in reverse.
 * KWin asks nothing when it runs with KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
 * Built by bench/debian13-desktops.sh against the protocol file of plasma-wayland-protocols. */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

enum { MaxKeys = 8 };

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

int main(int argc, char **argv)
{
    if (argc < 2 || argc - 1 > MaxKeys) {
        fprintf(stderr, "usage: kwinkeys KEYCODE... (at most %d Linux key codes)\n", MaxKeys);
        return 2;
    }
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwinkeys: no Wayland display\n");
        return 1;
    }
    struct wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!fake_input) {
        fprintf(stderr, "kwinkeys: the compositor offers no org_kde_kwin_fake_input version 4\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake_input, "Korvane bench", "presses keys for a benchmark");
    for (int i = 1; i < argc; ++i)
        org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)strtoul(argv[i], NULL, 10), WL_KEYBOARD_KEY_STATE_PRESSED);
    for (int i = argc - 1; i > 0; --i)
        org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)strtoul(argv[i], NULL, 10), WL_KEYBOARD_KEY_STATE_RELEASED);
    const int status = wl_display_roundtrip(display) < 0 ? 1 : 0;
    wl_display_disconnect(display);
    return status;
}
