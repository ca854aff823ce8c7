#include "AviWriter.h"

#include <algorithm>
#include <cstring>

namespace clip {

namespace {

constexpr quint32 kAvifHasIndex = 0x10;
constexpr quint32 kAviifKeyFrame = 0x10;

class Bytes
{
public:
    void u8(quint32 value) { m_data.append(static_cast<char>(value & 0xFFU)); }
    void u16(quint32 value)
    {
        u8(value);
        u8(value >> 8);
    }
    void u32(quint32 value)
    {
        u16(value & 0xFFFFU);
        u16(value >> 16);
    }
    void fourcc(const char (&text)[5]) { m_data.append(text, 4); }
    void bytes(const QByteArray& data) { m_data.append(data); }

    // Starts a chunk (or a list, with its type) and returns where its size goes.
    qsizetype begin(const char (&id)[5])
    {
        fourcc(id);
        const qsizetype at = m_data.size();
        u32(0);
        return at;
    }
    qsizetype beginList(const char (&type)[5])
    {
        const qsizetype at = begin("LIST");
        fourcc(type);
        return at;
    }
    // Fills in the chunk's size and pads its body to an even length.
    void end(qsizetype sizeAt)
    {
        const auto size = static_cast<quint32>(m_data.size() - sizeAt - 4);
        for (int i = 0; i < 4; ++i) {
            m_data[sizeAt + i] = static_cast<char>((size >> (8 * i)) & 0xFFU);
        }
        if (size % 2 != 0) {
            u8(0);
        }
    }
    [[nodiscard]] qsizetype size() const { return m_data.size(); }
    [[nodiscard]] const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

// Encodes pixels [begin, end) of one row as runs and absolute stretches.
void encodeStretch(QByteArray& out, const unsigned char* row, int begin, int end)
{
    const auto runLength = [&](int at) {
        int n = 1;
        while (at + n < end && n < 255 && row[at + n] == row[at]) {
            ++n;
        }
        return n;
    };
    int i = begin;
    while (i < end) {
        const int run = runLength(i);
        if (run >= 3) {
            out.append(static_cast<char>(run));
            out.append(static_cast<char>(row[i]));
            i += run;
            continue;
        }
        // Literal pixels up to the next run of three or more.
        int literalEnd = i;
        while (literalEnd < end && literalEnd - i < 255 && runLength(literalEnd) < 3) {
            ++literalEnd;
        }
        const int count = literalEnd - i;
        if (count >= 3) {
            out.append('\0');
            out.append(static_cast<char>(count));
            out.append(reinterpret_cast<const char*>(row + i), count);
            if (count % 2 != 0) {
                out.append('\0');
            }
        } else {
            for (int k = i; k < literalEnd; ++k) {
                out.append('\1');
                out.append(static_cast<char>(row[k]));
            }
        }
        i = literalEnd;
    }
}

void appendDelta(QByteArray& out, int dx, int dy)
{
    while (dx > 0 || dy > 0) {
        const int stepX = std::min(dx, 255);
        const int stepY = std::min(dy, 255);
        out.append('\0');
        out.append('\2');
        out.append(static_cast<char>(stepX));
        out.append(static_cast<char>(stepY));
        dx -= stepX;
        dy -= stepY;
    }
}

} // namespace

QByteArray encodeRle8(const QByteArray& frame, const QByteArray* previous, int width, int height)
{
    QByteArray out;
    const auto* pixels = reinterpret_cast<const unsigned char*>(frame.constData());
    const auto* before = previous != nullptr ? reinterpret_cast<const unsigned char*>(previous->constData()) : nullptr;
    // Gaps of unchanged pixels shorter than this are cheaper to write again than to skip.
    constexpr int kShortestSkip = 4;
    int cursorX = 0;
    int cursorY = 0; // from the bottom
    for (int y = 0; y < height; ++y) {
        const qsizetype rowStart = static_cast<qsizetype>(height - 1 - y) * width;
        const unsigned char* row = pixels + rowStart;
        const auto changed = [&](int x) { return before == nullptr || before[rowStart + x] != row[x]; };
        int x = 0;
        while (x < width) {
            if (!changed(x)) {
                ++x;
                continue;
            }
            int end = x + 1;
            for (int gap = 0; end < width; ++end) {
                gap = changed(end) ? 0 : gap + 1;
                if (gap >= kShortestSkip) {
                    end -= gap - 1;
                    break;
                }
            }
            while (end > x && !changed(end - 1)) {
                --end;
            }
            // Move the decoder's cursor to (x, y): a delta moves only right and up.
            if (cursorY < y && x < cursorX) {
                out.append('\0');
                out.append('\0');
                cursorX = 0;
                ++cursorY;
            }
            appendDelta(out, x - cursorX, y - cursorY);
            encodeStretch(out, row, x, end);
            cursorX = end;
            cursorY = y;
            x = end;
        }
    }
    out.append('\0');
    out.append('\1');
    return out;
}

QByteArray writeAvi(const IndexedClip& clip)
{
    std::vector<QByteArray> chunks;
    for (size_t i = 0; i < clip.frames.size(); ++i) {
        chunks.push_back(encodeRle8(clip.frames[i], i == 0 ? nullptr : &clip.frames[i - 1], clip.width, clip.height));
    }
    quint32 largest = 0;
    for (const QByteArray& chunk : chunks) {
        largest = std::max(largest, static_cast<quint32>(chunk.size()));
    }
    const auto interval = static_cast<quint32>(clip.frameInterval.count());
    const auto frameCount = static_cast<quint32>(clip.frames.size());

    Bytes out;
    const qsizetype riff = out.begin("RIFF");
    out.fourcc("AVI ");

    const qsizetype headerList = out.beginList("hdrl");
    const qsizetype mainHeader = out.begin("avih");
    out.u32(interval);
    out.u32(interval > 0 ? static_cast<quint32>(static_cast<quint64>(largest) * 1000000U / interval) : 0);
    out.u32(0);
    out.u32(kAvifHasIndex);
    out.u32(frameCount);
    out.u32(0);
    out.u32(1);
    out.u32(largest);
    out.u32(static_cast<quint32>(clip.width));
    out.u32(static_cast<quint32>(clip.height));
    for (int i = 0; i < 4; ++i) {
        out.u32(0);
    }
    out.end(mainHeader);

    const qsizetype streamList = out.beginList("strl");
    const qsizetype streamHeader = out.begin("strh");
    out.fourcc("vids");
    out.u32(0);
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u32(0);
    out.u32(interval); // scale
    out.u32(1000000);  // rate
    out.u32(0);
    out.u32(frameCount);
    out.u32(largest);
    out.u32(0xFFFFFFFFU);
    out.u32(0);
    out.u16(0);
    out.u16(0);
    out.u16(static_cast<quint32>(clip.width));
    out.u16(static_cast<quint32>(clip.height));
    out.end(streamHeader);

    const qsizetype format = out.begin("strf");
    out.u32(40);
    out.u32(static_cast<quint32>(clip.width));
    out.u32(static_cast<quint32>(clip.height));
    out.u16(1);
    out.u16(8);
    out.u32(1); // BI_RLE8
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(static_cast<quint32>(clip.palette.size()));
    out.u32(0);
    for (const quint32 color : clip.palette) {
        out.u8(color);       // blue
        out.u8(color >> 8);  // green
        out.u8(color >> 16); // red
        out.u8(0);
    }
    out.end(format);
    out.end(streamList);
    out.end(headerList);

    const qsizetype movie = out.beginList("movi");
    const qsizetype movieStart = movie + 4; // offsets in the index count from the list's type
    struct Entry
    {
        quint32 offset;
        quint32 size;
    };
    std::vector<Entry> entries;
    for (const QByteArray& chunk : chunks) {
        entries.push_back({static_cast<quint32>(out.size() - movieStart), static_cast<quint32>(chunk.size())});
        const qsizetype at = out.begin("00dc");
        out.bytes(chunk);
        out.end(at);
    }
    out.end(movie);

    const qsizetype index = out.begin("idx1");
    for (size_t i = 0; i < entries.size(); ++i) {
        out.fourcc("00dc");
        out.u32(i == 0 ? kAviifKeyFrame : 0);
        out.u32(entries[i].offset);
        out.u32(entries[i].size);
    }
    out.end(index);
    out.end(riff);
    return out.data();
}

} // namespace clip
