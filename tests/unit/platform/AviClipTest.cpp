// The AVI reader on clips of the program's own writer, whole, patched, cut or damaged.

#include "platform/gui/AviClip.h"

#include "AviWriter.h"
#include "ClipDrawing.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// 6 × 4 pixels, top row first: runs, literal stretches, an unchanged frame and scattered changes.
clip::IndexedClip smallClip()
{
    clip::IndexedClip c{6, 4, std::chrono::microseconds(50000), {0xFF000000U, 0xFF808080U, 0xFFFFFFFFU}, {}};
    const QByteArray first("\x08\x09\x0a\x0b\x0c\x0c\0\0\0\0\x07\x07\x06\x06\0\0\0\0\x01\x02\x03\x04\x05\x06", 24);
    const QByteArray changed = QByteArray(first).replace(7, 1, "\x0d");
    c.frames = {first, changed, changed, QByteArray(changed).replace(18, 2, "\x0e\x0e").replace(5, 1, "\x02")};
    return c;
}

// The file with a little-endian value of size bytes written offset bytes into the body of the first chunk id.
QByteArray patched(QByteArray file, const char* id, int offset, qint64 value, int size = 4)
{
    const qsizetype at = file.indexOf(id) + 8 + offset;
    for (int i = 0; i < size; ++i) {
        file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return file;
}

} // namespace

// The frames drawn, with other streams' chunks passed over; the frame interval of the main header, else
// of the stream's rate, else a default; uncompressed rows padded to four bytes, bottom-up or top-down.
TEST(AviClip, decodesTheFramesPaletteAndTimingWritten)
{
    const auto drawn = clip::drawWritingPages();
    ASSERT_TRUE(drawn.has_value());
    const QByteArray small = clip::writeAvi(smallClip());
    clip::IndexedClip withoutThird = smallClip(); // the third frame is the second again
    withoutThird.frames.erase(withoutThird.frames.begin() + 2);
    const QByteArray audio = QByteArray(small).replace(
        small.indexOf("00dc", small.indexOf("00dc", small.indexOf("00dc") + 1) + 1), 4, "01wb");
    for (const auto& [written, file] :
         {std::pair(smallClip(), small),
          std::pair(*drawn, testsupport::bytes(testsupport::builtProgramFolder() + QStringLiteral("/list.avi"))),
          std::pair(withoutThird, audio)}) {
        const std::optional<AviClip> clip = AviClip::fromBytes(file).clip;
        ASSERT_TRUE(clip.has_value());
        EXPECT_EQ(std::pair(clip->width(), clip->height()), std::pair(written.width, written.height));
        EXPECT_EQ(clip->frameInterval(), written.frameInterval);
        EXPECT_TRUE(std::equal(written.palette.begin(), written.palette.end(), clip->palette().begin()));
        EXPECT_EQ(clip->palette().at(255), 0xFF000000U); // the rest are black
        ASSERT_EQ(clip->frameCount(), static_cast<qsizetype>(written.frames.size()));
        for (qsizetype i = 0; i < clip->frameCount(); ++i) {
            EXPECT_EQ(clip->frame(i), written.frames[static_cast<size_t>(i)]) << i;
        }
    }
    for (const auto& [scale, rate, expected] : {std::tuple(1, 8, 125000), std::tuple(0, 0, 100000)}) {
        const QByteArray timed = patched(patched(patched(small, "avih", 0, 0), "strh", 20, scale), "strh", 24, rate);
        EXPECT_EQ(AviClip::fromBytes(timed).clip.value().frameInterval().count(), expected);
    }
    clip::IndexedClip one{3, 2, std::chrono::microseconds(1), {}, {QByteArray("\x01\x02\x03\x04\x05\x06", 6)}};
    const QByteArray uncompressed = patched(clip::writeAvi(one), "strf", 16, 0);
    const QByteArray rows = uncompressed.mid(uncompressed.indexOf("00dc") + 8, 8);
    EXPECT_EQ(AviClip::fromBytes(uncompressed).clip.value().frame(0), rows.mid(4, 3) + rows.left(3));
    EXPECT_EQ(AviClip::fromBytes(patched(uncompressed, "strf", 8, -2)).clip.value().frame(0),
              rows.left(3) + rows.mid(4, 3));
}

