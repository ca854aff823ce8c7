#include "import/TextFileChecker.h"

#include "import/ErrorEntries.h"
#include "import/ImpEntryReader.h"
#include "import/ParseImpKey.h"
#include "import/TextFileReader.h"
#include "import/UsfmVerseReader.h"
#include "import/XmlVerseReader.h"

#include <utility>

namespace importer {

namespace {

// The check of the files of one run.
class FilesCheck
{
public:
    FilesCheck(const ReferenceExists& exists, const AcceptedLineWriter& writer, const ErrorListSink& errors,
               const PendingEventsHook& pendingEvents)
        : m_exists(exists), m_writer(writer), m_errors(errors), m_pendingEvents(pendingEvents)
    {}

    // Checks one file; false when the run stops (result() says why).
    [[nodiscard]] bool check(const QString& entry)
    {
        TextFileReader reader(entry);
        if (!reader.open()) {
            m_result.failure = reader.failure();
            return false;
        }
        m_fileEntry = entry;
        m_headingAdded = false;
        switch (reader.format()) {
        case SourceFormat::Xml: {
            // The reader has judged the kind; the XML reader reads the file again on its own.
            XmlVerseReader entries(entry);
            return checkEntries(entries);
        }
        case SourceFormat::Lines:
            return checkLines(reader);
        case SourceFormat::Imp: {
            ImpEntryReader entries(reader);
            return checkEntries(entries);
        }
        case SourceFormat::Usfm: {
            UsfmVerseReader verses(reader);
            return checkEntries(verses);
        }
        }
        return checkLines(reader);
    }

    [[nodiscard]] CheckResult result() const { return m_result; }

private:
    // A verse-per-line file: every line through the line rules.
    [[nodiscard]] bool checkLines(TextFileReader& reader)
    {
        qint64 lineNumber = 0;
        QString line;
        for (;;) {
            const TextFileReader::ReadResult read = reader.readLine(line);
            if (read == TextFileReader::ReadResult::End) {
                return true;
            }
            if (read == TextFileReader::ReadResult::Failed) {
                m_result.failure = reader.failure();
                return false;
            }
            ++lineNumber;
            const ParsedLine parsed = ParseImportLine(line, m_exists);
            switch (parsed.outcome) {
            case LineOutcome::Blank:
                processEvents();
                continue;
            case LineOutcome::Accepted:
                accept(parsed.reference, parsed.text);
                processEvents();
                continue;
            case LineOutcome::MissingColon:
            case LineOutcome::VerseNotNumeric:
            case LineOutcome::VerseTooLong:
            case LineOutcome::ChapterNotFound:
            case LineOutcome::UnknownBook:
            case LineOutcome::UnknownReference:
                break;
            }
            if (!report(lineNumber, parsed)) {
                return false;
            }
            if (parsed.outcome == LineOutcome::MissingColon) {
                processEvents();
            }
        }
    }

    // A file of entries: every fault reported, every entry's key through the key rules, reported at
    // the entry's line.
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
            if (entry.fault) {
                if (!reportFault(entry)) {
                    return false;
                }
                processEvents();
                continue;
            }
            const ParsedImpKey key = ParseImpKey(entry.key, m_exists);
            if (key.heading) {
                // Skipped.
            } else if (key.parsed.outcome == LineOutcome::Accepted) {
                accept(key.parsed.reference, entry.text);
            } else if (!report(entry.lineNumber, key.parsed)) {
                return false;
            }
            processEvents();
        }
    }

    void accept(const QString& reference, const QString& text)
    {
        if (m_writer) {
            m_writer(reference, text);
        }
    }

    // The entry of a rejected line, after the file's heading when it is the file's first.
    [[nodiscard]] bool report(qint64 lineNumber, const ParsedLine& parsed)
    {
        return addHeading() && add(ErrorEntries::lineEntry(lineNumber, parsed));
    }

    [[nodiscard]] bool reportFault(const SourceEntry& entry)
    {
        return addHeading() && add(ErrorEntries::faultEntry(entry));
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

    void processEvents() const
    {
        if (m_pendingEvents) {
            m_pendingEvents();
        }
    }

    const ReferenceExists& m_exists;
    const AcceptedLineWriter& m_writer;
    const ErrorListSink& m_errors;
    const PendingEventsHook& m_pendingEvents;
    CheckResult m_result;
    QString m_fileEntry;
    bool m_headingAdded = false;
};

} // namespace

CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                           const AcceptedLineWriter& writer, const ErrorListSink& errors,
                           const PendingEventsHook& pendingEvents)
{
    FilesCheck check(exists, writer, errors, pendingEvents);
    for (const QString& entry : fileEntries) {
        if (!check.check(entry)) {
            break;
        }
    }
    return check.result();
}

} // namespace importer
