// A pointer for a headless wlroots compositor, which has no input devices of its own: the
// seat's cursor commands (swaymsg seat - cursor ...) move no pointer while a button is held,
// so no drag could start. Creates one virtual pointer, says "ready", then reads commands, one
// a line, and answers each with "ok" once the compositor has handled it:
//   move X Y     the pointer to X,Y on a WIDTH x HEIGHT layout (the program's arguments)
//   press        the left button down
//   release      the left button up
// It ends when its stdin is closed.
//
// The two interfaces are written out here because no Debian package ships their XML; their
// requests are listed in the protocol's order, which gives their numbers.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include <wayland-client.h>

static const wl_message pointerRequests[] = {
    {"motion", "uff", nullptr},
    {"motion_absolute", "uuuuu", nullptr},
    {"button", "uuu", nullptr},
    {"axis", "uuf", nullptr},
    {"frame", "", nullptr},
    {"axis_source", "u", nullptr},
    {"axis_stop", "uu", nullptr},
    {"axis_discrete", "uufi", nullptr},
    {"destroy", "", nullptr},
};
static const wl_interface pointerInterface = {"zwlr_virtual_pointer_v1", 1, 9, pointerRequests, 0, nullptr};

static const wl_interface *createTypes[] = {&wl_seat_interface, &pointerInterface};
static const wl_message managerRequests[] = {
    {"create_virtual_pointer", "?on", createTypes},
    {"destroy", "", nullptr},
};
static const wl_interface managerInterface = {"zwlr_virtual_pointer_manager_v1", 1, 2, managerRequests, 0, nullptr};

static wl_proxy *manager;

static void addGlobal(void *, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    if (std::strcmp(interface, managerInterface.name) == 0)
        manager = static_cast<wl_proxy *>(wl_registry_bind(registry, name, &managerInterface, 1));
}

static void removeGlobal(void *, wl_registry *, uint32_t)
{
}

static const wl_registry_listener registryListener = {addGlobal, removeGlobal};

enum Request : uint32_t { MotionAbsolute = 1,
                          Button = 2,
                          Frame = 4 };
constexpr uint32_t leftButton = 0x110; // BTN_LEFT

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: virtualpointer WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = uint32_t(std::atoi(argv[1]));
    const uint32_t height = uint32_t(std::atoi(argv[2]));
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtualpointer: no Wayland display\n");
        return 1;
    }
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fprintf(stderr, "virtualpointer: the compositor offers no virtual pointers\n");
        return 1;
    }
    auto *pointer = wl_proxy_marshal_constructor(manager, 0, &pointerInterface, nullptr, nullptr);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);
    uint32_t time = 0;
    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned x = 0;
        unsigned y = 0;
        time += 10;
        if (std::sscanf(line, "move %u %u", &x, &y) == 2)
            wl_proxy_marshal(pointer, MotionAbsolute, time, x, y, width, height);
        else if (std::strncmp(line, "press", 5) == 0)
            wl_proxy_marshal(pointer, Button, time, leftButton, 1u);
        else if (std::strncmp(line, "release", 7) == 0)
            wl_proxy_marshal(pointer, Button, time, leftButton, 0u);
        else
            continue;
        wl_proxy_marshal(pointer, Frame);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        std::printf("ok\n");
        std::fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
