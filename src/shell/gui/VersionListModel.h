#pragma once

#include "versiondb/VersionSummary.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QTimer>

namespace shell {

// The version files of the install folder, a row each: its name, its verses with a text out of all, its size, its
// last change (the history's newest, else the file's time) and whether it is a shipped file, which cannot be deleted
// or built into. The files are listed at once; what needs the version opened is read on a worker and filled in as it
// comes. The list follows the folder by itself.
class VersionListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        KindColumn,
        VersesColumn,
        SizeColumn,
        ChangedColumn,
        ColumnCount
    };

    explicit VersionListModel(QString installFolder, QObject* parent = nullptr);
    ~VersionListModel() override;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;

    // The native path of the version in row, and whether it is a shipped file.
    [[nodiscard]] QString path(int row) const;
    [[nodiscard]] bool isShipped(int row) const;
    // The row of the file of that name; -1 when none is listed.
    [[nodiscard]] int rowOf(const QString& fileName) const;
    // True while summaries are still to be read.
    [[nodiscard]] bool isReading() const;

    // Lists the folder again now; the list does so by itself a moment after the folder or a file in it changes.
    void refresh();
    // Stops reading summaries and waits until no version is held for reading, so that a window can hold one.
    // The rest are read at the next refresh.
    void finishReading();

private:
    enum class State
    {
        Pending,
        Read,
        InUse,
        Unreadable,
    };
    // A listed file, and what a reading of it found: the file as it was when read, so that a reading of a file
    // changed since is not shown.
    struct Entry
    {
        QString name;
        qint64 size = 0;
        QDateTime modified;
        State state = State::Pending;
        versiondb::VersionSummary summary;
        QString failure; // why it could not be read
    };

    // Lists the folder again into the rows.
    void merge();
    void readPending();
    void onSummaryRead(int index);

    QString m_installFolder;
    QList<Entry> m_entries;
    QFileSystemWatcher m_watcher;
    QTimer m_refreshSoon;
    bool m_paused = false; // finishReading stopped the reading until the next refresh
    QFuture<Entry> m_reading;
    QFutureWatcher<Entry> m_readingWatcher;
};

} // namespace shell
