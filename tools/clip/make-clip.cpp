// Draws the work animation and writes it as an AVI file:
//   make-clip OUTPUT [--uncompressed]
// RLE8 frames by default, 8-bit uncompressed frames with --uncompressed.

#include "AviWriter.h"
#include "ClipDrawing.h"

#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    const bool uncompressed = argc == 3 && std::strcmp(argv[2], "--uncompressed") == 0;
    if (argc != 2 && !uncompressed) {
        std::fputs("usage: make-clip OUTPUT [--uncompressed]\n", stderr);
        return 2;
    }
    const auto clip = clip::drawWritingPages();
    if (!clip) {
        std::fputs("make-clip: a drawn colour is missing from the palette\n", stderr);
        return 1;
    }
    const QByteArray bytes = clip::writeAvi(*clip, uncompressed ? clip::Encoding::Uncompressed : clip::Encoding::Rle8);
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "make-clip: cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
