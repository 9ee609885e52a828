// The text of a list in whatever encoding a spreadsheet, an editor or a
// logger saved it, as UTF-8.
#pragma once

#include <string>

/// `bytes` as UTF-8 without a byte order mark: UTF-16 (either byte order)
/// when it begins with its byte order mark; UTF-8 when every byte belongs
/// to a valid UTF-8 sequence; otherwise Windows-1251, the code page of
/// Russian Windows. The result is always valid
/// UTF-8 (a broken UTF-16 unit becomes U+FFFD).
std::string decode_to_utf8(const std::string& bytes);
