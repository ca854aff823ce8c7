#include "review/VersionInspection.h"

#include "platform/CodePage949.h"
#include "platform/HangulJamo.h"
#include "review/WordDiff.h"
#include "versiondb/Cancelled.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionVerses.h"

#include <QHash>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Brackets and quotation marks, ( ) [ ] 「 」 『 』 “ ” ‘ ’, pair within a chapter (권 and 장), not within a verse:
// a parenthesis that opens in one verse and closes a few verses on is how the King James text writes an aside.
// A mark still open when the chapter ends is listed at the verse that opened it; a closing mark without an open
// one, at its own verse; a closing mark that skips open ones closes them unpaired. ’ is also the apostrophe:
// between two Latin letters (LORD’s, don’t) it is one always, after a Latin letter (the brethren’ sake) unless
// a ‘ is the mark open last; anywhere else it closes a ‘.

namespace review {

namespace {

using versiondb::VersionStore;

constexpr qsizetype kAround = 16;    // characters of an excerpt on either side of a fault
constexpr qint64 kShortLetters = 12; // see inspectVersion
constexpr double kLengthFactor = 3.0;

QString excerptOf(const QString& text, qsizetype at, qsizetype length = 1)
{
    qsizetype from = std::max<qsizetype>(0, at - kAround);
    qsizetype to = std::min(text.size(), at + length + kAround);
    from -= from > 0 && text[from].isLowSurrogate() ? 1 : 0;
    to += to < text.size() && text[to - 1].isHighSurrogate() ? 1 : 0;
    QString excerpt = from > 0 ? QStringLiteral("…") : QString();
    for (qsizetype i = from; i < to; ++i) {
        if (text[i].category() == QChar::Other_Control) {
            excerpt += QStringLiteral("<U+%1>").arg(text[i].unicode(), 4, 16, QLatin1Char('0')).toUpper();
        } else {
            excerpt += text[i];
        }
    }
    return to < text.size() ? excerpt + u'…' : excerpt;
}

qint64 lettersOf(const QString& text)
{
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isSpace(); });
}

bool isLatinLetter(QChar c)
{
    return c.unicode() < 0x250 && c.isLetter();
}

