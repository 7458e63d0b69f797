#pragma once

class QWebEngineProfile;

namespace engine {

// Flash content plays through Ruffle, served from the "ruffle" folder beside the executable under
// the scheme "ruffle:" and loaded into every page and frame when its document is created.
void RegisterRuffleScheme();
void InstallRuffle(QWebEngineProfile* profile);

} // namespace engine
