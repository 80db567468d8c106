// Runs the ondrel-md program as a user would, with files and standard input.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <md4c-html.h>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void appendTo(const MD_CHAR* text, MD_SIZE size, void* html) {
  static_cast<std::string*>(html)->append(text, size);
}

// What md4c's own renderer makes of the bytes, with the flags ondrel-md --gfm promises.
std::string md4cHtml(const std::string& markdown) {
  std::string html;
  md_html(markdown.data(), static_cast<MD_SIZE>(markdown.size()), appendTo, &html,
          MD_DIALECT_GITHUB, 0);
  return html;
}

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

// The bytes go to md4c as the file holds them: carriage returns, an end-of-text mark and NUL
// bytes included, unlike the staging, which reads in text mode.
TEST_F(OndrelMdTest, GfmPrintsMd4csHtmlOfTheFilesBytes) {
  const std::string documents[] = {
      "| a | b |\n|:--|--:|\n| 1 | 2 |\n",
      "- [x] done\r\n  - nested ~~gone~~\r\n",
      "line  \r\nbreak\rlone return\n",
      "before\x1A"
      "after\n",
      std::string("nul\0byte\n", 9),
      "<div>\nraw\n</div>\n\n[ref]\n\n[ref]: http://example.org\n",
      "",
  };
  for (const std::string& document : documents) {
    const RunResult result = convertFile(document, "--gfm");
    EXPECT_EQ(result.exitCode, 0) << document;
    EXPECT_EQ(result.out, md4cHtml(document)) << document;
    EXPECT_EQ(result.err, "");
  }
  const std::string path = write("stdin.md", documents[1]);
  EXPECT_EQ(run("--gfm < '" + path + "'").out, md4cHtml(documents[1]));
  EXPECT_EQ(md4cHtml("| a |\n|---|\n| b |\n").substr(0, 7), "<table>");
}

TEST_F(OndrelMdTest, RejectsBadCommandLinesAndUnreadableFiles) {
  const std::string missing = "'" + (folder_ / "missing.md").string() + "'";
  for (const std::string& arguments :
       {std::string("--frobnicate"), std::string("--mask"), std::string("--mask 12345G"),
        std::string("--mask 123456789"), std::string("--staging --mask 1"),
        std::string("--no-config --staging"), std::string("--gfm --staging"),
        std::string("--mask 1 --gfm"), std::string("--gfm --no-config"),
        std::string("--no-inline-headlines --gfm"), "--gfm " + missing, missing,
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
       {"--gfm", "--staging", "--mask", "--no-config", "--no-inline-headlines"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
