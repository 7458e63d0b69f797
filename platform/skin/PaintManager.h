#pragma once

#include <QString>

// Where the windows find their skin files. Skin images are addressed as "skin:name.svg" in the
// style sheets, and the "skin:" search path follows the resource path.
class CPaintManagerUI final
{
public:
    CPaintManagerUI() = delete;

    // The executable's folder, ending with "/".
    static QString GetInstancePath();

    static void SetResourcePath(const QString& folder);
    static QString GetResourcePath();
};
