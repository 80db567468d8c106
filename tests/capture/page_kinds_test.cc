// Which file names the plug-in takes, and as what.

#include <gtest/gtest.h>

#include "capture/page_kinds.h"

namespace ondrel {
namespace {

TEST(PageKinds, TheLastExtensionNamesTheKindInAnyLetterCase) {
  EXPECT_EQ(pageKindOf(u"C:\\docs\\index.html"), PageKind::kHtml);
  EXPECT_EQ(pageKindOf(u"page.HTM"), PageKind::kHtml);
  EXPECT_EQ(pageKindOf(u"/home/u/notes.Md"), PageKind::kMarkdown);
  EXPECT_EQ(pageKindOf(u"a.b.svg"), PageKind::kSvgDrawing);
}

TEST(PageKinds, OtherNamesAreNoPage) {
  for (const WideView name : {u"picture.png", u"page.html.txt", u"notes.mdx", u"html", u"svg",
                              u"C:\\pages.md\\readme", u""}) {
    EXPECT_EQ(pageKindOf(name), std::nullopt) << std::string(name.begin(), name.end());
  }
}

}  // namespace
}  // namespace ondrel
