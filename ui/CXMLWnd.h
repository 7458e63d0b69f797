#pragma once

#include "platform/skin/WindowImplBase.h"

// The base of every window of the program: it keeps the name of its skin file and finds the
// skin through the program's skin folder.
class CXMLWnd : public WindowImplBase
{
public:
    explicit CXMLWnd(const QString& skinFile) : m_strXMLPath(skinFile) {}

    QString GetWindowClassName() const override { return QStringLiteral("XMLWnd"); }
    QString GetSkinFile() const override { return m_strXMLPath; }
    QString GetSkinFolder() const override { return {}; }

private:
    const QString m_strXMLPath;
};
