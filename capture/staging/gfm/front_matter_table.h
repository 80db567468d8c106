#ifndef ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_TABLE_H_
#define ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_TABLE_H_

#include <vector>

#include "capture/staging/gfm/front_matter.h"
#include "capture/staging/gfm/gfm_document.h"

namespace ondrel {

// Puts front matter at the top of the document as GitHub shows it: a table of the document's
// own kind whose head row holds the keys and whose one body row holds the values, in
//   <div class="front-matter"><table>...</table></div>
// The values keep their line ends, for the style to show. Nothing for no entries.
void insertFrontMatterTable(const GfmDocument& document,
                            const std::vector<FrontMatterEntry>& entries);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_TABLE_H_
