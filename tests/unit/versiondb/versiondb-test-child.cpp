// The second process of the tests of exclusive use and crash safety:
//   hold PATH          opens the file, prints "open" and holds it until stdin closes;
//   store PATH FIRST   adds records FIRST, FIRST+1, ... and prints each number once its Update has returned.

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <limits>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    auto db = versiondb::DBEngine::instance().OpenDatabase(args.value(2), true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    const auto set = [&](const char* name, const QVariant& value) {
        rs->Fields(QString::fromUtf8(name)).setValue(value);
    };
    if (args.value(1) == QStringLiteral("hold")) {
        std::puts("open");
        std::fflush(stdout);
        std::cin.ignore(std::numeric_limits<std::streamsize>::max());
        return 0;
    }
    rs->setIndex(QStringLiteral("번호"));
    for (int n = args.value(3).toInt();; ++n) {
        rs->AddNew();
        set("번호", n);
        set("성경구절", QStringLiteral("창 %1:1").arg(n));
        set("본문", QStringLiteral("본문 %1 ").arg(n).repeated(1 + n % 9));
        rs->Update(versiondb::dbUpdateRegular, false);
        if (n % 3 == 0) { // every third record is edited after it was stored
            rs->Seek(QStringLiteral("="), n);
            rs->Edit();
            set("권", n % 66 + 1);
            rs->Update(versiondb::dbUpdateRegular, false);
        }
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}
