// JPEG decoding with libjpeg's own interface. libjpeg reports errors by
// calling error_exit, which must not return; the handler here jumps back
// into the decoder with longjmp, so a bad file ends in a null image instead
// of libjpeg's default exit() of the whole program.
#include "ui/kit/jpeg_image.h"

#include <QByteArray>
#include <QImage>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstring>

#include <jpeglib.h>

namespace jpeg {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer to it is one to the whole
    std::jmp_buf jump;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// Warnings (level -1) are corrupt data that libjpeg would paper over;
// trace messages (level 0 and up) are ignored.
void refuseWarnings(j_common_ptr info, int level) {
    if (level < 0)
        leaveDecoder(info);
}

void stayQuiet(j_common_ptr) {}

// Fills image; false when libjpeg gave up. Everything that lives across the
// setjmp is a plain C struct or belongs to the caller, so the jump back skips
// no destructor.
bool decodeInto(const QByteArray &data, QImage &image) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = leaveDecoder;
    errors.pub.emit_message = refuseWarnings;
    errors.pub.output_message = stayQuiet;

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);

    // Grey stays grey; everything else is asked for as RGB, which libjpeg
    // refuses for what it cannot convert (CMYK).
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);

    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (image.isNull()) { // too large to hold
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decode(const QByteArray &data) {
    if (data.isEmpty())
        return {};
    QImage image;
    return decodeInto(data, image) ? image : QImage();
}

} // namespace jpeg