// The byte a character stands for when Latin-1 or Windows-1252 decoded it, or -1.
int singleByte(char16_t c)
{
    static constexpr char16_t kWindows1252[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    if (c < 0x100) {
        return c;
    }
    const auto* found = std::find(std::begin(kWindows1252), std::end(kWindows1252), c);
    return found == std::end(kWindows1252) ? -1 : int(0x80 + (found - std::begin(kWindows1252)));
}

// The length of the well-formed UTF-8 sequence of two bytes or more at bytes[i], with its character; 0 for none.
int utf8Sequence(const std::vector<int>& bytes, std::size_t i, char32_t& code)
{
    const int lead = i < bytes.size() ? bytes[i] : -1;
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    if (length == 0 || i + length > bytes.size()) {
        return 0;
    }
    code = char32_t(lead & (0x7F >> length));
    for (std::size_t k = i + 1; k < i + length; ++k) {
        if (bytes[k] < 0x80 || bytes[k] > 0xBF) {
            return 0;
        }
        code = code << 6 | char32_t(bytes[k] & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool wellFormed = code >= kSmallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    return wellFormed ? length : 0;
}

// The first byte of two well-formed UTF-8 sequences in a row whose characters keep accepts, or -1.
template <class Keep> qsizetype twoSequences(const std::vector<int>& bytes, Keep keep)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char32_t first = 0, second = 0;
        const int length = utf8Sequence(bytes, i, first);
        if (length > 0 && keep(first) && utf8Sequence(bytes, i + length, second) > 0 && keep(second)) {
            return qsizetype(i);
        }
    }
    return -1;
}

bool isHangulSyllable(char32_t c)
{
    return c >= 0xAC00 && c <= 0xD7A3;
}

// Looks for the faults of one verse at a time, and for those that span verses, in the order of 번호.
class Inspector
{
public:
    Inspector(InspectionKinds kinds, const QHash<QString, qint64>& other) : m_kinds(kinds), m_other(other) {}

    void verse(const versiondb::VerseRecord& record)
    {
        m_number = record[versiondb::kNumber].toLongLong();
        m_reference = record[versiondb::kReference].toString();
        const std::pair chapter(record[versiondb::kBook].toLongLong(), record[versiondb::kChapter].toLongLong());
        if (chapter != m_chapter) {
            closeChapter();
            m_chapter = chapter;
        }
        std::optional<QString> previous = std::exchange(m_previous, std::nullopt);
        if (record[versiondb::kText].isNull()) {
            return;
        }
        const QString text = record[versiondb::kText].toString();
        m_previous = text;
        ++m_verses;
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty() || trimmed.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) {
            add(InspectionKind::Empty, excerptOf(text, 0));
            return;
        }
        characters(text);
        words(text);
        if (on(InspectionKind::Brackets)) {
            brackets(text);
        }
        if (on(InspectionKind::SameAsPrevious) && previous == text) {
            add(InspectionKind::SameAsPrevious, excerptOf(text, 0, 0));
        }
        if (on(InspectionKind::Length)) {
            const auto other = m_other.constFind(m_reference);
            if (other != m_other.cend() && other.value() > 0) {
                m_lengths.push_back({InspectionKind::Length, m_number, m_reference, excerptOf(text, 0, 0),
                                     lettersOf(text), other.value()});
            }
        }
    }

    void finish(InspectOutcome& outcome)
    {
        closeChapter();
        if (!m_lengths.empty()) {
            const auto ratioOf = [](const Finding& verse) {
                return double(verse.letters) / double(verse.otherLetters);
            };
            std::vector<double> ratios(m_lengths.size());
            std::ranges::transform(m_lengths, ratios.begin(), ratioOf);
            std::nth_element(ratios.begin(), ratios.begin() + qsizetype(ratios.size() / 2), ratios.end());
            const double r = ratios[ratios.size() / 2];
            outcome.ratio = r;
            for (Finding& verse : m_lengths) {
                const double ratio = ratioOf(verse);
                const bool far = ratio < r / kLengthFactor || ratio > r * kLengthFactor;
                if (far && std::max(double(verse.letters), r * double(verse.otherLetters)) >= double(kShortLetters)) {
                    m_findings.append(std::move(verse));
                }
            }
        }
        std::stable_sort(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
            return std::pair(a.kind, a.number) < std::pair(b.kind, b.number);
        });
        // One finding of a kind a verse (a verse may hold two unpaired marks).
        const auto last = std::unique(m_findings.begin(), m_findings.end(), [](const Finding& a, const Finding& b) {
            return a.kind == b.kind && a.number == b.number;
        });
        m_findings.erase(last, m_findings.end());
        for (const Finding& finding : m_findings) {
            ++outcome.counts[bit(finding.kind)];
        }
        outcome.verses = m_verses;
        outcome.findings = std::move(m_findings);
        outcome.result = outcome.findings.isEmpty() ? InspectResult::Clean : InspectResult::Found;
    }

