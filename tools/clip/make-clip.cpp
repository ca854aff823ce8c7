// Draws the work animation and writes it as an AVI file:
//   make-clip OUTPUT
// in RLE8 frames.

#include "AviWriter.h"
#include "ClipDrawing.h"

#include <QSaveFile>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: make-clip OUTPUT\n", stderr);
        return 2;
    }
    const auto clip = clip::drawWritingPages();
    if (!clip) {
        std::fputs("make-clip: a drawn colour is missing from the palette\n", stderr);
        return 1;
    }
    const QByteArray bytes = clip::writeAvi(*clip);
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "make-clip: cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
