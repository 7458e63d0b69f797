#pragma once

#include <QEvent>
#include <QString>

// The message that reports a navigation to the game address to the login window. It is sent
// (SendMessage), so the address lives as long as the call.
inline constexpr QEvent::Type WM_ENTER_GAME = static_cast<QEvent::Type>(2028);

class EnterGameEvent final : public QEvent
{
public:
    explicit EnterGameEvent(QString address) : QEvent(WM_ENTER_GAME), m_address(std::move(address)) {}
    const QString& Address() const { return m_address; }

private:
    QString m_address;
};
