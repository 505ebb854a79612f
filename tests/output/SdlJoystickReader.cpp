// Reads the virtual joystick the way a game does, through SDL2: waits for a
// stick named Zaredezid, prints "found NAME GUID" once it has opened it, then
// "axis INDEX VALUE" for each axis motion until the stick is removed.
// Exits 0 when the stick came and went, non-zero when it never came or never
// went. Only the joystick subsystem is started, so no display is needed.

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace {

const char* const kJoystickName = "Zaredezid";
// The tracker starts its camera and output under emulation in the device
// tests' virtual machine, which may take a while.
constexpr Uint32 kFindMilliseconds = 60000;
constexpr Uint32 kReadMilliseconds = 240000;
// How long one wait for an event lasts before the deadlines are looked at.
constexpr int kWaitMilliseconds = 100;

bool isZaredezid(int deviceIndex) {
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    return name && std::strcmp(name, kJoystickName) == 0;
}

} // namespace

int main() {
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "SDL could not start its joystick subsystem: %s\n", SDL_GetError());
        return 2;
    }
    SDL_Joystick* joystick = nullptr;
    bool removed = false;
    const Uint32 findDeadline = SDL_GetTicks() + kFindMilliseconds;
    const Uint32 readDeadline = findDeadline + kReadMilliseconds;
    SDL_Event event;
    // SDL reports the sticks present at start and each one plugged in later
    // alike, as a device-added event.
    while (!removed && !SDL_TICKS_PASSED(SDL_GetTicks(), joystick ? readDeadline : findDeadline)) {
        if (!SDL_WaitEventTimeout(&event, kWaitMilliseconds)) {
            continue;
        }
        // Instance ids start at 0, so none is ours before the stick is open.
        const SDL_JoystickID ours = joystick ? SDL_JoystickInstanceID(joystick) : -1;
        if (event.type == SDL_JOYDEVICEADDED && !joystick && isZaredezid(event.jdevice.which)) {
            joystick = SDL_JoystickOpen(event.jdevice.which);
            if (!joystick) {
                std::fprintf(stderr, "SDL could not open the joystick: %s\n", SDL_GetError());
                break;
            }
            char guid[33];
            SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
            std::printf("found %s %s\n", SDL_JoystickName(joystick), guid);
        } else if (event.type == SDL_JOYAXISMOTION && event.jaxis.which == ours) {
            std::printf("axis %d %d\n", event.jaxis.axis, event.jaxis.value);
        } else if (event.type == SDL_JOYDEVICEREMOVED && event.jdevice.which == ours) {
            removed = true;
        }
    }
    if (joystick) {
        SDL_JoystickClose(joystick);
    }
    if (!removed) {
        std::fprintf(stderr, joystick ? "the joystick was never removed\n"
                                      : "SDL found no joystick named Zaredezid\n");
    }
    SDL_Quit();
    return removed ? 0 : 1;
}
