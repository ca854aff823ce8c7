#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <optional>
#include <vector>

namespace platform {

// Why a clip could not be read.
enum class AviError
{
    None,
    CannotRead,        // the file is missing or unreadable
    TooLarge,          // the file or its decoded frames pass the size limits
    NotAvi,            // no RIFF "AVI " header
    MissingHeader,     // no main header or no video stream format
    UnsupportedFormat, // not 8-bit frames, uncompressed or RLE8
    BadDimensions,     // a frame size of zero, negative or beyond the limits
    Truncated,         // a chunk runs past the end of the file
    BadFrame,          // frame data that does not fit the frame
    NoFrames,          // the clip holds no video frame
};

// A short English description of an error, for logs and diagnostics.
[[nodiscard]] QString describe(AviError error);

// The video frames of an AVI file: 8-bit frames, uncompressed (BI_RGB) or
// run-length encoded (BI_RLE8). Frames are decoded once, completely, into rows
// from top to bottom of one palette index per pixel, with the palette beside them.
// Broken, truncated or oversized input gives an error, never a partial clip.
class AviClip
{
public:
    // Limits that keep a hostile file from taking the memory of the program.
    static constexpr qsizetype kMaxFileBytes = 64 * 1024 * 1024;
    static constexpr qsizetype kMaxDecodedBytes = 32 * 1024 * 1024;
    static constexpr int kMaxSide = 4096;

    struct Result;

    [[nodiscard]] static Result fromFile(const QString& path);
    [[nodiscard]] static Result fromBytes(QByteArrayView data);

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    [[nodiscard]] qsizetype bytesPerLine() const { return m_width; }
    // The time one frame stays on screen.
    [[nodiscard]] std::chrono::microseconds frameInterval() const { return m_frameInterval; }
    // 0xFFRRGGBB per palette entry, 256 of them.
    [[nodiscard]] const std::vector<quint32>& palette() const { return m_palette; }
    [[nodiscard]] qsizetype frameCount() const { return static_cast<qsizetype>(m_frames.size()); }
    // height() rows of bytesPerLine() bytes each, top row first.
    [[nodiscard]] const QByteArray& frame(qsizetype index) const { return m_frames.at(static_cast<size_t>(index)); }

private:
    friend class AviParser;

    int m_width = 0;
    int m_height = 0;
    std::chrono::microseconds m_frameInterval{0};
    std::vector<quint32> m_palette;
    std::vector<QByteArray> m_frames;
};

// A clip, or nothing and the reason why.
struct AviClip::Result
{
    std::optional<AviClip> clip;
    AviError error = AviError::None;
};

} // namespace platform
