#include "platform/gui/AviClip.h"

#include <QFile>
#include <cstring>

namespace platform {

namespace {

constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiRle8 = 1;
constexpr qsizetype kChunkHeader = 8;
constexpr qsizetype kMainHeaderSize = 56;
constexpr qsizetype kStreamHeaderMinimum = 32;
constexpr qsizetype kBitmapHeaderSize = 40;
constexpr qsizetype kMaxFrames = 65536;
constexpr int kMaxListDepth = 4;
constexpr std::chrono::microseconds kDefaultInterval{100000};

constexpr quint32 fourcc(const char (&text)[5])
{
    return static_cast<quint32>(static_cast<unsigned char>(text[0])) |
           static_cast<quint32>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<quint32>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<quint32>(static_cast<unsigned char>(text[3])) << 24;
}

// A window on the file's bytes; every read is checked against its end.
struct Span
{
    const unsigned char* data = nullptr;
    qsizetype size = 0;

    [[nodiscard]] bool has(qsizetype offset, qsizetype count) const
    {
        return offset >= 0 && count >= 0 && offset <= size && count <= size - offset;
    }
    [[nodiscard]] quint32 u32(qsizetype offset) const
    {
        return static_cast<quint32>(data[offset]) | static_cast<quint32>(data[offset + 1]) << 8 |
               static_cast<quint32>(data[offset + 2]) << 16 | static_cast<quint32>(data[offset + 3]) << 24;
    }
    [[nodiscard]] quint16 u16(qsizetype offset) const
    {
        return static_cast<quint16>(data[offset] | data[offset + 1] << 8);
    }
    [[nodiscard]] qint32 i32(qsizetype offset) const { return static_cast<qint32>(u32(offset)); }
    [[nodiscard]] Span sub(qsizetype offset, qsizetype count) const { return {data + offset, count}; }
};

struct Chunk
{
    quint32 id = 0;
    Span body;
};

// Walks the chunks of one RIFF list body. A chunk whose size runs past the
// end of its list is an error; the pad byte after an odd-sized last chunk may be missing.
class ChunkWalker
{
public:
    explicit ChunkWalker(Span list) : m_list(list) {}

    // False at the end of the list or on an error (then error() says which).
    bool next(Chunk& chunk)
    {
        if (m_error != AviError::None || m_position >= m_list.size) {
            return false;
        }
        if (!m_list.has(m_position, kChunkHeader)) {
            m_error = AviError::Truncated;
            return false;
        }
        const quint32 id = m_list.u32(m_position);
        const quint32 size = m_list.u32(m_position + 4);
        const qsizetype bodyStart = m_position + kChunkHeader;
        if (size > static_cast<quint64>(m_list.size - bodyStart)) {
            m_error = AviError::Truncated;
            return false;
        }
        chunk.id = id;
        chunk.body = m_list.sub(bodyStart, static_cast<qsizetype>(size));
        m_position = bodyStart + static_cast<qsizetype>(size) + static_cast<qsizetype>(size & 1U);
        return true;
    }

    [[nodiscard]] AviError error() const { return m_error; }

private:
    Span m_list;
    qsizetype m_position = 0;
    AviError m_error = AviError::None;
};

// The type of a LIST chunk, when the chunk is one.
bool isList(const Chunk& chunk, quint32 type)
{
    return chunk.id == fourcc("LIST") && chunk.body.has(0, 4) && chunk.body.u32(0) == type;
}

Span listBody(const Chunk& chunk)
{
    return chunk.body.sub(4, chunk.body.size - 4);
}

quint32 streamChunkId(int stream, const char (&suffix)[3])
{
    const char text[5] = {static_cast<char>('0' + stream / 10 % 10), static_cast<char>('0' + stream % 10), suffix[0],
                          suffix[1], '\0'};
    return fourcc(text);
}

} // namespace

class AviParser
{
public:
    explicit AviParser(Span file) : m_file(file) {}

