#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

namespace testsupport {

// A temporary install tree for runs of the import window: the install folder
// "viewer" with a small reference version made through the engine (창 1:1 to
// 1:3 and 출 1:1), and the program folder "viewer/manager" with the built
// template and work animation. Text files are written beside the tree.
class ImportTree
{
public:
    ImportTree();

    [[nodiscard]] bool isValid() const { return m_valid; }
    [[nodiscard]] QString installFolder() const { return m_install; }
    [[nodiscard]] QString programFolder() const { return m_install + QDir::separator() + QStringLiteral("manager"); }
    [[nodiscard]] QString versionPath(const QString& name) const { return m_install + QDir::separator() + name; }
    // A file of the program folder, such as "err.txt" or "list.avi".
    [[nodiscard]] QString programFile(const QString& name) const { return programFolder() + QDir::separator() + name; }

    // A text file of these lines in code page 949 with CR LF line ends; its native path.
    QString textFile(const QString& name, const QStringList& lines);
    // A folder beside the tree; its native path.
    QString folder(const QString& name);

    // The verse texts of a version by reference, in 번호 order; Null as "<Null>".
    [[nodiscard]] static QList<std::pair<QString, QString>> texts(const QString& path);

private:
    bool makeSmallReference();

    QTemporaryDir m_root;
    QString m_install;
    bool m_valid = false;
};

} // namespace testsupport
