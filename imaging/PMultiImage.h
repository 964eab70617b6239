// Invisible image reader: decodes a GIF or JPEG file into a picture and reports its size.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <cstdint>

class TPMultiImage : public QObject {
    Q_OBJECT
public:
    // Pictures beyond this many bytes once decoded (64 megapixels at 32 bits) are refused.
    static constexpr qint64 kMaxDecodedBytes = qint64{256} * 1024 * 1024;

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

    // The format QImageReader is asked for, by the file's extension; empty for an unknown one.
    static QByteArray FormatForPath(const QString &path);
    // The platform's file name of the Qt plugin that decodes a format.
    static QString PluginFileName(const QByteArray &format);

protected:
    // Whether the decoder for a format can be loaded; tests pretend a plugin is missing.
    virtual bool FormatAvailable(const QByteArray &format) const;

private:
    void Report(const QString &text);

    QString imageName_;
    QImage picture_;
    std::int16_t imageWidth_ = 0;
    std::int16_t imageHeight_ = 0;
};
