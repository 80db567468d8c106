// The command line of ondrel-render.

#include "tools/ondrel_render/arguments.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ondrel_render {
namespace {

TEST(ArgumentsTest, ValidCommandLines) {
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string> settings, module;
    std::string input, output;
    PictureFormat format;
    bool verbose;
  };
  const Case cases[] = {
      {{"a.md", "out.png"}, {}, {}, "a.md", "out.png", PictureFormat::kPng, false},
      {{"a.md", "OUT.PNG"}, {}, {}, "a.md", "OUT.PNG", PictureFormat::kPng, false},
      {{"a.md", "out.Bmp"}, {}, {}, "a.md", "out.Bmp", PictureFormat::kBmp, false},
      {{"--ini", "x.ini", "a.md", "o.png"},
       "x.ini",
       {},
       "a.md",
       "o.png",
       PictureFormat::kPng,
       false},
      {{"a.md", "--ini=x.ini", "o.bmp", "-v"},
       "x.ini",
       {},
       "a.md",
       "o.bmp",
       PictureFormat::kBmp,
       true},
      {{"--plugin", "p.so", "--verbose", "a.svg", "o.png"},
       {},
       "p.so",
       "a.svg",
       "o.png",
       PictureFormat::kPng,
       true},
      {{"--plugin=p.sph", "--ini", "-odd.ini", "a", "o.png"},
       "-odd.ini",
       "p.sph",
       "a",
       "o.png",
       PictureFormat::kPng,
       false},
      {{"--", "-a.html", "-o.png"}, {}, {}, "-a.html", "-o.png", PictureFormat::kPng, false},
      {{"-", "o.png"}, {}, {}, "-", "o.png", PictureFormat::kPng, false},
  };
  for (const Case& c : cases) {
    const ParsedArguments parsed = parseArguments(c.arguments);
    const std::string line = testing::PrintToString(c.arguments);
    ASSERT_EQ(parsed.error, "") << line;
    EXPECT_FALSE(parsed.options.help) << line;
    EXPECT_EQ(parsed.options.settingsPath, c.settings) << line;
    EXPECT_EQ(parsed.options.modulePath, c.module) << line;
    ASSERT_EQ(parsed.options.jobs.size(), 1u) << line;
    EXPECT_EQ(parsed.options.jobs[0].inputPath, c.input) << line;
    EXPECT_EQ(parsed.options.jobs[0].outputPath, c.output) << line;
    EXPECT_EQ(parsed.options.jobs[0].outputFormat, c.format) << line;
    EXPECT_EQ(parsed.options.verbose, c.verbose) << line;
  }
}

TEST(ArgumentsTest, ManyFilesInPairsOrIntoAFolder) {
  const ParsedArguments pairs = parseArguments({"a.md", "a.png", "-v", "b.svg", "B.BMP"});
  ASSERT_EQ(pairs.error, "");
  ASSERT_EQ(pairs.options.jobs.size(), 2u);
  EXPECT_EQ(pairs.options.jobs[1].inputPath, "b.svg");
  EXPECT_EQ(pairs.options.jobs[1].outputPath, "B.BMP");
  EXPECT_EQ(pairs.options.jobs[1].outputFormat, PictureFormat::kBmp);

  const ParsedArguments folder =
      parseArguments({"--out-dir=out", "docs/page.html", "notes.md", "x.svg.bmp"});
  ASSERT_EQ(folder.error, "");
  const std::filesystem::path out("out");
  const std::vector<std::string> outputs = {
      (out / "page.png").string(), (out / "notes.png").string(), (out / "x.svg.png").string()};
  ASSERT_EQ(folder.options.jobs.size(), outputs.size());
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_EQ(folder.options.jobs[i].outputPath, outputs[i]);
    EXPECT_EQ(folder.options.jobs[i].outputFormat, PictureFormat::kPng);
  }
  EXPECT_EQ(folder.options.jobs[2].inputPath, "x.svg.bmp");
}

TEST(ArgumentsTest, HelpNeedsNoFiles) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"-h"}, {"a.md", "-h"}, {"a.md", "b.jpg", "--help"}}) {
    const ParsedArguments parsed = parseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.options.help);
  }
  EXPECT_NE(std::string(usageText()).find("--ini FILE"), std::string::npos);
}

