#include "platform/AviClip.h"

#include "AviWriter.h"
#include "ClipDrawing.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using platform::AviClip;
using platform::AviError;

namespace {

// A small RIFF writer of its own, so that these tests do not lean on the clip tool's writer.
QByteArray le32(quint32 v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i) {
        b.append(static_cast<char>((v >> (8 * i)) & 0xFFU));
    }
    return b;
}

QByteArray le16(quint32 v)
{
    return le32(v).left(2);
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
    QByteArray c = QByteArray(id, 4) + le32(static_cast<quint32>(body.size())) + body;
    if (body.size() % 2 != 0) {
        c.append('\0');
    }
    return c;
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
    QByteArray b = le32(microsecondsPerFrame);
    b.append(QByteArray(52, '\0'));
    return b;
}

QByteArray streamHeader(const char* type, quint32 scale, quint32 rate)
{
    QByteArray b = QByteArray(type, 4) + QByteArray(16, '\0') + le32(scale) + le32(rate);
    b.append(QByteArray(56 - b.size(), '\0'));
    return b;
}

QByteArray bitmapFormat(qint32 width, qint32 height, int bits, quint32 compression,
                        const std::vector<quint32>& palette = {}, quint32 colorsUsed = 0)
{
    QByteArray b = le32(40) + le32(static_cast<quint32>(width)) + le32(static_cast<quint32>(height)) + le16(1) +
                   le16(static_cast<quint32>(bits)) + le32(compression) + le32(0) + le32(0) + le32(0) +
                   le32(colorsUsed) + le32(0);
    for (const quint32 c : palette) {
        b.append(bytes(
            {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF), 0}));
    }
    return b;
}

QByteArray headerList(const QByteArray& format, quint32 microsecondsPerFrame = 50000)
{
    return list("hdrl", chunk("avih", mainHeader(microsecondsPerFrame)) +
                            list("strl", chunk("strh", streamHeader("vids", 1, 20)) + chunk("strf", format)));
}

QByteArray avi(const QByteArray& format, const QList<QByteArray>& frames, const char* id = "00dc")
{
    QByteArray movie;
    for (const QByteArray& f : frames) {
        movie += chunk(id, f);
    }
    return riff(headerList(format) + list("movi", movie));
}

QByteArray frameOf(std::initializer_list<int> topDownPixels)
{
    return bytes(topDownPixels);
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
    const QByteArray emptyFrame;
    const QByteArray unterminated = bytes({2, 14});

    const AviClip clip =
        loaded(avi(bitmapFormat(6, 4, 8, 1, kGreys), {keyFrame, deltaFrame, emptyFrame, unterminated}));
    ASSERT_EQ(clip.frameCount(), 4);
    EXPECT_EQ(clip.width(), 6);
    EXPECT_EQ(clip.height(), 4);
    EXPECT_EQ(clip.bitsPerPixel(), 8);
    EXPECT_EQ(clip.bytesPerLine(), 6);
    EXPECT_EQ(clip.frame(0), frameOf({8, 9, 10, 11, 12, 12, //
                                      0, 0, 0,  0,  7,  7,  //
                                      6, 6, 0,  0,  0,  0,  //
                                      1, 1, 1,  2,  3,  4}));
    EXPECT_EQ(clip.frame(1), frameOf({8, 9,  10, 11, 12, 12, //
                                      0, 13, 0,  0,  7,  7,  //
                                      6, 6,  0,  0,  0,  0,  //
                                      1, 1,  1,  2,  3,  4}));
    EXPECT_EQ(clip.frame(2), clip.frame(1));
    EXPECT_EQ(clip.frame(3), frameOf({8,  9,  10, 11, 12, 12, //
                                      0,  13, 0,  0,  7,  7,  //
                                      6,  6,  0,  0,  0,  0,  //
                                      14, 14, 1,  2,  3,  4}));
}

