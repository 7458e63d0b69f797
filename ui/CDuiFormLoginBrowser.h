#pragma once

#include "ui/CXMLWnd.h"

#include <QRect>

#include <functional>
#include <memory>

class RefreshKeys;

// The pop-up that carries the platform's login page over the login window's browser area.
class CDuiFormLoginBrowser final : public CXMLWnd
{
public:
    explicit CDuiFormLoginBrowser(const QString& skinFile);
    ~CDuiFormLoginBrowser() override;

    // Creates the pop-up, owned by owner, at its creation offset from the owner's rectangle.
    bool CreateAt(QWidget* owner, const QRect& ownerRect);
    // Puts the pop-up over the browser area of a login window whose top-left corner is (x, y).
    void MoveTo(int x, int y);
    // Loads an address into the login browser; does nothing while the browser doesn't exist yet.
    // whenLoaded runs once the page has loaded (see engine::Browser::LoadURL); false when there is
    // no browser to load into, and then it doesn't run.
    bool LoadUrl(const QString& address, std::function<void()> whenLoaded = {});
    // Lets go of the hidden login page's memory, its view and the pop-up's native window while the
    // game runs; LoadUrl brings them back. whenDiscarded runs once they are gone.
    void Discard(std::function<void()> whenDiscarded = {});

    static constexpr QPoint kCreateOffset{486, 190};
    static constexpr QRect kBrowserArea{38, 127, 688, 398};

protected:
    void InitWindow() override;

private:
    QString m_strLoginUrl;
    std::unique_ptr<RefreshKeys> m_refreshKeys;
};
