// WAV through libsndfile's virtual I/O on bytes in memory.
#include "spectrum/wav_reader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace spectrum {

namespace {

struct Memory {
    const QByteArray &bytes;
    sf_count_t position = 0;
};

sf_count_t length(void *user) {
    return static_cast<Memory *>(user)->bytes.size();
}

sf_count_t seek(sf_count_t offset, int whence, void *user) {
    auto *m = static_cast<Memory *>(user);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = m->position;
    else if (whence == SEEK_END)
        base = m->bytes.size();
    const sf_count_t target = base + offset;
    if (target < 0)
        return -1;
    m->position = target;
    return m->position;
}

sf_count_t read(void *out, sf_count_t count, void *user) {
    auto *m = static_cast<Memory *>(user);
    const sf_count_t left = std::max<sf_count_t>(0, m->bytes.size() - m->position);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, left);
    if (n > 0)
        std::memcpy(out, m->bytes.constData() + m->position, std::size_t(n));
    m->position += n;
    return n;
}

sf_count_t write(const void *, sf_count_t, void *) {
    return 0;
}

sf_count_t tell(void *user) {
    return static_cast<Memory *>(user)->position;
}

struct Closer {
    void operator()(SNDFILE *f) const { sf_close(f); }
};

QString subtypeName(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_S8:
        return QStringLiteral("8 бит");
    case SF_FORMAT_PCM_16:
        return QStringLiteral("16 бит");
    case SF_FORMAT_PCM_24:
        return QStringLiteral("24 бита");
    case SF_FORMAT_PCM_32:
        return QStringLiteral("32 бита");
    case SF_FORMAT_FLOAT:
        return QStringLiteral("32 бита, с плавающей точкой");
    case SF_FORMAT_DOUBLE:
        return QStringLiteral("64 бита, с плавающей точкой");
    default:
        return {};
    }
}

bool isWavContainer(int format) {
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64 ||
           major == SF_FORMAT_W64;
}

} // namespace

bool looksLikeWav(const QByteArray &bytes) {
    return bytes.startsWith("RIFF") || bytes.startsWith("RIFX") || bytes.startsWith("RF64") ||
           bytes.startsWith(QByteArray("riff\x2e\x91\xcf\x11", 8));
}

ReadOutcome readWav(const QByteArray &bytes, const QString &fileName) {
    Memory memory{bytes};
    SF_VIRTUAL_IO io{&length, &seek, &read, &write, &tell};
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, Closer> file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    const auto refuse = [&](const QString &what) {
        return ReadOutcome{std::nullopt, faultText(fileName, 0, what), 0};
    };
    if (!file)
        return refuse(QStringLiteral("не звуковой файл WAV или файл повреждён."));
    const QString depth = subtypeName(info.format);
    if (!isWavContainer(info.format) || depth.isEmpty())
        return refuse(QStringLiteral("читаются только файлы WAV с целыми отсчётами 8–32 бита или "
                                     "с плавающей точкой."));
    if (info.channels < 1 || info.samplerate < 1)
        return refuse(QStringLiteral("в заголовке нет каналов или частоты дискретизации."));
    if (info.frames < 2)
        return refuse(QStringLiteral("в файле нет отсчётов."));
    if (info.frames > sf_count_t(kSampleLimit))
        return refuse(
            QStringLiteral("больше %1 отсчётов: такой файл не читается.").arg(kSampleLimit));
    // Frames come in blocks, so that a file with many channels needs no
    // more memory than its first channel.
    Waveform w;
    w.rate = info.samplerate;
    w.samples.reserve(std::size_t(info.frames));
    constexpr sf_count_t kBlock = 4096;
    std::vector<double> block(std::size_t(kBlock * info.channels));
    while (sf_count_t(w.samples.size()) < info.frames) {
        const sf_count_t got = sf_readf_double(file.get(), block.data(), kBlock);
        if (got <= 0)
            break;
        for (sf_count_t k = 0; k < got; ++k)
            w.samples.push_back(block[std::size_t(k * info.channels)]);
    }
    if (w.samples.size() < 2)
        return refuse(QStringLiteral("в файле нет отсчётов."));
    for (double &s : w.samples)
        if (!std::isfinite(s))
            return refuse(QStringLiteral("в файле есть отсчёты, которые не числа."));
        else if (!keepable(s))
            return refuse(tooLargeText());
    Measurement m;
    m.note = QStringLiteral("WAV, %1, %2 Гц, %3 отсчётов")
                 .arg(depth)
                 .arg(info.samplerate)
                 .arg(w.samples.size());
    if (info.channels > 1)
        m.note += QStringLiteral(", канал 1 из %1").arg(info.channels);
    m.waveform = std::move(w);
    return {std::move(m), {}, 0};
}

} // namespace spectrum
