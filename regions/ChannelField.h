// One hidden field of the main window's event channel: a text whose change runs its handler at once.
#pragma once

#include <QObject>
#include <QString>

class TChannelField : public QObject {
    Q_OBJECT
public:
    explicit TChannelField(const QString &name, const QString &initialText = {}, QObject *parent = nullptr)
        : QObject(parent), text_(initialText)
    {
        setObjectName(name);
    }

    QString Text() const { return text_; }
    // A text equal to the current one is not delivered; any other runs Changed() synchronously,
    // also when called from inside a handler of Changed().
    void SetText(const QString &text)
    {
        if (text == text_)
            return;
        text_ = text;
        emit Changed();
    }
    void SetInt(int value) { SetText(QString::number(value)); }
    // Throws EConvertError when the text is not a decimal integer.
    int ToInt() const;

signals:
    void Changed();

private:
    QString text_;
};
