#include "progress/Display.h"

#include <cstdlib>
#include <cstring>

#include <dlfcn.h>

namespace {

bool xServerReachable(const char *display)
{
    void *xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool ok = false;
    if (connect && hasError && disconnect) {
        void *connection = connect(display, nullptr);
        ok = connection && hasError(connection) == 0;
        if (connection)
            disconnect(connection);
    }
    dlclose(xcb);
    return ok;
}

} // namespace

bool displayAvailable()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strncmp(platform, "offscreen", 9) == 0 || std::strncmp(platform, "minimal", 7) == 0))
        return false;
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland && platform && std::strncmp(platform, "wayland", 7) == 0)
        return true;
    const char *display = std::getenv("DISPLAY");
    return display && *display && xServerReachable(display);
}