    AviClip::Result parse()
    {
        if (const AviError error = parseRiff(); error != AviError::None) {
            return {std::nullopt, error};
        }
        if (m_clip.m_frames.empty()) {
            return {std::nullopt, AviError::NoFrames};
        }
        return {std::move(m_clip), AviError::None};
    }

private:
    AviError parseRiff()
    {
        if (!m_file.has(0, 12) || m_file.u32(0) != fourcc("RIFF") || m_file.u32(8) != fourcc("AVI ")) {
            return AviError::NotAvi;
        }
        const quint32 riffSize = m_file.u32(4);
        if (riffSize < 4) {
            return AviError::NotAvi;
        }
        if (riffSize > static_cast<quint64>(m_file.size - kChunkHeader)) {
            return AviError::Truncated;
        }
        ChunkWalker walker(m_file.sub(12, static_cast<qsizetype>(riffSize) - 4));
        Chunk chunk;
        bool haveHeader = false;
        while (walker.next(chunk)) {
            if (isList(chunk, fourcc("hdrl"))) {
                if (const AviError error = parseHeaderList(listBody(chunk)); error != AviError::None) {
                    return error;
                }
                haveHeader = true;
            } else if (isList(chunk, fourcc("movi"))) {
                if (!haveHeader) {
                    return AviError::MissingHeader;
                }
                if (const AviError error = parseMovie(listBody(chunk), 0); error != AviError::None) {
                    return error;
                }
            }
        }
        if (walker.error() != AviError::None) {
            return walker.error();
        }
        return haveHeader ? AviError::None : AviError::MissingHeader;
    }

    AviError parseHeaderList(Span list)
    {
        ChunkWalker walker(list);
        Chunk chunk;
        bool haveMainHeader = false;
        int stream = 0;
        while (walker.next(chunk)) {
            if (chunk.id == fourcc("avih")) {
                if (chunk.body.size < kMainHeaderSize) {
                    return AviError::MissingHeader;
                }
                m_microsecondsPerFrame = chunk.body.u32(0);
                haveMainHeader = true;
            } else if (isList(chunk, fourcc("strl"))) {
                // Chunk names carry the stream number in two digits.
                if (m_videoStream < 0 && stream <= 99) {
                    if (const AviError error = parseStreamList(listBody(chunk), stream); error != AviError::None) {
                        return error;
                    }
                }
                ++stream;
            }
        }
        if (walker.error() != AviError::None) {
            return walker.error();
        }
        if (!haveMainHeader || m_videoStream < 0) {
            return AviError::MissingHeader;
        }
        m_clip.m_frameInterval = frameInterval();
        return AviError::None;
    }

    // Reads one stream's header and format; only the first video stream is taken.
    AviError parseStreamList(Span list, int stream)
    {
        ChunkWalker walker(list);
        Chunk chunk;
        bool isVideo = false;
        while (walker.next(chunk)) {
            if (chunk.id == fourcc("strh")) {
                if (chunk.body.size < kStreamHeaderMinimum) {
                    return AviError::MissingHeader;
                }
                isVideo = chunk.body.u32(0) == fourcc("vids");
                m_scale = chunk.body.u32(20);
                m_rate = chunk.body.u32(24);
            } else if (chunk.id == fourcc("strf") && isVideo) {
                if (const AviError error = parseBitmapFormat(chunk.body); error != AviError::None) {
                    return error;
                }
                m_videoStream = stream;
                return AviError::None;
            }
        }
        return walker.error();
    }

