// Decoding of JPEG data to an image through libjpeg: the About window keeps
// its picture as JPEG bytes among the program's resources.
#pragma once

class QByteArray;
class QImage;

namespace jpeg {

// The picture held in the bytes of a JPEG file, as RGB888 or, for a grey
// JPEG, Grayscale8. Data that is empty, is not JPEG, is cut short, is
// corrupt in any way libjpeg notices (where it would otherwise patch the
// damage over with grey) or is CMYK gives a null image.
QImage decode(const QByteArray &data);

} // namespace jpeg
