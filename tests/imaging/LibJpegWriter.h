// Writes JPEG files with what Qt's writer never sets: restart intervals, one scan per component,
// a single grey component.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace testjpeg {

struct Options {
    int restartRows = 0; // a restart marker after every this many rows of blocks
    bool scanPerComponent = false;
    bool progressive = false;
    bool grey = false;
};

inline QByteArray Encode(const QImage &image, const Options &options)
{
    const QImage rgb = image.convertToFormat(options.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = options.grey ? 1 : 3;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    info.restart_in_rows = options.restartRows;
    jpeg_scan_info scans[3]{};
    if (options.progressive) {
        jpeg_simple_progression(&info);
    } else if (options.scanPerComponent) {
        for (int c = 0; c < info.num_components; ++c)
            scans[c] = {1, {c, 0, 0, 0}, 0, 63, 0, 0};
        info.scan_info = scans;
        info.num_scans = info.num_components;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto *row = const_cast<JSAMPLE *>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

} // namespace testjpeg
