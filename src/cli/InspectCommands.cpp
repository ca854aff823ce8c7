#include "cli/Commands.h"
#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Usage.h"
#include "platform/FileNames.h"
#include "review/InspectMessages.h"

#include <cstdio>
#include <optional>

namespace cli {

namespace {

namespace InspectMessages = review::InspectMessages;

const QString kNeedsPath = QStringLiteral("inspect 다음에 점검할 역본파일 하나를 적어 주십시오.");

} // namespace

int inspectCommand(const QStringList& arguments)
{
    review::InspectRequest request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QStringLiteral("--against")) {
            if (!hasValue || !request.against.isEmpty()) {
                return usageError(QStringLiteral("--against 다음에 비교할 역본파일을 적어 주십시오."));
            }
            request.against = platform::fullPath(arguments.at(++i));
        } else if (argument == QStringLiteral("--skip")) {
            if (!hasValue) {
                return usageError(QStringLiteral("--skip 다음에 건너뛸 종류를 쉼표로 나누어 적어 주십시오."));
            }
            for (const QString& key : arguments.at(++i).split(u',', Qt::SkipEmptyParts)) {
                const auto kind = InspectMessages::kindOfKey(key.trimmed());
                if (!kind) {
                    return usageError(QStringLiteral("알 수 없는 종류입니다: %1").arg(key));
                }
                request.skipped.set(review::bit(*kind));
            }
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return usageError(UsageErrors::unknownOption(argument));
        } else if (request.path.isEmpty()) {
            request.path = platform::fullPath(argument);
        } else {
            return usageError(kNeedsPath);
        }
    }
    if (request.path.isEmpty()) {
        return usageError(kNeedsPath);
    }

    platform::RunControl control;
    const InterruptScope interrupt(control);
    request.control = &control;
    const review::InspectOutcome outcome = review::inspectVersion(request);
    switch (outcome.result) {
    case review::InspectResult::Clean:
        printMessage(InspectMessages::clean(outcome));
        return kSuccess;
    case review::InspectResult::Found:
        break;
    case review::InspectResult::EngineFailed:
        printMessage(InspectMessages::failure(outcome, request.path, request.against));
        return kFailure;
    case review::InspectResult::Cancelled:
        printMessage(InspectMessages::kCancelled);
        return kCancelled;
    }
    // "빈 본문 2" then a line a finding: '  창 1:3 "null"', the excerpt in quotation marks so that spaces show.
    std::optional<review::InspectionKind> kind;
    for (const review::Finding& finding : outcome.findings) {
        if (finding.kind != kind) {
            kind = finding.kind;
            std::fprintf(stdout, "%s %d\n", InspectMessages::kind(finding.kind).toUtf8().constData(),
                         outcome.counts[review::bit(finding.kind)]);
        }
        QString line = QStringLiteral("  ") + finding.reference + QStringLiteral(" \"") + finding.excerpt + u'"';
        if (const QString detail = InspectMessages::detail(finding); !detail.isEmpty()) {
            line += u' ' + detail;
        }
        std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    }
    printMessage(InspectMessages::counts(outcome));
    return kInspectionFound;
}

} // namespace cli
