// Reads the virtual joystick as a game does, through SDL2 with only its
// joystick subsystem (no display): prints "found NAME GUID" once it has opened
// the stick named Zaredezid, then "axis INDEX VALUE" for each axis motion.
// Exits 0 once the stick is removed; 1 when it never came or never went.

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace {

// The tracker starts its camera and output slowly under emulation.
constexpr Uint32 kFindMilliseconds = 60000;
constexpr Uint32 kReadMilliseconds = 240000;
constexpr int kWaitMilliseconds = 100;

bool isZaredezid(int deviceIndex) {
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    return name && std::strcmp(name, "Zaredezid") == 0;
}

} // namespace

int main() {
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0) {
        std::fprintf(stderr, "SDL could not start its joystick subsystem: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Joystick* joystick = nullptr;
    bool removed = false;
    const Uint32 findDeadline = SDL_GetTicks() + kFindMilliseconds;
    const Uint32 readDeadline = findDeadline + kReadMilliseconds;
    SDL_Event event;
    // Sticks present at start and those plugged in later are both "added".
    while (!removed && !SDL_TICKS_PASSED(SDL_GetTicks(), joystick ? readDeadline : findDeadline)) {
        if (!SDL_WaitEventTimeout(&event, kWaitMilliseconds))
            continue;
        // Instance ids start at 0, so none is ours before the stick is open.
        const SDL_JoystickID ours = joystick ? SDL_JoystickInstanceID(joystick) : -1;
        if (event.type == SDL_JOYDEVICEADDED && !joystick && isZaredezid(event.jdevice.which)) {
            joystick = SDL_JoystickOpen(event.jdevice.which);
            if (!joystick)
                break;
            char guid[33] = "";
            SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
            std::printf("found %s %s\n", SDL_JoystickName(joystick), guid);
        } else if (event.type == SDL_JOYAXISMOTION && event.jaxis.which == ours) {
            std::printf("axis %d %d\n", event.jaxis.axis, event.jaxis.value);
        } else {
            removed = event.type == SDL_JOYDEVICEREMOVED && event.jdevice.which == ours;
        }
    }
    if (!removed)
        std::fprintf(stderr, "the joystick %s\n", joystick ? "was never removed" : "never came");
    if (joystick)
        SDL_JoystickClose(joystick);
    SDL_Quit();
    return removed ? 0 : 1;
}