TEST(AviClipRle8, dropsPixelsOutsideTheFrame)
{
    const QByteArray data = bytes({
        10,
        5, // a run longer than the row
        0,
        2,
        200,
        200, // a delta far beyond the frame
        3,
        9, //
        0,
        1,
    });
    const AviClip clip = loaded(avi(bitmapFormat(3, 2, 8, 1, kGreys), {data}));
    EXPECT_EQ(clip.frame(0), frameOf({0, 0, 0, 5, 5, 5}));
}

TEST(AviClipUncompressed, readsBottomUpRowsWithTheirPadding)
{
    // Width 3: every row is padded to four bytes.
    const QByteArray data = bytes({1, 2, 3, 0xEE, 4, 5, 6, 0xEE});
    const AviClip clip = loaded(avi(bitmapFormat(3, 2, 8, 0, kGreys), {data}, "00db"));
    EXPECT_EQ(clip.frame(0), frameOf({4, 5, 6, 1, 2, 3}));
}

TEST(AviClipUncompressed, readsTopDownRowsWhenTheHeightIsNegative)
{
    const QByteArray data = bytes({1, 2, 3, 0, 4, 5, 6, 0});
    const AviClip clip = loaded(avi(bitmapFormat(3, -2, 8, 0, kGreys), {data}, "00db"));
    EXPECT_EQ(clip.height(), 2);
    EXPECT_EQ(clip.frame(0), frameOf({1, 2, 3, 4, 5, 6}));
}

