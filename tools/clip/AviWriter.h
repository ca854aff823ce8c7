#pragma once

#include <QByteArray>
#include <chrono>
#include <vector>

namespace clip {

// A clip of 8-bit frames: one palette index per pixel, rows from top to bottom.
struct IndexedClip
{
    int width = 0;
    int height = 0;
    std::chrono::microseconds frameInterval{100000};
    std::vector<quint32> palette; // 0xFFRRGGBB, at most 256 entries
    std::vector<QByteArray> frames;
};

// One frame as BI_RLE8 data (rows from the bottom up), ending with the
// end-of-bitmap mark. With a previous frame only the changed pixels are
// written and the unchanged ones are skipped with delta escapes.
[[nodiscard]] QByteArray encodeRle8(const QByteArray& frame, const QByteArray* previous, int width, int height);

// The bytes of a complete RIFF AVI file with one video stream of BI_RLE8 frames
// (the first whole, every later one as its changes) and an index.
[[nodiscard]] QByteArray writeAvi(const IndexedClip& clip);

} // namespace clip
