#include "platform/gui/AviClip.h"

#include "AviWriter.h"
#include "ClipDrawing.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <random>

using platform::AviClip;
using platform::AviError;

namespace {

// A small RIFF writer of its own, so that these tests do not lean on the clip tool's writer.
QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (const int v : values) {
        b.append(static_cast<char>(v));
    }
    return b;
}

QByteArray chunk(const char* id, const QByteArray& body)
{
    return QByteArray(id, 4) + le32(static_cast<quint32>(body.size())) + body + QByteArray(body.size() % 2, '\0');
}

QByteArray list(const char* type, const QByteArray& body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}

QByteArray riff(const QByteArray& body)
{
    return "RIFF" + le32(static_cast<quint32>(body.size() + 4)) + "AVI " + body;
}

QByteArray mainHeader(quint32 microsecondsPerFrame)
{
    return le32(microsecondsPerFrame) + QByteArray(52, '\0');
}

QByteArray streamHeader(const char* type, quint32 scale = 1, quint32 rate = 20)
{
    return QByteArray(type, 4) + QByteArray(16, '\0') + le32(scale) + le32(rate) + QByteArray(28, '\0');
}

QByteArray bitmapFormat(qint32 width, qint32 height, int bits, quint32 compression,
                        const std::vector<quint32>& palette = {}, quint32 colorsUsed = 0)
{
    QByteArray b = le32(40) + le32(static_cast<quint32>(width)) + le32(static_cast<quint32>(height)) +
                   le32(1U | static_cast<quint32>(bits) << 16) + le32(compression) + QByteArray(12, '\0') +
                   le32(colorsUsed) + le32(0);
    for (const quint32 c : palette) {
        b.append(le32(c & 0xFFFFFFU)); // blue, green, red, 0
    }
    return b;
}

QByteArray headerList(const QByteArray& format, quint32 microsecondsPerFrame = 50000, quint32 scale = 1,
                      quint32 rate = 20)
{
    return list("hdrl", chunk("avih", mainHeader(microsecondsPerFrame)) +
                            list("strl", chunk("strh", streamHeader("vids", scale, rate)) + chunk("strf", format)));
}

QByteArray avi(const QByteArray& format, const QList<QByteArray>& frames, const char* id = "00dc")
{
    QByteArray movie;
    for (const QByteArray& f : frames) {
        movie += chunk(id, f);
    }
    return riff(headerList(format) + list("movi", movie));
}

AviClip loaded(const QByteArray& file)
{
    AviClip::Result result = AviClip::fromBytes(file);
    EXPECT_EQ(result.error, AviError::None) << platform::describe(result.error).toStdString();
    if (!result.clip) {
        ADD_FAILURE() << "no clip";
        return AviClip::fromBytes(avi(bitmapFormat(1, 1, 8, 0), {QByteArray(4, '\0')}, "00db")).clip.value();
    }
    return *std::move(result.clip);
}

const std::vector<quint32> kGreys = {0x000000, 0x808080, 0xFFFFFF};

} // namespace

