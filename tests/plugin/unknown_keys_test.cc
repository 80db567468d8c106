// Keys of the settings file the plug-in passes over, and the known key the user likely meant.

#include "plugin/unknown_keys.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(NearestKnownKey, CatchesSlipsOfTheFingersAndNothingElse) {
  const std::pair<WideView, WideView> slips[] = {
      {u"engin", u"engine"},       {u"Crome", u"Chrome"},
      {u"widht", u"width"},        {u"keepbrowsers", u"keepBrowser"},
      {u"WAIT", u"waitTime"},      {u"markdownstyle", u"markdownStyle"},
      {u"fulpage", u"fullPage"},   {u"netwrok", u"network"},
      {u"scrolbar", u"scrollBar"},
  };
  for (const auto& [typed, meant] : slips) {
    const std::optional<WideView> nearest = nearestKnownKey(typed);
    ASSERT_TRUE(nearest.has_value()) << wideToUtf8(typed);
    EXPECT_EQ(*nearest, meant) << wideToUtf8(typed);
  }
  for (WideView unrelated : {u"browser", u"flavour", u"x", u"colour", u"eng"}) {
    EXPECT_FALSE(nearestKnownKey(unrelated).has_value()) << wideToUtf8(unrelated);
  }
}

TEST(KeyWarnings, NameEachUnknownOrMisplacedKeyOnceInTheFilesOrder) {
  const std::vector<platform::ProfileKey> keys = {
      {u"SystemSetting", u"Chrome"},    {u"systemsetting", u"ENGIN"},
      {u"SystemSetting", u"fullpage"},  {u"Other", u"Markdown"},
      {u"Other", u"nothing"},           {u"SystemSetting", u"engin"},
      {u"SystemSettings", u"waitTime"}, {u"SystemSetting", u"colour"},
  };
  std::vector<std::string> words;
  for (const KeyWarning& warning : keyWarnings(keys)) words.push_back(warning.inWords());
  EXPECT_EQ(words, (std::vector<std::string>{
                       "unknown key \"ENGIN\" in [systemsetting] (did you mean \"engine\"?)",
                       "key \"Markdown\" is in [Other], not in [SystemSetting], where it has no "
                       "effect",
                       "key \"waitTime\" is in [SystemSettings], not in [SystemSetting], where it "
                       "has no effect",
                       "unknown key \"colour\" in [SystemSetting]",
                   }));
}

}  // namespace
}  // namespace ondrel
