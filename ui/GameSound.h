#pragma once

#include <functional>
#include <memory>

namespace engine {
class Browser;
}

// The game page's sound: on or off as the player's mute button says, and off whatever it says
// while the boss key has hidden the game, so that nobody hears a game that isn't on the screen.
class GameSound final
{
public:
    using BrowserOf = std::function<std::shared_ptr<engine::Browser>()>;
    explicit GameSound(BrowserOf browser) : m_browser(std::move(browser)) {}

    // The player's own choice, which the mute button shows.
    bool IsMuted() const { return m_muted; }
    void SetMuted(bool muted);
    void SetBossHidden(bool hidden);

private:
    void Apply() const;

    BrowserOf m_browser;
    bool m_muted = false;
    bool m_bossHidden = false;
};
