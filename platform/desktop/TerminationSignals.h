#pragma once

#include <functional>

namespace desktop {

// Runs handler on the event loop when the desktop asks the program to end (SIGTERM at log-out or
// shut-down, SIGHUP, SIGINT), instead of dying on the spot: the program then ends as its close
// button ends it, and the engine writes out the pages' storage (the game saves) on the way.
// Call once, after the application object exists.
void OnTerminationSignal(std::function<void()> handler);

} // namespace desktop
