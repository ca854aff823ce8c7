#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
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
    [[nodiscard]] QString programFolder() const { return m_program; }
    [[nodiscard]] QString versionPath(const QString& name) const;
    [[nodiscard]] QString referencePath() const;
    [[nodiscard]] QString errorLogPath() const;
    [[nodiscard]] QString clipPath() const;

    // A text file of these lines in code page 949 with CR LF line ends; its native path.
    QString textFile(const QString& name, const QStringList& lines);
    // A folder beside the tree; its native path.
    QString folder(const QString& name);

    // The verse texts of a version by reference, in 번호 order; Null as "<Null>".
    [[nodiscard]] static QList<std::pair<QString, QString>> texts(const QString& path);

    // Replaces the reference version with the one the build laid out (31,102 verses).
    bool useFullReference();

private:
    bool makeSmallReference();

    QTemporaryDir m_root;
    QString m_install;
    QString m_program;
    bool m_valid = false;
};

} // namespace testsupport
