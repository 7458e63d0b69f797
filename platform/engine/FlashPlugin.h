#pragma once

class QWebEngineProfile;

namespace engine {

// Every page and frame of the profile sees the Flash plug-in installed (navigator.plugins and
// navigator.mimeTypes), from before its first script. Names only: what a page may load or reach
// doesn't change.
void InstallFlashPlugin(QWebEngineProfile* profile);

} // namespace engine