    AviError parseBitmapFormat(Span format)
    {
        if (format.size < kBitmapHeaderSize) {
            return AviError::MissingHeader;
        }
        const quint32 headerSize = format.u32(0);
        if (headerSize < kBitmapHeaderSize || headerSize > static_cast<quint64>(format.size)) {
            return AviError::MissingHeader;
        }
        const qint32 width = format.i32(4);
        const qint32 height = format.i32(8);
        const quint16 bitCount = format.u16(14);
        const quint32 compression = format.u32(16);
        const quint32 colorsUsed = format.u32(32);

        if (bitCount == 8 && compression == kBiRgb) {
            m_rle = false;
        } else if (bitCount == 8 &&
                   (compression == kBiRle8 || compression == fourcc("RLE8") || compression == fourcc("RLE "))) {
            m_rle = true;
        } else {
            return AviError::UnsupportedFormat;
        }
        // A negative height means rows stored top first; run-length data is always stored bottom first.
        if (width <= 0 || width > AviClip::kMaxSide || height == 0 || height < -AviClip::kMaxSide ||
            height > AviClip::kMaxSide || (height < 0 && m_rle)) {
            return AviError::BadDimensions;
        }
        m_clip.m_width = width;
        m_clip.m_height = height < 0 ? -height : height;
        m_topDown = height < 0;

        if (colorsUsed > 256) {
            return AviError::UnsupportedFormat;
        }
        const qsizetype wanted = colorsUsed == 0 ? 256 : static_cast<qsizetype>(colorsUsed);
        const qsizetype available = (format.size - static_cast<qsizetype>(headerSize)) / 4;
        const qsizetype count = std::min(wanted, available);
        // Every index a frame may hold has a colour: entries the file lacks are black.
        m_clip.m_palette.assign(256, 0xFF000000U);
        for (qsizetype i = 0; i < count; ++i) {
            const qsizetype at = static_cast<qsizetype>(headerSize) + i * 4;
            const quint32 blue = format.data[at];
            const quint32 green = format.data[at + 1];
            const quint32 red = format.data[at + 2];
            m_clip.m_palette[static_cast<size_t>(i)] = 0xFF000000U | red << 16 | green << 8 | blue;
        }
        return AviError::None;
    }

    AviError parseMovie(Span list, int depth)
    {
        ChunkWalker walker(list);
        Chunk chunk;
        const quint32 uncompressedId = streamChunkId(m_videoStream, "db");
        const quint32 compressedId = streamChunkId(m_videoStream, "dc");
        while (walker.next(chunk)) {
            if (chunk.id == uncompressedId || chunk.id == compressedId) {
                if (const AviError error = addFrame(chunk.body); error != AviError::None) {
                    return error;
                }
            } else if (isList(chunk, fourcc("rec ")) && depth < kMaxListDepth) {
                if (const AviError error = parseMovie(listBody(chunk), depth + 1); error != AviError::None) {
                    return error;
                }
            }
        }
        return walker.error();
    }

    AviError addFrame(Span data)
    {
        const qsizetype frameBytes = m_clip.bytesPerLine() * m_clip.m_height;
        if (static_cast<qsizetype>(m_clip.m_frames.size()) >= kMaxFrames ||
            m_decodedBytes > AviClip::kMaxDecodedBytes - frameBytes) {
            return AviError::TooLarge;
        }
        // Each frame starts as a copy of the one before: run-length frames
        // change only the pixels they name, and an empty chunk repeats a frame.
        QByteArray frame = m_clip.m_frames.empty() ? QByteArray(frameBytes, '\0') : m_clip.m_frames.back();
        if (data.size > 0) {
            const AviError error = m_rle ? decodeRle8(data, frame) : decodeUncompressed(data, frame);
            if (error != AviError::None) {
                return error;
            }
        }
        m_decodedBytes += frameBytes;
        m_clip.m_frames.push_back(std::move(frame));
        return AviError::None;
    }

    AviError decodeUncompressed(Span data, QByteArray& frame) const
    {
        const qsizetype width = m_clip.m_width;
        const qsizetype height = m_clip.m_height;
        const qsizetype stride = (width + 3) & ~qsizetype{3};
        if (data.size / stride < height) {
            return AviError::BadFrame;
        }
        char* out = frame.data();
        for (qsizetype row = 0; row < height; ++row) {
            const qsizetype outRow = m_topDown ? row : height - 1 - row;
            const unsigned char* in = data.data + row * stride;
            std::memcpy(out + outRow * width, in, static_cast<size_t>(width));
        }
        return AviError::None;
    }

