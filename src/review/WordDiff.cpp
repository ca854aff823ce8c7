#include "review/WordDiff.h"

#include <QHash>
#include <algorithm>
#include <utility>
#include <vector>

namespace review {

using Words = QList<QStringView>;

Words wordsOf(QStringView text)
{
    Words words;
    words.reserve(text.size() / 4 + 1);
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace()) {
            ++i;
        }
        const qsizetype start = i;
        while (i < text.size() && !text[i].isSpace()) {
            ++i;
        }
        if (i > start) {
            words.append(text.sliced(start, i - start));
        }
    }
    return words;
}

namespace {

// Marks the words of a and of b that one longest common subsequence keeps. The words are compared
// as numbers, equal words having one number. Between the common head and tail, a word that the
// other text lacks there cannot be common and is set aside before the division. Each division
// works on a[aLo, aHi) and b[bLo, bHi) with two rows of lengths, so memory stays linear in the words.
class CommonWords
{
public:
    CommonWords(const Words& a, const Words& b) : m_keptA(a.size()), m_keptB(b.size())
    {
        QHash<QStringView, int> numbers;
        std::vector<int> numbersA;
        std::vector<int> numbersB;
        for (const auto& [words, numbered] : {std::pair{&a, &numbersA}, std::pair{&b, &numbersB}}) {
            for (const QStringView word : *words) {
                const auto found = numbers.constFind(word);
                numbered->push_back(found != numbers.cend() ? *found : *numbers.insert(word, int(numbers.size())));
            }
        }
        // The common head and tail first, among all the words, so that they stay whole.
        qsizetype head = 0;
        qsizetype endA = a.size();
        qsizetype endB = b.size();
        for (; head < endA && head < endB && numbersA[head] == numbersB[head]; ++head) {
            m_keptA[head] = m_keptB[head] = true;
        }
        for (; endA > head && endB > head && numbersA[endA - 1] == numbersB[endB - 1]; --endA, --endB) {
            m_keptA[endA - 1] = m_keptB[endB - 1] = true;
        }
        std::vector<char> inA(numbers.size());
        std::vector<char> inB(numbers.size());
        for (qsizetype i = head; i < endA; ++i) {
            inA[numbersA[i]] = 1;
        }
        for (qsizetype j = head; j < endB; ++j) {
            inB[numbersB[j]] = 1;
        }
        for (qsizetype i = head; i < endA; ++i) {
            if (inB[numbersA[i]]) {
                m_a.push_back(numbersA[i]);
                m_placeA.push_back(i);
            }
        }
        for (qsizetype j = head; j < endB; ++j) {
            if (inA[numbersB[j]]) {
                m_b.push_back(numbersB[j]);
                m_placeB.push_back(j);
            }
        }
        keep(0, qsizetype(m_a.size()), 0, qsizetype(m_b.size()));
    }

    [[nodiscard]] bool keptA(qsizetype i) const { return m_keptA[i]; }
    [[nodiscard]] bool keptB(qsizetype j) const { return m_keptB[j]; }

private:
    std::vector<int> m_a; // the numbers of the words of a that b has too
    std::vector<int> m_b;
    std::vector<qsizetype> m_placeA; // where each of them is in a
    std::vector<qsizetype> m_placeB;
    std::vector<bool> m_keptA;
    std::vector<bool> m_keptB;
    std::vector<int> m_front;
    std::vector<int> m_back;

    void match(qsizetype i, qsizetype j)
    {
        m_keptA[m_placeA[i]] = true;
        m_keptB[m_placeB[j]] = true;
    }

