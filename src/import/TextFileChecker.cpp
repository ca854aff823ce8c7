#include "import/TextFileChecker.h"

#include "import/ErrorEntries.h"
#include "import/ImpEntryReader.h"
#include "import/LineEntryReader.h"
#include "import/ParseImpKey.h"
#include "import/SwordBible.h"
#include "import/TextFileReader.h"
#include "import/UsfmVerseReader.h"
#include "import/VplEntryReader.h"
#include "import/XmlVerseReader.h"
#include "platform/RunControl.h"

#include <QFileInfo>
#include <tuple>
#include <utility>

namespace importer {

namespace {

// The check of the files of one run.
class FilesCheck
{
public:
    FilesCheck(const ReferenceExists& exists, const AcceptedLineWriter& writer, const ErrorListSink& errors,
               platform::RunControl* control, qint64 totalBytes)
        : m_exists(exists), m_writer(writer), m_errors(errors), m_control(control), m_totalBytes(totalBytes)
    {}

    // Checks one file; false when the run stops (result() says why).
    [[nodiscard]] bool check(const QString& entry)
    {
        TextFileReader reader(entry);
        if (!reader.open()) {
            m_result.failure = reader.failure();
            return false;
        }
        begin(entry, [&reader] { return reader.position(); });
        bool goOn = true;
        switch (reader.format()) {
        case SourceFormat::Xml: {
            // The reader has judged the kind; the XML reader reads the file again on its own.
            XmlVerseReader entries(entry);
            m_position = [&entries] { return entries.position(); };
            goOn = checkEntries(entries);
            break;
        }
        case SourceFormat::Lines: {
            LineEntryReader entries(reader);
            goOn = checkEntries(entries);
            break;
        }
        case SourceFormat::Imp: {
            ImpEntryReader entries(reader);
            goOn = checkEntries(entries);
            break;
        }
        case SourceFormat::Vpl: {
            VplEntryReader entries(reader);
            goOn = checkEntries(entries);
            break;
        }
        case SourceFormat::Usfm: {
            UsfmVerseReader verses(reader);
            goOn = checkEntries(verses);
            break;
        }
        }
        return end(goOn, QFileInfo(entry).size());
    }

    // Checks the verses of a SWORD module, named by entry; false when the run stops.
    [[nodiscard]] bool check(const QString& entry, SwordBible& bible)
    {
        begin(entry, [&bible] { return bible.position(); });
        return end(checkEntries(bible), bible.size());
    }

    [[nodiscard]] CheckResult result() const { return m_result; }

private:
    void begin(const QString& entry, std::function<qint64()> position)
    {
        m_fileEntry = entry;
        m_headingAdded = false;
        m_versesRead = 0;
        m_position = std::move(position);
    }

    // Ends the check of the entry of that size (bytes, or verses of a module).
    [[nodiscard]] bool end(bool goOn, qint64 size)
    {
        m_position = nullptr;
        if (m_partlyRead.skippedFaults > 0 || m_partlyRead.cutOffLine > 0) {
            m_partlyRead.file = m_fileEntry;
            m_result.partlyRead.append(std::exchange(m_partlyRead, {}));
        }
        m_bytesBefore += size;
        if (goOn && m_control != nullptr) {
            m_control->report(m_bytesBefore, m_totalBytes);
        }
        return goOn;
    }

    // A file of entries: every fault reported, every entry through its format's key rules, reported at the entry's
    // line.
    [[nodiscard]] bool checkEntries(VerseSource& entries)
    {
        SourceEntry entry;
        for (;;) {
            const TextFileReader::ReadResult read = entries.next(entry);
            if (read == TextFileReader::ReadResult::End) {
                return true;
            }
            if (read == TextFileReader::ReadResult::Failed) {
                m_result.failure = entries.failure();
                return false;
            }
            if (!goOn()) {
                return false;
            }
            if (entry.fault) {
                if (!report({m_fileEntry, entry.lineNumber, entry.column, ErrorEntries::faultReason(entry)},
                            ErrorEntries::faultEntry(entry))) {
                    return false;
                }
                if (entry.endsFile) {
                    m_partlyRead.cutOffLine = entry.lineNumber;
                    m_partlyRead.versesRead = m_versesRead;
                } else if (entry.fault == SourceFault::MalformedXml) {
                    ++m_partlyRead.skippedFaults;
                    m_partlyRead.versesLost += entry.key.isEmpty() ? 0 : 1;
                }
                continue;
            }
            const ParsedImpKey key = entries.judge(entry, m_exists);
            if (key.heading) {
                // Skipped.
            } else if (key.parsed.outcome == LineOutcome::Accepted) {
                ++m_versesRead;
                if (m_writer) {
                    m_writer(key.parsed.reference, key.parsed.text);
                }
            } else if (!report({m_fileEntry, entry.lineNumber, 0, ErrorEntries::lineReason(key.parsed)},
                               ErrorEntries::lineEntry(entry.lineNumber, key.parsed))) {
                return false;
            }
        }
    }

    // Reports how far the check has come; false when it is cancelled.
    [[nodiscard]] bool goOn()
    {
        if (m_control == nullptr) {
            return true;
        }
        if (m_control->cancelled()) {
            m_result.cancelled = true;
            return false;
        }
        m_control->report(m_bytesBefore + (m_position ? m_position() : 0), m_totalBytes);
        return true;
    }

    // The finding kept, and the entry of the error list after the file's heading when it is the file's first.
    [[nodiscard]] bool report(Finding finding, const QString& entry)
    {
        if (m_result.findings.size() < kMostFindings) {
            m_result.findings.append(std::move(finding));
        } else {
            ++m_result.findingsLeftOut;
        }
        return addHeading() && add(entry);
    }

    // The file's heading, before its first entry.
    [[nodiscard]] bool addHeading()
    {
        if (!m_headingAdded) {
            for (const QString& heading : ErrorEntries::fileHeading(m_fileEntry)) {
                if (!add(heading)) {
                    return false;
                }
            }
            m_headingAdded = true;
        }
        return true;
    }

    [[nodiscard]] bool add(const QString& entry)
    {
        if (auto failure = m_errors ? m_errors(entry) : std::nullopt) {
            m_result.failure = std::move(failure);
            return false;
        }
        ++m_result.errorEntries;
        return true;
    }

    const ReferenceExists& m_exists;
    const AcceptedLineWriter& m_writer;
    const ErrorListSink& m_errors;
    platform::RunControl* m_control;
    const qint64 m_totalBytes;
    CheckResult m_result;
    QString m_fileEntry;
    bool m_headingAdded = false;
    // The verses taken from the current file, the bytes of the files before it, and how far into it the check is.
    qint64 m_versesRead = 0;
    PartlyReadFile m_partlyRead;
    qint64 m_bytesBefore = 0;
    std::function<qint64()> m_position;
};

} // namespace

CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                           const AcceptedLineWriter& writer, const ErrorListSink& errors, platform::RunControl* control)
{
    qint64 totalBytes = 0;
    for (const QString& entry : fileEntries) {
        totalBytes += QFileInfo(entry).size();
    }
    FilesCheck check(exists, writer, errors, control, totalBytes);
    for (const QString& entry : fileEntries) {
        if (!check.check(entry)) {
            break;
        }
    }
    return check.result();
}

CheckResult checkSwordBible(const QString& entry, SwordBible& bible, const ReferenceExists& exists,
                            const AcceptedLineWriter& writer, const ErrorListSink& errors,
                            platform::RunControl* control)
{
    FilesCheck check(exists, writer, errors, control, bible.size());
    std::ignore = check.check(entry, bible);
    return check.result();
}

} // namespace importer