TEST(AviClipUncompressed, readsTwentyFourBitFramesAsRedGreenBlue)
{
    // Width 2: six bytes of blue, green, red per row, padded to eight.
    const QByteArray data = bytes({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    const AviClip clip = loaded(avi(bitmapFormat(2, 2, 24, 0), {data}, "00db"));
    EXPECT_EQ(clip.bitsPerPixel(), 24);
    EXPECT_TRUE(clip.palette().empty());
    EXPECT_EQ(clip.bytesPerLine(), 6);
    EXPECT_EQ(clip.frame(0), frameOf({9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}));
}

TEST(AviClipUncompressed, anEmptyChunkRepeatsTheFrameBefore)
{
    const QByteArray data = bytes({1, 2, 0, 0});
    const AviClip clip = loaded(avi(bitmapFormat(2, 1, 8, 0, kGreys), {data, QByteArray()}, "00db"));
    ASSERT_EQ(clip.frameCount(), 2);
    EXPECT_EQ(clip.frame(1), frameOf({1, 2}));
}

TEST(AviClipPalette, takesTheUsedColoursAndFillsTheRestWithBlack)
{
    const AviClip clip =
        loaded(avi(bitmapFormat(1, 1, 8, 0, {0x123456, 0xABCDEF, 0x00FF00}, 3), {bytes({2, 0, 0, 0})}, "00db"));
    ASSERT_EQ(clip.palette().size(), 256U);
    EXPECT_EQ(clip.palette()[0], 0xFF123456U);
    EXPECT_EQ(clip.palette()[1], 0xFFABCDEFU);
    EXPECT_EQ(clip.palette()[2], 0xFF00FF00U);
    EXPECT_EQ(clip.palette()[3], 0xFF000000U);
    EXPECT_EQ(clip.palette()[255], 0xFF000000U);
}

TEST(AviClipPalette, aFormatShorterThanItsColourCountKeepsWhatItHolds)
{
    // 256 colours announced (count 0), two present.
    const AviClip clip = loaded(avi(bitmapFormat(1, 1, 8, 0, {0x111111, 0x222222}, 0), {bytes({1, 0, 0, 0})}, "00db"));
    EXPECT_EQ(clip.palette()[1], 0xFF222222U);
    EXPECT_EQ(clip.palette()[2], 0xFF000000U);
}

TEST(AviClipTiming, takesTheMainHeaderThenTheStreamRateThenADefault)
{
    struct Case
    {
        quint32 mainHeader;
        quint32 scale;
        quint32 rate;
        long long expected;
    };
    for (const Case c : {Case{66666, 1, 10, 66666}, Case{0, 1, 8, 125000}, Case{0, 0, 0, 100000}}) {
        SCOPED_TRACE(c.mainHeader);
        const QByteArray header = list("hdrl", chunk("avih", mainHeader(c.mainHeader)) +
                                                   list("strl", chunk("strh", streamHeader("vids", c.scale, c.rate)) +
                                                                    chunk("strf", bitmapFormat(1, 1, 8, 0, kGreys))));
        const AviClip clip = loaded(riff(header + list("movi", chunk("00db", bytes({0, 0, 0, 0})))));
        EXPECT_EQ(clip.frameInterval().count(), c.expected);
    }
}

TEST(AviClipStreams, takesTheFirstVideoStreamAndItsChunksOnly)
{
    const QByteArray header =
        list("hdrl", chunk("avih", mainHeader(40000)) +
                         list("strl", chunk("strh", streamHeader("auds", 1, 8000)) + chunk("strf", QByteArray(18, 1))) +
                         list("strl", chunk("strh", streamHeader("vids", 1, 25)) +
                                          chunk("strf", bitmapFormat(2, 1, 8, 0, kGreys))));
    const QByteArray movie = list("movi", chunk("01wb", QByteArray(100, 7)) + chunk("00db", bytes({9, 9, 0, 0})) +
                                              list("rec ", chunk("01db", bytes({1, 2, 0, 0}))) +
                                              chunk("JUNK", QByteArray(3, 0)) + chunk("01dc", bytes({3, 4, 0, 0})));
    const AviClip clip = loaded(riff(header + movie + chunk("idx1", QByteArray(32, 0))));
    ASSERT_EQ(clip.frameCount(), 2);
    EXPECT_EQ(clip.frame(0), frameOf({1, 2}));
    EXPECT_EQ(clip.frame(1), frameOf({3, 4}));
}

TEST(AviClipBroken, givesAnErrorForEveryKindOfBadInput)
{
    const QByteArray rle = bitmapFormat(4, 2, 8, 1, kGreys);
    const QByteArray good = avi(rle, {bytes({4, 1, 0, 1})});
    QByteArray lyingRiff = good;
    lyingRiff.replace(4, 4, le32(static_cast<quint32>(good.size())));
    QByteArray lyingChunk = riff(list("hdrl", "avih" + le32(1000) + mainHeader(1)));
    QByteArray wrongType = good;
    wrongType.replace(8, 4, "WAVE");
    QByteArray wrongMagic = good;
    wrongMagic.replace(0, 4, "RIFX");

    struct Case
    {
        const char* name;
        QByteArray file;
        AviError expected;
    };
    const QList<Case> cases = {
        {"empty", QByteArray(), AviError::NotAvi},
        {"riff only", QByteArray("RIFF"), AviError::NotAvi},
        {"wrong magic", wrongMagic, AviError::NotAvi},
        {"wave file", wrongType, AviError::NotAvi},
        {"riff size past the end", lyingRiff, AviError::Truncated},
        {"chunk size past the end", lyingChunk, AviError::Truncated},
        {"half a chunk header", riff(QByteArray("LIS")), AviError::Truncated},
        {"no header list", riff(list("movi", chunk("00dc", bytes({0, 1})))), AviError::MissingHeader},
        {"frames before the header", riff(list("movi", chunk("00dc", bytes({0, 1}))) + headerList(rle)),
         AviError::MissingHeader},
        {"short main header",
         riff(list("hdrl", chunk("avih", QByteArray(20, 0)) +
                               list("strl", chunk("strh", streamHeader("vids", 1, 1)) + chunk("strf", rle)))),
         AviError::MissingHeader},
        {"no video stream",
         riff(list("hdrl", chunk("avih", mainHeader(1)) +
                               list("strl", chunk("strh", streamHeader("auds", 1, 1)) + chunk("strf", rle)))),
         AviError::MissingHeader},
        {"short format", avi(rle.left(30), {}), AviError::MissingHeader},
        {"format size beyond its chunk", avi(le32(400) + rle.mid(4, 36), {}), AviError::MissingHeader},
        {"16-bit frames", avi(bitmapFormat(4, 2, 16, 0), {}), AviError::UnsupportedFormat},
        {"RLE4 frames", avi(bitmapFormat(4, 2, 4, 2, kGreys), {}), AviError::UnsupportedFormat},
        {"24-bit run-length", avi(bitmapFormat(4, 2, 24, 1), {}), AviError::UnsupportedFormat},
        {"too many colours", avi(bitmapFormat(4, 2, 8, 1, kGreys, 300), {}), AviError::UnsupportedFormat},
        {"zero width", avi(bitmapFormat(0, 2, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"negative width", avi(bitmapFormat(-4, 2, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"zero height", avi(bitmapFormat(4, 0, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"huge width", avi(bitmapFormat(0x7FFFFFFF, 2, 8, 0, kGreys), {}), AviError::BadDimensions},
        {"huge negative height", avi(bitmapFormat(4, -0x7FFFFFFF - 1, 8, 0, kGreys), {}), AviError::BadDimensions},
        {"top-down run-length", avi(bitmapFormat(4, -2, 8, 1, kGreys), {}), AviError::BadDimensions},
        {"no frames", avi(rle, {}), AviError::NoFrames},
        {"uncompressed frame too short", avi(bitmapFormat(4, 2, 8, 0, kGreys), {bytes({1, 2, 3, 4, 5})}, "00db"),
         AviError::BadFrame},
        {"absolute stretch past the data", avi(rle, {bytes({0, 5, 1, 2})}), AviError::BadFrame},
        {"delta without its offsets", avi(rle, {bytes({0, 2, 1})}), AviError::BadFrame},
        {"frames beyond the memory limit",
         avi(bitmapFormat(4096, 4096, 8, 1, kGreys),
             {QByteArray(), QByteArray(), QByteArray(), QByteArray(), QByteArray()}),
         AviError::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AviClip::Result result = AviClip::fromBytes(c.file);
        EXPECT_FALSE(result.clip.has_value());
        EXPECT_EQ(result.error, c.expected) << platform::describe(result.error).toStdString();
    }
    EXPECT_TRUE(AviClip::fromBytes(good).clip.has_value());
}

TEST(AviClipFile, aMissingFileOrAFolderCannotBeRead)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(AviClip::fromFile(folder.filePath(QStringLiteral("none.avi"))).error, AviError::CannotRead);
    EXPECT_EQ(AviClip::fromFile(folder.path()).error, AviError::CannotRead);
}

namespace {

QString builtClipPath()
{
    return testsupport::builtProgramFolder() + QDir::separator() + QStringLiteral("list.avi");
}

QByteArray builtClipBytes()
{
    QFile file(builtClipPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << builtClipPath().toStdString();
    return file.readAll();
}

// The escapes that the run-length chunks of a file use: 0 end of line,
// 1 end of bitmap, 2 delta, 3 absolute stretch, 4 run.
std::array<int, 5> rleOperations(const QByteArray& file)
{
    std::array<int, 5> counts{};
    qsizetype at = 0;
    while ((at = file.indexOf("00dc", at)) >= 0) {
        const auto size = static_cast<qsizetype>(static_cast<unsigned char>(file[at + 4]) |
                                                 static_cast<unsigned char>(file[at + 5]) << 8);
        const auto* data = reinterpret_cast<const unsigned char*>(file.constData() + at + 8);
        if (at + 8 + size > file.size() || file.mid(at - 4, 4) == "idx1") {
            break;
        }
        for (qsizetype p = 0; p + 1 < size;) {
            const int count = data[p];
            const int value = data[p + 1];
            p += 2;
            if (count > 0) {
                ++counts[4];
            } else if (value == 0 || value == 1) {
                ++counts[static_cast<size_t>(value)];
            } else if (value == 2) {
                ++counts[2];
                p += 2;
            } else {
                ++counts[3];
                p += value + (value & 1);
            }
        }
        at += 8 + size;
    }
    return counts;
}

} // namespace

TEST(AviClipBuilt, theProgramsClipHoldsTheDrawnFramesExactly)
{
    const auto drawn = clip::drawWritingPages();
    ASSERT_TRUE(drawn.has_value());
    const AviClip::Result result = AviClip::fromFile(builtClipPath());
    ASSERT_TRUE(result.clip.has_value()) << platform::describe(result.error).toStdString();
    const AviClip& clip = *result.clip;
    EXPECT_EQ(clip.width(), 80);
    EXPECT_EQ(clip.height(), 60);
    EXPECT_EQ(clip.frameCount(), 24);
    EXPECT_EQ(clip.frameInterval().count(), 100000);
    EXPECT_EQ(clip.palette()[0], 0xFFF0F0F0U); // the background
    EXPECT_EQ(clip.palette()[1], 0xFFFFFFFFU); // the paper
    for (size_t i = 0; i < drawn->palette.size(); ++i) {
        EXPECT_EQ(clip.palette()[i], drawn->palette[i]);
    }
    ASSERT_EQ(static_cast<size_t>(clip.frameCount()), drawn->frames.size());
    for (qsizetype i = 0; i < clip.frameCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(clip.frame(i), drawn->frames[static_cast<size_t>(i)]);
    }
    // It moves: the pen has gone on between the first frames, and a page slides away at the end.
    EXPECT_NE(clip.frame(0), clip.frame(1));
    EXPECT_NE(clip.frame(22), clip.frame(23));
}

TEST(AviClipBuilt, theProgramsClipUsesEveryRunLengthEscape)
{
    const std::array<int, 5> counts = rleOperations(builtClipBytes());
    EXPECT_GT(counts[0], 0) << "end of line";
    EXPECT_EQ(counts[1], 24) << "end of bitmap, once a frame";
    EXPECT_GT(counts[2], 0) << "delta";
    EXPECT_GT(counts[3], 0) << "absolute stretch";
    EXPECT_GT(counts[4], 0) << "run";
}

TEST(AviClipBuilt, theUncompressedFormOfTheClipReadsTheSame)
{
    const auto drawn = clip::drawWritingPages();
    ASSERT_TRUE(drawn.has_value());
    const AviClip clip = loaded(clip::writeAvi(*drawn, clip::Encoding::Uncompressed));
    ASSERT_EQ(clip.frameCount(), 24);
    for (qsizetype i = 0; i < clip.frameCount(); ++i) {
        EXPECT_EQ(clip.frame(i), drawn->frames[static_cast<size_t>(i)]);
    }
}

TEST(AviClipBuilt, everyTruncationOfTheClipIsRefused)
{
    const QByteArray file = builtClipBytes();
    ASSERT_GT(file.size(), 100);
    for (qsizetype length = 0; length < file.size(); ++length) {
        const AviClip::Result result = AviClip::fromBytes(QByteArrayView(file.constData(), length));
        ASSERT_FALSE(result.clip.has_value()) << length;
        ASSERT_NE(result.error, AviError::None) << length;
    }
}

TEST(AviClipBuilt, truncationsWithAnHonestRiffSizeGiveAnErrorOrTheWholeFramesBeforeTheCut)
{
    const QByteArray file = builtClipBytes();
    int refused = 0;
    for (qsizetype length = 12; length < file.size(); ++length) {
        QByteArray cut = file.left(length);
        cut.replace(4, 4, le32(static_cast<quint32>(length - 8)));
        const AviClip::Result result = AviClip::fromBytes(cut);
        if (!result.clip) {
            ASSERT_NE(result.error, AviError::None) << length;
            ++refused;
            continue;
        }
        // Only a cut between two chunks leaves a readable clip.
        ASSERT_LE(result.clip->frameCount(), 24) << length;
        for (qsizetype f = 0; f < result.clip->frameCount(); ++f) {
            ASSERT_EQ(result.clip->frame(f).size(), 80 * 60) << length;
        }
    }
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
        if (result.clip) {
            for (qsizetype f = 0; f < result.clip->frameCount(); ++f) {
                ASSERT_EQ(result.clip->frame(f).size(), result.clip->bytesPerLine() * result.clip->height());
            }
        } else {
            ASSERT_NE(result.error, AviError::None);
        }
    }
}