    void keep(qsizetype aLo, qsizetype aHi, qsizetype bLo, qsizetype bHi)
    {
        for (; aLo < aHi && bLo < bHi && m_a[aLo] == m_b[bLo]; ++aLo, ++bLo) {
            match(aLo, bLo);
        }
        for (; aLo < aHi && bLo < bHi && m_a[aHi - 1] == m_b[bHi - 1]; --aHi, --bHi) {
            match(aHi - 1, bHi - 1);
        }
        if (aLo == aHi || bLo == bHi) {
            return;
        }
        if (aHi - aLo == 1) {
            for (qsizetype j = bLo; j < bHi; ++j) {
                if (m_a[aLo] == m_b[j]) {
                    match(aLo, j);
                    return;
                }
            }
            return;
        }
        // The split of b that gives the longest common subsequence of a's two halves with its two parts.
        const qsizetype mid = aLo + (aHi - aLo) / 2;
        const qsizetype width = bHi - bLo;
        lengths(m_front, aLo, mid, bLo, width, 1);
        lengths(m_back, aHi - 1, mid - 1, bHi - 1, width, -1);
        qsizetype split = 0;
        for (qsizetype k = 1; k <= width; ++k) {
            if (m_front[k] + m_back[width - k] > m_front[split] + m_back[width - split]) {
                split = k;
            }
        }
        keep(aLo, mid, bLo, bLo + split);
        keep(mid, aHi, bLo + split, bHi);
    }

    // row[k]: the length of a longest common subsequence of the words of a from i0 up to (not
    // including) i1 and the first k words of b from j0, both taken in the direction step.
    void lengths(std::vector<int>& row, qsizetype i0, qsizetype i1, qsizetype j0, qsizetype width, int step) const
    {
        row.assign(width + 1, 0);
        for (qsizetype i = i0; i != i1; i += step) {
            int diagonal = 0;
            for (qsizetype k = 1; k <= width; ++k) {
                const int above = row[k];
                row[k] = m_a[i] == m_b[j0 + step * (k - 1)] ? diagonal + 1 : std::max(above, row[k - 1]);
                diagonal = above;
            }
        }
    }
};

// A run of the words from first up to (not including) last, one space between each two; none without a word.
void appendRun(QList<WordRun>& runs, WordRun::Kind kind, const Words& words, qsizetype first, qsizetype last)
{
    if (last == first) {
        return;
    }
    QString text;
    text.reserve(words[last - 1].data() + words[last - 1].size() - words[first].data());
    for (qsizetype i = first; i < last; ++i) {
        if (i > first) {
            text += u' ';
        }
        text += words[i];
    }
    runs.append({kind, std::move(text)});
}

} // namespace

QList<WordRun> diffWords(QStringView before, QStringView after)
{
    const Words a = wordsOf(before);
    const Words b = wordsOf(after);
    const CommonWords common(a, b);
    QList<WordRun> runs;
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() || j < b.size()) {
        const qsizetype j0 = j;
        while (i < a.size() && j < b.size() && common.keptA(i) && common.keptB(j)) {
            ++i;
            ++j;
        }
        appendRun(runs, WordRun::Kind::Same, b, j0, j);
        const qsizetype removed = i;
        while (i < a.size() && !common.keptA(i)) {
            ++i;
        }
        appendRun(runs, WordRun::Kind::Removed, a, removed, i);
        const qsizetype added = j;
        while (j < b.size() && !common.keptB(j)) {
            ++j;
        }
        appendRun(runs, WordRun::Kind::Added, b, added, j);
    }
    return runs;
}

bool sameWords(const QList<WordRun>& runs)
{
    return std::all_of(runs.cbegin(), runs.cend(), [](const WordRun& run) { return run.kind == WordRun::Kind::Same; });
}

QString markedWords(const QList<WordRun>& runs, WriteRun write)
{
    QString text;
    for (qsizetype r = 0; r < runs.size(); ++r) {
        const WordRun& run = runs[r];
        if (r > 0 && !(run.kind == WordRun::Kind::Added && runs[r - 1].kind == WordRun::Kind::Removed)) {
            text += u' ';
        }
        if (write != nullptr) {
            text += write(run);
        } else if (run.kind == WordRun::Kind::Same) {
            text += run.words;
        } else {
            const bool removed = run.kind == WordRun::Kind::Removed;
            text += (removed ? QStringLiteral("[-") : QStringLiteral("{+")) + run.words +
                    (removed ? QStringLiteral("-]") : QStringLiteral("+}"));
        }
    }
    return text;
}

} // namespace review
