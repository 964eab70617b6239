// The message that ends the program through the normal shutdown (WM_USER + 124).
#pragma once

#include <QEvent>

inline constexpr QEvent::Type ShutdownEventType = static_cast<QEvent::Type>(QEvent::User + 124);
