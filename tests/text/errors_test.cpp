#include "text/errors.h"

#include <gtest/gtest.h>

#include "text/calendar.h"
#include "text/regional_settings.h"

namespace lintrel {
namespace {

TEST(InvalidDateTimeErrorTest, NamesThePartsWithTheSettingsSeparators) {
  RegionalSettings other;
  other.date_separator = '-';
  other.time_separator = '.';
  other.decimal_separator = ',';
  RegionalSettings none;
  none.date_separator = '\0';
  none.decimal_separator = '\0';
  const std::pair<RegionalSettings, std::string_view> cases[] = {
      {RegionalSettings(), "''2002/13/1 10:0:0.0''"},
      {other, "''2002-13-1 10.0.0,0''"},
      {none, "''2002131 10:0:00''"},
  };
  for (const auto& [settings, shown] : cases) {
    const EConvertError error = InvalidDateTimeError({2002, 13, 1, 10, 0, 0, 0}, settings);
    EXPECT_EQ(error.Message(), std::string(shown) + " is not a valid date and time");
  }
}

}  // namespace
}  // namespace lintrel
