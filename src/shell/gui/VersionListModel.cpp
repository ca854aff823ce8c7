#include "shell/gui/VersionListModel.h"

#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Names.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <utility>

namespace shell {

namespace {

bool namesBefore(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

VersionListModel::VersionListModel(QString installFolder, QObject* parent)
    : QAbstractTableModel(parent), m_installFolder(std::move(installFolder))
{
    m_refreshSoon.setSingleShot(true);
    // A moment after the folder changes: a build or a save changes it several times in a row.
    m_refreshSoon.setInterval(150);
    connect(&m_refreshSoon, &QTimer::timeout, this, &VersionListModel::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_refreshSoon, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_refreshSoon, qOverload<>(&QTimer::start));
    connect(&m_readingWatcher, &QFutureWatcher<Entry>::resultReadyAt, this, &VersionListModel::onSummaryRead);
    connect(&m_readingWatcher, &QFutureWatcher<Entry>::finished, this, &VersionListModel::readPending);
    m_watcher.addPath(m_installFolder);
    refresh();
}

VersionListModel::~VersionListModel()
{
    m_reading.cancel();
    m_reading.waitForFinished();
}

int VersionListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int VersionListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant VersionListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size()) {
        return {};
    }
    const Entry& entry = m_entries[index.row()];
    const bool shipped = isShipped(index.row());
    const QLocale locale;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return entry.name;
        case VersesColumn:
            switch (entry.state) {
            case State::Pending:
                return QStringLiteral("읽는 중...");
            case State::InUse:
                return QStringLiteral("사용 중");
            case State::Unreadable:
                return QStringLiteral("읽을 수 없음");
            case State::Read:
                break;
            }
            return QStringLiteral("%1 / %2").arg(locale.toString(entry.summary.versesWithText),
                                                 locale.toString(entry.summary.verses));
        case SizeColumn:
            return locale.formattedDataSize(entry.size);
        case ChangedColumn:
            return locale.toString(entry.summary.changed.value_or(entry.modified).toLocalTime(), QLocale::ShortFormat);
        case KindColumn:
            return shipped ? QStringLiteral("기본 제공") : QStringLiteral("개인 역본");
        }
        break;
    case Qt::ToolTipRole:
        if (index.column() == VersesColumn && entry.state != State::Read) {
            return entry.failure.isEmpty() ? QVariant() : QVariant(entry.failure);
        }
        return shipped ? QVariant(QStringLiteral("기본 제공 파일은 삭제하거나 추가 대상으로 쓸 수 없습니다."))
                       : QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() == VersesColumn || index.column() == SizeColumn) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        break;
    }
    return {};
}

QVariant VersionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const QString headers[] = {QStringLiteral("역본파일"), QStringLiteral("구분"), QStringLiteral("본문 있는 구절"),
                               QStringLiteral("크기"), QStringLiteral("마지막 변경")};
    return section >= 0 && section < ColumnCount ? QVariant(headers[section]) : QVariant();
}

QString VersionListModel::path(int row) const
{
    return QDir::toNativeSeparators(m_installFolder + QDir::separator() + m_entries.at(row).name);
}

bool VersionListModel::isShipped(int row) const
{
    return versiondb::isShippedName(path(row));
}

int VersionListModel::rowOf(const QString& fileName) const
{
    const auto found =
        std::find_if(m_entries.cbegin(), m_entries.cend(), [&](const Entry& e) { return e.name == fileName; });
    return found == m_entries.cend() ? -1 : static_cast<int>(found - m_entries.cbegin());
}

bool VersionListModel::isReading() const
{
    return m_reading.isRunning() ||
           std::any_of(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.state == State::Pending; });
}

