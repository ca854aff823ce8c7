#pragma once

namespace books {

// SWORD's KJV versification, the scheme that imp2vs files verses under by default:
// how many chapters each book has and how many verses each chapter has.
namespace KjvVersification {
// The chapters of book 1 to 66; 0 for any other number.
[[nodiscard]] int chapterCount(int bookNumber);
// The verses of a chapter; 0 for a chapter the book does not have.
[[nodiscard]] int verseCount(int bookNumber, int chapter);
[[nodiscard]] bool hasVerse(int bookNumber, int chapter, int verse);
} // namespace KjvVersification

} // namespace books