private:
    struct OpenMark
    {
        char16_t closing;
        qint64 number;
        QString reference;
        QString excerpt;
    };

    [[nodiscard]] bool on(InspectionKind kind) const { return m_kinds.test(bit(kind)); }

    void add(InspectionKind kind, QString excerpt)
    {
        if (on(kind)) {
            m_findings.append({kind, m_number, m_reference, std::move(excerpt), 0, 0});
        }
    }

    // The faults of single characters, of spaces and of the encoding.
    void characters(const QString& text)
    {
        qsizetype replacement = -1, control = -1, jamo = -1;
        bool nonAscii = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            nonAscii = nonAscii || c.unicode() >= 0x80;
            if (replacement < 0 && c == QChar::ReplacementCharacter) {
                replacement = i;
            } else if (control < 0 && c.category() == QChar::Other_Control) {
                control = i;
            } else if (jamo < 0 && platform::isConjoiningJamo(c.unicode())) {
                jamo = i;
            }
        }
        if (replacement >= 0) {
            add(InspectionKind::Replacement, excerptOf(text, replacement));
        }
        if (control >= 0) {
            add(InspectionKind::Control, excerptOf(text, control));
        }
        if (jamo >= 0 && on(InspectionKind::Decomposed) && platform::hasDecomposedHangul(text)) {
            add(InspectionKind::Decomposed, excerptOf(text, jamo));
        }
        if (nonAscii && on(InspectionKind::Mojibake)) {
            if (const qsizetype at = mojibakeAt(text); at >= 0) {
                add(InspectionKind::Mojibake, excerptOf(text, at, 4));
            }
        }
        if (text.front().isSpace() || text.back().isSpace()) {
            add(InspectionKind::EdgeSpaces, excerptOf(text, text.front().isSpace() ? 0 : text.size() - 1));
        }
        // Doubled inside: between the first letter and the last, so that spaces at the ends count once.
        const auto isSpace = [](QChar c) { return c.isSpace(); };
        const qsizetype first = std::find_if_not(text.cbegin(), text.cend(), isSpace) - text.cbegin();
        const qsizetype last =
            text.size() - 1 - (std::find_if_not(text.crbegin(), text.crend(), isSpace) - text.crbegin());
        for (qsizetype i = first + 1; i < last; ++i) {
            if (text[i].isSpace() && text[i + 1].isSpace()) {
                add(InspectionKind::DoubleSpaces, excerptOf(text, i, 2));
                break;
            }
        }
    }

    void words(const QString& text)
    {
        if (!on(InspectionKind::RepeatedWord)) {
            return;
        }
        const QList<QStringView> words = wordsOf(text);
        for (qsizetype w = 1; w < words.size(); ++w) {
            const QStringView previous = words[w - 1];
            // Nothing but a space between them: "Awake, awake" is said twice, not written twice.
            if (previous.back().isLetterOrNumber() && words[w].compare(previous, Qt::CaseInsensitive) == 0) {
                add(InspectionKind::RepeatedWord, excerptOf(text, previous.data() - text.data(),
                                                            words[w].data() + words[w].size() - previous.data()));
                return;
            }
        }
    }

    void brackets(const QString& text)
    {
        static constexpr std::pair<char16_t, char16_t> kPairs[] = {{u'(', u')'},   {u'[', u']'}, {u'「', u'」'},
                                                                   {u'『', u'』'}, {u'“', u'”'}, {u'‘', u'’'}};
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c == u'’') {
                const bool after = i > 0 && isLatinLetter(text[i - 1]);
                const bool before = i + 1 < text.size() && isLatinLetter(text[i + 1]);
                if (after && (before || m_open.empty() || m_open.back().closing != u'’')) {
                    continue; // an apostrophe
                }
            }
            for (const auto& [opening, closing] : kPairs) {
                if (c == opening) {
                    m_open.push_back({closing, m_number, m_reference, excerptOf(text, i)});
                } else if (c == closing) {
                    close(closing, excerptOf(text, i));
                }
            }
        }
    }

    void close(char16_t closing, QString excerpt)
    {
        const auto open = std::find_if(m_open.rbegin(), m_open.rend(),
                                       [closing](const OpenMark& mark) { return mark.closing == closing; });
        if (open == m_open.rend()) {
            add(InspectionKind::Brackets, std::move(excerpt));
            return;
        }
        const auto first = open.base(); // the marks opened after the one this closes: left open
        std::for_each(first, m_open.end(), [this](OpenMark& mark) { unpaired(mark); });
        m_open.erase(first - 1, m_open.end());
    }

    void unpaired(OpenMark& mark)
    {
        m_findings.append({InspectionKind::Brackets, mark.number, mark.reference, std::move(mark.excerpt), 0, 0});
    }

    void closeChapter()
    {
        std::ranges::for_each(m_open, [this](OpenMark& mark) { unpaired(mark); });
        m_open.clear();
    }

    InspectionKinds m_kinds;
    const QHash<QString, qint64>& m_other;
    QList<Finding> m_findings;
    std::vector<Finding> m_lengths; // every verse both versions have, until the median is known
    std::vector<OpenMark> m_open;
    std::pair<qint64, qint64> m_chapter{-1, -1};
    std::optional<QString> m_previous;
    qint64 m_verses = 0;
    qint64 m_number = 0;
    QString m_reference;
};

} // namespace