TEST(AviClip, refusesBadOrCutInputWithItsError)
{
    const QByteArray good = clip::writeAvi(smallClip());
    const qsizetype frame = good.indexOf("00dc") + 8;
    const qsizetype frameEnd = frame + qFromLittleEndian<quint32>(good.constData() + frame - 4);
    const std::vector<std::tuple<const char*, QByteArray, AviError>> cases = {
        {"wave file", QByteArray(good).replace("AVI ", "WAVE"), AviError::NotAvi},
        {"riff size past the end", patched(good, "RIFF", -4, good.size()), AviError::Truncated},
        {"chunk size past the end", patched(good, "avih", -4, 100000), AviError::Truncated},
        {"no header list", QByteArray(good).replace("hdrl", "xxxx"), AviError::MissingHeader},
        {"no video stream", QByteArray(good).replace("vids", "auds"), AviError::MissingHeader},
        {"16-bit frames", patched(good, "strf", 14, 16, 2), AviError::UnsupportedFormat},
        {"too many colours", patched(good, "strf", 32, 300), AviError::UnsupportedFormat},
        {"zero width", patched(good, "strf", 4, 0), AviError::BadDimensions},
        {"huge negative height", patched(good, "strf", 8, 0x80000000), AviError::BadDimensions},
        {"top-down run-length", patched(good, "strf", 8, -4), AviError::BadDimensions},
        {"no frames", QByteArray(good).replace("00dc", "00xx"), AviError::NoFrames},
        {"absolute stretch past the data", QByteArray(good).replace(frame, 2, "\0\xff", 2), AviError::BadFrame},
        {"delta without its offsets", QByteArray(good).replace(frameEnd - 1, 1, "\2"), AviError::BadFrame},
        {"uncompressed rows past the data", patched(patched(good, "strf", 16, 0), "strf", 8, 9), AviError::BadFrame},
        {"frames beyond the memory limit", patched(patched(good, "strf", 4, 4096), "strf", 8, 4096),
         AviError::TooLarge},
    };
    for (const auto& [name, file, expected] : cases) {
        const AviClip::Result result = AviClip::fromBytes(file);
        EXPECT_TRUE(!result.clip && result.error == expected) << name << ": " << describe(result.error).toStdString();
    }
    EXPECT_EQ(AviClip::fromFile(testsupport::builtProgramFolder() + QStringLiteral("/none.avi")).error,
              AviError::CannotRead);

    // Cut anywhere, with a RIFF size that admits the cut, or with any one byte inverted, the clip
    // is refused or gives whole frames only.
    const QByteArray file = testsupport::bytes(testsupport::builtProgramFolder() + QStringLiteral("/list.avi"));
    for (qsizetype at = 12; at < file.size(); ++at) {
        EXPECT_FALSE(AviClip::fromBytes(QByteArrayView(file.constData(), at)).clip.has_value()) << at;
        for (const QByteArray& bytes : {patched(file.left(at), "RIFF", -4, at - 8),
                                        QByteArray(file).replace(at, 1, QByteArray(1, static_cast<char>(~file[at])))}) {
            const AviClip::Result result = AviClip::fromBytes(bytes);
            ASSERT_EQ(result.clip.has_value(), result.error == AviError::None) << at;
            for (qsizetype f = 0; result.clip && f < result.clip->frameCount(); ++f) {
                ASSERT_EQ(result.clip->frame(f).size(), result.clip->bytesPerLine() * result.clip->height()) << at;
            }
        }
    }
}
