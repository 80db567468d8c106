// Runs the ondrel-md program as a user would, with files and standard input.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class OndrelMdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              (std::string("ondrel-md-test-") + info->name() + "-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  static std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Runs ondrel-md with `arguments` (already quoted as needed).
  RunResult run(const std::string& arguments) {
    const fs::path out = folder_ / "out", err = folder_ / "err";
    const std::string command = std::string("'") + ONDREL_MD_PATH + "' " + arguments + " >'" +
                                out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    RunResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = read(out);
    result.err = read(err);
    return result;
  }

  RunResult convertFile(const std::string& markdown, const std::string& options = "") {
    return run(options + " '" + write("in.md", markdown) + "'");
  }

  // What Debian's cmark-gfm program writes for the file, with the options --gfm promises.
  std::string cmarkGfm(const std::string& path) {
    const fs::path out = folder_ / "cmark-gfm.out";
    const std::string command =
        "cmark-gfm --unsafe -e table -e strikethrough -e autolink -e tasklist -e tagfilter "
        "-e footnotes '" +
        path + "' >'" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "cmark-gfm is missing: run "
                                                  "scripts/install-dependencies.sh";
    return read(out);
  }

  fs::path folder_;
};

TEST_F(OndrelMdTest, ConvertsFilesToTheExactBytes) {
  struct Case {
    std::string markdown, html;
  } const cases[] = {
      {"|table>\nh1|h2\n- | - | -\na|b\nc|d\n- | - | -\nf1|f2\n|<table\n",
       "<table><thead><tr><th>h1</th><th>h2</th></tr></thead><tbody><tr><td>a</td><td>b</td></tr>"
       "<tr><td>c</td><td>d</td></tr></tbody><tfoot><tr><td>f1</td><td>f2</td></tr></tfoot>"
       "</table>"},
      {"1. a\n  * b\n    - c\n2. d\n\n",
       "<ol><li>a<ul><li>b<ul><li>c</li></ul></li></ul></li><li>d</li></ol>"},
      {"```\nint a;\n```\n", "<pre><code>\nint a;\n</code></pre>"},
      {"> a\n\n\n", "<blockquote><p>a  </p></blockquote>"},
      {"# Title\n---\na\r\nb", "<h1>Title</h1><hr/><p>a<br> b </p>"},
      {"```\nnever closed\n", ""},
  };
  for (const Case& c : cases) {
    const RunResult result = convertFile(c.markdown);
    EXPECT_EQ(result.exitCode, 0) << c.markdown;
    EXPECT_EQ(result.out, c.html) << c.markdown;
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(OndrelMdTest, ReadsStandardInput) {
  const std::string path = write("in.md", "**x**\r\n");
  EXPECT_EQ(run("< '" + path + "'").out, "<p><strong>x</strong><br> </p>");
  EXPECT_EQ(run("- < '" + path + "'").out, "<p><strong>x</strong><br> </p>");
}

TEST_F(OndrelMdTest, OptionsChooseTheConfiguration) {
  const std::string document = "# **x**\n<b>y</b>\n\na_b_\n\n$$z$$\n";
  EXPECT_EQ(convertFile(document).out,
            "<h1><strong>x</strong></h1><p><b>y</b> </p><p>a<em>b</em> </p><p>$$z$$ </p>");
  EXPECT_EQ(convertFile(document, "--staging").out,
            "<h1><strong>x</strong></h1><b>y</b><p>a_b_ </p><p>$$z$$ </p>");
  EXPECT_EQ(convertFile(document, "--no-inline-headlines --mask 0x7FFFF").out,
            "<h1>**x**</h1><b>y</b><p>a<em>b</em> </p>$$z$$\n");
  EXPECT_EQ(convertFile(document, "--mask 0").out, "# **x** <b>y</b> <br/>a_b_ <br/>$$z$$ <br/>");
  EXPECT_EQ(convertFile(document, "--no-config").out,
            "<h1><strong>x</strong></h1><p><b>y</b> </p><p>a<em>b</em> </p><p>$$z$$ </p>");
}

// The bytes go to cmark-gfm as the file holds them: carriage returns, an end-of-text mark and
// NUL bytes included, unlike the staging, which reads in text mode. Debian's cmark-gfm program
// with GitHub's extensions is what --gfm must print.
TEST_F(OndrelMdTest, GfmPrintsWhatTheCmarkGfmProgramPrints) {
  const std::string documents[] = {
      "| a | b |\n|:--|--:|\n| 1 | 2 |\n",
      "- [x] done\r\n  - nested ~~gone~~\r\n",
      "line  \r\nbreak\rlone return\n",
      "before\x1A"
      "after\n",
      std::string("nul\0byte\n", 9),
      "<div>\nraw\n</div>\n\n[ref]\n\n[ref]: http://example.org\n<script>x</script>\n",
      "Note[^1].\n\n[^1]: Here.\n\n> [!NOTE]\n> Not an alert without --github.\n",
      "---\ntitle: not front matter without --github\n---\n",
      "$a*b*c$ is no math without --github, nor $$x_1$$\n",
      "",
  };
  for (const std::string& document : documents) {
    const std::string path = write("in.md", document);
    const RunResult result = run("--gfm '" + path + "'");
    EXPECT_EQ(result.exitCode, 0) << document;
    EXPECT_EQ(result.out, cmarkGfm(path)) << document;
    EXPECT_EQ(result.err, "");
  }
  const std::string path = write("stdin.md", documents[1]);
  EXPECT_EQ(run("--gfm < '" + path + "'").out, cmarkGfm(path));
  EXPECT_EQ(cmarkGfm(write("table.md", documents[0])).substr(0, 7), "<table>");
}

TEST_F(OndrelMdTest, GithubAddsAlertsAndFrontMatter) {
  const std::string path =
      write("in.md", "---\r\ntitle: Notes\r\n---\r\n> [!TIP]\r\n> Try it.\r\n");
  const RunResult result = run("--gfm --github '" + path + "'");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("<th>title</th>"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("<div class=\"markdown-alert markdown-alert-tip\">"), std::string::npos)
      << result.out;
  EXPECT_EQ(result.out.find("[!TIP]"), std::string::npos) << result.out;
  EXPECT_EQ(run("--github --gfm < '" + path + "'").out, result.out);
}

// The spans a page that draws gets, with the math exactly as written.
TEST_F(OndrelMdTest, GithubShowsTheMathSpans) {
  const std::string path = write("math.md", "$a*b*c$, $5 and $10, $$x_1$$\n");
  EXPECT_EQ(run("--gfm --github '" + path + "'").out,
            "<p><span class=\"math-inline\">a*b*c</span>, $5 and $10, "
            "<span class=\"math-display\">x_1</span></p>\n");
}

TEST_F(OndrelMdTest, RejectsBadCommandLinesAndUnreadableFiles) {
  const std::string missing = "'" + (folder_ / "missing.md").string() + "'";
  for (const std::string& arguments :
       {std::string("--frobnicate"), std::string("--mask"), std::string("--mask 12345G"),
        std::string("--mask 123456789"), std::string("--staging --mask 1"),
        std::string("--no-config --staging"), std::string("--gfm --staging"),
        std::string("--mask 1 --gfm"), std::string("--gfm --no-config"),
        std::string("--no-inline-headlines --gfm"), std::string("--github"),
        std::string("--github --staging"), "--gfm " + missing, missing,
        "'" + folder_.string() + "'", std::string("a.md b.md")}) {
    const RunResult result = run(arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_EQ(result.out, "") << arguments;
    ASSERT_FALSE(result.err.empty()) << arguments;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << arguments;  // one line
  }
}

TEST_F(OndrelMdTest, HelpDescribesTheOptions) {
  const RunResult result = run("--help");
  EXPECT_EQ(result.exitCode, 0);
  for (const char* option :
       {"--gfm", "--github", "--staging", "--mask", "--no-config", "--no-inline-headlines"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
