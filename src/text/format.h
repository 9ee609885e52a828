// Number formatting with a decimal comma.
//
// The program's texts print floating-point numbers the Russian way, 100,000000,
// whatever locales the machine has. We format in the C locale, one conversion
// at a time, and swap the decimal point of every floating-point field.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

/// Receives the formatted text piece by piece; pieces never split a literal
/// text of the format, so a UTF-8 character arrives whole.
using PutFn = void (*)(void* ctx, const char* s, size_t n);

/// printf-like formatting of `fmt` into `put`. Supports the flags "-+ #0",
/// a width, a precision and the conversions d i u x X (int), c, s,
/// f F e E g G (double) and %%; no length modifiers. Every floating-point
/// field shows ',' where the C locale shows '.'. Infinities and NaNs print
/// as glibc prints them, on every system: inf, -inf, nan, -nan.
void vformat(PutFn put, void* ctx, const char* fmt, va_list ap)
    __attribute__((format(printf, 3, 0)));

/// vformat into a string: the texts that are built whole before they are
/// written (the CSV and HTML files, the closing summary).
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string vformat_string(const char* fmt, va_list ap) __attribute__((format(printf, 1, 0)));
