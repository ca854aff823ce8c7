#include "import/TextFileChecker.h"

#include "import/ErrorEntries.h"
#include "import/TextFileReader.h"

#include <utility>

namespace importer {

CheckResult checkTextFiles(const QStringList& fileEntries, const ReferenceExists& exists,
                           const AcceptedLineWriter& writer, const ErrorListSink& errors,
                           const PendingEventsHook& pendingEvents)
{
    CheckResult result;
    const auto add = [&result, &errors](const QString& entry) {
        if (auto failure = errors ? errors(entry) : std::nullopt) {
            result.failure = std::move(failure);
            return false;
        }
        ++result.errorEntries;
        return true;
    };
    const auto processEvents = [&pendingEvents] {
        if (pendingEvents) {
            pendingEvents();
        }
    };

    for (const QString& entry : fileEntries) {
        TextFileReader reader(entry);
        if (!reader.open()) {
            result.failure = reader.failure();
            return result;
        }
        qint64 lineNumber = 0;
        bool headingAdded = false;
        QString line;
        for (;;) {
            const TextFileReader::ReadResult read = reader.readLine(line);
            if (read == TextFileReader::ReadResult::End) {
                break;
            }
            if (read == TextFileReader::ReadResult::Failed) {
                result.failure = reader.failure();
                return result;
            }
            ++lineNumber;
            const ParsedLine parsed = ParseImportLine(line, exists);
            switch (parsed.outcome) {
            case LineOutcome::Blank:
                processEvents();
                continue;
            case LineOutcome::Accepted:
                if (writer) {
                    writer(parsed.reference, parsed.text);
                }
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
            if (!headingAdded) {
                for (const QString& heading : ErrorEntries::fileHeading(entry)) {
                    if (!add(heading)) {
                        return result;
                    }
                }
                headingAdded = true;
            }
            if (!add(ErrorEntries::lineEntry(lineNumber, parsed))) {
                return result;
            }
            if (parsed.outcome == LineOutcome::MissingColon) {
                processEvents();
            }
        }
    }
    return result;
}

} // namespace importer
