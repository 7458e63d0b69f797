#pragma once

#include <QString>

// The folder of the running executable, ending with "/"; empty when it can't be found. The skin,
// the Flash emulator and Vantor.ini live there, whatever the working directory.
QString GetAppFolder();
