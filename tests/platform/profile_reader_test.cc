// The settings file reader: the same answers from the platform's own reader
// and from the portable one.

#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace ondrel::platform {
namespace {

class ProfileReaderTest : public ::testing::Test {
 protected:
  ProfileReaderTest() {
    std::random_device entropy;
    file_ = std::filesystem::temp_directory_path() /
            ("ondrel-profile-" + std::to_string(entropy()) + ".ini");
  }
  ~ProfileReaderTest() override { std::filesystem::remove(file_); }

  void write(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  WideString text(WideView section, WideView key, std::size_t capacity = 260) {
    return readProfileString(file_.u16string(), section, key, u"fallback", capacity);
  }
  int number(WideView key) { return readProfileInt(file_.u16string(), u"S", key, -99); }

  std::filesystem::path file_;
};

TEST_F(ProfileReaderTest, MissingFileSectionOrKeyGiveTheFallback) {
  EXPECT_EQ(text(u"S", u"k"), u"fallback");
  write("[Other]\nk=v\n");
  EXPECT_EQ(text(u"S", u"k"), u"fallback");
  write("[S]\nother=v\n");
  EXPECT_EQ(text(u"S", u"k"), u"fallback");
  EXPECT_EQ(number(u"k"), -99);
}

TEST_F(ProfileReaderTest, NamesMatchWithoutLetterCaseAndValuesAreTrimmed) {
  write(
      "; settings\r\n[other]\r\nChrome=wrong\r\n[SystemSetting]\r\n  chrome  =  C:\\b\\x.exe  \r\n"
      "SVG=off\r\n");
  EXPECT_EQ(text(u"systemsetting", u"CHROME"), u"C:\\b\\x.exe");
  EXPECT_EQ(text(u"SystemSetting", u"svg"), u"off");
}

TEST_F(ProfileReaderTest, QuotesAroundAValueAreDropped) {
  write("[S]\na=\"quoted value\"\nb='single'\nc=\"unbalanced\n");
  EXPECT_EQ(text(u"S", u"a"), u"quoted value");
  EXPECT_EQ(text(u"S", u"b"), u"single");
  EXPECT_EQ(text(u"S", u"c"), u"\"unbalanced");
}

TEST_F(ProfileReaderTest, LongTextIsCutToTheBuffer) {
  write("[S]\nk=abcdefgh\nempty=\n");
  EXPECT_EQ(text(u"S", u"k", 5), u"abcd");
  EXPECT_EQ(text(u"S", u"empty"), u"") << "an empty value is not a missing key";
}

TEST_F(ProfileReaderTest, TheFirstOfRepeatedKeysCounts) {
  write("[S]\nk=first\nk=second\n[S]\nk=third\n");
  EXPECT_EQ(text(u"S", u"k"), u"first");
}

TEST_F(ProfileReaderTest, IntegersReadLikeTheProfileReader) {
  write("[S]\nplain=640\nnegative=-5\nspaced=  12  \nunit=12px\nword=abc\nzero=0\n");
  EXPECT_EQ(number(u"plain"), 640);
  EXPECT_EQ(number(u"negative"), -5);
  EXPECT_EQ(number(u"spaced"), 12);
  EXPECT_EQ(number(u"unit"), 12);
  EXPECT_EQ(number(u"word"), 0);
  EXPECT_EQ(number(u"zero"), 0);
  EXPECT_EQ(number(u"missing"), -99);
}

TEST_F(ProfileReaderTest, KeysAreListedWithTheirSectionsAsTheReaderSeesThem) {
  EXPECT_TRUE(readProfileKeys(file_.u16string()).empty());
  write(
      "; a comment=not a key\r\n[SystemSetting]\r\n Chrome = C:\\x.exe\r\nengin=DevTools\r\n"
      ";log=c:\\x.log\r\n[Other]\r\nMarkdown=gfm\r\n");
  const std::vector<ProfileKey> expected = {
      {u"SystemSetting", u"Chrome"}, {u"SystemSetting", u"engin"}, {u"Other", u"Markdown"}};
  EXPECT_EQ(readProfileKeys(file_.u16string()), expected);
}

}  // namespace
}  // namespace ondrel::platform
