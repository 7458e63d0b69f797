#pragma once

#include <QString>

namespace engine {
struct Settings;
}

// The program's start-up, shared by the program and by the tests that run its real windows.

// In an engine helper process (the engine starts this same executable) runs the helper and returns
// its exit code. In the main process prepares what must come before the application object and
// returns -1.
int BeforeApplication(int argc, char** argv);

// After the application object: the program's application settings, the engine with its
// switches, and the skin folder.
void StartEngine(const engine::Settings& settings, const QString& skinFolder);