qsizetype mojibakeAt(const QString& text)
{
    // UTF-8 read as Latin-1 or Windows-1252, and code page 949 read as Latin-1: one byte a character.
    std::vector<int> bytes(text.size());
    std::transform(text.cbegin(), text.cend(), bytes.begin(), [](QChar c) { return singleByte(c.unicode()); });
    if (const qsizetype at = twoSequences(bytes, [](char32_t) { return true; }); at >= 0) {
        return at;
    }
    const auto syllable = [&bytes](std::size_t i) {
        return i + 1 < bytes.size() && bytes[i] >= 0xB0 && bytes[i] <= 0xC8 && bytes[i + 1] >= 0xA1 &&
               bytes[i + 1] <= 0xFE;
    };
    for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (syllable(i) && syllable(i + 2)) {
            return qsizetype(i);
        }
    }

    // UTF-8 read as code page 949: only characters of code page 949, each of one byte or two.
    const auto encoded = platform::CodePage949::encode(text);
    if (!encoded.complete || encoded.bytes.isEmpty()) {
        return -1;
    }
    bytes.assign(encoded.bytes.cbegin(), encoded.bytes.cend());
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), [](int b) { return b & 0xFF; });
    const qsizetype at = twoSequences(bytes, isHangulSyllable);
    if (at < 0) {
        return -1;
    }
    qsizetype index = 0;
    for (qsizetype byte = 0; byte < at; byte += text[index++].unicode() < 0x80 ? 1 : 2) {
    }
    return index;
}

InspectOutcome inspectVersion(const InspectRequest& request)
{
    InspectOutcome outcome;
    try {
        const std::unique_ptr<VersionStore> version =
            VersionStore::openDatabase(request.path, VersionStore::Hold::Read);
        QHash<QString, qint64> other;
        if (!request.against.isEmpty()) {
            outcome.file = 1;
            const std::unique_ptr<VersionStore> against =
                VersionStore::openDatabase(request.against, VersionStore::Hold::Read);
            if (!request.skipped.test(bit(InspectionKind::Length))) {
                qint64 read = 0;
                against->readVerses([&](const versiondb::VerseRecord& record) {
                    if (++read % versiondb::kVersesBetweenChecks == 0) {
                        versiondb::stopIfCancelled(request.control);
                    }
                    if (!record[versiondb::kText].isNull()) {
                        other.insert(record[versiondb::kReference].toString(),
                                     lettersOf(record[versiondb::kText].toString()));
                    }
                });
            }
            outcome.file = 0;
        }
        const qint64 total = request.control != nullptr ? version->recordCount() : 0;
        qint64 done = 0;
        Inspector inspector(~request.skipped, other);
        version->readVerses([&](const versiondb::VerseRecord& record) {
            versiondb::reportVerses(request.control, done++, total);
            inspector.verse(record);
        });
        versiondb::stopIfCancelled(request.control);
        if (request.control != nullptr) {
            request.control->report(done, total);
        }
        inspector.finish(outcome);
    } catch (const versiondb::Cancelled&) {
        outcome = {};
        outcome.result = InspectResult::Cancelled;
    } catch (const std::exception& error) {
        const int file = outcome.file;
        outcome = {};
        outcome.result = InspectResult::EngineFailed;
        outcome.file = file;
        outcome.failure = versiondb::failureOf(error);
    }
    return outcome;
}

} // namespace review
