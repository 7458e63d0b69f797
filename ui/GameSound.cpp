#include "ui/GameSound.h"

#include "platform/engine/Browser.h"

void GameSound::SetMuted(bool muted)
{
    m_muted = muted;
    Apply();
}

void GameSound::SetBossHidden(bool hidden)
{
    m_bossHidden = hidden;
    Apply();
}

void GameSound::Apply() const
{
    if (const auto browser = m_browser())
        browser->SetAudioMuted(m_muted || m_bossHidden);
}