    // Run-length encoded 8-bit data, bottom row first. Pixels that fall
    // outside the frame are dropped; data that ends before its end-of-bitmap
    // mark leaves the rest of the frame as it was.
    AviError decodeRle8(Span data, QByteArray& frame) const
    {
        const qsizetype width = m_clip.m_width;
        const qsizetype height = m_clip.m_height;
        char* out = frame.data();
        qsizetype x = 0;
        qsizetype y = 0; // counted from the bottom row
        const auto put = [&](unsigned char index) {
            if (x < width && y < height) {
                out[(height - 1 - y) * width + x] = static_cast<char>(index);
            }
            ++x;
        };
        qsizetype p = 0;
        while (data.has(p, 2)) {
            const unsigned char count = data.data[p];
            const unsigned char value = data.data[p + 1];
            p += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i) {
                    put(value);
                }
                continue;
            }
            switch (value) {
            case 0: // end of line
                x = 0;
                ++y;
                break;
            case 1: // end of bitmap
                return AviError::None;
            case 2: // delta: move right and up
                if (!data.has(p, 2)) {
                    return AviError::BadFrame;
                }
                x += data.data[p];
                y += data.data[p + 1];
                p += 2;
                break;
            default: // absolute mode: the next value bytes, padded to a word
                if (!data.has(p, value)) {
                    return AviError::BadFrame;
                }
                for (int i = 0; i < value; ++i) {
                    put(data.data[p + i]);
                }
                p += value + (value & 1);
                break;
            }
            if (y >= height) {
                // Nothing more can land inside the frame.
                return AviError::None;
            }
        }
        return AviError::None;
    }

    [[nodiscard]] std::chrono::microseconds frameInterval() const
    {
        if (m_microsecondsPerFrame > 0) {
            return std::chrono::microseconds(m_microsecondsPerFrame);
        }
        if (m_scale > 0 && m_rate > 0) {
            const quint64 micro = static_cast<quint64>(m_scale) * 1000000U / m_rate;
            if (micro > 0) {
                return std::chrono::microseconds(static_cast<qint64>(micro));
            }
        }
        return kDefaultInterval;
    }

    Span m_file;
    AviClip m_clip;
    quint32 m_microsecondsPerFrame = 0;
    quint32 m_scale = 0;
    quint32 m_rate = 0;
    int m_videoStream = -1;
    bool m_rle = false;
    bool m_topDown = false;
    qsizetype m_decodedBytes = 0;
};

AviClip::Result AviClip::fromBytes(QByteArrayView data)
{
    const Span file{reinterpret_cast<const unsigned char*>(data.data()), data.size()};
    return AviParser(file).parse();
}

AviClip::Result AviClip::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {std::nullopt, AviError::CannotRead};
    }
    if (file.size() > kMaxFileBytes) {
        return {std::nullopt, AviError::TooLarge};
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        return {std::nullopt, AviError::TooLarge};
    }
    return fromBytes(bytes);
}

QString describe(AviError error)
{
    switch (error) {
    case AviError::None:
        return QStringLiteral("no error");
    case AviError::CannotRead:
        return QStringLiteral("the clip cannot be read");
    case AviError::TooLarge:
        return QStringLiteral("the clip is too large");
    case AviError::NotAvi:
        return QStringLiteral("not an AVI file");
    case AviError::MissingHeader:
        return QStringLiteral("the clip lacks its headers or its video stream");
    case AviError::UnsupportedFormat:
        return QStringLiteral("the frames are not 8-bit (uncompressed or RLE8)");
    case AviError::BadDimensions:
        return QStringLiteral("the frame size is not valid");
    case AviError::Truncated:
        return QStringLiteral("the clip is truncated");
    case AviError::BadFrame:
        return QStringLiteral("a frame's data does not fit the frame");
    case AviError::NoFrames:
        return QStringLiteral("the clip holds no frames");
    }
    return QStringLiteral("unknown error");
}

} // namespace platform
