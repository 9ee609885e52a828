#include "writers/html_text.h"

#include <array>

#include "writers/number_text.h"

namespace {

/// Okabe-Ito without its yellow, which is too light on white paper.
constexpr std::array<const char*, 7> kSetColours{"#E69F00", "#56B4E9", "#009E73", "#0072B2",
                                                 "#D55E00", "#CC79A7", "#000000"};

enum class Shape { kCircle, kSquare, kTriangle, kDiamond };
constexpr std::array<Shape, 4> kShapes{Shape::kCircle, Shape::kSquare, Shape::kTriangle,
                                       Shape::kDiamond};

constexpr const char* kUnusedStroke = "#777777";
/// Sizes of a swatch, in pixels.
constexpr double kSwatchRadius = 5.0;
constexpr double kSwatchSize = 12.0;
/// A polygon's size against a circle's radius, so that all look alike in area.
constexpr long double kSquareHalf = 0.9L;
constexpr long double kTriangleHalf = 1.15L;
constexpr long double kDiamondHalf = 1.25L;

std::string Point(long double x, long double y) {
  return svg_number(static_cast<double>(x)) + "," + svg_number(static_cast<double>(y));
}

std::string Polygon(const std::string& points, const char* colour, const std::string& title) {
  return "<polygon points=\"" + points + "\" fill=\"" + colour +
         "\" stroke=\"#000\" stroke-width=\"0.6\"><title>" + title + "</title></polygon>";
}

}  // namespace

std::string html_escaped(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string svg_number(double x) {
  return fixed_text(x, 1, '.');
}

std::string shown_value(float x) {
  return exact_float_text(x, ',');
}

std::string set_mark(int set, double x, double y, double radius, const std::string& title) {
  if (set < 0) {
    return "<circle cx=\"" + svg_number(x) + "\" cy=\"" + svg_number(y) + "\" r=\"" +
           svg_number(radius - 0.5) + "\" fill=\"#fff\" stroke=\"" + kUnusedStroke +
           "\" stroke-width=\"1.2\"><title>" + title + "</title></circle>";
  }
  const char* colour = kSetColours[set % kSetColours.size()];
  long double cx = x;
  long double cy = y;
  long double r = radius;
  switch (kShapes[set % kShapes.size()]) {
    case Shape::kCircle:
      return "<circle cx=\"" + svg_number(x) + "\" cy=\"" + svg_number(y) + "\" r=\"" +
             svg_number(radius) + "\" fill=\"" + colour +
             "\" stroke=\"#000\" stroke-width=\"0.6\"><title>" + title + "</title></circle>";
    case Shape::kSquare: {
      long double h = r * kSquareHalf;
      return Polygon(Point(cx - h, cy - h) + " " + Point(cx + h, cy - h) + " " +
                         Point(cx + h, cy + h) + " " + Point(cx - h, cy + h),
                     colour, title);
    }
    case Shape::kTriangle: {
      long double h = r * kTriangleHalf;
      return Polygon(Point(cx, cy - h) + " " + Point(cx + h, cy + h * 0.8L) + " " +
                         Point(cx - h, cy + h * 0.8L),
                     colour, title);
    }
    case Shape::kDiamond: {
      long double h = r * kDiamondHalf;
      return Polygon(Point(cx, cy - h) + " " + Point(cx + h, cy) + " " + Point(cx, cy + h) + " " +
                         Point(cx - h, cy),
                     colour, title);
    }
  }
  return {};
}

std::string set_swatch(int set) {
  std::string size = svg_number(kSwatchSize);
  return "<svg class=\"swatch\" width=\"" + size + "\" height=\"" + size + "\" viewBox=\"0 0 " +
         size + " " + size + "\" aria-hidden=\"true\">" +
         set_mark(set, kSwatchSize / 2, kSwatchSize / 2, kSwatchRadius, "") + "</svg>";
}
