#pragma once

#include "ui/CXMLWnd.h"

#include <QRect>

// The pop-up that carries the platform's login page over the login window's browser area.
class CDuiFormLoginBrowser final : public CXMLWnd
{
public:
    explicit CDuiFormLoginBrowser(const QString& skinFile) : CXMLWnd(skinFile) {}

    // Creates the pop-up, owned by owner, at its creation offset from the owner's rectangle.
    bool CreateAt(QWidget* owner, const QRect& ownerRect);
    // Puts the pop-up over the browser area of a login window whose top-left corner is (x, y).
    void MoveTo(int x, int y);
    // Loads an address into the login browser; does nothing while the browser doesn't exist yet.
    void LoadUrl(const QString& address);

    static constexpr QPoint kCreateOffset{486, 190};
    static constexpr QRect kBrowserArea{38, 127, 688, 398};

protected:
    void InitWindow() override;

private:
    QString m_strLoginUrl;
};
