// The one way a measurement file is read.
#include "spectrum/file_reader.h"

#include "settings/safe_read.h"
#include "spectrum/uff_reader.h"
#include "spectrum/wav_reader.h"

#include <QFileInfo>

namespace spectrum {

ReadOutcome readMeasurementBytes(const QByteArray &bytes, const QString &fileName,
                                 const TextOptions &options) {
    if (looksLikeWav(bytes))
        return readWav(bytes, fileName);
    if (looksLikeUff(bytes))
        return readUff(bytes, fileName, options);
    return readText(bytes, fileName, options);
}

ReadOutcome readMeasurementFile(const QString &path, const TextOptions &options) {
    const QString name = QFileInfo(path).fileName();
    // The user chose the file: a link to it is followed.
    const settings::ReadOutcome read =
        settings::readFilePrefix(path, kFileByteLimit, settings::Links::Followed);
    if (read.notRegular)
        return {std::nullopt, faultText(name, 0, QStringLiteral("это не обычный файл.")), 0};
    if (!read.opened)
        return {std::nullopt, faultText(name, 0, QStringLiteral("файл не открывается.")), 0};
    if (read.errorCode != 0)
        return {std::nullopt, faultText(name, 0, QStringLiteral("ошибка чтения файла.")), 0};
    if (read.truncated)
        return {std::nullopt,
                faultText(name, 0,
                          QStringLiteral("файл больше %1 МБ: такой файл не читается.")
                              .arg(kFileByteLimit >> 20)),
                0};
    return readMeasurementBytes(read.bytes, name, options);
}

} // namespace spectrum
