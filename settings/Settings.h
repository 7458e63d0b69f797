#pragma once

#include <QString>

// Every setting lives in Vantor.ini beside the executable. Nothing is cached: each read opens the
// file again, so an edit takes effect at the next read without a restart. Nothing is ever written.

// The folder of the running executable, ending with "/"; empty when it can't be found.
QString GetAppFolder();

// GetAppFolder() followed directly by "Vantor.ini".
QString GetIniFilePath();

// A text value of section and key, or the default. An empty file path selects GetIniFilePath().
QString ReadIniString(const QString& section, const QString& key, const QString& defaultValue,
                      const QString& filePath = {});

// An integer value of section and key, or the default. An empty file path selects GetIniFilePath().
int ReadIniInt(const QString& section, const QString& key, int defaultValue, const QString& filePath = {});

// The text that marks a game address (Common/gameparam, "sid=" by default), read anew each time.
QString ReadGameMarker();

// The deployment's addresses, used as the defaults of the site buttons and the login page.
QString DefaultHomeUrl();
QString DefaultLoginUrl();
