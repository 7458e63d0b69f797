#pragma once

class QJsonObject;
class QWebEngineProfile;

namespace engine {

// Flash content plays through Ruffle, served from the "ruffle" folder beside the executable under
// the scheme "ruffle:" and loaded into every page and frame when its document is created.
void RegisterRuffleScheme();
// config holds the program's own settings for the emulator (its socket proxies).
void InstallRuffle(QWebEngineProfile* profile, const QJsonObject& config);

} // namespace engine
