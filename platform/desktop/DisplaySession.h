#pragma once

// In a Wayland session the program runs through XWayland (Qt's xcb platform): its windows place
// themselves, so the login page's pop-up keeps to the login window, and its keys can be grabbed.
// A platform the user chose (QT_QPA_PLATFORM) still wins. Without XWayland (no DISPLAY) the
// program runs on Wayland itself, and says once that its windows can't place themselves there.
// Call before the application object exists.
void PreferX11InWaylandSession();
