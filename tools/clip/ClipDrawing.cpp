#include "ClipDrawing.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <array>

namespace clip {

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 60;
constexpr int kLines = 4;
constexpr int kFramesPerLine = 5;
constexpr int kSlideFrames = 4;
constexpr int kFrameCount = kLines * kFramesPerLine + kSlideFrames;

// The colours of the clip, in palette order; the first is the background.
const std::array<QRgb, 9> kColors = {
    qRgb(240, 240, 240), // background
    qRgb(255, 255, 255), // paper
    qRgb(120, 120, 120), // page edge
    qRgb(30, 50, 140),   // ink
    qRgb(200, 40, 40),   // pen barrel
    qRgb(40, 40, 40),    // pen nib
    qRgb(205, 205, 205), // shade of the stacked pages
    qRgb(250, 210, 60),  // band on the pen
    qRgb(190, 210, 240), // ruling of the paper
};
enum Color
{
    Background,
    Paper,
    Edge,
    Ink,
    Barrel,
    Nib,
    Shade,
    Band,
    Ruling,
};

QColor color(Color c)
{
    return QColor::fromRgb(kColors[c]);
}

constexpr int kPageLeft = 36;
constexpr int kPageTop = 8;
constexpr int kPageWidth = 34;
constexpr int kPageHeight = 44;
constexpr int kTextLeft = kPageLeft + 4;
constexpr int kTextRight = kPageLeft + kPageWidth - 5;

int lineBase(int line)
{
    return kPageTop + 10 + line * 8;
}

void drawPage(QPainter& p, int left, int top, Color fill)
{
    p.setPen(color(Edge));
    p.setBrush(color(fill));
    p.drawRect(left, top, kPageWidth - 1, kPageHeight - 1);
}

// Handwriting: words of one wavy stroke each, with gaps between them.
void drawWriting(QPainter& p, int dx, int line, int upToX)
{
    static constexpr int kWords[kLines][4] = {{7, 4, 9, 0}, {5, 8, 6, 0}, {9, 3, 7, 0}, {6, 10, 0, 0}};
    static constexpr int kHeights[] = {0, 2, 3, 1, 0, 2, 1, 3, 0, 1};
    const int base = lineBase(line);
    p.setPen(QPen(color(Ink), 1));
    int x = kTextLeft;
    for (const int length : kWords[line]) {
        QPoint previous;
        for (int i = 0; i < length && x < upToX && x <= kTextRight; ++i, ++x) {
            const QPoint point(x + dx, base - kHeights[(x + line * 3) % 10]);
            if (i == 0) {
                p.drawPoint(point);
            } else {
                p.drawLine(previous, point);
            }
            previous = point;
        }
        x += 2;
        if (x >= upToX || x > kTextRight) {
            return;
        }
    }
}

int writtenTo(int line)
{
    // The pen stops where the line's last word ends.
    static constexpr int kEnds[kLines] = {kTextLeft + 7 + 2 + 4 + 2 + 9, kTextLeft + 5 + 2 + 8 + 2 + 6,
                                          kTextLeft + 9 + 2 + 3 + 2 + 7, kTextLeft + 6 + 2 + 10};
    return kEnds[line];
}

void drawPen(QPainter& p, int tipX, int tipY)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color(Barrel), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tipX + 3, tipY - 3, tipX + 13, tipY - 13);
    p.setPen(QPen(color(Band), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(tipX + 9, tipY - 9, tipX + 10, tipY - 10);
    p.setPen(QPen(color(Nib), 1));
    p.drawLine(tipX, tipY, tipX + 2, tipY - 2);
    p.drawPoint(tipX + 1, tipY - 2);
    p.drawPoint(tipX + 2, tipY - 1);
}

QImage drawFrame(int frame)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kColors[Background]);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // The stack of finished pages at the left.
    for (int i = 3; i >= 0; --i) {
        drawPage(p, 4 + i * 2, 10 + i * 2, i == 0 ? Paper : Shade);
    }

    const bool sliding = frame >= kLines * kFramesPerLine;
    const int slide = sliding ? (frame - kLines * kFramesPerLine + 1) * (kPageLeft - 4) / (kSlideFrames + 1) : 0;
    const int dx = -slide;
    drawPage(p, kPageLeft + dx, kPageTop, Paper);
    p.setPen(color(Ruling));
    for (int line = 0; line < kLines; ++line) {
        p.drawLine(kTextLeft + dx, lineBase(line) + 1, kTextRight + dx, lineBase(line) + 1);
    }

    if (sliding) {
        for (int line = 0; line < kLines; ++line) {
            drawWriting(p, dx, line, kTextRight + 1);
        }
        return image;
    }
    const int line = frame / kFramesPerLine;
    const int step = frame % kFramesPerLine + 1;
    for (int done = 0; done < line; ++done) {
        drawWriting(p, 0, done, kTextRight + 1);
    }
    const int penX = kTextLeft + (writtenTo(line) - kTextLeft) * step / kFramesPerLine;
    drawWriting(p, 0, line, penX);
    drawPen(p, penX, lineBase(line) - 1);
    return image;
}

} // namespace

std::optional<IndexedClip> drawWritingPages()
{
    IndexedClip clip;
    clip.width = kWidth;
    clip.height = kHeight;
    clip.frameInterval = std::chrono::microseconds(100000);
    QHash<QRgb, int> indexOf;
    for (size_t i = 0; i < kColors.size(); ++i) {
        clip.palette.push_back(kColors[i] | 0xFF000000U);
        indexOf.insert(kColors[i] | 0xFF000000U, static_cast<int>(i));
    }
    for (int frame = 0; frame < kFrameCount; ++frame) {
        const QImage image = drawFrame(frame);
        QByteArray pixels(static_cast<qsizetype>(kWidth) * kHeight, '\0');
        for (int y = 0; y < kHeight; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                const auto found = indexOf.constFind(row[x] | 0xFF000000U);
                if (found == indexOf.constEnd()) {
                    return std::nullopt;
                }
                pixels[static_cast<qsizetype>(y) * kWidth + x] = static_cast<char>(found.value());
            }
        }
        clip.frames.push_back(pixels);
    }
    return clip;
}

} // namespace clip
