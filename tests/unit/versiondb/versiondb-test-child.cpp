// A second process for the tests of exclusive use and crash safety.
//   versiondb-test-child hold PATH          opens the file, prints "open", holds it until stdin closes
//   versiondb-test-child store PATH FIRST   adds records FIRST, FIRST+1, ... one by one and prints
//                                           each number once its Update has returned; never ends by itself
// Errors are printed as "error NUMBER" and end the process with 1.

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        return 2;
    }
    try {
        auto db = versiondb::DBEngine::instance().OpenDatabase(args.at(2), true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        if (args.at(1) == QStringLiteral("hold")) {
            std::puts("open");
            std::fflush(stdout);
            char buffer[64];
            while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
            }
            rs->Close();
            db->Close();
            return 0;
        }
        if (args.at(1) == QStringLiteral("store") && args.size() == 4) {
            rs->setIndex(QStringLiteral("번호"));
            for (int n = args.at(3).toInt();; ++n) {
                rs->AddNew();
                rs->Fields(QStringLiteral("번호")).setValue(n);
                rs->Fields(QStringLiteral("성경구절")).setValue(QStringLiteral("창 %1:1").arg(n));
                rs->Fields(QStringLiteral("본문")).setValue(QStringLiteral("본문 %1 ").arg(n).repeated(1 + n % 9));
                rs->Update(versiondb::dbUpdateRegular, false);
                if (n % 3 == 0) {
                    // Every third record is also edited after it was stored.
                    rs->Seek(QStringLiteral("="), n);
                    rs->Edit();
                    rs->Fields(QStringLiteral("권")).setValue(n % 66 + 1);
                    rs->Update(versiondb::dbUpdateRegular, false);
                }
                std::printf("%d\n", n);
                std::fflush(stdout);
            }
        }
    } catch (const versiondb::Error& e) {
        std::printf("error %d\n", e.Number());
        std::fflush(stdout);
        return 1;
    }
    return 2;
}
