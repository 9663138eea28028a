// Numbers in files and texts do not follow the process's locale: the desktop
// program switches to the user's, where the decimal point may be a comma.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "core/param.h"
#include "core/record.h"
#include "core/strutil.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

struct Numbers {
  double real = 0;
  int32_t whole = 0;
};
constexpr ParamTab kNumbersTab[] = {
    paramHeader("Numbers", 1, 2, "n:"),
    {"real", 0, "Real", "f -2.5 2.5", offsetof(Numbers, real), nullptr},
    {"whole", 0, "Whole", "d", offsetof(Numbers, whole), nullptr},
    paramEnd(),
};

// Switches LC_NUMERIC to a decimal-comma locale compiled into a scratch folder
// from a definition of that category alone (quick to build, needs no locale
// sources installed).
class CommaLocale {
 public:
  explicit CommaLocale(const test_support::ScratchDir& dir) {
    const std::string source = dir.write("comma", "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                                  "grouping 3;3\nEND LC_NUMERIC\n");
    const std::string command = "localedef -c -i '" + source + "' -f ANSI_X3.4-1968 '" + dir.file("comma.ascii") +
                                "' >/dev/null 2>&1";
    (void)std::system(command.c_str());  // -c: the other categories are missing on purpose
    setenv("LOCPATH", dir.path.c_str(), 1);
    active = std::setlocale(LC_NUMERIC, "comma.ascii") != nullptr;
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
  }
  bool active = false;
};

TEST(Locale, NumbersAreWrittenAndReadWithAPointUnderADecimalCommaLocale) {
  if (std::system("command -v localedef >/dev/null 2>&1") != 0) GTEST_SKIP() << "localedef is not installed";
  test_support::ScratchDir dir;
  CommaLocale comma(dir);
  ASSERT_TRUE(comma.active) << "localedef could not build a decimal-comma locale";
  char libc[32];
  std::snprintf(libc, sizeof libc, "%g", 1.5);
  ASSERT_STREQ(libc, "1,5");  // the locale really has a decimal comma

  EXPECT_EQ(formatReal(1.5), "1.5");
  EXPECT_EQ(formatReal(-1234567.0), "-1.23457e+06");
  EXPECT_EQ(ssprintf("%g %.2f", 0.25, 2.5), "0.25 2.50");
  double v = 0;
  EXPECT_EQ(parseReal(" 1.75e1x", v), 7u);
  EXPECT_EQ(v, 17.5);

  Numbers n;
  param acc(kNumbersTab, &n);
  acc.set(0, "1.25");
  EXPECT_EQ(n.real, 1.25);
  acc.set(0, "9.5");  // clamped to the table's bound, itself read with a point
  EXPECT_EQ(n.real, 2.5);
  acc.setDouble(0, 0.1);
  EXPECT_EQ(n.real, 0.1);
  n.whole = -1234567;
  std::ostringstream out;
  writeRecord(acc, out);
  EXPECT_EQ(out.str(), "n:\nreal:0.1\nwhole:-1234567\n\n");
}

// The C library's own texts, in the "C" locale, for the numbers a record holds.
TEST(Locale, NumberTextsAreThoseOfPrintfInTheCLocale) {
  for (double x : {0.0, -0.0, 1.0, 0.1, 1e-5, 123456.0, 1234567.0, 1e300, 5e-324, -2.5e-7, 1.0 / 0.0, -1.0 / 0.0})
    EXPECT_EQ(formatReal(x), ssprintf("%lg", x));
  for (long long x : {0LL, -1LL, 2147483647LL, -9223372036854775807LL - 1})
    EXPECT_EQ(formatInt(x), ssprintf("%lld", x));
  struct Read {
    const char* text;
    double value;
    std::size_t used;
  };
  for (const Read& r : {Read{"  +2.5", 2.5, 6}, Read{"-0x10", -16, 5}, Read{"1e999", 1.0 / 0.0, 5},
                        Read{"-1e999", -1.0 / 0.0, 6}, Read{"1e-999", 0, 6}, Read{"inf", 1.0 / 0.0, 3},
                        Read{"+-1", 0, 0}, Read{"x", 0, 0}, Read{".5.", 0.5, 2}}) {
    double v = 0;
    EXPECT_EQ(parseReal(r.text, v), r.used) << r.text;
    EXPECT_EQ(v, r.value) << r.text;
  }
  long long i = 0;
  EXPECT_EQ(parseInteger(" -99999999999999999999x", i), 22u);
  EXPECT_EQ(i, -9223372036854775807LL - 1);
}

}  // namespace
}  // namespace vorlund