// Width 6, height 4; every frame of run-length data names only what it changes.
TEST(AviClipRle8, decodesRunsAbsoluteStretchesLineEndsDeltasAndBitmapEnd)
{
    const QByteArray keyFrame = bytes({
        3, 1,  0, 3, 2,  3,  4, 0, // bottom row: a run of three, then three absolute pixels and their pad byte
        0, 0,                      // end of line
        2, 6,                      // second row: a run of two
        0, 2,  2, 1,               // delta: two right, one up
        2, 7,                      // third row from x = 4
        0, 0,                      // end of line
        0, 4,  8, 9, 10, 11,       // top row: four absolute pixels, no pad
        2, 12,                     //
        0, 1,                      // end of bitmap
        5, 99,                     // after the end: ignored
    });
    const QByteArray deltaFrame = bytes({0, 2, 1, 2, 1, 13, 0, 1});
    const QByteArray unterminated = bytes({2, 14});

    const AviClip clip =
        loaded(avi(bitmapFormat(6, 4, 8, 1, kGreys), {keyFrame, deltaFrame, QByteArray(), unterminated}));
    ASSERT_EQ(clip.frameCount(), 4);
    EXPECT_EQ(clip.width(), 6);
    EXPECT_EQ(clip.height(), 4);
    EXPECT_EQ(clip.bytesPerLine(), 6);
    EXPECT_EQ(clip.frame(0), bytes({8, 9, 10, 11, 12, 12, //
                                    0, 0, 0,  0,  7,  7,  //
                                    6, 6, 0,  0,  0,  0,  //
                                    1, 1, 1,  2,  3,  4}));
    QByteArray changed = clip.frame(0);
    changed[7] = 13;
    EXPECT_EQ(clip.frame(1), changed);
    EXPECT_EQ(clip.frame(2), changed); // an empty chunk repeats the frame before
    changed[18] = changed[19] = 14;
    EXPECT_EQ(clip.frame(3), changed);

    // A run longer than the row and a delta far beyond the frame lose the pixels outside it.
    const AviClip clipped = loaded(avi(bitmapFormat(3, 2, 8, 1, kGreys), {bytes({10, 5, 0, 2, 200, 200, 3, 9, 0, 1})}));
    EXPECT_EQ(clipped.frame(0), bytes({0, 0, 0, 5, 5, 5}));
}

