// md4c as every build links it (Debian's library natively, the static one compiled from
// Debian's source in the Windows build): both must give these bytes, which are md4c 0.4.8's.

#include <md4c-html.h>

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace {

void appendTo(const MD_CHAR* text, MD_SIZE size, void* html) {
  static_cast<std::string*>(html)->append(text, size);
}

std::string toHtml(std::string_view markdown, unsigned dialect = MD_DIALECT_GITHUB) {
  std::string html;
  EXPECT_EQ(
      md_html(markdown.data(), static_cast<MD_SIZE>(markdown.size()), appendTo, &html, dialect, 0),
      0);
  return html;
}

TEST(Md4cGithubDialect, PipeTableKeepsAlignmentEscapedPipesAndMissingCells) {
  EXPECT_EQ(toHtml("| Name | Count |\n"
                   "|:-----|------:|\n"
                   "| a | 1 |\n"
                   "| b \\| c |\n"),
            "<table>\n<thead>\n<tr>\n"
            "<th align=\"left\">Name</th>\n<th align=\"right\">Count</th>\n"
            "</tr>\n</thead>\n<tbody>\n<tr>\n"
            "<td align=\"left\">a</td>\n<td align=\"right\">1</td>\n"
            "</tr>\n<tr>\n"
            "<td align=\"left\">b | c</td>\n<td align=\"right\"></td>\n"
            "</tr>\n</tbody>\n</table>\n");
}

TEST(Md4cGithubDialect, TaskListItemsBecomeDisabledCheckboxes) {
  EXPECT_EQ(toHtml("- [ ] open\n- [x] done\n"),
            "<ul>\n"
            "<li class=\"task-list-item\"><input type=\"checkbox\" "
            "class=\"task-list-item-checkbox\" disabled>open</li>\n"
            "<li class=\"task-list-item\"><input type=\"checkbox\" "
            "class=\"task-list-item-checkbox\" disabled checked>done</li>\n"
            "</ul>\n");
}

TEST(Md4cGithubDialect, StrikethroughTakesOneOrTwoTildesButNotThree) {
  EXPECT_EQ(toHtml("~~gone~~ and ~also~ but not ~~~this~~~\n"),
            "<p><del>gone</del> and <del>also</del> but not ~~~this~~~</p>\n");
}

TEST(Md4cGithubDialect, AutolinksEntitiesAndUtf8PassThroughAsBytes) {
  // The entity table (entity.c) must be linked, and the parser built for UTF-8, not UTF-16.
  EXPECT_EQ(toHtml("see www.example.com &copy; \xe6\xbc\xa2\xe5\xad\x97 <b>x</b>\n"),
            "<p>see <a href=\"http://www.example.com\">www.example.com</a> \xc2\xa9 "
            "\xe6\xbc\xa2\xe5\xad\x97 <b>x</b></p>\n");
}

TEST(Md4cGithubDialect, CommonMarkAloneHasNoTables) {
  EXPECT_EQ(toHtml("| Name | Count |\n|:-----|------:|\n| a | 1 |\n", MD_DIALECT_COMMONMARK),
            "<p>| Name | Count |\n|:-----|------:|\n| a | 1 |</p>\n");
}

}  // namespace
