// Formatting into a string, for the tests.
#pragma once

#include <string>

/// printf-like formatting with decimal commas, into a string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
