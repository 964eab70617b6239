// Invisible image reader: decodes an image file into a picture and reports its size.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>

class TPMultiImage : public QObject {
    Q_OBJECT
public:
    explicit TPMultiImage(QObject *parent = nullptr);

    // Reads the file at once into Picture(); a missing file or the empty text empties it.
    void SetImageName(const QString &path);
    QString ImageName() const { return imageName_; }
    const QImage &Picture() const { return picture_; }

    // Fills ImageWidth()/ImageHeight() with the size of the decoded picture (for a GIF its logical
    // screen), from the file's header when no picture of it is held; both are 0 when it cannot be read.
    bool ReadImageInfo(const QString &path);
    std::int16_t ImageWidth() const { return imageWidth_; }
    std::int16_t ImageHeight() const { return imageHeight_; }

    // The open dialog's filter: every format read, then one entry per format.
    static QString OpenFilter();

protected:
    // Whether the decoder for a format can be loaded; tests pretend a plugin is missing.
    virtual bool FormatAvailable(const QByteArray &format) const;

private:
    QString imageName_;
    QImage picture_;
    std::int16_t imageWidth_ = 0;
    std::int16_t imageHeight_ = 0;
};
