// Pages whose colours tell what the browser let them do: keep what they
// stored for the next document, or reach a server. Shared by the tests of
// the Linux build and of the Windows module under wine.
#ifndef ONDREL_TESTS_BROWSER_TELLING_PAGES_H_
#define ONDREL_TESTS_BROWSER_TELLING_PAGES_H_

#include <string>
#include <vector>

#include "tests/browser/known_colours.h"

namespace ondrel::test {

inline constexpr Colour kYellow{255, 255, 0};
inline constexpr Colour kGreen{0, 255, 0};
inline constexpr Colour kGrey{128, 128, 128};
inline constexpr Colour kBlue{0, 0, 255};
inline constexpr Colour kRed{255, 0, 0};

// A writer and a reader of one kind of stored data. Writers paint yellow when what they stored
// reads back, readers green when they find nothing and red when they find what a writer
// stored; blue is a script that failed.
struct StoragePages {
  const char* name;
  std::string writer;
  std::string reader;
  // Chromium keeps no cookies for file: documents, so a writer may find its cookie refused:
  // it paints grey then, and its reader must still find nothing.
  bool writerMayBeRefused = false;
};

// Local storage, session storage, cookies and IndexedDB.
std::vector<StoragePages> storagePages();

// A 64 x 48 page that asks `origin` for things in every way a page can, and a local picture
// (`local.svg` beside it, kBlueDrawing): rows 0-15 a remote picture, 16-31 the local drawing,
// 32-47 a remote background.
std::string pageReachingOut(const std::string& origin);

inline constexpr char kBlueDrawing[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"16\">"
    "<rect width=\"64\" height=\"16\" fill=\"#00f\"/></svg>\n";

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_BROWSER_TELLING_PAGES_H_
