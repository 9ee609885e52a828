// The size of the character buffer, which the reader fills and the
// interpreter cuts into words.
#pragma once

/// At most this many characters of a data file are stored.
inline constexpr int kDataCells = 3000;