TEST(ArgumentsTest, MemoryHandsTheFilesOverAsMemoryImages) {
  EXPECT_FALSE(parseArguments({"a.md", "o.png"}).options.memory);
  const ParsedArguments parsed = parseArguments({"--memory", "--out-dir", "p", "a.md", "b.svg"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_TRUE(parsed.options.memory);
  EXPECT_EQ(parsed.options.jobs.size(), 2u);
  EXPECT_EQ(parseArguments({"--memory=yes", "a.md", "o.png"}).error,
            "unknown option '--memory=yes'");
  EXPECT_NE(std::string(usageText()).find("--memory"), std::string::npos);
}

TEST(ArgumentsTest, JobsAndPauseTakeWholeNumbersWithinBounds) {
  const ParsedArguments plain = parseArguments({"a.md", "o.png"});
  EXPECT_EQ(plain.options.threads, 1);
  EXPECT_EQ(plain.options.pauseMilliseconds, 0);
  const ParsedArguments given =
      parseArguments({"--jobs", "4", "--pause=500", "--out-dir", "p", "a.md", "b.svg"});
  ASSERT_EQ(given.error, "");
  EXPECT_EQ(given.options.threads, 4);
  EXPECT_EQ(given.options.pauseMilliseconds, 500);
  EXPECT_EQ(parseArguments({"--jobs=64", "--pause", "0", "a.md", "o.png"}).options.threads, 64);
  EXPECT_EQ(parseArguments({"--pause", "600000", "a.md", "o.png"}).options.pauseMilliseconds,
            600000);

  const std::string jobs = "--jobs needs a number of threads from 1 to 64";
  const std::string pause = "--pause needs milliseconds from 0 to 600000";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--jobs", "0", "a.md", "o.png"}, jobs + ", not '0'"},
      {{"--jobs", "65", "a.md", "o.png"}, jobs + ", not '65'"},
      {{"--jobs=-2", "a.md", "o.png"}, jobs + ", not '-2'"},
      {{"--jobs", "+2", "a.md", "o.png"}, jobs + ", not '+2'"},
      {{"--jobs", "2x", "a.md", "o.png"}, jobs + ", not '2x'"},
      {{"--jobs", "99999999999", "a.md", "o.png"}, jobs + ", not '99999999999'"},
      {{"--jobs", "a.md", "o.png"}, jobs + ", not 'a.md'"},
      {{"--jobs="}, jobs},
      {{"--jobs"}, jobs},
      {{"--jobs", "2", "--jobs", "3", "a.md", "o.png"}, "--jobs may be given only once"},
      {{"--pause", "600001", "a.md", "o.png"}, pause + ", not '600001'"},
      {{"--pause", "0.5", "a.md", "o.png"}, pause + ", not '0.5'"},
      {{"--check", "--jobs", "2"}, "--check takes no INPUT, OUTPUT, --memory, --jobs or --pause"},
      {{"--check", "--pause=1"}, "--check takes no INPUT, OUTPUT, --memory, --jobs or --pause"},
  };
  for (const auto& [arguments, error] : cases) {
    EXPECT_EQ(parseArguments(arguments).error, error) << testing::PrintToString(arguments);
  }
  EXPECT_NE(std::string(usageText()).find("--jobs N"), std::string::npos);
  EXPECT_NE(std::string(usageText()).find("--pause MS"), std::string::npos);
}

TEST(ArgumentsTest, InvalidCommandLinesSayWhy) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, "missing INPUT and OUTPUT"},
      {{"a.md"}, "missing OUTPUT"},
      {{"a.md", "o.png", "extra"}, "missing OUTPUT for 'extra'"},
      {{"a.md", "o.png", "b.md", "o.gif"}, "OUTPUT must end in .png or .bmp: 'o.gif'"},
      {{"--out-dir", "pictures"}, "missing INPUT"},
      {{"--out-dir"}, "--out-dir needs a folder name"},
      {{"--out-dir", "p", "a/page.html", "b/page.md"},
       "two inputs would both be written to '" +
           (std::filesystem::path("p") / "page.png").string() + "'"},
      {{"--out-dir", "p", "folder/"}, "INPUT names no file: 'folder/'"},
      {{"a.md", "o.jpg"}, "OUTPUT must end in .png or .bmp: 'o.jpg'"},
      {{"a.md", "png"}, "OUTPUT must end in .png or .bmp: 'png'"},
      {{"--bogus", "a.md", "o.png"}, "unknown option '--bogus'"},
      {{"-x", "a.md", "o.png"}, "unknown option '-x'"},
      {{"--ini"}, "--ini needs a file name"},
      {{"--ini=", "a.md", "o.png"}, "--ini needs a file name"},
      {{"--plugin", "a", "--plugin", "b", "a.md", "o.png"}, "--plugin may be given only once"},
      {{"--inix", "a.md", "o.png"}, "unknown option '--inix'"},
      {{"", "o.png"}, "empty file name"},
  };
  for (const auto& [arguments, error] : cases) {
    EXPECT_EQ(parseArguments(arguments).error, error) << testing::PrintToString(arguments);
  }
}

}  // namespace
}  // namespace ondrel_render
