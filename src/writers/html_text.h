// Pieces of markup that the HTML page and its charts share: escaping, SVG
// numbers, and the mark that stands for a set.
#pragma once

#include <string>
#include <string_view>

/// `s` safe as HTML text and inside a quoted attribute: & < > " ' escaped.
std::string html_escaped(std::string_view s);

/// A coordinate or length for SVG, which takes a decimal point: one decimal.
std::string svg_number(double x);

/// A number for people on the page: the decimal comma, every digit the
/// float needs (100,66).
std::string shown_value(float x);

/// The SVG mark of a component of set `set` (an index into
/// RunResults::sets; -1: unused) centred at (x, y) with radius `radius`,
/// with `title` (already escaped) shown on hover. Sets differ in colour
/// (Okabe-Ito, safe for colour-blind readers) and in shape, so that they
/// stay apart printed in grey; unused components are hollow grey circles.
std::string set_mark(int set, double x, double y, double radius, const std::string& title);

/// A small SVG holding the mark of set `set` alone, for a legend or a table.
std::string set_swatch(int set);