void VersionListModel::refresh()
{
    m_paused = false;
    merge();
    // Files are watched for writes that leave the folder as it was (a save in place); the folder for the rest.
    const QStringList watched = m_watcher.files();
    if (!watched.isEmpty()) {
        m_watcher.removePaths(watched);
    }
    QStringList paths;
    for (const Entry& entry : std::as_const(m_entries)) {
        paths << m_installFolder + QDir::separator() + entry.name;
    }
    if (!paths.isEmpty()) {
        m_watcher.addPaths(paths);
    }
    if (!m_watcher.directories().contains(m_installFolder)) {
        m_watcher.addPath(m_installFolder);
    }
    readPending();
}

void VersionListModel::merge()
{
    QList<Entry> listed;
    // Normal files only, as the backup guide lists them, in name order without regard to case.
    const QFileInfoList files = QDir(m_installFolder)
                                    .entryInfoList({QStringLiteral("*.dat")}, QDir::Files | QDir::NoDotAndDotDot,
                                                   QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& file : files) {
        listed.append({file.fileName(), file.size(), file.lastModified(), State::Pending, {}, {}});
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Entry& a, const Entry& b) { return namesBefore(a.name, b.name); });
    // Both lists are in name order: walk them side by side, so that rows that stay keep their place and selection.
    int row = 0;
    for (Entry& entry : listed) {
        while (row < m_entries.size() && namesBefore(m_entries[row].name, entry.name)) {
            beginRemoveRows({}, row, row);
            m_entries.removeAt(row);
            endRemoveRows();
        }
        if (row < m_entries.size() && m_entries[row].name == entry.name) {
            Entry& kept = m_entries[row];
            if (kept.size != entry.size || kept.modified != entry.modified || kept.state != State::Read) {
                // Changed since it was read, or not read yet: read it again, showing what was read meanwhile.
                kept.size = entry.size;
                kept.modified = entry.modified;
                kept.state = State::Pending;
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
            }
        } else {
            beginInsertRows({}, row, row);
            m_entries.insert(row, std::move(entry));
            endInsertRows();
        }
        ++row;
    }
    if (row < m_entries.size()) {
        beginRemoveRows({}, row, static_cast<int>(m_entries.size()) - 1);
        m_entries.remove(row, m_entries.size() - row);
        endRemoveRows();
    }
}

void VersionListModel::readPending()
{
    if (m_paused || m_reading.isRunning()) {
        return; // the rest are read when this reading finishes, or at the next refresh
    }
    QList<Entry> pending;
    for (const Entry& entry : std::as_const(m_entries)) {
        if (entry.state == State::Pending) {
            pending.append(entry);
        }
    }
    if (pending.isEmpty()) {
        return;
    }
    m_reading = QtConcurrent::run(
        [](QPromise<Entry>& promise, const QString& folder, QList<Entry> readings) {
            for (Entry& reading : readings) {
                if (promise.isCanceled()) {
                    return;
                }
                try {
                    reading.summary = versiondb::summarizeVersion(folder + QDir::separator() + reading.name);
                    reading.state = State::Read;
                } catch (const versiondb::Error& error) {
                    reading.state =
                        error.number() == versiondb::errorNumber::FileInUse ? State::InUse : State::Unreadable;
                    reading.failure = error.description();
                }
                promise.addResult(std::move(reading));
            }
        },
        m_installFolder, std::move(pending));
    m_readingWatcher.setFuture(m_reading);
}

void VersionListModel::onSummaryRead(int index)
{
    if (index >= m_reading.resultCount()) {
        return;
    }
    const Entry reading = m_reading.resultAt(index);
    const int row = rowOf(reading.name);
    if (row < 0) {
        return;
    }
    Entry& entry = m_entries[row];
    // A file that changed while it was read is read again.
    if (entry.size != reading.size || entry.modified != reading.modified) {
        return;
    }
    entry.state = reading.state;
    entry.summary = reading.summary;
    entry.failure = reading.failure;
    emit dataChanged(this->index(row, 0), this->index(row, ColumnCount - 1));
}

void VersionListModel::finishReading()
{
    m_paused = true;
    m_reading.cancel();
    m_reading.waitForFinished();
}

} // namespace shell
