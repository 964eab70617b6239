// Asking the X server itself, and driving it as a user would, in tests run on a private X server.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QWidget>

// Where the window system has the window: its client area, on the screen.
inline QRect XGeometry(const QWidget &window)
{
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window.winId())});
    info.waitForFinished(5000);
    const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
    const auto number = [&](const char *label) {
        const QRegularExpressionMatch m =
            QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)")).match(text);
        return m.hasMatch() ? m.captured(1).toInt() : -99999;
    };
    return {number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height")};
}

// Real pointer and key input through the X server (xdotool), which the window manager sees too.
inline void XInput(const QStringList &arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}
