#include "writers/html_page.h"

#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"
#include "writers/stock_chart.h"
#include "writers_test_util.h"

namespace {

/// What a small parser finds wrong with `page`: a tag not closed in order
/// (meta, br and "/>" close themselves), an attribute that runs or fetches
/// something (on..., src, href), or a tag cut short. Empty when none.
std::string MarkupFault(const std::string& page) {
  std::vector<std::string> open;
  for (size_t at = page.find('<'); at != std::string::npos; at = page.find('<', at + 1)) {
    size_t end = page.find('>', at);
    if (end == std::string::npos) return "cut short";
    std::string tag = page.substr(at + 1, end - at - 1);
    if (tag[0] == '!') continue;
    // Attributes: name="value", values escaped, so no quote inside.
    for (size_t k = tag.find(' '); k < tag.size(); k = tag.find('"', tag.find('"', k) + 1) + 1) {
      size_t name = tag.find_first_not_of(' ', k);
      std::string attribute = tag.substr(name, tag.find('=', name) - name);
      if (attribute.rfind("on", 0) == 0 || attribute == "src" || attribute == "href")
        return attribute;
      if (tag.find('"', k) == std::string::npos) break;
    }
    if (tag.back() == '/') continue;
    bool closing = tag[0] == '/';
    std::string name = tag.substr(closing ? 1 : 0, tag.find(' ') - (closing ? 1 : 0));
    if (name == "meta" || name == "br") continue;
    if (!closing) {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return "</" + name + ">";
    } else {
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + ">";
}

TEST(HtmlWriter, PageIsWholeSafeAndCounts) {
  struct Case {
    int parts;
    int sets;
    const char* name;
    const char* shown;  ///< The name as the page shows it.
    int near;           ///< Sets at 0,9 of the threshold or more.
  } cases[] = {
      {183, 45, "data_183.txt", "data_183.txt", 4},
      {22, 3, "<script>alert(1)</script>.txt", "&lt;script&gt;alert(1)&lt;/script&gt;.txt", 0},
      {5, 0, "\"a\" & 'b' onload=x.txt", "&quot;a&quot; &amp; &#39;b&#39; onload=x.txt", 0},
  };
  for (const Case& c : cases) {
    RunResults r = made_run(c.parts, c.sets, c.name);
    r.parts[0].label = "<img src=x onerror=alert(1)>";
    std::string page = html_page(r);
    EXPECT_EQ(MarkupFault(page), "") << c.name;
    EXPECT_EQ(count_of(page, c.shown), 3) << "title, heading, path";
    // Nothing runs and nothing is fetched.
    EXPECT_FALSE(std::regex_search(
        page, std::regex("<script|<img|javascript:|https?:|@import|url\\([^#]", std::regex::icase)))
        << c.name;
    // One mark per component, one row per set, one list entry per unused.
    int unused = c.parts - 4 * c.sets + (c.sets + 4) / 5;
    EXPECT_EQ(count_of(page, "<title>R"), c.parts);
    EXPECT_EQ(count_of(page, "<title>R" + std::to_string(c.parts) + " = "), 1);
    EXPECT_EQ(count_of(page, "</tr>\n"), c.sets);
    EXPECT_EQ(count_of(page, "<li>"), unused);
    EXPECT_EQ(count_of(page, "Подборок: <b>" + std::to_string(c.sets) + "</b>"), 1);
    EXPECT_EQ(count_of(page, "Подборок нет"), c.sets == 0 ? 1 : 0);
    EXPECT_EQ(count_of(page, "<tr class=\"near\">"), c.near);
  }
}

TEST(HtmlWriter, HistogramBins) {
  struct Case {
    std::vector<float> values;
    int bins;
  } cases[] = {
      {{}, kMinBins},
      {{5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, kMinBins},         // no spread: the least
      {std::vector<float>(200, 1.0f), 15},                // quartiles agree: sqrt(200)
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1e5f}, kMaxBins},  // a far outlier: the most
  };
  for (const Case& c : cases)
    EXPECT_EQ(bin_count(c.values), c.bins) << c.values.size();
  std::vector<float> uniform(1000);
  for (size_t k = 0; k < uniform.size(); ++k)
    uniform[k] = static_cast<float>(k);
  // 2 * IQR / cbrt(n) = 2 * 499.5 / 10: ceil(999 / 99.9) bins.
  EXPECT_EQ(bin_count(uniform), 10);
}

}  // namespace
