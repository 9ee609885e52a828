// Which keyword a word that is none probably means: for the warnings about
// a data file, which name the keyword the user may have meant.
#pragma once

/// The keyword number 0 to 12 that the word of `length` cells at `word`
/// probably means: the same letters in other case (`*by_case` true), or a
/// keyword of more than one letter within one edit, two for keywords of
/// more than three letters (an edit inserts, deletes or changes a letter,
/// or swaps two neighbours). The nearest wins, the first of equals. -1 when
/// none is near.
int likely_keyword(const int* word, int length, bool* by_case);
