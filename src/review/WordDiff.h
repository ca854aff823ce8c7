#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace review {

// A run of words of a word-level difference: words both texts have, in the same order, or
// words only the first text (removed) or only the second (added) has.
struct WordRun
{
    enum class Kind : quint8
    {
        Same,
        Removed,
        Added,
    };

    Kind kind = Kind::Same;
    QString words; // one space between each two

    bool operator==(const WordRun&) const = default;
};

// The words of a text: the runs of characters that are not spaces.
[[nodiscard]] QList<QStringView> wordsOf(QStringView text);

// The word-level difference of two texts. Words are the runs of characters that are not spaces;
// the difference keeps a longest common subsequence of them, found in memory linear in the number
// of words (Hirschberg's division, after the common head and tail are set aside). Within a change
// the removed words come before the added ones, as in git's word diff. Texts without a word
// difference give one Same run, or none when both are empty of words.
[[nodiscard]] QList<WordRun> diffWords(QStringView before, QStringView after);

// True when the texts have the same words (they may differ in the spaces between them).
[[nodiscard]] bool sameWords(const QList<WordRun>& runs);

// The difference as git's --word-diff writes it: runs separated by one space (none between
// the removed and the added words of one change), removed words as [-…-], added as {+…+};
// or each run as write writes it.
using WriteRun = QString (*)(const WordRun& run);
[[nodiscard]] QString markedWords(const QList<WordRun>& runs, WriteRun write = nullptr);

} // namespace review
