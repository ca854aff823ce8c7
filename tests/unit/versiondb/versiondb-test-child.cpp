// The second process of the tests of exclusive use and crash safety:
//   hold PATH          opens the file, prints "open" and holds it until stdin closes;
//   store PATH FIRST   adds records FIRST, FIRST+1, ... and prints each number once it is stored.

#include "versiondb/VersionStore.h"

#include <QCoreApplication>
#include <iostream>
#include <limits>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto version = versiondb::VersionStore::openDatabase(args.value(2));
    if (args.value(1) == QStringLiteral("hold")) {
        std::cout << "open" << std::endl;
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
        return 0;
    }
    for (int n = args.value(3).toInt();; ++n) {
        const QString text = u"본문 %1 "_s.arg(n).repeated(1 + n % 9);
        const bool third = n % 3 == 0; // every third record gets its text after it was stored
        version->addRecord(
            {n, third ? QVariant(n % 66 + 1) : QVariant(), {}, {}, u"창 %1:1"_s.arg(n), third ? QVariant() : text});
        if (third) {
            version->setText(version->seek(qint64(n)).value_or(0), text);
        }
        std::cout << n << std::endl;
    }
}