TEST(AviClipUncompressed, readsRowsInEitherOrderWithTheirPadding)
{
    struct Case
    {
        const char* name;
        QByteArray format;
        QByteArray data;
        QByteArray expected;
    };
    const std::vector<Case> cases = {
        // Width 3: every row is padded to four bytes.
        {"bottom-up", bitmapFormat(3, 2, 8, 0, kGreys), bytes({1, 2, 3, 0xEE, 4, 5, 6, 0xEE}),
         bytes({4, 5, 6, 1, 2, 3})},
        {"top-down", bitmapFormat(3, -2, 8, 0, kGreys), bytes({1, 2, 3, 0, 4, 5, 6, 0}), bytes({1, 2, 3, 4, 5, 6})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AviClip clip = loaded(avi(c.format, {c.data, QByteArray()}, "00db"));
        EXPECT_EQ(clip.height(), 2);
        ASSERT_EQ(clip.frameCount(), 2);
        EXPECT_EQ(clip.frame(0), c.expected);
        EXPECT_EQ(clip.frame(1), c.expected);
    }
    // 256 colours announced (count 0), three present: the rest are black.
    const AviClip clip = loaded(avi(bitmapFormat(1, 1, 8, 0, kGreys), {bytes({1, 0, 0, 0})}, "00db"));
    EXPECT_EQ(std::vector<quint32>(clip.palette().begin(), clip.palette().begin() + 4),
              (std::vector<quint32>{0xFF000000U, 0xFF808080U, 0xFFFFFFFFU, 0xFF000000U}));
    EXPECT_EQ(clip.palette().size(), 256U);
}

TEST(AviClipTiming, takesTheMainHeaderThenTheStreamRateThenADefault)
{
    const std::vector<std::array<quint32, 4>> cases = {{66666, 1, 10, 66666}, {0, 1, 8, 125000}, {0, 0, 0, 100000}};
    for (const auto& [main, scale, rate, expected] : cases) {
        SCOPED_TRACE(main);
        const QByteArray header = headerList(bitmapFormat(1, 1, 8, 0, kGreys), main, scale, rate);
        const AviClip clip = loaded(riff(header + list("movi", chunk("00db", bytes({0, 0, 0, 0})))));
        EXPECT_EQ(clip.frameInterval().count(), expected);
    }
}

TEST(AviClipStreams, takesTheFirstVideoStreamAndItsChunksOnly)
{
    const QByteArray header =
        list("hdrl",
             chunk("avih", mainHeader(40000)) +
                 list("strl", chunk("strh", streamHeader("auds")) + chunk("strf", QByteArray(18, 1))) +
                 list("strl", chunk("strh", streamHeader("vids")) + chunk("strf", bitmapFormat(2, 1, 8, 0, kGreys))));
    const QByteArray movie = list("movi", chunk("01wb", QByteArray(100, 7)) + chunk("00db", bytes({9, 9, 0, 0})) +
                                              list("rec ", chunk("01db", bytes({1, 2, 0, 0}))) +
                                              chunk("JUNK", QByteArray(3, 0)) + chunk("01dc", bytes({3, 4, 0, 0})));
    const AviClip clip = loaded(riff(header + movie + chunk("idx1", QByteArray(32, 0))));
    ASSERT_EQ(clip.frameCount(), 2);
    EXPECT_EQ(clip.frame(0), bytes({1, 2}));
    EXPECT_EQ(clip.frame(1), bytes({3, 4}));
}

TEST(AviClipBroken, givesAnErrorForEveryKindOfBadInput)
{
    const QByteArray rle = bitmapFormat(4, 2, 8, 1, kGreys);
    const QByteArray good = avi(rle, {bytes({4, 1, 0, 1})});
    QByteArray lyingRiff = good;
    lyingRiff.replace(4, 4, le32(static_cast<quint32>(good.size())));
    const auto streams = [&](const QByteArray& avih, const char* type) {
        return riff(
            list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", streamHeader(type)) + chunk("strf", rle))));
    };
    const std::vector<std::tuple<const char*, QByteArray, AviError>> cases = {
        {"empty", QByteArray(), AviError::NotAvi},
        {"wave file", "RIFF" + le32(4) + "WAVE", AviError::NotAvi},
        {"riff size past the end", lyingRiff, AviError::Truncated},
        {"chunk size past the end", riff(list("hdrl", "avih" + le32(1000) + mainHeader(1))), AviError::Truncated},
        {"no header list", riff(list("movi", chunk("00dc", bytes({0, 1})))), AviError::MissingHeader},
        {"frames before the header", riff(list("movi", chunk("00dc", bytes({0, 1}))) + headerList(rle)),
         AviError::MissingHeader},
        {"short main header", streams(QByteArray(20, 0), "vids"), AviError::MissingHeader},
        {"no video stream", streams(mainHeader(1), "auds"), AviError::MissingHeader},
        {"short format", avi(rle.left(30), {}), AviError::MissingHeader},
        {"format size beyond its chunk", avi(le32(400) + rle.mid(4, 36), {}), AviError::MissingHeader},
        {"16-bit frames", avi(bitmapFormat(4, 2, 16, 0), {}), AviError::UnsupportedFormat},
        {"24-bit frames", avi(bitmapFormat(4, 2, 24, 0), {}), AviError::UnsupportedFormat},
        {"too many colours", avi(bitmapFormat(4, 2, 8, 1, kGreys, 300), {}), AviError::UnsupportedFormat},
        {"zero width", avi(bitmapFormat(0, 2, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"huge width", avi(bitmapFormat(0x7FFFFFFF, 2, 8, 0, kGreys), {}), AviError::BadDimensions},
        {"huge negative height", avi(bitmapFormat(4, -0x7FFFFFFF - 1, 8, 0, kGreys), {}), AviError::BadDimensions},
        {"top-down run-length", avi(bitmapFormat(4, -2, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"no frames", avi(rle, {}), AviError::NoFrames},
        {"uncompressed frame too short", avi(bitmapFormat(4, 2, 8, 0, kGreys), {bytes({1, 2, 3, 4, 5})}, "00db"),
         AviError::BadFrame},
        {"absolute stretch past the data", avi(rle, {bytes({0, 5, 1, 2})}), AviError::BadFrame},
        {"delta without its offsets", avi(rle, {bytes({0, 2, 1})}), AviError::BadFrame},
        {"frames beyond the memory limit", avi(bitmapFormat(4096, 4096, 8, 1, kGreys), QList<QByteArray>(5)),
         AviError::TooLarge},
    };
    for (const auto& [name, file, expected] : cases) {
        SCOPED_TRACE(name);
        const AviClip::Result result = AviClip::fromBytes(file);
        EXPECT_FALSE(result.clip.has_value());
        EXPECT_EQ(result.error, expected) << platform::describe(result.error).toStdString();
    }
    EXPECT_TRUE(AviClip::fromBytes(good).clip.has_value());

    QTemporaryDir folder;
    EXPECT_EQ(AviClip::fromFile(folder.filePath(QStringLiteral("none.avi"))).error, AviError::CannotRead);
    EXPECT_EQ(AviClip::fromFile(folder.path()).error, AviError::CannotRead);
}

namespace {

QByteArray builtClipBytes()
{
    QFile file(testsupport::builtProgramFolder() + QDir::separator() + QStringLiteral("list.avi"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    return file.readAll();
}

} // namespace

// The clip the build wrote (run-length encoded), and the same drawing written uncompressed.
TEST(AviClipBuilt, theProgramsClipHoldsTheDrawnFramesExactly)
{
    const auto drawn = clip::drawWritingPages();
    ASSERT_TRUE(drawn.has_value());
    for (const QByteArray& file : {builtClipBytes()}) {
        const AviClip clip = loaded(file);
        EXPECT_EQ(clip.width(), 80);
        EXPECT_EQ(clip.height(), 60);
        EXPECT_EQ(clip.frameInterval().count(), 100000);
        EXPECT_EQ(clip.palette()[0], 0xFFF0F0F0U); // the background
        EXPECT_EQ(clip.palette()[1], 0xFFFFFFFFU); // the paper
        EXPECT_TRUE(std::equal(drawn->palette.begin(), drawn->palette.end(), clip.palette().begin()));
        ASSERT_EQ(clip.frameCount(), 24);
        for (qsizetype i = 0; i < clip.frameCount(); ++i) {
            EXPECT_EQ(clip.frame(i), drawn->frames[static_cast<size_t>(i)]) << i;
        }
        // It moves: the pen has gone on between the first frames, and a page slides away at the end.
        EXPECT_NE(clip.frame(0), clip.frame(1));
        EXPECT_NE(clip.frame(22), clip.frame(23));
    }
}

// Cut anywhere, the clip is refused; with a RIFF size that admits the cut, it is
// refused or gives whole frames only.
TEST(AviClipBuilt, everyTruncationOfTheClipIsRefusedOrGivesWholeFrames)
{
    const QByteArray file = builtClipBytes();
    ASSERT_GT(file.size(), 100);
    int refused = 0;
    for (qsizetype length = 0; length < file.size(); ++length) {
        const AviClip::Result lying = AviClip::fromBytes(QByteArrayView(file.constData(), length));
        ASSERT_FALSE(lying.clip.has_value()) << length;
        ASSERT_NE(lying.error, AviError::None) << length;
        if (length < 12) {
            continue;
        }
        QByteArray cut = file.left(length);
        cut.replace(4, 4, le32(static_cast<quint32>(length - 8)));
        const AviClip::Result honest = AviClip::fromBytes(cut);
        if (!honest.clip) {
            ASSERT_NE(honest.error, AviError::None) << length;
            ++refused;
            continue;
        }
        ASSERT_LE(honest.clip->frameCount(), 24) << length;
        for (qsizetype f = 0; f < honest.clip->frameCount(); ++f) {
            ASSERT_EQ(honest.clip->frame(f).size(), 80 * 60) << length;
        }
    }
    // Only a cut between two chunks leaves a readable clip.
    EXPECT_GT(refused, file.size() * 9 / 10);
}

TEST(AviClipBuilt, damagedBytesNeverGiveAFrameOfTheWrongSize)
{
    const QByteArray original = builtClipBytes();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<qsizetype> position(0, original.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = original;
        for (int i = 0; i < 1 + round % 8; ++i) {
            damaged[position(random)] = static_cast<char>(value(random));
        }
        const AviClip::Result result = AviClip::fromBytes(damaged);
        ASSERT_EQ(result.clip.has_value(), result.error == AviError::None);
        for (qsizetype f = 0; result.clip && f < result.clip->frameCount(); ++f) {
            ASSERT_EQ(result.clip->frame(f).size(), result.clip->bytesPerLine() * result.clip->height());
        }
    }
}
